#include "NavigationPolicy.h"

namespace NavigationPolicy {

namespace {

bool isScheme(const QUrl &url, const char *scheme)
{
    return url.scheme().compare(QLatin1String(scheme), Qt::CaseInsensitive) == 0;
}

bool isAbout(const QUrl &url, const char *page)
{
    return isScheme(url, "about") && url.path() == QLatin1String(page);
}

} // namespace

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && (isScheme(url, "http") || isScheme(url, "https"))
        && !url.host().isEmpty();
}

bool isBundledPage(const QUrl &url)
{
    // Judged on the path the engine will resolve, so that "/dreams/../" cannot step out to the
    // program's other resources.
    return url.isValid() && isScheme(url, "qrc") && url.host().isEmpty()
        && url.adjusted(QUrl::NormalizePathSegments).path().startsWith(QLatin1String("/dreams/"));
}

bool allows(const QUrl &target, const QUrl &from)
{
    if (isWebAddress(target) || isAbout(target, "blank"))
        return true;
    // A frame's inline document holds nothing but what its own page wrote.
    if (isAbout(target, "srcdoc"))
        return !from.isEmpty();
    if (isBundledPage(target))
        return !isWebAddress(from);
    return false;
}

bool allowsResource(const QUrl &target, const QUrl &from)
{
    if (isScheme(target, "file"))
        return false;
    if (isScheme(target, "qrc"))
        return isBundledPage(target) && !isWebAddress(from);
    return true;
}

} // namespace NavigationPolicy
