#include "PaneLayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(FrameMetrics)

// Where the meaning pane and the browser window go as the main window's size and bands change.
class TestPaneLayout : public QObject
{
    Q_OBJECT
private slots:
    void meaningPane_data();
    void meaningPane();
    void browserWindowLayout_data();
    void browserWindowLayout();
};

void TestPaneLayout::meaningPane_data()
{
    QTest::addColumn<FrameMetrics>("frame");
    QTest::addColumn<int>("paneWidth");
    QTest::addColumn<int>("paneHeight");
    QTest::addColumn<int>("webWidth");
    QTest::addColumn<int>("webHeight");
    // outer width, outer height, picLeft width, picTop, picBottom, TB heights
    QTest::newRow("example") << FrameMetrics { 12000, 9000, 2925, 645, 525, 540 } << 8825 << 9000
                             << 8825 << 6540;
    QTest::newRow("maximized") << FrameMetrics { 28800, 16200, 2925, 645, 525, 540 } << 25625
                               << 16200 << 25625 << 13740;
    QTest::newRow("no left panel")
        << FrameMetrics { 12000, 9000, 0, 0, 0, 0 } << 11750 << 9000 << 11750 << 8250;
    // Negative sizes are reported as they are; the pane keeps its old size for them.
    QTest::newRow("tiny window") << FrameMetrics { 1500, 1500, 2925, 645, 525, 540 } << -1675
                                 << 1500 << -1675 << -960;
}

void TestPaneLayout::meaningPane()
{
    QFETCH(FrameMetrics, frame);
    const PaneLayout::MeaningPane pane = PaneLayout::meaningPane(frame);
    QTEST(pane.paneWidth, "paneWidth");
    QTEST(pane.paneHeight, "paneHeight");
    QTEST(pane.webWidth, "webWidth");
    QTEST(pane.webHeight, "webHeight");
}

void TestPaneLayout::browserWindowLayout_data()
{
    QTest::addColumn<FrameMetrics>("frame");
    QTest::addColumn<QList<int>>("expected"); // left, top, width, height, web width, web height
    QTest::newRow("example") << FrameMetrics { 12000, 9000, 2925, 645, 525, 540 }
                             << QList<int> { -75, -75, 9075, 9100, 8975, 6640 };
    QTest::newRow("no left panel") << FrameMetrics { 9900, 7080, 0, 645, 525, 540 }
                                   << QList<int> { -75, -75, 9900, 7180, 9800, 4720 };
    // Too small for the bands: the web height goes negative and the caller keeps the old one.
    QTest::newRow("tiny") << FrameMetrics { 3000, 2000, 2925, 645, 525, 540 }
                          << QList<int> { -75, -75, 75, 2100, -25, -360 };
}

void TestPaneLayout::browserWindowLayout()
{
    QFETCH(FrameMetrics, frame);
    QFETCH(QList<int>, expected);
    const PaneLayout::BrowserWindow w = PaneLayout::browserWindow(frame);
    QCOMPARE((QList<int> { w.left, w.top, w.width, w.height, w.webWidth, w.webHeight }), expected);
}

QTEST_GUILESS_MAIN(TestPaneLayout)
#include "tst_panelayout.moc"
