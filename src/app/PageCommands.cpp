#include "PageCommands.h"

#include "BundledPages.h"
#include "FindBar.h"
#include "MainMenus.h"
#include "PageZoom.h"
#include "PaneArea.h"
#include "WebView.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrinter>

PageCommands::PageCommands(PaneArea &panes, PageZoom &zoom, QWidget *window)
    : QObject(window)
    , m_panes(panes)
    , m_zoom(zoom)
    , m_window(window)
    , m_printSetup([](QPrinter &printer, QWidget *parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    })
{
    connect(&m_panes, &PaneArea::pageOpened, &m_zoom, &PageZoom::follow);
}

PageCommands::~PageCommands() = default;

void PageCommands::wire(const MainMenus &menus)
{
    connect(&menus, &MainMenus::findChosen, this, &PageCommands::mnuFind_Click);
    connect(&menus, &MainMenus::findNextChosen, this, &PageCommands::mnuFindNext_Click);
    connect(&menus, &MainMenus::findPreviousChosen, this, &PageCommands::mnuFindPrevious_Click);
    connect(&menus, &MainMenus::zoomInChosen, &m_zoom, &PageZoom::zoomIn);
    connect(&menus, &MainMenus::zoomOutChosen, &m_zoom, &PageZoom::zoomOut);
    connect(&menus, &MainMenus::zoomResetChosen, &m_zoom, &PageZoom::reset);
    connect(&menus, &MainMenus::printChosen, this, &PageCommands::mnuPrint_Click);
    connect(&menus, &MainMenus::startPageChosen, this, &PageCommands::mnuStartPage_Click);
}

void PageCommands::mnuFind_Click()
{
    if (WebView *page = m_panes.currentPage())
        page->findBar()->open();
}

void PageCommands::mnuFindNext_Click()
{
    if (WebView *page = m_panes.currentPage())
        page->findBar()->findNext();
}

void PageCommands::mnuFindPrevious_Click()
{
    if (WebView *page = m_panes.currentPage())
        page->findBar()->findPrevious();
}

void PageCommands::mnuPrint_Click()
{
    WebView *page = m_panes.currentPage();
    if (!page || m_printer)
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!m_printSetup(*printer, m_window))
        return;
    // The engine prints in the background; the printer lives until it is done.
    m_printer = std::move(printer);
    m_printing = page;
    connect(page, &QWebEngineView::printFinished, this, &PageCommands::endPrint,
        Qt::SingleShotConnection);
    // A pane closed while printing never finishes.
    connect(page, &QObject::destroyed, this, [this] { endPrint(false); });
    page->print(m_printer.get());
}

void PageCommands::endPrint(bool success)
{
    if (!m_printer)
        return;
    if (m_printing)
        disconnect(m_printing, &QObject::destroyed, this, nullptr);
    m_printing.clear();
    m_printer.reset();
    emit printFinished(success);
}

void PageCommands::mnuStartPage_Click()
{
    m_panes.showMeaningPane();
    m_panes.navigateMeaningPane(BundledPages::startPage().toString());
}
