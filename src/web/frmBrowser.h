#pragma once
#include "PaneGeometry.h"
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class LinkLabel;
class NavigationToolbar;
class WebProfile;
class WebView;
struct AppConfig;
struct AppState;

// The browser window in which web searches run: it writes the search page into an empty page,
// submits it with the search box's text and then shows the engine's pages, listing every
// address it has shown. Every web search closes it and opens a new one. Its address band and
// offline notice carry their names as object names.
class frmBrowser : public QWidget
{
    Q_OBJECT
public:
    // openHomePage opens the maker's home page in the default browser.
    frmBrowser(WebProfile &profile, const AppConfig &config, AppState &state,
        std::function<void()> openHomePage, QWidget *parent = nullptr);

    // term is the search box's text as the web search starts; geometry is where the window goes.
    void Form_Load(const PaneGeometry &geometry, const QString &term);
    void Form_Resize(const PaneGeometry &geometry);
    void brwWebBrowser_DocumentComplete(const QString &url);
    void brwWebBrowser_DownloadComplete();
    void Label61_Click();
    void tbToolBar_ButtonClick(const QString &key);

    // The term the search page submits.
    QString QueryString;

    WebView *webView() const { return brwWebBrowser; }
    NavigationToolbar *toolbar() const { return tbToolBar; }
    // The toolbar's link to the maker's home page.
    LinkLabel *homePageLink() const { return Label61; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildToolbar();
    void nameControls();
    void placeSearchPage();
    void listAddress(const QString &address);

    const AppConfig &m_config;
    AppState &m_state;
    std::function<void()> m_openHomePage;
    // Set by the first completed document after the load: the search page goes in only once.
    bool m_searchPagePlaced = false;

    NavigationToolbar *tbToolBar = nullptr;
    LinkLabel *Label61 = nullptr;
    WebView *brwWebBrowser = nullptr;
    QWidget *picAddress = nullptr;
    QLabel *lblAddress = nullptr;
    QComboBox *cboAddress = nullptr;
    QLabel *lblCaption = nullptr;
};
