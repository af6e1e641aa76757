#pragma once
#include <QWebEngineUrlRequestInterceptor>

// Turns away what a page fetches as a part of itself (images, styles, scripts, frames) when the
// navigation policy does not allow it: the disk always, the bundled pages to the web. Whole
// pages are judged by the page itself, which knows who asked.
class RequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};
