#pragma once
// The main window showing a page of the test's own server, "river" four times, one of them a
// link, in the meaning pane or in a web search: the ground of the page commands' suites.
#include "LocalHttpServer.h"
#include "MainWindowTestBase.h"
#include "PaneArea.h"
#include "WebView.h"
#include "WebWait.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class RiverPageTestBase : public MainWindowTestBase
{
protected:
    void startServer()
    {
        QVERIFY(m_server.start());
        m_server.setPage(QStringLiteral("/custom"), RiverPage);
    }

    // The window open and active, on the river page's site as main site and search engine.
    void openRiverWindow()
    {
        setUpFixture();
        m_folder->writeDictionary(rowsOf({ "Snake" }));
        m_config.MainSiteAddress = m_server.url(QStringLiteral("/custom"));
        // The search page submits to <engine>/custom: the river page again.
        m_config.SearchEngineAddress = m_server.baseUrl();
        m_fakes->connection.online = true;
        openMainWindow();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // The meaning pane, or with inBrowser a web search, showing the river page.
    WebView *showRiverPage(bool inBrowser)
    {
        // Watched from its making: the pane starts loading as soon as it is made.
        std::unique_ptr<QSignalSpy> loaded;
        QMetaObject::Connection watch
            = connect(m_window->panes(), &PaneArea::pageOpened, this, [&loaded](WebView *view) {
                  loaded = std::make_unique<QSignalSpy>(view, &WebView::DocumentComplete);
              });
        m_window->panes()->showMeaningPane();
        if (inBrowser)
            m_window->panes()->openBrowser(QString());
        disconnect(watch);
        WebView *view
            = inBrowser ? m_window->browserWindow()->webView() : m_window->meaningPane()->webView();
        const bool shown = loaded && WebWait::until([&] {
            return !loaded->isEmpty()
                && QUrl(loaded->last().first().toString()).path() == QLatin1String("/custom");
        });
        if (!shown)
            qWarning("the river page did not come: %s", qPrintable(view->url().toString()));
        return shown ? view : nullptr;
    }

    void press(QKeyCombination key)
    {
        QWidget *target
            = QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    static constexpr const char *RiverPage
        = "<!DOCTYPE html><html><head><title>River</title></head><body>"
          "<p id='text'>Dream of a river. A river at night.</p><p>The river again.</p>"
          "<p><a id='link' href='/custom'>Another river</a></p></body></html>";

    LocalHttpServer m_server;
};
