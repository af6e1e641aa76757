#include "WebView.h"

#include "NavigationPolicy.h"
#include "WebPage.h"
#include "WebProfile.h"

#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>

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

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAccessibleName(tr("Message from the page"));
    // A page's words are text, never markup.
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setAutoFillBackground(true);
    lblMessage->setBackgroundRole(QPalette::ToolTipBase);
    lblMessage->setForegroundRole(QPalette::ToolTipText);
    lblMessage->setFrameShape(QFrame::StyledPanel);
    lblMessage->setMargin(6);
    lblMessage->setCursor(Qt::PointingHandCursor);
    lblMessage->setToolTip(tr("Click to close"));
    lblMessage->installEventFilter(this);
    lblMessage->hide();
    connect(m_page, &WebPage::message, this, &WebView::showMessage);
    connect(m_page, &WebPage::loadAdmitted, lblMessage, &QWidget::hide);

    // The load's own address, not url(): by the time the signal arrives a newer navigation may
    // already have replaced the view's address.
    connect(
        m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
            switch (info.status()) {
            case QWebEngineLoadingInfo::LoadStartedStatus:
                return;
            case QWebEngineLoadingInfo::LoadSucceededStatus:
            case QWebEngineLoadingInfo::LoadFailedStatus:
                // A failed load leaves the engine's error page: a document all the same.
                emit DownloadComplete();
                emit DocumentComplete(info.url().toString());
                return;
            case QWebEngineLoadingInfo::LoadStoppedStatus:
                // Stopped or overtaken: the transfer ended, but no document is ready.
                emit DownloadComplete();
                return;
            }
        });
}

void WebView::showMessage(const QString &text)
{
    lblMessage->setText(tr("This page says: %1").arg(text));
    placeMessage();
    lblMessage->show();
    lblMessage->raise();
}

void WebView::placeMessage()
{
    lblMessage->setGeometry(0, 0, width(), lblMessage->heightForWidth(width()));
}

bool WebView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblMessage && event->type() == QEvent::MouseButtonPress) {
        lblMessage->hide();
        return true;
    }
    return QWebEngineView::eventFilter(watched, event);
}

void WebView::resizeEvent(QResizeEvent *event)
{
    QWebEngineView::resizeEvent(event);
    placeMessage();
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
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || isScriptAddress(address) || !NavigationPolicy::allows(url, QUrl()))
        return;
    load(url);
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
    return url().toString();
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
