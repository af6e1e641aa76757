#include "frmExitScreen.h"

#include "AppConfig.h"
#include "LinkLabel.h"
#include "LinkOpener.h"
#include "Prompter.h"
#include "ReferAFriend.h"
#include "modHelp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

QString textOf(const QWidget *field)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(field))
        return box->toPlainText();
    return QString();
}

void setTextOf(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *box = qobject_cast<QPlainTextEdit *>(field))
        box->setPlainText(text);
}

QLineEdit *lineField(const QString &placeholder, const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(placeholder, parent);
    field->setAccessibleName(name);
    return field;
}

} // namespace

frmExitScreen::frmExitScreen(
    const AppConfig &config, Prompter &prompter, LinkOpener &links, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_config(config)
    , m_prompter(prompter.ownedBy(this))
    , m_links(links)
{
    setWindowTitle(QStringLiteral("Somnilex v1.85"));
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSizeF(8.25);
    setFont(verdana);

    Label1 = new QLabel(QStringLiteral("Somnilex v1.85"), this);
    QFont titleFont = verdana;
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    Label2 = new QLabel(this);
    Label2->setWordWrap(true);

    Check1 = new QCheckBox(tr("&Take me to the Somnilex web site now"), this);

    Frame6 = new QGroupBox(tr("Download Velarion Softwares"), this);
    Label3 = new QLabel(tr("Velarion Softwares makes small, free tools for everyday use: "
                           "dictionaries, organisers and more. Have a look at the whole range."),
        Frame6);
    Label3->setWordWrap(true);
    lblGoToHome = new LinkLabel(tr("Click Here To Visit Velarion Softwares"), Frame6);
    auto *frame6Column = new QVBoxLayout(Frame6);
    frame6Column->addWidget(Label3);
    frame6Column->addWidget(lblGoToHome);

    Frame2 = new QGroupBox(tr("Refer A Friend"), this);
    txtName = lineField(ReferAFriend::NamePlaceholder, tr("Your name"), Frame2);
    txtEmail = lineField(ReferAFriend::EmailPlaceholder, tr("Your e-mail address"), Frame2);
    txtFriendName = lineField(ReferAFriend::FriendNamePlaceholder, tr("Friend's name"), Frame2);
    txtFriendEmail
        = lineField(ReferAFriend::FriendEmailPlaceholder, tr("Friend's e-mail address"), Frame2);
    txtMessage = new QPlainTextEdit(ReferAFriend::MessagePlaceholder, Frame2);
    txtMessage->setAccessibleName(tr("Your message"));
    txtMessage->setTabChangesFocus(true);
    txtMessage->setFixedHeight(txtName->sizeHint().height() * 3);
    cmdSubmit = new QPushButton(tr("Refer A Friend &Now"), Frame2);
    auto *frame2Grid = new QGridLayout(Frame2);
    frame2Grid->addWidget(txtName, 0, 0);
    frame2Grid->addWidget(txtEmail, 0, 1);
    frame2Grid->addWidget(txtFriendName, 1, 0);
    frame2Grid->addWidget(txtFriendEmail, 1, 1);
    frame2Grid->addWidget(txtMessage, 2, 0, 1, 2);
    frame2Grid->addWidget(cmdSubmit, 3, 1, Qt::AlignRight);

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

    for (QWidget *field : { static_cast<QWidget *>(txtName), static_cast<QWidget *>(txtEmail),
             static_cast<QWidget *>(txtMessage), static_cast<QWidget *>(txtFriendName),
             static_cast<QWidget *>(txtFriendEmail) })
        field->installEventFilter(this);

    const std::pair<QWidget *, const char *> names[] = {
        { txtName, "txtName" },
        { txtEmail, "txtEmail" },
        { txtFriendName, "txtFriendName" },
        { txtFriendEmail, "txtFriendEmail" },
        { txtMessage, "txtMessage" },
        { cmdSubmit, "cmdSubmit" },
        { cmdClose, "cmdClose" },
        { Check1, "Check1" },
        { lblGoToHome, "lblGoToHome" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));

    connect(cmdSubmit, &QPushButton::clicked, this, &frmExitScreen::cmdSubmit_Click);
    connect(Check1, &QCheckBox::clicked, this, &frmExitScreen::Check1_Click);
    connect(lblGoToHome, &LinkLabel::clicked, this, &frmExitScreen::lblGoToHome_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmExitScreen::cmdClose_Click);
    // Esc leaves the screen as its Exit button does.
    new QShortcut(QKeySequence::Cancel, this, cmdClose, &QPushButton::click);

    Form_Load();
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
    Label2->setText(texts.at(int(QRandomGenerator::global()->bounded(texts.size()))));
    // On top of every other window, yet without taking the focus from whatever the user turns to.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (const QScreen *screen = this->screen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

QString frmExitScreen::placeholderOf(const QWidget *field) const
{
    if (field == txtName)
        return ReferAFriend::NamePlaceholder;
    if (field == txtEmail)
        return ReferAFriend::EmailPlaceholder;
    if (field == txtMessage)
        return ReferAFriend::MessagePlaceholder;
    if (field == txtFriendName)
        return ReferAFriend::FriendNamePlaceholder;
    if (field == txtFriendEmail)
        return ReferAFriend::FriendEmailPlaceholder;
    return QString();
}

void frmExitScreen::field_GotFocus(QWidget *field)
{
    if (ReferAFriend::trimSpaces(textOf(field)) == placeholderOf(field))
        setTextOf(field, QString());
}

void frmExitScreen::field_LostFocus(QWidget *field)
{
    if (ReferAFriend::trimSpaces(textOf(field)).isEmpty())
        setTextOf(field, placeholderOf(field));
}

bool frmExitScreen::emailField_KeyPress(QWidget *field, const QString &typed)
{
    if (typed != QLatin1String(" "))
        return false;
    m_prompter->error(QStringLiteral("Email Address Cannot Contain Space"));
    field->setFocus();
    return true;
}

bool frmExitScreen::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QWidget *>(watched);
    if (!field)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        field_GotFocus(field);
        break;
    case QEvent::FocusOut:
        field_LostFocus(field);
        break;
    case QEvent::KeyPress:
        if ((field == txtEmail || field == txtFriendEmail)
            && emailField_KeyPress(field, static_cast<QKeyEvent *>(event)->text()))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
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
