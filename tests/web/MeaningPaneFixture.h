#pragma once
// The meaning pane against a server of the test's own, with a dictionary whose links point there,
// and the ways its suites wait for the pane to show an address.
#include "Application.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LocalHttpServer.h"
#include "LookupController.h"
#include "MDI.h"
#include "PaneLayout.h"
#include "TestDictionary.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QtTest>

#include <memory>

namespace MeaningPaneTexts {

inline const QString OfflineNotice
    = QStringLiteral("You must be connected to the internet in order to use this software.");
inline const QString StartPage = QStringLiteral("qrc:/dreams/index.html");

} // namespace MeaningPaneTexts

class MeaningPaneFixture
{
protected:
    void startServer()
    {
        QVERIFY(m_server.start());
        m_folder = std::make_unique<TestFolder>();
        m_folder->writeDictionary({ { "Snake", link("snake"), "" }, { "Moon", link("moon"), "" },
            { "Owl", "qrc:/dreams/owl.html", "" },
            { "Nowhere", "http://nowhere.invalid/dreams/nowhere.html", "" } });
        m_profile = std::make_unique<WebProfile>();
    }

    void forgetDocuments()
    {
        m_documents.reset();
        m_server.requests.clear();
    }

    static QLabel *noticeOf(frmMain *pane) { return pane->findChild<QLabel *>("lblCaption"); }
    AppConfig config() const
    {
        AppConfig config = AppConfig::builtIn(m_folder->path(), "somnilex");
        config.MainSiteAddress = m_server.baseUrl();
        config.SearchEngineAddress = m_server.baseUrl();
        return config;
    }
    QString link(const QString &key) const
    {
        return m_server.url("/dreams/" + key.toLower() + ".html");
    }
    // Waits until the pane shows address and nothing more is loading.
    // The pane has shown address: its last finished document, done loading. Only the view's
    // own signal tells a finished load from one asked for but not yet begun, or one whose end
    // is still on its way; so the documents are watched from the moment the pane exists.
    bool showing(frmMain *pane, const QString &address)
    {
        if (!m_documents || m_watched != pane->webView())
            return false;
        return WebWait::until(
            [&] {
                return !m_documents->isEmpty()
                    && QUrl(m_documents->last().first().toString()) == QUrl(address)
                    && QUrl(pane->webView()->LocationURL()) == QUrl(address)
                    && !pane->webView()->page()->isLoading();
            },
            WebWait::Timeout);
    }

    // Services for a main window built by the test itself, with the web profile.
    Services services(FakeServices &fakes)
    {
        Services services = fakes.services();
        services.web = m_profile.get();
        return services;
    }
    // Call before the event loop runs again after the pane is made, so no document is missed.
    frmMain *watch(frmMain *pane)
    {
        m_documents = std::make_unique<QSignalSpy>(pane->webView(), &WebView::DocumentComplete);
        m_watched = pane->webView();
        return pane;
    }
    frmMain *paneOf(Application &app) { return watch(app.mainWindow()->meaningPane()); }

    LocalHttpServer m_server;
    std::unique_ptr<QSignalSpy> m_documents;
    const WebView *m_watched = nullptr; // what m_documents listens to
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<WebProfile> m_profile;
};
