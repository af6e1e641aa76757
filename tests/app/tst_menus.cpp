#include "AppState.h"
#include "Contrast.h"
#include "Fakes.h"
#include "LinkLabel.h"
#include "MDI.h"
#include "MainWindowTestBase.h"
#include "TestDictionary.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString Main = QStringLiteral("https://main.test");
const QString Help = QStringLiteral("https://help.test");

// A label reacts anywhere in its rectangle, not only over its text: click where the text is not.
void clickFarRight(LinkLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() - 2, label->height() / 2));
}

} // namespace

class TestMenus : public MainWindowTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void commandOpensItsPage_data();
    void commandOpensItsPage();
    void aboutBoxMakeUp();
    void aboutBoxClosesOnKey_data();
    void aboutBoxClosesOnKey();
    void aboutBoxBlocksTheMainWindow();

private:
    // Runs the about box from Help > About Software and calls `whileOpen` once it is showing.
    // The box is closed afterwards if `whileOpen` left it open; true when `whileOpen` closed it.
    bool withAboutBox(const std::function<void(frmAbout *)> &whileOpen);
    void activate(const QString &control);
};

void TestMenus::init()
{
    setUpFixture();
    m_folder->writeDictionary(rowsOf({ "Snake" }));
    m_config.MainSiteAddress = Main;
    m_config.HelpSiteAddress = Help;
    openMainWindow();
}

void TestMenus::cleanup()
{
    tearDownFixture();
}

bool TestMenus::withAboutBox(const std::function<void(frmAbout *)> &whileOpen)
{
    QPointer<frmAbout> seen;
    bool opened = false;
    bool closedByCaller = false;
    QTimer::singleShot(0, this, [&] {
        seen = m_window->findChild<frmAbout *>();
        if (!seen)
            return;
        opened = true;
        whileOpen(seen);
        closedByCaller = !seen->isVisible();
        if (!closedByCaller)
            seen->reject();
    });
    m_window->findChild<QAction *>("mnuAbout")->trigger();
    [&] { QVERIFY(opened); }();
    // Closing unloads the box; the next showing builds a new one.
    [&] { QVERIFY(seen.isNull()); }();
    return opened && closedByCaller;
}

void TestMenus::activate(const QString &control)
{
    MDI *w = m_window.get();
    const QMap<QString, QAction *> actions = {
        { "mnuOnline", w->findChild<QAction *>("mnuOnline") },
        { "mnuVisit", w->findChild<QAction *>("mnuVisit") },
        { "mnuUpdateSoftware", w->findChild<QAction *>("mnuUpdateSoftware") },
        { "mnuDonate", w->findChild<QAction *>("mnuDonate") },
        { "mnuMakeMoney", w->findChild<QAction *>("mnuMakeMoney") },
        { "mnuAbout", w->findChild<QAction *>("mnuAbout") },
    };
    const QMap<QString, LinkLabel *> labels = {
        { "lblFullBrand", w->findChild<LinkLabel *>("lblFullBrand") },
        { "lblCoBrand", w->findChild<LinkLabel *>("lblCoBrand") },
        { "Label61", w->findChild<LinkLabel *>("Label61") },
        { "Label4", w->findChild<LinkLabel *>("Label4") },
    };
    if (control == "mnuAbout")
        withAboutBox([](frmAbout *box) { box->findChild<QPushButton *>("cmdOK")->click(); });
    else if (actions.contains(control))
        actions[control]->trigger();
    else if (labels.contains(control))
        clickFarRight(labels[control]);
    else if (control == "cmdDonate")
        QTest::mouseClick(w->findChild<QPushButton *>("cmdDonate"), Qt::LeftButton);
    else if (control == "about lblHomePage")
        withAboutBox(
            [](frmAbout *box) { clickFarRight(box->findChild<LinkLabel *>("lblHomePage")); });
    else if (control == "about lblCoBrand")
        withAboutBox(
            [](frmAbout *box) { clickFarRight(box->findChild<LinkLabel *>("lblCoBrand")); });
    else
        QFAIL(qPrintable("unknown control " + control));
}

