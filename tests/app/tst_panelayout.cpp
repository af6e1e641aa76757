#include "PaneLayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(FrameMetrics)

class TestPaneLayout : public QObject
{
    Q_OBJECT
private slots:
    void meaningPane_data();
    void meaningPane();
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

QTEST_GUILESS_MAIN(TestPaneLayout)
#include "tst_panelayout.moc"
