// The progress window shown after a merge, driven tick by tick.
#include "frmPB.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>

class TestFrmPB : public QObject
{
    Q_OBJECT
private slots:
    void progressWindowMakeUp();
    void progressWindowClosesAtTheFiftyFirstTick();
    void progressWindowClosedEarlyStopsItsTimer();
};

void TestFrmPB::progressWindowMakeUp()
{
    frmPB window;
    QCOMPARE(window.windowTitle(), QString("Somnilex v1.85"));
    QVERIFY(window.isModal());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.size(), QSize(5925 / 15, 1305 / 15));
    QCOMPARE(window.findChild<QLabel *>("Label1")->text(),
        QString("Please wait while Dictionary is Updating ...."));
    QCOMPARE(window.findChild<QLabel *>("Label1")->pos(), QPoint(1110 / 15, 240 / 15));
    QCOMPARE(window.findChild<QProgressBar *>("PB")->geometry(),
        QRect(195 / 15, 720 / 15, 5520 / 15, 300 / 15));
    QVERIFY(!window.findChild<QProgressBar *>("PB")->accessibleName().isEmpty());
    QCOMPARE(window.ProgressSteps, 50);
    QCOMPARE(window.findChild<QProgressBar *>("PB")->minimum(), 0);
    QCOMPARE(window.findChild<QProgressBar *>("PB")->maximum(), 50);
    QCOMPARE(window.ProgressCounter, 0);
    QCOMPARE(window.findChild<QTimer *>("Timer1")->interval(), 100);
    QVERIFY(window.findChild<QTimer *>("Timer1")->isActive());
}

void TestFrmPB::progressWindowClosesAtTheFiftyFirstTick()
{
    frmPB window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The ticks are driven here, not by the clock: no event is processed between them.
    for (int tick = 1; tick <= 50; ++tick) {
        window.Timer1_Timer();
        QCOMPARE(window.findChild<QProgressBar *>("PB")->value(), tick);
        QCOMPARE(window.ProgressCounter, tick);
        QVERIFY(window.isVisible());
    }
    QVERIFY(window.findChild<QTimer *>("Timer1")->isActive());
    window.Timer1_Timer();
    QVERIFY(!window.isVisible());
    QVERIFY(!window.findChild<QTimer *>("Timer1")->isActive());
    QCOMPARE(window.ProgressCounter, 0);
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestFrmPB::progressWindowClosedEarlyStopsItsTimer()
{
    frmPB window;
    window.show();
    for (int tick = 0; tick < 7; ++tick)
        window.Timer1_Timer();
    window.close();
    QVERIFY(!window.isVisible());
    QVERIFY(!window.findChild<QTimer *>("Timer1")->isActive());
    QCOMPARE(window.ProgressCounter, 0);
}

QTEST_MAIN(TestFrmPB)
#include "tst_frmpb.moc"
