#include "StartPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QMap>

namespace StartPage {

namespace {

const QString Letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");

QString anchorOf(const QString &letter)
{
    return letter == QLatin1String("#") ? QStringLiteral("letter-other")
                                        : QStringLiteral("letter-") + letter.toLower();
}

} // namespace

QString letterOf(const QString &key)
{
    const QChar first = key.isEmpty() ? QChar() : key.at(0).toUpper();
    return Letters.contains(first) ? QString(first) : QStringLiteral("#");
}

QString indexPage(const QString &pageTemplate, const std::vector<Symbol> &symbols)
{
    QMap<QString, QString> groups; // letter -> list items, in the symbols' own order
    for (const Symbol &s : symbols)
        groups[letterOf(s.key)] += QStringLiteral("<li><a href=\"%1.html\">%2</a></li>\n")
                                       .arg(SymbolSource::slug(s.key), s.key.toHtmlEscaped());

    QStringList order;
    for (const QChar c : Letters)
        order << QString(c);
    order << QStringLiteral("#");

    QString letters;
    QString index;
    for (const QString &letter : order) {
        if (!groups.contains(letter)) {
            // "#" only shows when some keyword needs it; a letter always shows, so that the row
            // reads A to Z, but leads nowhere when nothing files under it.
            if (letter != QLatin1String("#"))
                letters += QStringLiteral("<li><span class=\"empty\">%1</span></li>\n").arg(letter);
            continue;
        }
        const QString anchor = anchorOf(letter);
        const QString label = letter == QLatin1String("#") ? QStringLiteral("Other") : letter;
        letters += QStringLiteral("<li><a href=\"#%1\">%2</a></li>\n").arg(anchor, letter);
        index += QStringLiteral(
            "<section class=\"letter\" aria-labelledby=\"%1\">\n"
            "<h3 id=\"%1\">%2</h3>\n<ul class=\"symbols\">\n%3</ul>\n"
            "<p class=\"to-top\"><a href=\"#letters\">Back to the letters</a></p>\n"
            "</section>\n")
                     .arg(anchor, label, groups.value(letter));
    }

    QString html = pageTemplate;
    html.replace(
        QLatin1String("{{COUNT}}"), QLocale(QLocale::English).toString(qlonglong(symbols.size())));
    html.replace(QLatin1String("{{LETTERS}}"), letters);
    html.replace(QLatin1String("{{INDEX}}"), index);
    return html;
}

QString words(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool inWord = false;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            if (!inWord && !result.isEmpty())
                result += QLatin1Char(' ');
            result += c.toLower();
            inWord = true;
        } else {
            inWord = false;
        }
    }
    return result;
}

QString lead(const QString &meaning)
{
    // A sentence ends at ". ", "! " or "? "; a meaning of one sentence is its own lead.
    for (qsizetype i = 0; i + 1 < meaning.size(); ++i) {
        const QChar c = meaning.at(i);
        if ((c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?'))
            && meaning.at(i + 1) == QLatin1Char(' '))
            return meaning.left(i + 1);
    }
    return meaning;
}

QString searchIndex(const std::vector<Symbol> &symbols)
{
    QJsonArray all;
    for (const Symbol &s : symbols) {
        QString text = s.meaning;
        for (const Variation &v : s.variations)
            text += QLatin1Char(' ') + v.situation + QLatin1Char(' ') + v.reading;
        all.append(QJsonArray { s.key, SymbolSource::slug(s.key) + QStringLiteral(".html"),
            words(s.key), words(text), lead(s.meaning) });
    }
    return QStringLiteral("// Made by somnilex-pages from the dictionary's source text.\n"
                          "self.somnilexSymbols = ")
        + QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact))
        + QStringLiteral(";\n");
}

} // namespace StartPage
