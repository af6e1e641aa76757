#pragma once
#include "AppConfig.h"
#include "FrameMetrics.h"
#include "MainLayout.h"
#include "PaneArea.h"

#include <QMainWindow>

class QGroupBox;
class QPushButton;
class DictionaryCache;
class LinkLabel;
class LookupController;
class MainMenus;
class PageCommands;
class PageZoom;
class NavigationToolbar;
class SearchPanel;
struct AppState;
struct Services;

// The main window: menus, toolbar, the left search panel with the keyword list, the top and
// bottom bands, and the area in which the meaning pane and the browser window live. Its controls
// carry their names as object names, by which tests and the program's other windows find them.
class MDI : public QMainWindow
{
    Q_OBJECT
public:
    MDI(const AppConfig &config, const Services &services, AppState &state,
        DictionaryCache &dictionary, QWidget *parent = nullptr);
    ~MDI() override;

    // Checks the connection, then fills the keyword list and sets its column width.
    void MDIForm_Load();
    // Rearranges the controls that follow the window's size.
    void MDIForm_Resize();
    // Shows the meaning pane; loading it now, it reads the search box as it stands.
    void showMeaningPane();
    void mnuExit_Click();
    void cmdExit_Click();
    // Shows a new about box and waits until it is closed.
    void mnuAbout_Click();
    void TB_ButtonClick(const QString &key);

    FrameMetrics frameMetrics() const;
    MainLayout currentLayout() const;
    LookupController *lookup() const { return m_lookup; }
    PaneArea *panes() const { return mdiArea; }
    frmMain *meaningPane() const { return mdiArea->meaningPane(); }
    frmBrowser *browserWindow() const { return mdiArea->browserWindow(); }
    PageCommands *pageCommands() const { return m_pages; }
    PageZoom *pageZoom() const { return m_zoom; }

signals:
    // The window has closed (its child panes first); the exit screen takes over.
    void MDIForm_Unload();
    // File > Update, handled by its own window.
    void updateRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void buildBands();
    void buildBottomBand(QWidget *central);
    void nameControls();
    void wireCommands();
    void wireLinks();
    void applyLayout(const MainLayout &layout);

    const AppConfig &m_config;
    const Services &m_services;
    AppState &m_state;
    DictionaryCache &m_dictionary;
    LookupController *m_lookup = nullptr;
    bool m_unloaded = false;

    NavigationToolbar *TB = nullptr;
    QWidget *picTop = nullptr;
    QWidget *picBottom = nullptr;
    SearchPanel *picLeft = nullptr;
    QPushButton *cmdDonate = nullptr;
    QPushButton *cmdExit = nullptr;
    QGroupBox *fraFullBrand = nullptr;
    LinkLabel *lblFullBrand = nullptr;
    LinkLabel *lblCoBrand = nullptr;
    LinkLabel *Label61 = nullptr;
    LinkLabel *Label4 = nullptr;
    PaneArea *mdiArea = nullptr;

    MainMenus *m_menus = nullptr;
    PageZoom *m_zoom = nullptr;
    PageCommands *m_pages = nullptr;
};
