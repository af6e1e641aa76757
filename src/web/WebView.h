#pragma once
#include "PageMessage.h"

#include <QString>
#include <QUrl>
#include <QWebEngineView>

class FindBar;
class QWebEngineLoadingInfo;
class WebPage;
class WebProfile;

// The embedded browser as the panes use it: navigation by address, history commands, the
// current page's title and address, completion signals, and a few document operations. Values
// reach page scripts only as JSON, never spliced into script text.
//
// A load that fails shows the bundled error page in its place, never the engine's own; the
// page's messages (alert and the like) appear in a strip over the page and wait for nobody.
class WebView : public QWebEngineView
{
    Q_OBJECT
public:
    // Every view shows its pages through the one hardened profile.
    explicit WebView(WebProfile &profile, QWidget *parent = nullptr);
    // The strips beside the view go with it.
    ~WebView() override;

    // Opens one address. Plain text (a bare word) is taken as QUrl::fromUserInput reads it.
    // An address the navigation policy does not allow (javascript:, file:, data: and the like)
    // is refused: nothing new is shown. Offline, a web address is not loaded and
    // NetworkNeeded is emitted instead.
    void Navigate(const QString &address);
    // As Navigate, but when address cannot be shown (refused, offline, or its load fails),
    // fallback is shown in its place instead of the error page.
    void NavigateWithFallback(const QString &address, const QUrl &fallback);
    void GoBack();
    void GoForward();
    void Refresh();
    void GoHome();
    void GoSearch();
    void Stop();

    QString LocationName() const;
    // The current page's address; on the error page, the address that failed.
    QString LocationURL() const;

    // Offline, web addresses are not loaded; bundled pages still are.
    void setOffline(bool offline);

    // The view's own home and search pages.
    void setHomePage(const QString &address) { m_homePage = address; }
    void setSearchPage(const QString &address) { m_searchPage = address; }

    // Document operations; each is harmless when the page lacks what it names.
    void setBodyInnerHtml(const QString &html);
    // The first element whose name attribute equals name in any letter case.
    void setElementValue(const QString &name, const QString &value);
    // As setElementValue, and the element's form then submits value exactly, line breaks
    // included, which a one-line text field would otherwise drop.
    void setElementSubmitValue(const QString &name, const QString &value);
    void clickElement(const QString &name);

    // Whether Navigate would refuse address as a script address.
    static bool isScriptAddress(const QString &address);

    WebPage *webPage() const { return m_page; }
    // The page's latest message, over the top of the page until the next page loads or a click
    // puts it away. Both strips lie in the view's parent, where screen readers reach them.
    PageMessage *message() const { return m_message; }
    // Ctrl+F's strip over the foot of the page.
    FindBar *findBar() const { return m_findBar; }

signals:
    // A navigation left a document ready for the operations above (also "about:blank", and
    // the error page when the address could not be fetched), with the document's address.
    void DocumentComplete(const QString &url);
    // A navigation's transfer ended: finished, failed, stopped or overtaken by another one.
    // Comes before DocumentComplete when both come.
    void DownloadComplete();
    // A web address was asked for while offline; nothing was loaded.
    void NetworkNeeded(const QUrl &address);

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void runWithArguments(const QString &function, const QStringList &jsonArguments);
    void loadFailed(const QWebEngineLoadingInfo &info);
    void showInPlace(const QUrl &failed, const QUrl &replacement);
    void matchBackground();

    WebPage *m_page = nullptr;
    PageMessage *m_message = nullptr;
    FindBar *m_findBar = nullptr;
    // Shown instead of the error page should the load under way fail.
    QUrl m_fallback;
    QString m_homePage;
    QString m_searchPage;
};
