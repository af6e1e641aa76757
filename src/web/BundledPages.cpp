#include "BundledPages.h"

#include <QUrlQuery>

namespace BundledPages {

namespace {

const char *const ErrorPagePath = "/dreams/error.html";

QString encoded(const QString &value)
{
    // Whole, so that "&", "+", "#" and "=" in an address reach the page as they were.
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

QUrl startPage()
{
    return { QStringLiteral("qrc:/dreams/index.html") };
}

QUrl errorPage(const QUrl &failed, LoadFailure::Reason reason, int status)
{
    QString query = QStringLiteral("url=") + encoded(failed.toString());
    const QString why = LoadFailure::name(reason);
    if (!why.isEmpty())
        query += QStringLiteral("&reason=") + why;
    if (reason == LoadFailure::Reason::Status && status > 0)
        query += QStringLiteral("&status=") + QString::number(status);
    return { QStringLiteral("qrc:") + QLatin1String(ErrorPagePath) + QLatin1Char('?') + query };
}

QUrl failedAddress(const QUrl &shown)
{
    if (shown.scheme() != QLatin1String("qrc") || !shown.host().isEmpty()
        || shown.path() != QLatin1String(ErrorPagePath))
        return {};
    return { QUrlQuery(shown).queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded) };
}

bool isPlaceholderSite(const QString &address)
{
    const QUrl url(address);
    QString host = url.host().toLower();
    // A fully qualified name ends in a dot and names the same host.
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    return !url.isValid() || host.isEmpty() || host == QLatin1String("example")
        || host.endsWith(QLatin1String(".example"));
}

} // namespace BundledPages
