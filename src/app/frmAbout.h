#pragma once
#include <QDialog>

class LinkLabel;
class LinkOpener;
class QFrame;
class QLabel;
class QPushButton;
struct AppConfig;

// Help > About Software: the program's name and purpose, with links to the maker's site. Shown
// modally and made afresh for every showing.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(const AppConfig &config, LinkOpener &links, QWidget *parent = nullptr);

    void cmdOK_Click();
    void lblHomePage_Click();
    void lblCoBrand_Click();

private:
    // The design's orange, with white text and links on it.
    void paintOrange();
    // The icon, the name, the purpose, the offer and their links.
    void buildTexts();
    // The rule above the OK button, and the button.
    void buildButton();

    // Its controls carry their names as object names.
    void nameControls();

    const AppConfig &m_config;
    LinkOpener &m_links;

    QLabel *Picture1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    LinkLabel *lblHomePage = nullptr;
    QLabel *Label3 = nullptr;
    LinkLabel *lblCoBrand = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *cmdOK = nullptr;
};
