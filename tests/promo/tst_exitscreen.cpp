#include "AppConfig.h"
#include "Fakes.h"
#include "LinkLabel.h"
#include "frmExitScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString Main = QStringLiteral("https://main.test");

QString textOf(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->text();
    return qobject_cast<QPlainTextEdit *>(field)->toPlainText();
}

void setTextOf(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else
        qobject_cast<QPlainTextEdit *>(field)->setPlainText(text);
}

void sendFocus(QWidget *field, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

} // namespace

class TestExitScreen : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void makeUp();
    void promotionalTextIsDrawn_data();
    void promotionalTextIsDrawn();
    void placeholderRule_data();
    void placeholderRule();
    void spaceIsRefused_data();
    void spaceIsRefused();
    void submitChecks_data();
    void submitChecks();
    void validFormOpensTheEncodedAddress();
    void forgedFieldArrivesAsOneValue();
    void visitBoxOpensHomeAndStaysUnchecked();
    void catalogueLink();
    void everyWayOfClosingUnloads_data();
    void everyWayOfClosingUnloads();

private:
    QWidget *field(const QString &name) const;
    void fill(const QStringList &texts);

    std::unique_ptr<FakeServices> m_fakes;
    AppConfig m_config;
    std::unique_ptr<frmExitScreen> m_screen;
};

void TestExitScreen::init()
{
    m_fakes = std::make_unique<FakeServices>();
    m_config = AppConfig::builtIn(QDir::tempPath(), "somnilex");
    m_config.MainSiteAddress = Main;
    m_screen = std::make_unique<frmExitScreen>(
        m_config, m_fakes->prompter, m_fakes->links, m_fakes->random);
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
}

void TestExitScreen::cleanup()
{
    m_screen.reset();
    m_fakes.reset();
}

QWidget *TestExitScreen::field(const QString &name) const
{
    return m_screen->findChild<QWidget *>(name);
}

// name, e-mail, message, friend's name, friend's e-mail
void TestExitScreen::fill(const QStringList &texts)
{
    setTextOf(m_screen->txtName, texts.at(0));
    setTextOf(m_screen->txtEmail, texts.at(1));
    setTextOf(m_screen->txtMessage, texts.at(2));
    setTextOf(m_screen->txtFriendName, texts.at(3));
    setTextOf(m_screen->txtFriendEmail, texts.at(4));
}

void TestExitScreen::makeUp()
{
    QCOMPARE(m_screen->windowTitle(), QString("Somnilex v1.85"));
    QCOMPARE(m_screen->Label1->text(), QString("Somnilex v1.85"));
    QVERIFY(frmExitScreen::promotionalTexts().contains(m_screen->Label2->text()));
    QCOMPARE(frmExitScreen::promotionalTexts().size(), 4);
    QVERIFY(m_screen->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_screen->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(!m_screen->Check1->isChecked());
    QCOMPARE(m_screen->Frame6->title(), QString("Download Velarion Softwares"));
    QCOMPARE(
        m_screen->lblGoToHome->accessibleName(), QString("Click Here To Visit Velarion Softwares"));
    QCOMPARE(m_screen->Frame2->title(), QString("Refer A Friend"));
    QCOMPARE(m_screen->txtName->text(), QString("Your Name"));
    QCOMPARE(m_screen->txtEmail->text(), QString("Your Email Address"));
    QCOMPARE(m_screen->txtFriendName->text(), QString("Friend's Name"));
    QCOMPARE(m_screen->txtFriendEmail->text(), QString("Friend's Email Address"));
    QCOMPARE(m_screen->txtMessage->toPlainText(), QString("Your Message"));
    QCOMPARE(m_screen->cmdSubmit->text(), QString("Refer A Friend &Now"));
    QCOMPARE(m_screen->cmdClose->text(), QString("E&xit"));
    const QList<QWidget *> controls { m_screen->Check1, m_screen->lblGoToHome, m_screen->txtName,
        m_screen->txtEmail, m_screen->txtFriendName, m_screen->txtFriendEmail, m_screen->txtMessage,
        m_screen->cmdSubmit, m_screen->cmdClose };
    for (QWidget *control : controls) {
        const QString name = control->accessibleName().isEmpty()
            ? control->property("text").toString()
            : control->accessibleName();
        QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
    }
}

void TestExitScreen::promotionalTextIsDrawn_data()
{
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<int>("shown");
    QTest::newRow("first") << 0u << 0;
    QTest::newRow("last") << 3u << 3;
    QTest::newRow("pastTheBound") << 5u << 1;
}

void TestExitScreen::promotionalTextIsDrawn()
{
    QFETCH(quint32, draw);
    QFETCH(int, shown);
    m_fakes->random.draw = draw;
    m_fakes->random.bounds.clear();
    frmExitScreen screen(m_config, m_fakes->prompter, m_fakes->links, m_fakes->random);
    QCOMPARE(m_fakes->random.bounds, QList<quint32>({ 4u }));
    QCOMPARE(screen.Label2->text(), frmExitScreen::promotionalTexts().at(shown));
}

void TestExitScreen::placeholderRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("focusIn");
    QTest::addColumn<QString>("after");

    const QStringList names { "txtName", "txtEmail", "txtMessage", "txtFriendName",
        "txtFriendEmail" };
    const QStringList placeholders { "Your Name", "Your Email Address", "Your Message",
        "Friend's Name", "Friend's Email Address" };
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray n = names[i].toLatin1();
        const QString p = placeholders[i];
        QTest::newRow(n + ": placeholder emptied on entry") << names[i] << p << true << "";
        QTest::newRow(n + ": spaced placeholder emptied on entry")
            << names[i] << "  " + p + " " << true << "";
        QTest::newRow(n + ": own text kept on entry") << names[i] << "mine" << true << "mine";
        QTest::newRow(n + ": empty gets placeholder on leaving") << names[i] << "" << false << p;
        QTest::newRow(n + ": spaces get placeholder on leaving") << names[i] << "   " << false << p;
        QTest::newRow(n + ": own text kept on leaving")
            << names[i] << " mine " << false << " mine ";
    }
    QTest::newRow("placeholder of another field kept")
        << "txtName"
        << "Friend's Name" << true << "Friend's Name";
    QTest::newRow("placeholder in other case kept") << "txtName"
                                                    << "your name" << true << "your name";
}

