#pragma once
#include "AppConfig.h"
#include "MainLayout.h"
#include "PaneHost.h"
#include "Twips.h"
#include "frmBrowser.h"
#include "frmMain.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;
class QToolBar;
class DictionaryCache;
class KeywordListModel;
class KeywordListView;
class LinkLabel;
class LookupController;
struct AppState;
struct Services;

// The main window: menus, toolbar, the left search panel with the keyword list, the top and
// bottom bands, and the area in which the meaning pane and the browser window live.
class MDI : public QMainWindow, public PaneHost
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
    void mnuExit_Click();
    void cmdExit_Click();
    // Shows a new about box and waits until it is closed.
    void mnuAbout_Click();
    void TB_ButtonClick(const QString &key);

    // PaneHost
    void navigateMeaningPane(const QString &address) override;
    void showMeaningPane() override;
    void closeBrowser() override;
    void openBrowser() override;
    void hideBrowser() override;

    FrameMetrics frameMetrics() const;
    MainLayout currentLayout() const;
    LookupController *lookup() const { return m_lookup; }
    frmMain *meaningPane() const { return m_meaningPane; }
    frmBrowser *browserWindow() const { return m_browser; }

    // Controls, as the handlers and the program's other windows reach them.
    QToolBar *TB = nullptr;
    QWidget *picTop = nullptr;
    QWidget *picBottom = nullptr;
    QWidget *picLeft = nullptr;
    QRadioButton *optWildCard = nullptr;
    QRadioButton *optExact = nullptr;
    QRadioButton *optGoogle = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtKey = nullptr;
    QPushButton *cmdSearch = nullptr;
    KeywordListView *lstKeys = nullptr;
    KeywordListModel *keywords = nullptr;
    QPushButton *cmdDisplay = nullptr;
    QPushButton *cmdDonate = nullptr;
    QPushButton *cmdExit = nullptr;
    QGroupBox *fraFullBrand = nullptr;
    LinkLabel *lblFullBrand = nullptr;
    LinkLabel *lblCoBrand = nullptr;
    LinkLabel *Label61 = nullptr;
    LinkLabel *Label4 = nullptr;
    QMdiArea *mdiArea = nullptr;

    QAction *mnuUpdate = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuOnline = nullptr;
    QAction *mnuVisit = nullptr;
    QAction *mnuUpdateSoftware = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuDonate = nullptr;
    QAction *mnuMakeMoney = nullptr;

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
    void buildMenus();
    void buildToolbar();
    void buildBands();
    void buildLeftPanel();
    void wireCommands();
    void applyLayout(const MainLayout &layout);
    QMdiSubWindow *addPane(QWidget *pane);

    const AppConfig &m_config;
    const Services &m_services;
    AppState &m_state;
    DictionaryCache &m_dictionary;
    LookupController *m_lookup = nullptr;
    QPointer<frmMain> m_meaningPane;
    QPointer<QMdiSubWindow> m_meaningWindow;
    QPointer<frmBrowser> m_browser;
    QPointer<QMdiSubWindow> m_browserWindow;
    bool m_unloaded = false;
};
