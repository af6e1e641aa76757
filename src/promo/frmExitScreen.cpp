#include "frmExitScreen.h"

#include "AppConfig.h"
#include "Fonts.h"
#include "LinkLabel.h"
#include "LinkOpener.h"
#include "Prompter.h"
#include "RandomSource.h"
#include "ReferAFriend.h"
#include "ReferFieldRules.h"
#include "Version.h"
#include "modHelp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// A refer-a-friend field: the member it fills, its name, the text it shows while empty, where it
// sits in the frame, and whether it takes an e-mail address. The message is the one field of
// several lines.
struct ReferField
{
    QLineEdit *frmExitScreen::*line;
    QPlainTextEdit *frmExitScreen::*box;
    const char *name;
    const QString *placeholder;
    const char *accessibleName;
    int row;
    int column;
    bool email;
};

} // namespace

frmExitScreen::frmExitScreen(const AppConfig &config, Prompter &prompter, LinkOpener &links,
    RandomSource &random, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_config(config)
    , m_prompter(prompter.ownedBy(this))
    , m_links(links)
    , m_random(random)
    , m_fieldRules(new ReferFieldRules(*m_prompter, this))
{
    setWindowTitle(Version::caption());
    setFont(Fonts::verdana());

    Label1 = new QLabel(Version::caption(), this);
    Label1->setFont(Fonts::verdana(14, true));
    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Check1 = new QCheckBox(tr("&Take me to the Somnilex web site now"), this);
    buildCatalogue();
    buildReferForm();
    cmdClose = new QPushButton(tr("E&xit"), this);

    auto *column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Label2);
    column->addWidget(Check1);
    column->addWidget(Frame6);
    column->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    column->addLayout(buttons);
    setFixedWidth(460);

    nameControls();

    connect(cmdSubmit, &QPushButton::clicked, this, &frmExitScreen::cmdSubmit_Click);
    connect(Check1, &QCheckBox::clicked, this, &frmExitScreen::Check1_Click);
    connect(lblGoToHome, &LinkLabel::clicked, this, &frmExitScreen::lblGoToHome_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmExitScreen::cmdClose_Click);
    // Esc leaves the screen as its Exit button does.
    new QShortcut(QKeySequence::Cancel, this, cmdClose, &QPushButton::click);

    Form_Load();
}

void frmExitScreen::buildCatalogue()
{
    Frame6 = new QGroupBox(tr("Download Velarion Softwares"), this);
    Label3 = new QLabel(tr("Velarion Softwares makes small, free tools for everyday use: "
                           "dictionaries, organisers and more. Have a look at the whole range."),
        Frame6);
    Label3->setWordWrap(true);
    lblGoToHome = new LinkLabel(tr("Click Here To Visit Velarion Softwares"), Frame6);
    auto *frame6Column = new QVBoxLayout(Frame6);
    frame6Column->addWidget(Label3);
    frame6Column->addWidget(lblGoToHome);
}

