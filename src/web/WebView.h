#pragma once
#include <QString>
#include <QWebEngineView>

// The embedded browser as the panes use it: navigation by address, history commands, the
// current page's title and address, completion signals, and a few document operations. Values
// reach page scripts only as JSON, never spliced into script text.
class WebView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit WebView(QWidget *parent = nullptr);

    // Opens one address. Plain text (a bare word) is taken as QUrl::fromUserInput reads it.
    // A javascript: address is refused: it would run inside whatever page is shown.
    void Navigate(const QString &address);
    void GoBack();
    void GoForward();
    void Refresh();
    void GoHome();
    void GoSearch();
    void Stop();

    QString LocationName() const;
    QString LocationURL() const;

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

signals:
    // A navigation left a document ready for the operations above (also "about:blank", and
    // the engine's error page when the address could not be fetched), with its address.
    void DocumentComplete(const QString &url);
    // A navigation's transfer ended: finished, failed, stopped or overtaken by another one.
    // Comes before DocumentComplete when both come.
    void DownloadComplete();

private:
    void runWithArguments(const QString &function, const QStringList &jsonArguments);

    QString m_homePage;
    QString m_searchPage;
};
