// The exit screen: its make-up, the promotional text, the visit box, the catalogue link and
// every way of closing it. The refer-a-friend form is tested in tst_exitscreen_form.
#include "ExitScreenFixture.h"

using namespace ExitScreenTexts;

class TestExitScreen : public QObject, private ExitScreenFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void makeUp();
    void promotionalTextIsDrawn_data();
    void promotionalTextIsDrawn();
    void visitBoxOpensHomeAndStaysUnchecked();
    void catalogueLink();
    void everyWayOfClosingUnloads_data();
    void everyWayOfClosingUnloads();
};

void TestExitScreen::makeUp()
{
    QCOMPARE(m_screen->windowTitle(), QString("Somnilex v1.85"));
    QCOMPARE(child<QLabel>("Label1")->text(), QString("Somnilex v1.85"));
    QVERIFY(frmExitScreen::promotionalTexts().contains(child<QLabel>("Label2")->text()));
    QCOMPARE(frmExitScreen::promotionalTexts().size(), 4);
    QVERIFY(m_screen->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_screen->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(!child<QCheckBox>("Check1")->isChecked());
    QCOMPARE(child<QGroupBox>("Frame6")->title(), QString("Download Velarion Softwares"));
    QCOMPARE(child<LinkLabel>("lblGoToHome")->accessibleName(),
        QString("Click Here To Visit Velarion Softwares"));
    QCOMPARE(child<QGroupBox>("Frame2")->title(), QString("Refer A Friend"));
    QCOMPARE(child<QLineEdit>("txtName")->text(), QString("Your Name"));
    QCOMPARE(child<QLineEdit>("txtEmail")->text(), QString("Your Email Address"));
    QCOMPARE(child<QLineEdit>("txtFriendName")->text(), QString("Friend's Name"));
    QCOMPARE(child<QLineEdit>("txtFriendEmail")->text(), QString("Friend's Email Address"));
    QCOMPARE(child<QPlainTextEdit>("txtMessage")->toPlainText(), QString("Your Message"));
    QCOMPARE(child<QPushButton>("cmdSubmit")->text(), QString("Refer A Friend &Now"));
    QCOMPARE(child<QPushButton>("cmdClose")->text(), QString("E&xit"));
    const QList<QWidget *> controls { child<QCheckBox>("Check1"), child<LinkLabel>("lblGoToHome"),
        child<QLineEdit>("txtName"), child<QLineEdit>("txtEmail"),
        child<QLineEdit>("txtFriendName"), child<QLineEdit>("txtFriendEmail"),
        child<QPlainTextEdit>("txtMessage"), child<QPushButton>("cmdSubmit"),
        child<QPushButton>("cmdClose") };
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
    QCOMPARE(
        screen.findChild<QLabel *>("Label2")->text(), frmExitScreen::promotionalTexts().at(shown));
}

void TestExitScreen::visitBoxOpensHomeAndStaysUnchecked()
{
    QTest::mouseClick(child<QCheckBox>("Check1"), Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened, QStringList { Main });
    QVERIFY(!child<QCheckBox>("Check1")->isChecked());
    QTest::mouseClick(child<QCheckBox>("Check1"), Qt::LeftButton);
    QCOMPARE(m_fakes->links.opened, QStringList({ Main, Main }));
    QVERIFY(!child<QCheckBox>("Check1")->isChecked());
}

void TestExitScreen::catalogueLink()
{
    // Anywhere in the label's rectangle, also past the end of its text.
    LinkLabel *link = child<LinkLabel>("lblGoToHome");
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
        QTest::mouseClick(child<QPushButton>("cmdClose"), Qt::LeftButton);
    else
        m_screen->close();
    QCOMPARE(unloads.count(), 1);
    QVERIFY(!m_screen->isVisible());
    QVERIFY(m_fakes->links.opened.isEmpty());
}

QTEST_MAIN(TestExitScreen)
#include "tst_exitscreen.moc"
