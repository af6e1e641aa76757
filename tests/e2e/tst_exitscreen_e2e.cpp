#include "LinkLabel.h"
#include "MDI.h"
#include "RealDesktop.h"
#include "RunningProgram.h"
#include "frmExitScreen.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int WindowManagerTimeout = 10000;

} // namespace

class TestRealExitScreen : public QObject
{
    Q_OBJECT
public:
    static void initMain() { RealDesktop::prepareMain(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void messageBoxIsOnTopWithTheFocus_data();
    void messageBoxIsOnTopWithTheFocus();
    void catalogueLinkReactsAcrossItsRectangle_data();
    void catalogueLinkReactsAcrossItsRectangle();

private:
    // Runs inside the message box's own event loop: checks what the window manager shows, then
    // presses Enter.
    void inspect(const QString &message, QPointer<QMessageBox> &box, bool &closedByEnter);

    std::unique_ptr<RunningProgram> m_program;
    QPointer<frmExitScreen> m_screen;
};

void TestRealExitScreen::initTestCase()
{
    const QString missing = RealDesktop::whatIsMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
}

void TestRealExitScreen::init()
{
    // Offline: the meaning pane shows its notice, and no page needs to load.
    m_program = std::make_unique<RunningProgram>(false, QStringLiteral("http://127.0.0.1:9"));
    m_program->start();
    MDI *window = m_program->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(window->findChild<QPushButton *>("cmdExit"), Qt::LeftButton);
    m_screen = m_program->application->exitScreen();
    QVERIFY(m_screen);
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.data()));
    const WId id = RealDesktop::idOf(m_screen);
    QTRY_COMPARE_WITH_TIMEOUT(RealDesktop::topmost(), id, WindowManagerTimeout);
}

void TestRealExitScreen::cleanup()
{
    m_program.reset();
}

void TestRealExitScreen::messageBoxIsOnTopWithTheFocus_data()
{
    QTest::addColumn<QStringList>("entries"); // name, e-mail, message, friend, friend's e-mail
    QTest::addColumn<QString>("spaceInto"); // a field to type a space into, or "" to submit
    QTest::addColumn<QString>("message");

    const QStringList valid { "Ann", "me@example.org", "Hello", "Bob", "friend@example.org" };
    auto with = [&valid](int field, const QString &text) {
        QStringList entries = valid;
        entries[field] = text;
        return entries;
    };
    const QString submit;
    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString space = QStringLiteral("Email Address Cannot Contain Space");

    QTest::newRow("untouched form") << QStringList() << submit << proper;
    QTest::newRow("same address twice")
        << with(4, valid[1]) << submit << QStringLiteral("Please Enter Distinct Email Addresses");
    QTest::newRow("address without a dot") << with(1, "me@example") << submit << proper;
    QTest::newRow("name left at its placeholder")
        << with(0, "Your Name") << submit << QStringLiteral("Please Enter Your Name");
    QTest::newRow("message left at its placeholder")
        << with(2, "Your Message") << submit << QStringLiteral("Please Enter Your Message");
    QTest::newRow("friend's name empty")
        << with(3, "") << submit << QStringLiteral("Please Enter Your Friend's Name");
    QTest::newRow("space in the e-mail") << QStringList() << QStringLiteral("txtEmail") << space;
    QTest::newRow("space in the friend's e-mail")
        << QStringList() << QStringLiteral("txtFriendEmail") << space;
}

void TestRealExitScreen::messageBoxIsOnTopWithTheFocus()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, spaceInto);
    QFETCH(QString, message);

    if (!entries.isEmpty()) {
        m_screen->findChild<QLineEdit *>("txtName")->setText(entries.at(0));
        m_screen->findChild<QLineEdit *>("txtEmail")->setText(entries.at(1));
        m_screen->findChild<QPlainTextEdit *>("txtMessage")->setPlainText(entries.at(2));
        m_screen->findChild<QLineEdit *>("txtFriendName")->setText(entries.at(3));
        m_screen->findChild<QLineEdit *>("txtFriendEmail")->setText(entries.at(4));
    }
    QLineEdit *field = spaceInto.isEmpty() ? nullptr : m_screen->findChild<QLineEdit *>(spaceInto);
    if (field) {
        // The user turns to the screen and starts typing an address.
        m_screen->activateWindow();
        QTRY_COMPARE_WITH_TIMEOUT(
            QApplication::activeWindow(), m_screen.data(), WindowManagerTimeout);
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, "ann");
        QCOMPARE(field->text(), QString("ann"));
    }

    // The box runs its own event loop inside the click or key press: the checks run in there.
    bool closedByEnter = false;
    QTimer::singleShot(0, m_screen, [&] {
        QPointer<QMessageBox> box;
        inspect(message, box, closedByEnter);
        if (box && box->isVisible())
            box->reject();
    });
    if (field)
        QTest::keyClick(field, Qt::Key_Space);
    else
        QTest::mouseClick(m_screen->findChild<QPushButton *>("cmdSubmit"), Qt::LeftButton);

    QVERIFY(closedByEnter);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_screen->isVisible());
    if (field) {
        QCOMPARE(field->text(), QString("ann"));
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), field, WindowManagerTimeout);
    }
}

void TestRealExitScreen::inspect(
    const QString &message, QPointer<QMessageBox> &box, bool &closedByEnter)
{
    QVERIFY(QTest::qWaitFor([&] {
        box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        return !box.isNull();
    }));
    QCOMPARE(box->text(), message);
    QCOMPARE(box->icon(), QMessageBox::Critical);
    const WId id = RealDesktop::idOf(box);
    QTRY_COMPARE_WITH_TIMEOUT(RealDesktop::topmost(), id, WindowManagerTimeout);
    QVERIFY(RealDesktop::isAbove(id, RealDesktop::idOf(m_screen)));
    QTRY_COMPARE_WITH_TIMEOUT(RealDesktop::activeWindow(), id, WindowManagerTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), box.data(), WindowManagerTimeout);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->window() == box);
    if (message.contains("Space"))
        RealDesktop::saveScreen(QStringLiteral("exit-message"));

    // Enter, where the user's keyboard goes, dismisses the box.
    QTest::keyClick(focus, Qt::Key_Return);
    closedByEnter = !box || !box->isVisible();
}

void TestRealExitScreen::catalogueLinkReactsAcrossItsRectangle_data()
{
    QTest::addColumn<bool>("farRight"); // or far left
    QTest::newRow("far right") << true;
    QTest::newRow("far left") << false;
}

void TestRealExitScreen::catalogueLinkReactsAcrossItsRectangle()
{
    QFETCH(bool, farRight);
    LinkLabel *link = m_screen->findChild<LinkLabel *>("lblGoToHome");
    const QRect rect = link->rect();
    const QPoint point(farRight ? rect.right() - 1 : rect.left() + 1, rect.center().y());
    const QPoint inScreen = link->mapTo(m_screen, point);
    QCOMPARE(m_screen->childAt(inScreen), link);
    // Through the screen's window, as a real click arrives.
    QTest::mouseClick(m_screen->windowHandle(), Qt::LeftButton, {}, inScreen);
    QCOMPARE(m_program->fakes.links.opened,
        QStringList { m_program->config().MainSiteAddress + "/velarionsoftwares" });
}

QTEST_MAIN(TestRealExitScreen)
#include "tst_exitscreen_e2e.moc"