void TestExitScreen::placeholderRule()
{
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(bool, focusIn);
    QFETCH(QString, after);
    QWidget *target = this->field(field);
    QVERIFY(target);
    setTextOf(target, before);
    sendFocus(target, focusIn ? QEvent::FocusIn : QEvent::FocusOut);
    QCOMPARE(textOf(target), after);
}

void TestExitScreen::spaceIsRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("own e-mail") << "txtEmail";
    QTest::newRow("friend's e-mail") << "txtFriendEmail";
}

void TestExitScreen::spaceIsRefused()
{
    QFETCH(QString, field);
    auto *target = qobject_cast<QLineEdit *>(this->field(field));
    m_screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    target->setFocus();
    target->clear();
    QTest::keyClicks(target, "a b@c.d ");
    QCOMPARE(target->text(), QString("ab@c.d"));
    QCOMPARE(m_fakes->prompter.prompts.size(), 2);
    for (const PromptRecord &prompt : m_fakes->prompter.prompts) {
        QCOMPARE(prompt.kind, PromptRecord::Error);
        QCOMPARE(prompt.text, QString("Email Address Cannot Contain Space"));
        // Over the screen: a box owned by another window would open behind it.
        QCOMPARE(prompt.owner, m_screen.get());
    }
    QCOMPARE(QApplication::focusWidget(), target);

    // Names may hold spaces.
    m_screen->txtName->clear();
    QTest::keyClicks(m_screen->txtName, "Ann Lee");
    QCOMPARE(m_screen->txtName->text(), QString("Ann Lee"));
    QCOMPARE(m_fakes->prompter.prompts.size(), 2);
}

void TestExitScreen::submitChecks_data()
{
    QTest::addColumn<QStringList>("texts"); // name, e-mail, message, friend's name and e-mail
    QTest::addColumn<QString>("message");

    const QString distinct = "Please Enter Distinct Email Addresses";
    const QString proper = "Please Enter Proper Email Address";
    const QString me = "me@mail.test";
    const QString bo = "bo@mail.test";

    QTest::newRow("untouched form") << QStringList { "Your Name", "Your Email Address",
        "Your Message", "Friend's Name", "Friend's Email Address" }
                                    << proper;
    QTest::newRow("same addresses come first") << QStringList { "", me, "", "", me } << distinct;
    QTest::newRow("same after trimming")
        << QStringList { "Ann", " " + me, "Hi", "Bo", me + "  " } << distinct;
    QTest::newRow("both empty are the same")
        << QStringList { "Ann", "", "Hi", "Bo", "" } << distinct;
    QTest::newRow("own e-mail without @")
        << QStringList { "", "me.mail.test", "", "", bo } << proper;
    QTest::newRow("friend's e-mail without @")
        << QStringList { "", me, "", "", "bo.mail.test" } << proper;
    QTest::newRow("own e-mail without dot") << QStringList { "", "me@mail", "", "", bo } << proper;
    QTest::newRow("friend's e-mail without dot")
        << QStringList { "", me, "", "", "bo@mail" } << proper;
    QTest::newRow("name at placeholder") << QStringList { "Your Name", me, "Your Message",
        "Friend's Name", bo } << "Please Enter Your Name";
    QTest::newRow("name empty") << QStringList { "", me, "", "", bo } << "Please Enter Your Name";
    QTest::newRow("name only spaces")
        << QStringList { "   ", me, "Hi", "Bo", bo } << "Please Enter Your Name";
    QTest::newRow("message at placeholder") << QStringList { "Ann", me, "Your Message",
        "Friend's Name", bo } << "Please Enter Your Message";
    QTest::newRow("message empty")
        << QStringList { "Ann", me, "", "Bo", bo } << "Please Enter Your Message";
    QTest::newRow("friend's name at placeholder") << QStringList { "Ann", me, "Hi", "Friend's Name",
        bo } << "Please Enter Your Friend's Name";
    QTest::newRow("friend's name only spaces")
        << QStringList { "Ann", me, "Hi", "  ", bo } << "Please Enter Your Friend's Name";
    QTest::newRow("addresses differing in case pass")
        << QStringList { "Ann", "Me@mail.test", "Hi", "Bo", me } << "";
}

