#include "WebPage.h"

#include "NavigationPolicy.h"
#include "WebProfile.h"

#include <QCoreApplication>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace {

// A page's message is shown as text in a strip over the page; a longer one is cut.
constexpr int MessageLength = 300;

// The engine asks before leaving a page that wants to keep the user through its confirm hook,
// with its own words. Answering no would let a page hold the pane.
QString leavePageQuestion()
{
    return QCoreApplication::translate("QWebEnginePage",
        "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

} // namespace

WebPage::WebPage(WebProfile &profile, QObject *parent)
    : QWebEnginePage(&profile, parent)
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &WebPage::deny);
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
        [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
        [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
        [](QWebEngineFullScreenRequest request) { request.reject(); });
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame && !m_replacement.isEmpty() && url == m_replacement) {
        admit(url);
        return true;
    }
    QUrl from;
    switch (type) {
    case NavigationTypeTyped:
    case NavigationTypeBackForward:
    case NavigationTypeReload:
        // The program's own request, or a step to an entry that was let in before.
        break;
    case NavigationTypeRedirect:
        // A server's redirect arrives while the page still shows what came before it.
        from = isMainFrame ? m_lastAdmitted : this->url();
        break;
    default:
        from = this->url();
        break;
    }
    if (!NavigationPolicy::allows(url, from)) {
        if (isMainFrame)
            emit navigationRefused(url);
        return false;
    }
    if (!isMainFrame)
        return true;
    if (m_offline && NavigationPolicy::isWebAddress(url)) {
        emit networkNeeded(url);
        return false;
    }
    admit(url);
    return true;
}

void WebPage::admit(const QUrl &address)
{
    m_replacement.clear();
    m_lastAdmitted = address;
    // The allowance is per load: a page that loads itself again is heard again, as a new page.
    m_messages = 0;
    emit loadAdmitted(address);
}

QWebEnginePage *WebPage::createWindow(WebWindowType)
{
    return nullptr;
}

void WebPage::pass(const QString &text)
{
    if (m_messages >= MessagesPerLoad)
        return;
    ++m_messages;
    emit message(text.size() > MessageLength ? text.left(MessageLength) + QChar(0x2026) : text);
}

void WebPage::javaScriptAlert(const QUrl &, const QString &text)
{
    pass(text);
}

bool WebPage::javaScriptConfirm(const QUrl &, const QString &text)
{
    if (text == leavePageQuestion())
        return true;
    // Nobody is asked, so nobody agreed.
    pass(text);
    return false;
}

bool WebPage::javaScriptPrompt(const QUrl &, const QString &text, const QString &, QString *)
{
    pass(text);
    return false;
}

QStringList WebPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &)
{
    // No page is handed a file from the disk.
    return {};
}

void WebPage::deny(const QUrl &securityOrigin, Feature feature)
{
    setFeaturePermission(securityOrigin, feature, PermissionDeniedByUser);
}
