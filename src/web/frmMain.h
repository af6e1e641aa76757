#pragma once
#include "PaneGeometry.h"
#include <QWidget>

class QLabel;
class WebProfile;
class WebView;
struct AppConfig;
struct AppState;

// The meaning pane: the child of the main window in which keyword pages are shown. It opens the
// maker's site, or the bundled start page when there is no real site to reach. Offline it still
// shows the bundled pages, and the notice in place of any page that needs the network.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    frmMain(
        WebProfile &profile, const AppConfig &config, AppState &state, QWidget *parent = nullptr);

    // searchText is the main window's search box as the pane loads. The pane stays where it was
    // put; it takes the size of geometry.
    void Form_Load(const PaneGeometry &geometry, const QString &searchText);
    void Form_Resize(const PaneGeometry &geometry);
    void Navigate(const QString &address);

    WebView *webView() const { return WB; }

private:
    void showPage();
    void showNotice();

    const AppConfig &m_config;
    AppState &m_state;
    WebView *WB = nullptr;
    // The offline notice, shown in place of a page that needs the network.
    QLabel *lblCaption = nullptr;
};
