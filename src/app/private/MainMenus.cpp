#include "MainMenus.h"

#include "AppConfig.h"
#include "modHelp.h"

#include <QAction>
#include <QMenuBar>

MainMenus::MainMenus(QMenuBar *bar, QObject *parent)
    : QObject(parent)
{
    buildFileMenu(bar);
    buildPageMenu(bar);
    buildHelpMenu(bar);
    mnuDonate = bar->addAction(tr("&Donate"));
    mnuMakeMoney = bar->addAction(tr("Make Money &Online"));
    nameEntries();
    relayCommands();
}

void MainMenus::relayCommands()
{
    const std::pair<QAction *, void (MainMenus::*)()> commands[] = {
        { mnuUpdate, &MainMenus::updateChosen },
        { mnuPrint, &MainMenus::printChosen },
        { mnuExit, &MainMenus::exitChosen },
        { mnuFind, &MainMenus::findChosen },
        { mnuFindNext, &MainMenus::findNextChosen },
        { mnuFindPrevious, &MainMenus::findPreviousChosen },
        { mnuZoomIn, &MainMenus::zoomInChosen },
        { mnuZoomOut, &MainMenus::zoomOutChosen },
        { mnuZoomReset, &MainMenus::zoomResetChosen },
        { mnuStartPage, &MainMenus::startPageChosen },
        { mnuAbout, &MainMenus::aboutChosen },
    };
    for (const auto &[entry, chosen] : commands)
        connect(entry, &QAction::triggered, this, chosen);
}

void MainMenus::buildFileMenu(QMenuBar *bar)
{
    QMenu *mnuFile = bar->addMenu(tr("&File"));
    mnuUpdate = mnuFile->addAction(tr("&Update"));
    mnuFile->addSeparator();
    mnuPrint = mnuFile->addAction(tr("&Print Page\u2026"));
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(tr("E&xit"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainMenus::buildPageMenu(QMenuBar *bar)
{
    QMenu *mnuPage = bar->addMenu(tr("&Page"));
    mnuPage->setObjectName(QStringLiteral("mnuPage"));
    mnuFind = mnuPage->addAction(tr("&Find in Page..."));
    mnuFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuFindNext = mnuPage->addAction(tr("Find &Next"));
    mnuFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    mnuFindPrevious = mnuPage->addAction(tr("Find Pre&vious"));
    mnuFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    mnuPage->addSeparator();
    mnuZoomIn = mnuPage->addAction(tr("Zoom &In"));
    // Ctrl+= is the same key without Shift on most layouts.
    mnuZoomIn->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal) });
    mnuZoomOut = mnuPage->addAction(tr("Zoom &Out"));
    mnuZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    mnuZoomReset = mnuPage->addAction(tr("&Actual Size"));
    mnuZoomReset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void MainMenus::buildHelpMenu(QMenuBar *bar)
{
    QMenu *mnuHelp = bar->addMenu(tr("&Help"));
    mnuStartPage = mnuHelp->addAction(tr("Somnilex &Start Page"));
    mnuStartPage->setShortcut(QKeySequence(Qt::Key_F1));
    mnuOnline = mnuHelp->addAction(tr("&Online Help"));
    mnuVisit = mnuHelp->addAction(tr("&Visit Us Online"));
    mnuHelp->addSeparator();
    mnuUpdateSoftware = mnuHelp->addAction(tr("Check for Software &Update"));
    mnuHelp->addSeparator();
    mnuAbout = mnuHelp->addAction(tr("&About Software"));
}

void MainMenus::nameEntries()
{
    const std::pair<QObject *, const char *> names[] = {
        { mnuUpdate, "mnuUpdate" },
        { mnuPrint, "mnuPrint" },
        { mnuExit, "mnuExit" },
        { mnuFind, "mnuFind" },
        { mnuFindNext, "mnuFindNext" },
        { mnuFindPrevious, "mnuFindPrevious" },
        { mnuZoomIn, "mnuZoomIn" },
        { mnuZoomOut, "mnuZoomOut" },
        { mnuZoomReset, "mnuZoomReset" },
        { mnuStartPage, "mnuStartPage" },
        { mnuOnline, "mnuOnline" },
        { mnuVisit, "mnuVisit" },
        { mnuUpdateSoftware, "mnuUpdateSoftware" },
        { mnuAbout, "mnuAbout" },
        { mnuDonate, "mnuDonate" },
        { mnuMakeMoney, "mnuMakeMoney" },
    };
    for (const auto &[entry, name] : names)
        entry->setObjectName(QLatin1String(name));
}

void MainMenus::wireLinks(LinkOpener &links, const AppConfig &config)
{
    auto route = [&links, &config](void (*routine)(LinkOpener &, const AppConfig &)) {
        return [&links, &config, routine] { routine(links, config); };
    };
    connect(mnuOnline, &QAction::triggered, this, route(modHelp::OpenOnlineHelp));
    connect(mnuVisit, &QAction::triggered, this, route(modHelp::OpenHomePage));
    connect(mnuUpdateSoftware, &QAction::triggered, this, route(modHelp::OpenDownloadPage));
    connect(mnuDonate, &QAction::triggered, this, route(modHelp::OpenDonatePage));
    connect(mnuMakeMoney, &QAction::triggered, this, route(modHelp::OpenFullBrandPage));
}
