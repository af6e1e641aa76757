#pragma once
#include <QObject>

class QAction;
class QMenuBar;
class LinkOpener;
struct AppConfig;

// The main window's menu bar: the program's own menus with their captions and access keys, and
// the page commands (find, zoom, print, start page) with the keys browsers use for them. The
// entries carry their names as object names; the menus that open a web page are wired here, the
// other commands are told by signals.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    MainMenus(QMenuBar *bar, QObject *parent = nullptr);

    // Help, Visit, Check for Software Update, Donate and Make Money Online.
    void wireLinks(LinkOpener &links, const AppConfig &config);

signals:
    // The program's own commands, as the user chooses them.
    void updateChosen();
    void printChosen();
    void exitChosen();
    void findChosen();
    void findNextChosen();
    void findPreviousChosen();
    void zoomInChosen();
    void zoomOutChosen();
    void zoomResetChosen();
    void startPageChosen();
    void aboutChosen();

private:
    void buildFileMenu(QMenuBar *bar);
    void buildPageMenu(QMenuBar *bar);
    void buildHelpMenu(QMenuBar *bar);
    void nameEntries();
    void relayCommands();

    QAction *mnuUpdate = nullptr;
    QAction *mnuPrint = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuFind = nullptr;
    QAction *mnuFindNext = nullptr;
    QAction *mnuFindPrevious = nullptr;
    QAction *mnuZoomIn = nullptr;
    QAction *mnuZoomOut = nullptr;
    QAction *mnuZoomReset = nullptr;
    QAction *mnuStartPage = nullptr;
    QAction *mnuOnline = nullptr;
    QAction *mnuVisit = nullptr;
    QAction *mnuUpdateSoftware = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuDonate = nullptr;
    QAction *mnuMakeMoney = nullptr;
};
