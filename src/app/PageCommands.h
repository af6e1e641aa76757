#pragma once
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;
class MainMenus;
class PageZoom;
class PaneArea;
class WebView;

// The commands on the page in front: the browser window while it shows, the meaning pane
// otherwise. Finding, zoom (one level for every page), printing and the start page.
class PageCommands : public QObject
{
    Q_OBJECT
public:
    // Asks where and how to print; false when the user cancelled.
    using PrintSetup = std::function<bool(QPrinter &printer, QWidget *window)>;

    PageCommands(PaneArea &panes, PageZoom &zoom, QWidget *window);
    ~PageCommands() override;

    void wire(const MainMenus &menus);
    // The system's print dialog unless replaced.
    void setPrintSetup(PrintSetup setup) { m_printSetup = std::move(setup); }

    void mnuFind_Click();
    void mnuFindNext_Click();
    void mnuFindPrevious_Click();
    // One print at a time: asking again while a page is printing does nothing.
    void mnuPrint_Click();
    void mnuStartPage_Click();

signals:
    void printFinished(bool success);

private:
    void endPrint(bool success);

    PaneArea &m_panes;
    PageZoom &m_zoom;
    QWidget *m_window;
    PrintSetup m_printSetup;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<WebView> m_printing;
};