void TestExitScreen::submitChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    fill(texts);
    QTest::mouseClick(m_screen->cmdSubmit, Qt::LeftButton);
    if (message.isEmpty()) {
        QVERIFY(m_fakes->prompter.prompts.isEmpty());
        QCOMPARE(m_fakes->links.opened.size(), 1);
    } else {
        QCOMPARE(m_fakes->prompter.prompts.size(), 1);
        QCOMPARE(m_fakes->prompter.prompts.first().kind, PromptRecord::Error);
        QCOMPARE(m_fakes->prompter.prompts.first().text, message);
        QCOMPARE(m_fakes->prompter.prompts.first().owner, m_screen.get());
        QVERIFY(m_fakes->links.opened.isEmpty());
    }
}

void TestExitScreen::validFormOpensTheEncodedAddress()
{
    const QStringList texts { " Ann Lee ", "ann@mail.test", "Dream on!", "Bo", "bo@mail.test" };
    fill(texts);
    QTest::mouseClick(m_screen->cmdSubmit, Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened,
        QStringList { "https://main.test/qvsw-refer-a-friend.php?taf1=Ann%20Lee"
                      "&taf2=ann%40mail.test&taf3=Dream%20on%21&taf4=Bo"
                      "&taf5=bo%40mail.test&taf6=https://main.test/somnilex/" });
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
    // Nothing is cleared and the screen stays, so another friend can be referred.
    QCOMPARE(m_screen->txtName->text(), texts[0]);
    QCOMPARE(m_screen->txtMessage->toPlainText(), texts[2]);
    QCOMPARE(m_screen->txtFriendEmail->text(), texts[4]);
    QVERIFY(m_screen->isVisible());
}

void TestExitScreen::forgedFieldArrivesAsOneValue()
{
    fill({ "a&taf6=evil", "ann@mail.test", "Hi", "Bo", "bo@mail.test" });
    m_screen->cmdSubmit->click();
    QCOMPARE(m_fakes->links.opened.size(), 1);
    const QString address = m_fakes->links.opened.first();
    QVERIFY(address.contains("?taf1=a%26taf6%3Devil&taf2="));
    QCOMPARE(address.count("taf6="), 1);
    QVERIFY(address.endsWith("&taf6=https://main.test/somnilex/"));
}

void TestExitScreen::visitBoxOpensHomeAndStaysUnchecked()
{
    QTest::mouseClick(m_screen->Check1, Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened, QStringList { Main });
    QVERIFY(!m_screen->Check1->isChecked());
    QTest::mouseClick(m_screen->Check1, Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened, QStringList({ Main, Main }));
    QVERIFY(!m_screen->Check1->isChecked());
}

void TestExitScreen::catalogueLink()
{
    // Anywhere in the label's rectangle, also past the end of its text.
    LinkLabel *link = m_screen->lblGoToHome;
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(link->width() - 2, link->height() / 2));
    QCOMPARE(m_fakes->links.opened, QStringList { Main + "/velarionsoftwares" });
}

void TestExitScreen::everyWayOfClosingUnloads_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Exit button") << true;
    QTest::newRow("close box") << false;
}

void TestExitScreen::everyWayOfClosingUnloads()
{
    QFETCH(bool, byButton);
    QSignalSpy unloads(m_screen.get(), &frmExitScreen::Form_Unload);
    if (byButton)
        QTest::mouseClick(m_screen->cmdClose, Qt::LeftButton);
    else
        m_screen->close();
    QCOMPARE(unloads.count(), 1);
    QVERIFY(!m_screen->isVisible());
    QVERIFY(m_fakes->links.opened.isEmpty());
}

QTEST_MAIN(TestExitScreen)
#include "tst_exitscreen.moc"
