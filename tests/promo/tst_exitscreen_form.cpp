// The exit screen's refer-a-friend form: the placeholders, the refused space, the checks on
// submitting and the address a valid form opens.
#include "ExitScreenFixture.h"

using namespace ExitScreenTexts;

class TestExitScreenForm : public QObject, private ExitScreenFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void placeholderRule_data();
    void placeholderRule();
    void spaceIsRefused_data();
    void spaceIsRefused();
    void submitChecks_data();
    void submitChecks();
    void validFormOpensTheEncodedAddress();
    void forgedFieldArrivesAsOneValue();
};

void TestExitScreenForm::placeholderRule_data()
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

void TestExitScreenForm::placeholderRule()
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

void TestExitScreenForm::spaceIsRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("own e-mail") << "txtEmail";
    QTest::newRow("friend's e-mail") << "txtFriendEmail";
}

void TestExitScreenForm::spaceIsRefused()
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
    child<QLineEdit>("txtName")->clear();
    QTest::keyClicks(child<QLineEdit>("txtName"), "Ann Lee");
    QCOMPARE(child<QLineEdit>("txtName")->text(), QString("Ann Lee"));
    QCOMPARE(m_fakes->prompter.prompts.size(), 2);
}

void TestExitScreenForm::submitChecks_data()
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

void TestExitScreenForm::submitChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    fill(texts);
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);
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

void TestExitScreenForm::validFormOpensTheEncodedAddress()
{
    const QStringList texts { " Ann Lee ", "ann@mail.test", "Dream on!", "Bo", "bo@mail.test" };
    fill(texts);
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened,
        QStringList { "https://main.test/qvsw-refer-a-friend.php?taf1=Ann%20Lee"
                      "&taf2=ann%40mail.test&taf3=Dream%20on%21&taf4=Bo"
                      "&taf5=bo%40mail.test&taf6=https://main.test/somnilex/" });
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
    // Nothing is cleared and the screen stays, so another friend can be referred.
    QCOMPARE(child<QLineEdit>("txtName")->text(), texts[0]);
    QCOMPARE(child<QPlainTextEdit>("txtMessage")->toPlainText(), texts[2]);
    QCOMPARE(child<QLineEdit>("txtFriendEmail")->text(), texts[4]);
    QVERIFY(m_screen->isVisible());
}

void TestExitScreenForm::forgedFieldArrivesAsOneValue()
{
    fill({ "a&taf6=evil", "ann@mail.test", "Hi", "Bo", "bo@mail.test" });
    child<QPushButton>("cmdSubmit")->click();
    QCOMPARE(m_fakes->links.opened.size(), 1);
    const QString address = m_fakes->links.opened.first();
    QVERIFY(address.contains("?taf1=a%26taf6%3Devil&taf2="));
    QCOMPARE(address.count("taf6="), 1);
    QVERIFY(address.endsWith("&taf6=https://main.test/somnilex/"));
}

QTEST_MAIN(TestExitScreenForm)
#include "tst_exitscreen_form.moc"
