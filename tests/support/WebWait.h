#pragma once
// Waiting on the real web engine in tests: for a view's next document, for the result of a
// script run in its page, or for any condition. The waits run a real event loop: the engine
// crawls under QTest::qWaitFor, which sleeps between rounds of events.
#include "WebView.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
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

// Lets the engine run for ms milliseconds, for things that must not happen.
inline void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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

} // namespace WebWait
