#include "SearchPage.h"

#include <QStringList>

namespace SearchPage {

namespace {

// The engine's colours and layout for its result page, sent as they are.
const char *const ResultLook = "GALT:#008000;GL:1;DIV:#336699;VLC:663399;AH:center;BGC:FFFFFF;"
                               "LBGC:336699;ALC:0000FF;LC:0000FF;T:000000;GFNT:0000FF;GIMP:0000FF;"
                               "FORID:1;";

QString hiddenField(const QString &name, const QString &value)
{
    return QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\"></input>")
        .arg(name, value.toHtmlEscaped());
}

} // namespace

QString text(const QString &engineAddress, const QString &partnerId)
{
    // The configured values go into attributes; escaping keeps a stray quote from ending one.
    const QString engine = engineAddress.toHtmlEscaped();
    const QStringList lines = {
        QStringLiteral("<HTML><BODY>"),
        QStringLiteral("<!-- Search Google -->"),
        QStringLiteral("<center>"),
        QStringLiteral("<form method=\"get\" action=\"%1/custom\" target=\"_top\">").arg(engine),
        QStringLiteral("<table bgcolor=\"#ffffff\">"),
        QStringLiteral("<tr><td nowrap=\"nowrap\" valign=\"top\" align=\"left\" height=\"32\">"),
        QStringLiteral("<a href=\"%1/\">").arg(engine),
        QStringLiteral("<img src=\"%1/logos/Logo_25wht.gif\" border=\"0\" alt=\"Google\" "
                       "align=\"middle\"></img></a>")
            .arg(engine),
        QStringLiteral("<input type=\"text\" name=\"q\" size=\"31\" maxlength=\"255\" "
                       "value=\"\"></input>"),
        QStringLiteral("<input type=\"submit\" name=\"sa\" value=\"Search\"></input>"),
        hiddenField(QStringLiteral("client"), partnerId),
        hiddenField(QStringLiteral("forid"), QStringLiteral("1")),
        hiddenField(QStringLiteral("ie"), QStringLiteral("ISO-8859-1")),
        hiddenField(QStringLiteral("oe"), QStringLiteral("ISO-8859-1")),
        hiddenField(QStringLiteral("cof"), QString::fromLatin1(ResultLook)),
        hiddenField(QStringLiteral("hl"), QStringLiteral("en")),
        QStringLiteral("</td></tr></table>"),
        QStringLiteral("</form>"),
        QStringLiteral("</center>"),
        QStringLiteral("<!-- Search Google -->"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    };
    QString page;
    for (const QString &line : lines)
        page += line + QStringLiteral("\r\n");
    return page;
}

} // namespace SearchPage
