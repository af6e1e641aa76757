#pragma once
// A web view in the real web engine, on a server of the test's own, for the suites of pages that
// try to take over the program. Every page a pane shows is untrusted, since a Link comes from a
// file the user picked.
#include "LocalHttpServer.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineHistory>
#include <QtTest>

#include <memory>

namespace HostilePages {

// Every test page can tell the server what it saw.
inline QByteArray page(const QString &body)
{
    return ("<!DOCTYPE html><html><head><title>Hostile</title><script>"
            "function report(what) {"
            "  new Image().src = '/report?' + encodeURIComponent(what); }"
            "</script></head><body>"
        + body + "</body></html>")
        .toUtf8();
}

// Closes any modal window that shows up, and counts it: a page must never hold the program in
// a dialog.
class ModalWatch
{
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++seen;
                modal->close();
            }
        });
        m_timer.start(10);
    }
    void stop() { m_timer.stop(); }
    int seen = 0;

private:
    QTimer m_timer;
};

} // namespace HostilePages

class HostilePageFixture
{
public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        // A camera and a microphone for the engine to offer, so that a page's request for them
        // reaches the program instead of failing for want of a device.
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --use-fake-device-for-media-stream");
    }

protected:
    void startUp()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_files.isValid());
        writeFiles();
        m_server.setReply("/redirect-to-bundled", "302 Found",
            "Location: qrc:/dreams/index.html\r\n", QByteArray());
        m_server.setReply("/file.bin", "200 OK",
            "Content-Type: application/octet-stream\r\n"
            "Content-Disposition: attachment; filename=\"file.bin\"\r\n",
            QByteArray(4096, 'x'));
        m_profile = std::make_unique<WebProfile>();
    }

    void openView()
    {
        m_view = std::make_unique<WebView>(*m_profile);
        m_view->resize(600, 400);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        m_server.requests.clear();
    }

    void closeView() { m_view.reset(); }
    void finish() { m_profile.reset(); }

    // Waits for the page's report and returns it.
    QString reported()
    {
        if (!WebWait::until([&] { return !m_server.requestsFor("/report").isEmpty(); }))
            return QStringLiteral("(no report)");
        return QUrl::fromPercentEncoding(
            m_server.requestsFor("/report").first().section('?', 1).toUtf8());
    }
    QString fileUrl(const QString &name) const
    {
        return QUrl::fromLocalFile(m_files.filePath(name)).toString();
    }
    // Clicks the page as a user would, once it has been painted: a page not yet on the screen
    // takes no clicks.
    void clickPage()
    {
        m_view->page()->runJavaScript(
            "requestAnimationFrame(function () { requestAnimationFrame(function () {"
            "  new Image().src = '/painted'; }); });");
        QVERIFY(WebWait::until([&] { return !m_server.requestsFor("/painted").isEmpty(); }));
        m_server.requests.removeAll("/painted");
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
    }

    LocalHttpServer m_server;
    QTemporaryDir m_files;
    std::unique_ptr<WebProfile> m_profile;
    std::unique_ptr<WebView> m_view;

private:
    void writeFiles()
    {
        auto write = [this](const QString &name, const QByteArray &content) {
            QFile file(m_files.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        write("secret.txt", "SECRET-CONTENT");
        write("probe.svg",
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"></svg>");
        write("framed.html", "<!DOCTYPE html><html><body><iframe></iframe></body></html>");
        // Reads its neighbour through a frame and a fetch, and puts what it got in its title.
        write("reader.html",
            "<!DOCTYPE html><html><head><title>reader</title></head><body>"
            "<iframe src='secret.txt'></iframe><script>"
            "var out = {};"
            "function done(k, v) { out[k] = v;"
            "  if ('iframe' in out && 'fetch' in out)"
            "    document.title = 'iframe=' + out.iframe + ';fetch=' + out.fetch; }"
            "window.onload = function () { var text = null;"
            "  try { text = frames[0].document.body.textContent; } catch (e) {}"
            "  done('iframe', text || 'blocked'); };"
            "fetch('secret.txt').then(function (r) { return r.text(); })"
            "  .then(function (t) { done('fetch', t); }, function () { done('fetch', 'blocked'); "
            "});"
            "</script></body></html>");
    }
};
