#include "WebProfile.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineSettings>

WebProfile::WebProfile(QObject *parent)
    : QWebEngineProfile(parent) // no storage name: off the record
{
    setUrlRequestInterceptor(&m_filter);

    QWebEngineSettings *s = settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // A failed load shows our own page, never the engine's.
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    // With the engine's popup blocker on, window.open() answers null.
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    s->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    // A PDF would open in the engine's own viewer, a page outside the policy; refused, it
    // becomes a download, and downloads are refused.
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    // A file dropped on a pane would open it from the disk.
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    // mailto: and other schemes would start another program.
    s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

    connect(this, &QWebEngineProfile::downloadRequested, this,
        [](QWebEngineDownloadRequest *download) { download->cancel(); });
}

WebProfile::~WebProfile()
{
    // The filter goes before the profile does.
    setUrlRequestInterceptor(nullptr);
}
