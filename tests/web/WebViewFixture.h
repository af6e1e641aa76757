#pragma once
// A web view of its own on a server of the test's own, for the suites of the view's commands.
#include "LocalHttpServer.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QSignalSpy>
#include <QWebEngineHistory>
#include <QtTest>

#include <memory>

namespace WebViewTexts {

inline const QByteArray FormPage = "<!DOCTYPE html><html><head><title>Form</title></head><body>"
                                   "<form name=\"Search\" action=\"/submitted\" method=\"get\">"
                                   "<input type=\"hidden\" name=\"Query\">"
                                   "<input type=\"submit\" name=\"Go\" value=\"Go\">"
                                   "</form></body></html>";

} // namespace WebViewTexts

class WebViewFixture
{
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

protected:
    void startUp()
    {
        QVERIFY(m_server.start());
        m_server.setPage("/form", WebViewTexts::FormPage);
        m_profile = std::make_unique<WebProfile>();
    }

    void openView()
    {
        m_view = std::make_unique<WebView>(*m_profile);
        m_view->resize(400, 300);
        m_view->show();
        m_server.requests.clear();
    }

    void closeView() { m_view.reset(); }
    void finish() { m_profile.reset(); }

    QString evaluate(const QString &script)
    {
        return WebWait::evaluate(m_view->page(), script).toString();
    }

    LocalHttpServer m_server;
    std::unique_ptr<WebProfile> m_profile;
    std::unique_ptr<WebView> m_view;
};
