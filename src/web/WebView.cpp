#include "WebView.h"

#include "BundledPages.h"
#include "FindBar.h"
#include "NavigationPolicy.h"
#include "PageContextMenu.h"
#include "PageMessage.h"
#include "WebPage.h"
#include "WebProfile.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QMenu>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <utility>

namespace {

// Helpers defined once per call; the arguments arrive as one JSON array.
const char *const FindByNameScript
    = "function somnilexFind(name){name=String(name).toLowerCase();"
      "var all=document.body?document.body.getElementsByTagName('*'):[];"
      "for(var i=0;i<all.length;i++){var n=all[i].getAttribute('name');"
      "if(n!==null&&n.toLowerCase()===name)return all[i];}return null;}";

QString jsonArray(const QStringList &values)
{
    QJsonArray array;
    for (const QString &value : values)
        array.append(value);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

} // namespace

WebView::WebView(WebProfile &profile, QWidget *parent)
    : QWebEngineView(parent)
    , m_page(new WebPage(profile, this))
{
    setPage(m_page);
    // Painted before the first page arrives, so that an empty pane never flashes white.
    matchBackground();

    m_message = new PageMessage(this);
    connect(m_page, &WebPage::message, m_message, &PageMessage::say);
    connect(m_page, &WebPage::loadAdmitted, m_message, &QWidget::hide);
    connect(m_page, &WebPage::networkNeeded, this, &WebView::NetworkNeeded);
    m_findBar = new FindBar(this);

    // The load's own address, not url(): by the time the signal arrives a newer navigation may
    // already have replaced the view's address.
    connect(
        m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
            switch (info.status()) {
            case QWebEngineLoadingInfo::LoadStartedStatus:
                return;
            case QWebEngineLoadingInfo::LoadSucceededStatus:
                m_fallback.clear();
                emit DownloadComplete();
                emit DocumentComplete(info.url().toString());
                return;
            case QWebEngineLoadingInfo::LoadFailedStatus:
                loadFailed(info);
                return;
            case QWebEngineLoadingInfo::LoadStoppedStatus:
                // Stopped or overtaken: the transfer ended, but no document is ready.
                emit DownloadComplete();
                return;
            }
        });
}

WebView::~WebView()
{
    delete m_findBar;
    delete m_message;
}

void WebView::loadFailed(const QWebEngineLoadingInfo &info)
{
    const QUrl failed = info.url();
    const LoadFailure::Reason reason = LoadFailure::classify(info.errorDomain(), info.errorCode());
    if (reason == LoadFailure::Reason::None) {
        // Refused or turned away: the pane stays where it was.
        emit DownloadComplete();
        return;
    }
    if (!NavigationPolicy::isWebAddress(failed)) {
        // One of our own pages: showing the error page for it could fail the same way.
        emit DownloadComplete();
        emit DocumentComplete(failed.toString());
        return;
    }
    // The page put in its place completes in its turn, for both signals.
    const QUrl fallback = std::exchange(m_fallback, QUrl());
    showInPlace(failed,
        fallback.isEmpty() ? BundledPages::errorPage(failed, reason, info.errorCode()) : fallback);
}

void WebView::showInPlace(const QUrl &failed, const QUrl &replacement)
{
    if (m_page->url() == failed) {
        // The failed page was shown all the same (a server's error page): take over its history
        // entry, so that Back leads to the page before it.
        m_page->allowReplacement(replacement);
        runWithArguments(QStringLiteral("location.replace(a[0]);"),
            { replacement.toString(QUrl::FullyEncoded) });
    } else {
        // Nothing was shown, so nothing entered the history: the replacement's entry is the
        // only one.
        load(replacement);
    }
}

void WebView::matchBackground()
{
    m_page->setBackgroundColor(palette().color(QPalette::Window));
}

void WebView::changeEvent(QEvent *event)
{
    QWebEngineView::changeEvent(event);
    // The colour scheme can change while the program runs.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        matchBackground();
}

void WebView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    PageContextMenu::prune(menu, page());
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    // Opened from the keyboard, the menu starts on its first entry, which a screen reader then
    // announces, as a menu bar's menu does.
    if (event->reason() == QContextMenuEvent::Keyboard)
        menu->setActiveAction(menu->actions().constFirst());
}

