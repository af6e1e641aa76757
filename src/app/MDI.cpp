#include "MDI.h"

#include "AppState.h"
#include "CheckOnline.h"
#include "ConnectionProbe.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LinkLabel.h"
#include "LookupController.h"
#include "Services.h"
#include "UpdateCommand.h"
#include "WebView.h"
#include "frmAbout.h"
#include "frmBrowser.h"
#include "frmMain.h"
#include "modHelp.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString MainCaption = QStringLiteral("Somnilex v1.85");

// Band sizes in twips.
constexpr int ToolbarHeight = 540;
constexpr int TopBandHeight = 645;
constexpr int BottomBandHeight = 525;
constexpr int LeftPanelWidth = 2925;

QFont panelFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

MDI::MDI(const AppConfig &config, const Services &services, AppState &state, QWidget *parent)
    : QMainWindow(parent), m_config(config), m_services(services), m_state(state)
{
    setWindowTitle(MainCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/somnilex.svg")));
    setAttribute(Qt::WA_DeleteOnClose, false);

    buildMenus();
    buildToolbar();
    buildBands();
    buildLeftPanel();

    LookupControls controls;
    controls.txtKey = txtKey;
    controls.lstKeys = lstKeys;
    controls.keywords = keywords;
    controls.optExact = optExact;
    controls.optWildCard = optWildCard;
    controls.optGoogle = optGoogle;
    m_lookup = new LookupController(controls, *this, *services.prompter, state,
                                    config.dictionaryPath(), this);
    m_lookup->connectControls();
    wireCommands();

    // Restored, the client area is 9900 x 7080 twips, centred on the screen.
    resize(Twips::toPixels(9900), Twips::toPixels(7080) + menuBar()->sizeHint().height());
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    applyLayout(arrangeMainWindow(MainLayout::design(), Twips::fromPixels(width()),
                                  Twips::fromPixels(height()), 0, LeftPanelWidth));
}

MDI::~MDI() = default;

void MDI::buildMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(tr("&File"));
    mnuUpdate = mnuFile->addAction(tr("&Update"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(tr("E&xit"));

    QMenu *mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuOnline = mnuHelp->addAction(tr("&Online Help"));
    mnuVisit = mnuHelp->addAction(tr("&Visit Us Online"));
    mnuHelp->addSeparator();
    mnuUpdateSoftware = mnuHelp->addAction(tr("Check for Software &Update"));
    mnuHelp->addSeparator();
    mnuAbout = mnuHelp->addAction(tr("&About Software"));

    mnuDonate = menuBar()->addAction(tr("&Donate"));
    mnuMakeMoney = menuBar()->addAction(tr("Make Money &Online"));
}

void MDI::buildToolbar()
{
    TB = new QToolBar(tr("Navigation"), this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setMovable(false);
    TB->setFloatable(false);
    TB->setIconSize(QSize(24, 24));
    TB->setToolButtonStyle(Qt::ToolButtonIconOnly);
    TB->setFixedHeight(Twips::toPixels(ToolbarHeight));
    addToolBar(Qt::TopToolBarArea, TB);

    static const char *const keys[] = { "Back", "Forward", "Stop", "Refresh", "Home", "Search" };
    for (const char *key : keys) {
        const QString name = QString::fromLatin1(key);
        QAction *action = TB->addAction(
                QIcon(QStringLiteral(":/icons/%1.svg").arg(name.toLower())), name);
        action->setObjectName(name);
        action->setToolTip(name);
        connect(action, &QAction::triggered, this, [this, name] { TB_ButtonClick(name); });
    }

    TB->addSeparator();
    Label61 = new LinkLabel(tr("Visit the Somnilex home page for new dream symbols"), TB);
    Label61->setStyleSheet(QStringLiteral("background: white; padding: 4px 8px;"));
    TB->addWidget(Label61);
    Label4 = new LinkLabel(tr("Share your dreams with us"), TB);
    Label4->setStyleSheet(QStringLiteral("background: white; padding: 4px 8px;"));
    TB->addWidget(Label4);
}

void MDI::buildBands()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    picTop = new QWidget(central);
    picTop->setFixedHeight(Twips::toPixels(TopBandHeight));
    cmdDonate = new QPushButton(tr("&Donate"), picTop);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    picLeft = new QWidget(central);
    picLeft->setFixedWidth(Twips::toPixels(LeftPanelWidth));
    picLeft->setFont(panelFont());
    mdiArea = new QMdiArea(central);
    mdiArea->setAccessibleName(tr("Pages"));
    // The panes size themselves to the window, a little past the visible area by design.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea->setBackground(palette().button());
    middle->addWidget(picLeft);
    middle->addWidget(mdiArea, 1);

    picBottom = new QWidget(central);
    picBottom->setFixedHeight(Twips::toPixels(BottomBandHeight));
    fraFullBrand = new QGroupBox(picBottom);
    fraFullBrand->setGeometry(TwipsRect { 0, -100, 9465, 855 }.toPixels());
    fraFullBrand->setFlat(true);
    fraFullBrand->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
    QFont linkFont = panelFont();
    linkFont.setBold(true);
    const TwipsRect linkRect { 120, 165, 9225, 615 };
    lblFullBrand = new LinkLabel(tr("Get your own fully branded edition of Somnilex"),
                                 fraFullBrand);
    lblFullBrand->setFont(linkFont);
    lblFullBrand->setGeometry(linkRect.toPixels());
    lblFullBrand->hide(); // lies under lblCoBrand, as designed
    lblCoBrand = new LinkLabel(tr("Put your name on Somnilex: ask for a co-branded edition"),
                               fraFullBrand);
    lblCoBrand->setFont(linkFont);
    lblCoBrand->setGeometry(linkRect.toPixels());
    lblCoBrand->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdExit = new QPushButton(tr("E&xit"), picBottom);

    column->addWidget(picTop);
    column->addLayout(middle, 1);
    column->addWidget(picBottom);
    setCentralWidget(central);
}

void MDI::buildLeftPanel()
{
    optWildCard = new QRadioButton(tr("Use WildCard (*)"), picLeft);
    optWildCard->setGeometry(TwipsRect { 90, -30, 2205, 315 }.toPixels());
    optExact = new QRadioButton(tr("Exact Search"), picLeft);
    optExact->setGeometry(TwipsRect { 90, 255, 2205, 315 }.toPixels());
    optGoogle = new QRadioButton(tr("Google Search"), picLeft);
    optGoogle->setGeometry(TwipsRect { 90, 540, 2205, 315 }.toPixels());
    optExact->setChecked(true);

    Label1 = new QLabel(tr("Type in the Key&word to find:"), picLeft);
    Label1->setGeometry(TwipsRect { 120, 840, 2445, 195 }.toPixels());
    Label1->adjustSize();
    txtKey = new QLineEdit(picLeft);
    txtKey->setAccessibleName(tr("Keyword to find"));
    Label1->setBuddy(txtKey);

    cmdSearch = new QPushButton(tr("&Search"), picLeft);

    keywords = new KeywordListModel(this);
    lstKeys = new KeywordListView(picLeft);
    lstKeys->setModel(keywords);
    lstKeys->setAccessibleName(tr("Keywords"));
    // The one column is as wide as the list; a long keyword is elided, not scrolled to.
    lstKeys->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    cmdDisplay = new QPushButton(tr("&Display"), picLeft);

    setTabOrder(optWildCard, optExact);
    setTabOrder(optExact, optGoogle);
    setTabOrder(optGoogle, txtKey);
    setTabOrder(txtKey, cmdSearch);
    setTabOrder(cmdSearch, lstKeys);
    setTabOrder(lstKeys, cmdDisplay);
}

void MDI::wireCommands()
{
    connect(mnuExit, &QAction::triggered, this, &MDI::mnuExit_Click);
    connect(cmdExit, &QPushButton::clicked, this, &MDI::cmdExit_Click);
    connect(cmdSearch, &QPushButton::clicked, m_lookup, &LookupController::cmdSearch_Click);
    connect(cmdDisplay, &QPushButton::clicked, m_lookup, &LookupController::cmdDisplay_Click);
    connect(mnuUpdate, &QAction::triggered, this, &MDI::updateRequested);
    auto *update = new UpdateCommand(*m_services.files, *m_services.prompter,
                                     m_config.dictionaryPath(), lstKeys, txtKey, this, this);
    connect(this, &MDI::updateRequested, update, &UpdateCommand::mnuUpdate_Click);
    connect(mnuAbout, &QAction::triggered, this, &MDI::mnuAbout_Click);

    LinkOpener &links = *m_services.links;
    const AppConfig &config = m_config;
    auto route = [&links, &config](void (*routine)(LinkOpener &, const AppConfig &)) {
        return [&links, &config, routine] { routine(links, config); };
    };
    connect(mnuOnline, &QAction::triggered, this, route(modHelp::OpenOnlineHelp));
    connect(mnuVisit, &QAction::triggered, this, route(modHelp::OpenHomePage));
    connect(mnuUpdateSoftware, &QAction::triggered, this, route(modHelp::OpenDownloadPage));
    connect(mnuDonate, &QAction::triggered, this, route(modHelp::OpenDonatePage));
    connect(mnuMakeMoney, &QAction::triggered, this, route(modHelp::OpenFullBrandPage));
    connect(cmdDonate, &QPushButton::clicked, this, route(modHelp::OpenDonatePage));
    connect(lblFullBrand, &LinkLabel::clicked, this, route(modHelp::OpenFullBrandPage));
    connect(lblCoBrand, &LinkLabel::clicked, this, route(modHelp::OpenCoBrandPage));
    connect(Label61, &LinkLabel::clicked, this, route(modHelp::OpenHomePage));
    connect(Label4, &LinkLabel::clicked, this, route(modHelp::OpenHomePage));
}

void MDI::MDIForm_Load()
{
    modHelp::CheckOnline(*m_services.connection, m_state);
    m_lookup->fillAtLoad();
    const int listWidth = Twips::fromPixels(lstKeys->width());
    lstKeys->setColumnWidthPixels(Twips::toPixels(listWidth - 200));
}

FrameMetrics MDI::frameMetrics() const
{
    FrameMetrics frame;
    const QRect outer = frameGeometry();
    frame.outerWidth = Twips::fromPixels(outer.width());
    frame.outerHeight = Twips::fromPixels(outer.height());
    frame.picLeftWidth = Twips::fromPixels(picLeft->width());
    frame.picTopHeight = Twips::fromPixels(picTop->height());
    frame.picBottomHeight = Twips::fromPixels(picBottom->height());
    frame.toolbarHeight = Twips::fromPixels(TB->height());
    return frame;
}

MainLayout MDI::currentLayout() const
{
    MainLayout layout;
    layout.txtKey = TwipsRect::fromPixels(txtKey->geometry());
    layout.lstKeys = TwipsRect::fromPixels(lstKeys->geometry());
    layout.cmdSearch = TwipsRect::fromPixels(cmdSearch->geometry());
    layout.cmdDisplay = TwipsRect::fromPixels(cmdDisplay->geometry());
    layout.cmdDonate = TwipsRect::fromPixels(cmdDonate->geometry());
    layout.cmdExit = TwipsRect::fromPixels(cmdExit->geometry());
    return layout;
}

void MDI::applyLayout(const MainLayout &layout)
{
    txtKey->setGeometry(layout.txtKey.toPixels());
    lstKeys->setGeometry(layout.lstKeys.toPixels());
    cmdSearch->setGeometry(layout.cmdSearch.toPixels());
    cmdDisplay->setGeometry(layout.cmdDisplay.toPixels());
    cmdDonate->setGeometry(layout.cmdDonate.toPixels());
    cmdExit->setGeometry(layout.cmdExit.toPixels());
}

void MDI::MDIForm_Resize()
{
    const FrameMetrics frame = frameMetrics();
    applyLayout(arrangeMainWindow(currentLayout(), frame.outerWidth, frame.outerHeight,
                                  Twips::fromPixels(picLeft->x()), frame.picLeftWidth));
    if (m_meaningPane)
        m_meaningPane->Form_Resize(frame);
    if (m_browser)
        m_browser->Form_Resize(frame);
}

void MDI::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!isMinimized())
        MDIForm_Resize();
}

