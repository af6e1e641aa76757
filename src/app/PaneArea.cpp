#include "PaneArea.h"

#include "AccessibleNames.h"
#include "NavigationToolbar.h"
#include "PaneLayout.h"
#include "WebView.h"

#include <QMdiSubWindow>

PaneArea::PaneArea(WebProfile &profile, const AppConfig &config, AppState &state,
    std::function<void()> openHomePage, std::function<FrameMetrics()> frame, QWidget *parent)
    : QMdiArea(parent)
    , m_profile(profile)
    , m_config(config)
    , m_state(state)
    , m_openHomePage(std::move(openHomePage))
    , m_frame(std::move(frame))
{
    // The panes size themselves to the window, a little past the visible area by design.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void PaneArea::resizePanes(const FrameMetrics &frame)
{
    if (m_meaningPane)
        m_meaningPane->Form_Resize(PaneLayout::meaningPane(frame).geometry());
    if (m_browser)
        m_browser->Form_Resize(PaneLayout::browserWindow(frame).geometry());
}

QMdiSubWindow *PaneArea::addPane(QWidget *pane)
{
    QMdiSubWindow *window = addSubWindow(pane, Qt::FramelessWindowHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

void PaneArea::navigateMeaningPane(const QString &address)
{
    if (!m_meaningPane)
        showMeaningPane();
    m_meaningPane->Navigate(address);
}

void PaneArea::showMeaningPane()
{
    // The pane is loaded at start-up and never closed: a lookup finds it loaded.
    showMeaningPane(QString());
}

void PaneArea::showMeaningPane(const QString &searchText)
{
    if (!m_meaningPane) {
        m_meaningPane = new frmMain(m_profile, m_config, m_state);
        m_meaningWindow = addPane(m_meaningPane);
        m_meaningWindow->move(0, 0);
        m_meaningWindow->show();
        emit pageOpened(m_meaningPane->webView());
        m_meaningPane->Form_Load(PaneLayout::meaningPane(m_frame()).geometry(), searchText);
    }
    m_meaningWindow->show();
    setActiveSubWindow(m_meaningWindow);
    m_meaningWindow->raise();
}

void PaneArea::closeBrowser()
{
    if (m_browserWindow)
        delete m_browserWindow.data();
}

void PaneArea::openBrowser(const QString &term)
{
    m_browser = new frmBrowser(m_profile, m_config, m_state, m_openHomePage);
    m_browserWindow = addPane(m_browser);
    AccessibleNames::nameNavigationButtons(m_browser->toolbar());
    m_browserWindow->show();
    emit pageOpened(m_browser->webView());
    m_browser->Form_Load(PaneLayout::browserWindow(m_frame()).geometry(), term);
    setActiveSubWindow(m_browserWindow);
    m_browserWindow->raise();
}

void PaneArea::hideBrowser()
{
    // A window that was never opened stays unopened: loading it only to hide it would start a
    // web search nobody sees.
    if (m_browserWindow)
        m_browserWindow->hide();
}

WebView *PaneArea::currentPage() const
{
    if (m_browserWindow && m_browserWindow->isVisible() && currentSubWindow() == m_browserWindow)
        return m_browser->webView();
    return m_meaningPane ? m_meaningPane->webView() : nullptr;
}
