#include "MainLayout.h"

#include <QtTest>

class TestMainLayout : public QObject
{
    Q_OBJECT
private slots:
    void tallerMovesListAndDisplay_data();
    void tallerMovesListAndDisplay();
    void widerMovesOnlyDonateAndExit_data();
    void widerMovesOnlyDonateAndExit();
    void shortWindowKeepsLastListHeight();
    void narrowPanelKeepsWidths();
    void sameSizeGivesSameLayout();
};

namespace {
constexpr int Panel = 2925;
MainLayout arranged(int width, int height, const MainLayout &from = MainLayout::design())
{
    return arrangeMainWindow(from, width, height, 0, Panel);
}
} // namespace

void TestMainLayout::tallerMovesListAndDisplay_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("taller");
    QTest::newRow("from 9000 by 15") << 9000 << 15;
    QTest::newRow("from 9000 by 1500") << 9000 << 1500;
    QTest::newRow("from 4850 by 3000") << 4850 << 3000;
}

void TestMainLayout::tallerMovesListAndDisplay()
{
    QFETCH(int, height);
    QFETCH(int, taller);
    const MainLayout before = arranged(12000, height);
    const MainLayout after = arranged(12000, height + taller, before);
    QCOMPARE(before.lstKeys.height, height - 4850);
    QCOMPARE(after.lstKeys.height, before.lstKeys.height + taller);
    QCOMPARE(after.cmdDisplay.top, before.cmdDisplay.top + taller);
    QCOMPARE(after.cmdDisplay.top, after.lstKeys.top + after.lstKeys.height);
    QCOMPARE(after.cmdDisplay.height, 500);
    QCOMPARE(after.txtKey, before.txtKey);
    QCOMPARE(after.cmdSearch, before.cmdSearch);
    QCOMPARE(after.lstKeys.top, before.lstKeys.top);
}

void TestMainLayout::widerMovesOnlyDonateAndExit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("wider");
    QTest::newRow("12000 by 30") << 12000 << 30;
    QTest::newRow("9000 by 6000") << 9000 << 6000;
}

void TestMainLayout::widerMovesOnlyDonateAndExit()
{
    QFETCH(int, width);
    QFETCH(int, wider);
    const MainLayout before = arranged(width, 9000);
    const MainLayout after = arranged(width + wider, 9000, before);
    QCOMPARE(before.cmdDonate.left, width - 990 - 300);
    QCOMPARE(before.cmdExit.left, width - 990 - 300);
    QCOMPARE(after.cmdDonate.left, before.cmdDonate.left + wider);
    QCOMPARE(after.cmdExit.left, before.cmdExit.left + wider);
    QCOMPARE(after.cmdDonate.top, before.cmdDonate.top);
    QCOMPARE(after.txtKey, before.txtKey);
    QCOMPARE(after.lstKeys, before.lstKeys);
    QCOMPARE(after.cmdSearch, before.cmdSearch);
    QCOMPARE(after.cmdDisplay, before.cmdDisplay);
    // The left panel's controls take the panel's width.
    QCOMPARE(after.txtKey.width, Panel - 75);
    QCOMPARE(after.lstKeys.width, Panel - 50);
    QCOMPARE(after.cmdSearch.width, Panel - 50);
    QCOMPARE(after.cmdDisplay.width, Panel - 50);
    QCOMPARE(after.lstKeys.left, 0);
}

void TestMainLayout::shortWindowKeepsLastListHeight()
{
    const MainLayout tall = arranged(12000, 8000);
    QCOMPARE(tall.lstKeys.height, 3150);
    const MainLayout shortWindow = arranged(12000, 4000, tall);
    QCOMPARE(shortWindow.lstKeys.height, 3150);
    QCOMPARE(shortWindow.cmdDisplay.top, shortWindow.lstKeys.top + 3150);
    // The very edge: a list of no height is a height the platform takes.
    QCOMPARE(arranged(12000, 4850, tall).lstKeys.height, 0);
}

void TestMainLayout::narrowPanelKeepsWidths()
{
    const MainLayout before = arranged(12000, 9000);
    const MainLayout after = arrangeMainWindow(before, 12000, 9000, 0, 60);
    QCOMPARE(after.txtKey.width, before.txtKey.width); // 60 - 75 is refused
    QCOMPARE(after.lstKeys.width, 10);
    // A window narrower than a button plus 300 puts the button partly outside.
    QCOMPARE(arranged(1000, 9000).cmdExit.left, 1000 - 990 - 300);
}

void TestMainLayout::sameSizeGivesSameLayout()
{
    // Minimising and restoring raises the rule again at the same size.
    const MainLayout once = arranged(15000, 10000);
    QCOMPARE(arranged(15000, 10000, once), once);
    QCOMPARE(arranged(15000, 10000, arranged(15000, 10000, once)), once);
}

QTEST_GUILESS_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
