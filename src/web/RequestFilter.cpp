#include "RequestFilter.h"

#include "NavigationPolicy.h"

void RequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
        return;
    const QUrl from = info.initiator().isEmpty() ? info.firstPartyUrl() : info.initiator();
    if (!NavigationPolicy::allowsResource(info.requestUrl(), from))
        info.block(true);
}
