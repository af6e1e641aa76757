#include "PageWriter.h"

namespace PageWriter {

QString link(const Symbol &symbol)
{
    return QStringLiteral("qrc:/dreams/%1.html").arg(SymbolSource::slug(symbol.key));
}

QString page(const QString &pageTemplate, const Symbol &symbol)
{
    QString variations;
    for (const Variation &v : symbol.variations)
        variations += QStringLiteral("<dt>%1</dt><dd>%2</dd>\n")
                          .arg(v.situation.toHtmlEscaped(), v.reading.toHtmlEscaped());
    QString seeAlso;
    for (const QString &other : symbol.seeAlso)
        seeAlso += QStringLiteral("<li><a href=\"%1.html\">%2</a></li>\n")
                       .arg(SymbolSource::slug(other), other.toHtmlEscaped());
    QString html = pageTemplate;
    html.replace(QLatin1String("{{KEY}}"), symbol.key.toHtmlEscaped());
    html.replace(QLatin1String("{{MEANING}}"), symbol.meaning.toHtmlEscaped());
    html.replace(QLatin1String("{{VARIATIONS}}"), variations);
    html.replace(QLatin1String("{{SEEALSO}}"), seeAlso);
    return html;
}

} // namespace PageWriter