void frmExitScreen::buildReferForm()
{
    // The fields in the form's order.
    static const ReferField fields[] = {
        { &frmExitScreen::txtName, nullptr, "txtName", &ReferAFriend::NamePlaceholder,
            QT_TRANSLATE_NOOP("frmExitScreen", "Your name"), 0, 0, false },
        { &frmExitScreen::txtEmail, nullptr, "txtEmail", &ReferAFriend::EmailPlaceholder,
            QT_TRANSLATE_NOOP("frmExitScreen", "Your e-mail address"), 0, 1, true },
        { &frmExitScreen::txtFriendName, nullptr, "txtFriendName",
            &ReferAFriend::FriendNamePlaceholder,
            QT_TRANSLATE_NOOP("frmExitScreen", "Friend's name"), 1, 0, false },
        { &frmExitScreen::txtFriendEmail, nullptr, "txtFriendEmail",
            &ReferAFriend::FriendEmailPlaceholder,
            QT_TRANSLATE_NOOP("frmExitScreen", "Friend's e-mail address"), 1, 1, true },
        { nullptr, &frmExitScreen::txtMessage, "txtMessage", &ReferAFriend::MessagePlaceholder,
            QT_TRANSLATE_NOOP("frmExitScreen", "Your message"), 2, 0, false },
    };
    Frame2 = new QGroupBox(tr("Refer A Friend"), this);
    auto *frame2Grid = new QGridLayout(Frame2);
    int lineHeight = 0;
    for (const ReferField &entry : fields) {
        QWidget *field = nullptr;
        if (entry.line) {
            auto *line = new QLineEdit(*entry.placeholder, Frame2);
            lineHeight = line->sizeHint().height();
            this->*entry.line = line;
            field = line;
        } else {
            auto *box = new QPlainTextEdit(*entry.placeholder, Frame2);
            box->setTabChangesFocus(true);
            this->*entry.box = box;
            field = box;
        }
        field->setObjectName(QLatin1String(entry.name));
        field->setAccessibleName(tr(entry.accessibleName));
        m_fieldRules->follow(field, *entry.placeholder, entry.email);
        // The message spans the frame; the other fields share its rows two by two.
        frame2Grid->addWidget(field, entry.row, entry.column, 1, entry.line ? 1 : 2);
    }
    txtMessage->setFixedHeight(lineHeight * 3);
    cmdSubmit = new QPushButton(tr("Refer A Friend &Now"), Frame2);
    frame2Grid->addWidget(cmdSubmit, 3, 1, Qt::AlignRight);
}

void frmExitScreen::nameControls()
{
    const std::pair<QWidget *, const char *> names[] = {
        { cmdSubmit, "cmdSubmit" },
        { cmdClose, "cmdClose" },
        { Check1, "Check1" },
        { lblGoToHome, "lblGoToHome" },
        { Label1, "Label1" },
        { Label2, "Label2" },
        { Label3, "Label3" },
        { Frame6, "Frame6" },
        { Frame2, "Frame2" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

frmExitScreen::~frmExitScreen() = default;

QStringList frmExitScreen::promotionalTexts()
{
    return {
        tr("New dream symbols are added to our web site every week. Visit us regularly to "
           "read them first."),
        tr("Our web site carries articles on dreams and their meanings. Drop by regularly for "
           "the latest ones."),
        tr("Free updates of the Somnilex dictionary appear on our web site. Visit us regularly "
           "so that you never miss one."),
        tr("Readers share their dreams and interpretations on our web site. Come back "
           "regularly and join in."),
    };
}

void frmExitScreen::Form_Load()
{
    const QStringList texts = promotionalTexts();
    // Modulo, so that a source drawing past its bound cannot reach past the list.
    Label2->setText(texts.at(int(m_random.bounded(quint32(texts.size())) % quint32(texts.size()))));
    // On top of every other window, yet without taking the focus from whatever the user turns to.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (const QScreen *screen = this->screen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmExitScreen::cmdSubmit_Click()
{
    ReferAFriend::Entries entries;
    entries.name = txtName->text();
    entries.email = txtEmail->text();
    entries.message = txtMessage->toPlainText();
    entries.friendName = txtFriendName->text();
    entries.friendEmail = txtFriendEmail->text();
    const QString problem = ReferAFriend::firstProblem(entries);
    if (!problem.isEmpty()) {
        m_prompter->error(problem);
        return;
    }
    // The form stays filled and the screen open, so the user can refer another friend.
    m_links.open(ReferAFriend::address(m_config.MainSiteAddress, entries));
}

void frmExitScreen::Check1_Click()
{
    if (Check1->isChecked()) {
        Check1->setChecked(false);
        modHelp::OpenHomePage(m_links, m_config);
    }
}

void frmExitScreen::lblGoToHome_Click()
{
    m_links.open(m_config.MainSiteAddress + QStringLiteral("/velarionsoftwares"));
}

void frmExitScreen::cmdClose_Click()
{
    close();
}

void frmExitScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit Form_Unload();
}