void TestMenus::commandOpensItsPage_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("opened");

    const QStringList home { Main };
    const QStringList download { Main + "/somnilex/download-somnilex.html" };
    const QStringList donate { Help + "/donate.html" };
    const QStringList fullBrand { Help + "/fully-branded.html" };

    QTest::newRow("Help > Online Help")
        << "mnuOnline" << QStringList { Main + "/somnilex/somnilex-help.html" };
    QTest::newRow("Help > Visit Us Online") << "mnuVisit" << home;
    QTest::newRow("Help > Check for Software Update") << "mnuUpdateSoftware" << download;
    QTest::newRow("Help > About Software") << "mnuAbout" << QStringList();
    QTest::newRow("Donate menu") << "mnuDonate" << donate;
    QTest::newRow("Donate button") << "cmdDonate" << donate;
    QTest::newRow("Make Money Online") << "mnuMakeMoney" << fullBrand;
    QTest::newRow("lblFullBrand") << "lblFullBrand" << fullBrand;
    QTest::newRow("lblCoBrand, main window")
        << "lblCoBrand" << QStringList { Help + "/co-brand.html" };
    QTest::newRow("Label61") << "Label61" << home;
    QTest::newRow("Label4") << "Label4" << home;
    QTest::newRow("about box lblHomePage") << "about lblHomePage" << home;
    QTest::newRow("about box lblCoBrand") << "about lblCoBrand" << fullBrand;
}

void TestMenus::commandOpensItsPage()
{
    QFETCH(QString, control);
    QFETCH(QStringList, opened);
    activate(control);
    QCOMPARE(m_fakes->links.opened, opened);
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
}

void TestMenus::aboutBoxMakeUp()
{
    withAboutBox([this](frmAbout *box) {
        QCOMPARE(box->windowTitle(), QString("Somnilex v1.85"));
        QVERIFY(box->isModal());
        QCOMPARE(box->parentWidget(), m_window.get());
        // 6825 x 3420 twips, and the user cannot change it.
        QCOMPARE(box->size(), QSize(455, 228));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // White on an orange dark enough to read: the guidelines' 4.5:1 at least.
        const QColor orange = box->palette().color(QPalette::Window);
        QVERIFY(orange.red() > orange.green() && orange.green() > orange.blue());
        const QLabel *purpose = box->findChild<QLabel *>("Label1");
        QCOMPARE(purpose->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(Contrast::ratio(Qt::white, orange) >= Contrast::Minimum);
        QCOMPARE(purpose->font().family(), QString("Verdana"));
        QCOMPARE(box->findChild<QLabel *>("Label2")->text(), QString("Somnilex v1.85"));
        QVERIFY(purpose->text().startsWith("Somnilex Software is a collection of all words"));
        QVERIFY(box->findChild<LinkLabel *>("lblHomePage")->accessibleName().endsWith(Main));
        QCOMPARE(box->findChild<LinkLabel *>("lblCoBrand")->accessibleName(),
            QString("Click here for more details."));
        QPushButton *ok = box->findChild<QPushButton *>("cmdOK");
        QCOMPARE(ok->text(), QString("OK"));
        QVERIFY(ok->isDefault());
        ok->click();
    });
}

void TestMenus::aboutBoxClosesOnKey_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestMenus::aboutBoxClosesOnKey()
{
    QFETCH(int, key);
    for (int showing = 0; showing < 2; ++showing) {
        QWidget *focused = nullptr;
        const bool closed = withAboutBox([&](frmAbout *box) {
            focused = box->focusWidget();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key));
        });
        QVERIFY(closed);
        QVERIFY(focused && focused->objectName() == "cmdOK");
    }
    QVERIFY(m_fakes->links.opened.isEmpty());
}

void TestMenus::aboutBoxBlocksTheMainWindow()
{
    // A click that reaches the main window through the window system opens the donation page...
    QWindow *mainWindow = m_window->windowHandle();
    const QPoint donate = m_window->findChild<QPushButton *>("cmdDonate")
                              ->mapTo(m_window.get(),
                                  m_window->findChild<QPushButton *>("cmdDonate")->rect().center());
    QTest::mouseClick(mainWindow, Qt::LeftButton, {}, donate);
    QCOMPARE(m_fakes->links.opened.size(), 1);

    // ...but not while the about box is open.
    bool blocked = false;
    withAboutBox([&](frmAbout *box) {
        QCOMPARE(QApplication::activeModalWidget(), box);
        QTest::mouseClick(mainWindow, Qt::LeftButton, {}, donate);
        QTest::keyClick(mainWindow, Qt::Key_D, Qt::AltModifier);
        blocked = m_fakes->links.opened.size() == 1;
        box->findChild<QPushButton *>("cmdOK")->click();
    });
    QVERIFY(blocked);
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