void WebView::childEvent(QChildEvent *event)
{
    QWebEngineView::childEvent(event);
    // The engine draws the page through a QQuickWidget, whose helper window is never shown but
    // counts as a top-level window: screen readers would list a window named "Offscreen". Qt's
    // accessibility leaves pop-up windows out of that list.
    if (event->type() != QEvent::ChildPolished)
        return;
    if (auto *drawing = qobject_cast<QQuickWidget *>(event->child())) {
        if (QQuickWindow *helper = drawing->quickWindow())
            helper->setFlag(Qt::Popup);
    }
}

bool WebView::isScriptAddress(const QString &address)
{
    // Judge the address that would be loaded, so that case and surrounding spaces do not
    // sneak a script past the check.
    return QUrl::fromUserInput(address).scheme() == QLatin1String("javascript")
        || address.trimmed().startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive);
}

void WebView::Navigate(const QString &address)
{
    NavigateWithFallback(address, QUrl());
}

void WebView::NavigateWithFallback(const QString &address, const QUrl &fallback)
{
    m_fallback.clear();
    const QUrl url = QUrl::fromUserInput(address);
    const bool refused
        = !url.isValid() || isScriptAddress(address) || !NavigationPolicy::allows(url, QUrl());
    const bool offline = !refused && m_page->isOffline() && NavigationPolicy::isWebAddress(url);
    if (refused || offline) {
        if (!fallback.isEmpty())
            load(fallback);
        else if (offline)
            emit NetworkNeeded(url);
        return;
    }
    // Redirects included: whatever this load ends in, should it fail, the fallback shows.
    m_fallback = fallback;
    load(url);
}

void WebView::setOffline(bool offline)
{
    m_page->setOffline(offline);
}

void WebView::GoBack()
{
    if (history()->canGoBack())
        back();
}

void WebView::GoForward()
{
    if (history()->canGoForward())
        forward();
}

void WebView::Refresh()
{
    // On the error page, try the failed address again, in the error page's place.
    const QUrl failed = BundledPages::failedAddress(url());
    if (NavigationPolicy::isWebAddress(failed) && !m_page->isOffline())
        runWithArguments(
            QStringLiteral("location.replace(a[0]);"), { failed.toString(QUrl::FullyEncoded) });
    else
        reload();
}

void WebView::GoHome()
{
    if (!m_homePage.isEmpty())
        Navigate(m_homePage);
}

void WebView::GoSearch()
{
    if (!m_searchPage.isEmpty())
        Navigate(m_searchPage);
}

void WebView::Stop()
{
    stop();
}

QString WebView::LocationName() const
{
    return title();
}

QString WebView::LocationURL() const
{
    const QUrl failed = BundledPages::failedAddress(url());
    return (failed.isEmpty() ? url() : failed).toString();
}

void WebView::runWithArguments(const QString &function, const QStringList &arguments)
{
    const QString script = QString::fromLatin1(FindByNameScript)
        + QStringLiteral("(function(a){%1})(%2);").arg(function, jsonArray(arguments));
    // The program's own world: page scripts can neither see the helper nor replace what it
    // calls, and the document it changes is the same.
    page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void WebView::setBodyInnerHtml(const QString &html)
{
    runWithArguments(QStringLiteral("if(document.body)document.body.innerHTML=a[0];"), { html });
}

void WebView::setElementValue(const QString &name, const QString &value)
{
    runWithArguments(
        QStringLiteral("var e=somnilexFind(a[0]);if(e)e.value=a[1];"), { name, value });
}

void WebView::setElementSubmitValue(const QString &name, const QString &value)
{
    runWithArguments(QStringLiteral("var e=somnilexFind(a[0]);if(e){e.value=a[1];"
                                    "if(e.form&&e.name){var n=e.name,v=a[1];"
                                    "e.form.addEventListener('formdata',"
                                    "function(ev){ev.formData.set(n,v);});}}"),
        { name, value });
}

void WebView::clickElement(const QString &name)
{
    runWithArguments(QStringLiteral("var e=somnilexFind(a[0]);if(e)e.click();"), { name });
}