void MDI::mnuExit_Click()
{
    close();
}

void MDI::cmdExit_Click()
{
    mnuExit_Click();
}

void MDI::mnuAbout_Click()
{
    frmAbout box(m_config, *m_services.links, this);
    box.exec();
}

void MDI::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_unloaded)
        return;
    m_unloaded = true;
    mdiArea->closeAllSubWindows();
    emit MDIForm_Unload();
}

void MDI::TB_ButtonClick(const QString &key)
{
    if (!m_meaningPane)
        return;
    WebView *wb = m_meaningPane->WB;
    if (key == QLatin1String("Back"))
        wb->GoBack();
    else if (key == QLatin1String("Forward"))
        wb->GoForward();
    else if (key == QLatin1String("Refresh"))
        wb->Refresh();
    else if (key == QLatin1String("Home"))
        wb->GoHome();
    else if (key == QLatin1String("Search"))
        wb->GoSearch();
    else if (key == QLatin1String("Stop"))
        wb->Stop();
}

QMdiSubWindow *MDI::addPane(QWidget *pane)
{
    QMdiSubWindow *window = mdiArea->addSubWindow(pane, Qt::FramelessWindowHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

void MDI::navigateMeaningPane(const QString &address)
{
    if (!m_meaningPane)
        showMeaningPane();
    m_meaningPane->Navigate(address);
}

void MDI::showMeaningPane()
{
    if (!m_meaningPane) {
        m_meaningPane = new frmMain(*m_services.web, m_config, m_state,
                                    [this] { return txtKey->text(); });
        m_meaningWindow = addPane(m_meaningPane);
        m_meaningWindow->move(0, 0);
        m_meaningWindow->show();
        m_meaningPane->Form_Load(frameMetrics());
    }
    m_meaningWindow->show();
    mdiArea->setActiveSubWindow(m_meaningWindow);
    m_meaningWindow->raise();
}

void MDI::closeBrowser()
{
    if (m_browserWindow)
        delete m_browserWindow.data();
}

void MDI::openBrowser()
{
    m_browser = new frmBrowser(
            *m_services.web, m_config, m_state, [this] { return txtKey->text(); },
            [this] { modHelp::OpenHomePage(*m_services.links, m_config); });
    m_browserWindow = addPane(m_browser);
    m_browserWindow->show();
    m_browser->Form_Load(frameMetrics());
    mdiArea->setActiveSubWindow(m_browserWindow);
    m_browserWindow->raise();
}

void MDI::hideBrowser()
{
    // A window that was never opened stays unopened: loading it only to hide it would start a
    // web search nobody sees.
    if (m_browserWindow)
        m_browserWindow->hide();
}
