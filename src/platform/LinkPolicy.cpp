#include "LinkPolicy.h"

#include <QStringList>

namespace LinkPolicy {

namespace {

// The bundled pages live under /dreams/; a path that climbs out of it with "." or ".."
// segments, in whatever encoding, is not one of them.
bool isBundledPage(const QUrl &url)
{
    if (!url.host().isEmpty() || url.port() != -1 || !url.userInfo().isEmpty())
        return false;
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(QLatin1String("/dreams/")) || path.contains(QLatin1Char('\\')))
        return false;
    const QStringList segments = path.mid(1).split(QLatin1Char('/'));
    for (const QString &segment : segments) {
        if (segment.isEmpty() || segment == QLatin1String(".") || segment == QLatin1String(".."))
            return false;
    }
    return segments.size() >= 2;
}

} // namespace

bool isShowable(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("about"))
        return url.path() == QLatin1String("blank");
    if (scheme == QLatin1String("qrc"))
        return isBundledPage(url);
    return false;
}

bool isShowableLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    return !url.isRelative() && isShowable(url);
}

} // namespace LinkPolicy
