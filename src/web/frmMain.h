#pragma once
#include "Twips.h"
#include <QWidget>
#include <functional>

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
    // searchText reads the main window's search box.
    frmMain(WebProfile &profile, const AppConfig &config, AppState &state,
        std::function<QString()> searchText, QWidget *parent = nullptr);

    void Form_Load(const FrameMetrics &frame);
    void Form_Resize(const FrameMetrics &frame);
    void Navigate(const QString &address);

    WebView *WB = nullptr;
    QLabel *lblCaption = nullptr;

private:
    void showPage();
    void showNotice();

    const AppConfig &m_config;
    AppState &m_state;
    std::function<QString()> m_searchText;
};
