#include "MDI.h"

#include "AccessibleNames.h"
#include "AppState.h"
#include "CheckOnline.h"
#include "ConnectionProbe.h"
#include "Fonts.h"
#include "KeyboardFlow.h"
#include "KeywordListView.h"
#include "LinkLabel.h"
#include "LookupController.h"
#include "MainMenus.h"
#include "NavigationToolbar.h"
#include "PageCommands.h"
#include "PageZoom.h"
#include "SearchPanel.h"
#include "Services.h"
#include "UpdateCommand.h"
#include "Version.h"
#include "frmAbout.h"
#include "modHelp.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

// Band sizes in twips.
constexpr int ToolbarHeight = 540;
constexpr int TopBandHeight = 645;
constexpr int BottomBandHeight = 525;

MDI::MDI(const AppConfig &config, const Services &services, AppState &state,
    DictionaryCache &dictionary, QWidget *parent)
    : QMainWindow(parent)
    , m_config(config)
    , m_services(services)
    , m_state(state)
    , m_dictionary(dictionary)
{
    setWindowTitle(Version::caption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/somnilex.svg")));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_menus = new MainMenus(menuBar(), this);
    buildToolbar();
    buildBands();
    nameControls();

    m_lookup = new LookupController(picLeft->controls(), *mdiArea, *services.prompter, state,
        dictionary, config.dictionaryPath(), this);
    m_lookup->connectControls();
    wireCommands();
    const LookupControls controls = picLeft->controls();
    new KeyboardFlow(this, controls.txtKey, controls.lstKeys, controls.cmdDisplay,
        [this] { m_lookup->lstKeys_Click(); });
    AccessibleNames::nameNavigationButtons(TB);

    // Restored, the client area is 9900 x 7080 twips, centred on the screen.
    resize(Twips::toPixels(9900), Twips::toPixels(7080) + menuBar()->sizeHint().height());
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    applyLayout(arrangeMainWindow(MainLayout::design(), Twips::fromPixels(width()),
        Twips::fromPixels(height()), 0, SearchPanel::Width));
}

MDI::~MDI() = default;

void MDI::buildToolbar()
{
    TB = new NavigationToolbar(tr("Navigation"), this);
    TB->setMovable(false);
    TB->setFloatable(false);
    TB->setFixedHeight(Twips::toPixels(ToolbarHeight));
    addToolBar(Qt::TopToolBarArea, TB);
    connect(TB, &NavigationToolbar::ButtonClick, this, &MDI::TB_ButtonClick);
    Label61 = TB->addStrip(tr("Visit the Somnilex home page for new dream symbols"));
    Label4 = TB->addStrip(tr("Share your dreams with us"));
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
    picLeft = new SearchPanel(central);
    mdiArea = new PaneArea(
        *m_services.web, m_config, m_state,
        [this] { modHelp::OpenHomePage(*m_services.links, m_config); },
        [this] { return frameMetrics(); }, central);
    mdiArea->setAccessibleName(tr("Pages"));
    mdiArea->setBackground(palette().button());
    middle->addWidget(picLeft);
    middle->addWidget(mdiArea, 1);

    column->addWidget(picTop);
    column->addLayout(middle, 1);
    buildBottomBand(central);
    column->addWidget(picBottom);
    setCentralWidget(central);
}

void MDI::buildBottomBand(QWidget *central)
{
    picBottom = new QWidget(central);
    picBottom->setFixedHeight(Twips::toPixels(BottomBandHeight));
    fraFullBrand = new QGroupBox(picBottom);
    fraFullBrand->setGeometry(TwipsRect { 0, -100, 9465, 855 }.toPixels());
    fraFullBrand->setFlat(true);
    fraFullBrand->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
    const QFont linkFont = Fonts::verdana(8.25, true);
    const TwipsRect linkRect { 120, 165, 9225, 615 };
    lblFullBrand
        = new LinkLabel(tr("Get your own fully branded edition of Somnilex"), fraFullBrand);
    lblFullBrand->setFont(linkFont);
    lblFullBrand->setGeometry(linkRect.toPixels());
    // Lies under lblCoBrand, as designed; hidden, it must not be a stop for Tab or a reader.
    lblFullBrand->hide();
    lblFullBrand->setFocusPolicy(Qt::NoFocus);
    lblCoBrand = new LinkLabel(
        tr("Put your name on Somnilex: ask for a co-branded edition"), fraFullBrand);
    lblCoBrand->setFont(linkFont);
    lblCoBrand->setGeometry(linkRect.toPixels());
    lblCoBrand->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdExit = new QPushButton(tr("E&xit"), picBottom);
}

void MDI::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        { TB, "TB" },
        { picTop, "picTop" },
        { picBottom, "picBottom" },
        { cmdDonate, "cmdDonate" },
        { cmdExit, "cmdExit" },
        { fraFullBrand, "fraFullBrand" },
        { lblFullBrand, "lblFullBrand" },
        { lblCoBrand, "lblCoBrand" },
        { Label61, "Label61" },
        { Label4, "Label4" },
        { mdiArea, "mdiArea" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

void MDI::wireCommands()
{
    connect(m_menus, &MainMenus::exitChosen, this, &MDI::mnuExit_Click);
    connect(cmdExit, &QPushButton::clicked, this, &MDI::cmdExit_Click);
    connect(m_menus, &MainMenus::updateChosen, this, &MDI::updateRequested);
    auto *update = new UpdateCommand(*m_services.files, *m_services.prompter, m_dictionary,
        m_config.dictionaryPath(), this, this);
    connect(this, &MDI::updateRequested, update, &UpdateCommand::mnuUpdate_Click);
    connect(update, &UpdateCommand::merged, picLeft, &SearchPanel::repaintList);
    connect(update, &UpdateCommand::finished, picLeft, &SearchPanel::focusSearchBox);
    connect(m_menus, &MainMenus::aboutChosen, this, &MDI::mnuAbout_Click);
    m_menus->wireLinks(*m_services.links, m_config);
    m_zoom = new PageZoom(*m_services.settings, m_config.applicationName, this);
    m_pages = new PageCommands(*mdiArea, *m_zoom, this);
    m_pages->wire(*m_menus);
    wireLinks();
}

void MDI::wireLinks()
{
    LinkOpener &links = *m_services.links;
    const AppConfig &config = m_config;
    auto route = [&links, &config](void (*routine)(LinkOpener &, const AppConfig &)) {
        return [&links, &config, routine] { routine(links, config); };
    };
    connect(cmdDonate, &QPushButton::clicked, this, route(modHelp::OpenDonatePage));
    connect(lblFullBrand, &LinkLabel::clicked, this, route(modHelp::OpenFullBrandPage));
    connect(lblCoBrand, &LinkLabel::clicked, this, route(modHelp::OpenCoBrandPage));
    connect(Label61, &LinkLabel::clicked, this, route(modHelp::OpenHomePage));
    connect(Label4, &LinkLabel::clicked, this, route(modHelp::OpenHomePage));
}

void MDI::showMeaningPane()
{
    mdiArea->showMeaningPane(picLeft->searchText());
}

void MDI::MDIForm_Load()
{
    modHelp::CheckOnline(*m_services.connection, m_state);
    if (!m_config.dictionaryUnreadable)
        m_lookup->fillAtLoad();
    picLeft->fitListColumn();
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
    picLeft->readPlaces(layout);
    layout.cmdDonate = TwipsRect::fromPixels(cmdDonate->geometry());
    layout.cmdExit = TwipsRect::fromPixels(cmdExit->geometry());
    return layout;
}

void MDI::applyLayout(const MainLayout &layout)
{
    picLeft->applyPlaces(layout);
    cmdDonate->setGeometry(layout.cmdDonate.toPixels());
    cmdExit->setGeometry(layout.cmdExit.toPixels());
}

void MDI::MDIForm_Resize()
{
    const FrameMetrics frame = frameMetrics();
    applyLayout(arrangeMainWindow(currentLayout(), frame.outerWidth, frame.outerHeight,
        Twips::fromPixels(picLeft->x()), frame.picLeftWidth));
    mdiArea->resizePanes(frame);
}

void MDI::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!isMinimized())
        MDIForm_Resize();
}

bool MDI::event(QEvent *event)
{
    // The first web view shown in the window turns it into an OpenGL window, and Qt does that
    // by destroying the native window and creating it anew. The new one starts without a state:
    // it would come up restored although the window is maximised. Give it the window's state.
    if (event->type() == QEvent::WinIdChange && internalWinId()) {
        QWindow *native = windowHandle();
        if (native && native->windowStates() != windowState())
            native->setWindowStates(windowState());
    }
    return QMainWindow::event(event);
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
    if (frmMain *pane = meaningPane())
        NavigationToolbar::dispatch(key, pane->webView());
}
