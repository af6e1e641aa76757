#pragma once
#include <QStringList>
#include <QWidget>

#include <memory>

class LinkLabel;
class LinkOpener;
class Prompter;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RandomSource;
class ReferFieldRules;
struct AppConfig;

// The screen left on top of the desktop when the main window has closed: an invitation to the
// maker's site, a pointer to the maker's other programs and a refer-a-friend form. Closing it
// ends the program. Its controls carry their names as object names.
class frmExitScreen : public QWidget
{
    Q_OBJECT
public:
    // random picks the promotional text.
    frmExitScreen(const AppConfig &config, Prompter &prompter, LinkOpener &links,
        RandomSource &random, QWidget *parent = nullptr);
    ~frmExitScreen() override;

    // The four invitations, one of which Label2 shows.
    static QStringList promotionalTexts();

    void Form_Load();
    void cmdSubmit_Click();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdClose_Click();

signals:
    // The screen is closing, by its button or its frame.
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCatalogue();
    void buildReferForm();
    void nameControls();

    const AppConfig &m_config;

    // Boxes owned by this screen: it stays on top of every window, the main one is gone.
    std::unique_ptr<Prompter> m_prompter;
    LinkOpener &m_links;
    RandomSource &m_random;
    ReferFieldRules *m_fieldRules;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QGroupBox *Frame6 = nullptr;
    QLabel *Label3 = nullptr;
    LinkLabel *lblGoToHome = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtFriendName = nullptr;
    QLineEdit *txtFriendEmail = nullptr;
    QPlainTextEdit *txtMessage = nullptr;
    QPushButton *cmdSubmit = nullptr;
    QPushButton *cmdClose = nullptr;
};
