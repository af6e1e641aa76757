#include "MatchRules.h"
#include "modDict.h"

#include <QStringView>
#include <QVarLengthArray>

namespace MatchRules {

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString exactTerm(const QString &typed)
{
    return trimSpaces(typed).toLower();
}

QString wildcardTerm(const QString &typed)
{
    return modDict::StripWildcards(typed.toLower());
}

// The whole key is lower-cased before it is compared. Cutting the key to the term's length
// first would give the same answer for nearly every text, but not for the one capital whose
// lower case is two characters long (U+0130): cut first, "İstanbul" would no longer begin with
// the lower-cased "İstanbul", nor contain the lower-cased "İst".
//
// Every search compares every key, so the usual key is lower-cased in place, one character at
// a time, without a copy: each character of the Basic Multilingual Plane but U+0130 lower-cases
// to exactly the one character QChar::toLower gives. Keys holding U+0130 or a character beyond
// that plane take the whole-text route.
namespace {

bool lowersInPlace(QChar c)
{
    return !c.isSurrogate() && c.unicode() != 0x130;
}

} // namespace

bool matchesExact(const QString &key, const QString &term)
{
    for (qsizetype i = 0; i < term.size(); ++i) {
        if (i == key.size())
            return false;
        const QChar c = key.at(i);
        if (!lowersInPlace(c))
            return key.toLower().startsWith(term);
        if (QChar::toLower(c.unicode()) != term.at(i).unicode())
            return false;
    }
    return true;
}

bool matchesWildcard(const QString &key, const QString &term)
{
    if (key.isEmpty())
        return false;
    if (term.isEmpty())
        return true;
    QVarLengthArray<char16_t, 64> lowered(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        if (!lowersInPlace(c))
            return key.toLower().contains(term);
        lowered[i] = QChar::toLower(c.unicode());
    }
    return QStringView(lowered.data(), lowered.size()).contains(term);
}

bool matchesKeyword(const QString &key, const QString &lowerTerm)
{
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        if (!lowersInPlace(c))
            return key.toLower() == lowerTerm;
        if (i == lowerTerm.size() || QChar::toLower(c.unicode()) != lowerTerm.at(i).unicode())
            return false;
    }
    return key.size() == lowerTerm.size();
}

} // namespace MatchRules
