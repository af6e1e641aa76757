#include "SymbolSource.h"

#include <QFile>
#include <QHash>
#include <QSet>

namespace SymbolSource {

namespace {

[[noreturn]] void fail(const QString &origin, int line, const QString &what)
{
    throw Error(QStringLiteral("%1:%2: %3").arg(origin).arg(line).arg(what).toStdString());
}

} // namespace

std::vector<Symbol> parse(const QString &text, const QString &origin)
{
    std::vector<Symbol> symbols;
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList meaning;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const int number = i + 1;
        if (line.startsWith(QLatin1String("## "))) {
            Symbol symbol;
            symbol.key = line.mid(3).trimmed();
            symbol.origin = QStringLiteral("%1:%2").arg(origin).arg(number);
            if (symbol.key.isEmpty())
                fail(origin, number, QStringLiteral("an entry without a keyword"));
            symbols.push_back(symbol);
            continue;
        }
        if (line.isEmpty())
            continue;
        if (symbols.empty())
            fail(origin, number, QStringLiteral("text before the first \"## \" entry"));
        Symbol &symbol = symbols.back();
        if (line.startsWith(QLatin1String("- "))) {
            const qsizetype colon = line.indexOf(QLatin1String(": "));
            if (colon < 0)
                fail(origin, number, QStringLiteral("a variation needs \"situation: reading\""));
            symbol.variations.push_back(
                { line.mid(2, colon - 2).trimmed(), line.mid(colon + 2).trimmed() });
        } else if (line.startsWith(QLatin1String("See also:"))) {
            for (const QString &key : line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                if (!key.trimmed().isEmpty())
                    symbol.seeAlso << key.trimmed();
            }
        } else {
            if (!symbol.variations.empty() || !symbol.seeAlso.isEmpty())
                fail(origin, number, QStringLiteral("meaning text after the variations"));
            symbol.meaning += (symbol.meaning.isEmpty() ? QString() : QStringLiteral(" ")) + line;
        }
    }
    return symbols;
}

std::vector<Symbol> parseFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    return parse(QString::fromUtf8(file.readAll()), path);
}

QString slug(const QString &key)
{
    QString result;
    bool dash = false;
    for (const QChar c : key.toLower()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c.isDigit()) {
            if (dash && !result.isEmpty())
                result += QLatin1Char('-');
            result += c;
            dash = false;
        } else {
            dash = true;
        }
    }
    return result;
}

void validate(const std::vector<Symbol> &symbols, const std::vector<Symbol> &known)
{
    QStringList problems;
    QHash<QString, QString> byKey;
    QHash<QString, QString> bySlug;
    QSet<QString> knownKeys;
    for (const Symbol &s : known)
        knownKeys.insert(s.key);
    for (const Symbol &s : symbols) {
        const QString lower = s.key.toLower();
        if (byKey.contains(lower))
            problems
                << QStringLiteral("%1: \"%2\" is already at %3").arg(s.origin, s.key, byKey[lower]);
        byKey.insert(lower, s.origin);
        const QString name = slug(s.key);
        if (name.isEmpty())
            problems << QStringLiteral("%1: \"%2\" gives no page name").arg(s.origin, s.key);
        else if (bySlug.contains(name))
            problems << QStringLiteral("%1: \"%2\" has the page name of %3")
                            .arg(s.origin, s.key, bySlug[name]);
        else
            bySlug.insert(name, s.origin);
        if (s.meaning.isEmpty())
            problems << QStringLiteral("%1: \"%2\" has no meaning").arg(s.origin, s.key);
        for (const QString &other : s.seeAlso) {
            if (!knownKeys.contains(other))
                problems << QStringLiteral("%1: \"%2\" refers to \"%3\", which has no entry")
                                .arg(s.origin, s.key, other);
        }
    }
    if (!problems.isEmpty())
        throw Error(problems.join(QLatin1Char('\n')).toStdString());
}

} // namespace SymbolSource
