#pragma once
// The main window on a server of the test's own, standing in for the maker's site and the search
// engine, and the web searches the browser suites start from it.
#include "AppState.h"
#include "Fakes.h"
#include "LinkLabel.h"
#include "LocalHttpServer.h"
#include "LookupController.h"
#include "MDI.h"
#include "MainWindowTestBase.h"
#include "NavigationToolbar.h"
#include "OfflineNotice.h"
#include "PaneLayout.h"
#include "TestDictionary.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmBrowser.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QWebEngineHistory>
#include <QtTest>

#include <memory>

namespace BrowserTexts {

inline constexpr int LoadTimeout = 20000;
inline const QString Partner = QStringLiteral("partner-pub-0001:abc");
inline const QString ReplyTitle = QStringLiteral("Results from the engine");
inline const QString FirstCaption = QStringLiteral("Somnilex v1.65");
// The hidden fields after q, as a browser form-encodes them.
inline const QString FieldsAfterTerm
    = QStringLiteral("&sa=Search&client=partner-pub-0001%3Aabc&forid=1&ie=ISO-8859-1&oe=ISO-8859-1"
                     "&cof=GALT%3A%23008000%3BGL%3A1%3BDIV%3A%23336699%3BVLC%3A663399%3BAH%3Acenter"
                     "%3BBGC%3AFFFFFF%3BLBGC%3A336699%3BALC%3A0000FF%3BLC%3A0000FF%3BT%3A000000"
                     "%3BGFNT%3A0000FF%3BGIMP%3A0000FF%3BFORID%3A1%3B&hl=en");

inline QString queryOf(const QString &target)
{
    return target.section(QLatin1Char('?'), 1);
}

// name=value pairs of a form-encoded query, decoded.
inline QList<QPair<QString, QString>> fieldsOf(const QString &query)
{
    QList<QPair<QString, QString>> fields;
    for (const QString &pair : query.split(QLatin1Char('&'))) {
        QString value = pair.section(QLatin1Char('='), 1);
        value.replace(QLatin1Char('+'), QLatin1Char(' '));
        fields.append(
            { pair.section(QLatin1Char('='), 0, 0), QUrl::fromPercentEncoding(value.toUtf8()) });
    }
    return fields;
}

inline QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace BrowserTexts

class BrowserTestBase : public MainWindowTestBase
{
protected:
    void setUpBrowser()
    {
        m_server = std::make_unique<LocalHttpServer>();
        QVERIFY(m_server->start());
        m_server->setPage(
            QStringLiteral("/custom"), LocalHttpServer::titledPage(BrowserTexts::ReplyTitle));
        setUpFixture();
        m_folder->writeDictionary(rowsOf({ "Snake", "Moon" }));
        m_fakes->connection.online = true;
        m_config.MainSiteAddress = m_server->url(QStringLiteral("/home"));
        m_config.SearchEngineAddress = m_server->baseUrl();
        m_config.SearchPartnerId = BrowserTexts::Partner;
    }

    void tearDownBrowser()
    {
        tearDownFixture();
        m_server.reset();
    }

    void openWindow()
    {
        openMainWindow();
        m_window->panes()->showMeaningPane();
    }

    // Web-search mode, the term typed, then Enter or the Search button.
    void webSearch(const QString &term, bool enter)
    {
        m_window->findChild<QRadioButton *>("optGoogle")->setChecked(true);
        m_window->findChild<QLineEdit *>("txtKey")->setText(term);
        if (enter)
            QTest::keyClick(m_window->findChild<QLineEdit *>("txtKey"), Qt::Key_Return);
        else
            m_window->findChild<QPushButton *>("cmdSearch")->click();
    }

    void waitForReply()
    {
        QTRY_COMPARE_WITH_TIMEOUT(
            m_server->requestsFor(QStringLiteral("/custom")).size(), 1, BrowserTexts::LoadTimeout);
        QVERIFY(browser());
        QTRY_COMPARE_WITH_TIMEOUT(
            browser()->windowTitle(), BrowserTexts::ReplyTitle, BrowserTexts::LoadTimeout);
    }

    frmBrowser *browser() const { return m_window->browserWindow(); }
    static QComboBox *addressBox(const frmBrowser *window)
    {
        return window->findChild<QComboBox *>("cboAddress");
    }

    std::unique_ptr<LocalHttpServer> m_server;
};
