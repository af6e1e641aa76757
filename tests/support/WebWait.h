#pragma once
// Waiting on the real web engine in tests: for a view's next document, for the result of a
// script run in its page, or for any condition. The waits run a real event loop: the engine
// crawls under QTest::qWaitFor, which sleeps between rounds of events.
//
// Something that must not happen is never given a fixed time to happen: the test waits for a
// later event that the stray one would come before (a sentinel), then looks.
#include "LocalHttpServer.h"
#include "WebView.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTimer>
#include <QUuid>
#include <QVariant>
#include <QWebEnginePage>

#include <functional>
#include <memory>

namespace WebWait {

constexpr int Timeout = 15000;

// Runs the event loop until done() holds or timeout ms have passed; returns done().
inline bool until(const std::function<bool()> &done, int timeout = Timeout)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Waits until spy (on WebView::DocumentComplete) holds at least count signals.
inline bool documents(QSignalSpy &spy, int count = 1, int timeout = Timeout)
{
    return until([&] { return spy.size() >= count; }, timeout);
}

// Navigates view and waits for the document that follows; returns its address, or an empty
// text when none came.
inline QString navigate(WebView &view, const QString &address, int timeout = Timeout)
{
    QSignalSpy spy(&view, &WebView::DocumentComplete);
    view.Navigate(address);
    if (!documents(spy, 1, timeout))
        return QString();
    return spy.first().first().toString();
}

// Runs script in the page's main world and returns its result, or an invalid value on timeout.
inline QVariant evaluate(QWebEnginePage *page, const QString &script, int timeout = Timeout)
{
    // Shared with the callback, which may still come after a timeout.
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [result](const QVariant &value) {
        result->first = true;
        result->second = value;
    });
    until([&] { return result->first; }, timeout);
    return result->second;
}

// Has the document shown in page request a new address from server, and waits until that
// request arrives; returns its path, or an empty text when it did not come. Requests that the
// document, or one it replaced, started earlier were sent before it.
inline QString sentinel(QWebEnginePage *page, const LocalHttpServer &server, int timeout = Timeout)
{
    const QString path = QStringLiteral("/sentinel-") + QUuid::createUuid().toString(QUuid::Id128);
    const QByteArray address
        = QJsonDocument(QJsonArray { server.url(path) }).toJson(QJsonDocument::Compact);
    page->runJavaScript(QStringLiteral("new Image().src = %1[0];").arg(QString::fromUtf8(address)));
    if (!until([&] { return !server.requestsFor(path).isEmpty(); }, timeout))
        return QString();
    return path;
}

// Loads address in a page of its own and waits until it has loaded; true when it did. The
// event loop has then run well past anything the program queued before, and a navigation asked
// of a view, however queued, shows in the view's page()->requestedUrl().
inline bool roundTrip(const QString &address, int timeout = Timeout)
{
    QWebEnginePage page;
    bool loaded = false;
    bool ok = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool success) {
        loaded = true;
        ok = success;
    });
    page.load(QUrl(address));
    until([&] { return loaded; }, timeout);
    return ok;
}

} // namespace WebWait
