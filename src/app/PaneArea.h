#pragma once
#include "FrameMetrics.h"
#include "PaneHost.h"
#include "frmBrowser.h"
#include "frmMain.h"

#include <QMdiArea>
#include <QPointer>
#include <functional>

class QMdiSubWindow;
class WebView;
struct AppConfig;
struct AppState;

// The main window's client area, in which the meaning pane and the browser window live as
// frameless sub-windows, opened, shown and closed as the lookup commands ask.
class WebProfile;

class PaneArea : public QMdiArea, public PaneHost
{
    Q_OBJECT
public:
    // openHomePage opens the maker's home page, frame reads the main window's size and bands.
    PaneArea(WebProfile &profile, const AppConfig &config, AppState &state,
        std::function<void()> openHomePage, std::function<FrameMetrics()> frame,
        QWidget *parent = nullptr);

    // PaneHost
    void navigateMeaningPane(const QString &address) override;
    void showMeaningPane() override;
    void closeBrowser() override;
    void openBrowser(const QString &term) override;

    // As showMeaningPane; a pane loaded now reads searchText as the search box's text.
    void showMeaningPane(const QString &searchText);
    void hideBrowser() override;

    // Lets each open pane follow the main window's new size.
    void resizePanes(const FrameMetrics &frame);
    frmMain *meaningPane() const { return m_meaningPane; }
    frmBrowser *browserWindow() const { return m_browser; }
    // The page in front: the browser window's while it shows, else the meaning pane's.
    WebView *currentPage() const;

signals:
    // A pane was made, with its web view.
    void pageOpened(WebView *view);

private:
    QMdiSubWindow *addPane(QWidget *pane);

    WebProfile &m_profile;
    const AppConfig &m_config;
    AppState &m_state;
    std::function<void()> m_openHomePage;
    std::function<FrameMetrics()> m_frame;
    QPointer<frmMain> m_meaningPane;
    QPointer<QMdiSubWindow> m_meaningWindow;
    QPointer<frmBrowser> m_browser;
    QPointer<QMdiSubWindow> m_browserWindow;
};
