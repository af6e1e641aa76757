#include "Contrast.h"

#include <QtTest>

class TestContrast : public QObject
{
    Q_OBJECT
private slots:
    void ratio_data();
    void ratio();
    void readable_data();
    void readable();
    void selectionIsMadeReadable_data();
    void selectionIsMadeReadable();
};

// Figures from the guidelines' own examples and well-known pairs.
void TestContrast::ratio_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("expected");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("same colour") << QColor(255, 128, 0) << QColor(255, 128, 0) << 1.0;
    QTest::newRow("white on the design's orange")
        << QColor(Qt::white) << QColor(255, 128, 0) << 2.52;
    QTest::newRow("white on the darker orange") << QColor(Qt::white) << QColor(176, 88, 0) << 4.95;
    QTest::newRow("grey 777 on white, just under")
        << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
    QTest::newRow("order does not matter") << QColor(Qt::white) << QColor(0x77, 0x77, 0x77) << 4.48;
}

void TestContrast::ratio()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, expected);
    QVERIFY2(qAbs(Contrast::ratio(a, b) - expected) < 0.01,
        qPrintable(QString::number(Contrast::ratio(a, b))));
}

void TestContrast::readable_data()
{
    QTest::addColumn<QColor>("wanted");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("fallback");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("blue link on white stays")
        << QColor(0, 0, 255) << QColor(Qt::white) << QColor(Qt::black) << QColor(0, 0, 255);
    QTest::newRow("blue link on dark grey takes the text colour") << QColor(
        0, 0, 255) << QColor(43, 43, 43) << QColor(230, 230, 230) << QColor(230, 230, 230);
    QTest::newRow("neither reads: the better of black and white")
        << QColor(255, 128, 0) << QColor(120, 60, 0) << QColor(200, 100, 0) << QColor(Qt::white);
    QTest::newRow("white on orange stays")
        << QColor(Qt::white) << QColor(176, 88, 0) << QColor(Qt::black) << QColor(Qt::white);
}

void TestContrast::readable()
{
    QFETCH(QColor, wanted);
    QFETCH(QColor, background);
    QFETCH(QColor, fallback);
    QFETCH(QColor, expected);
    const QColor chosen = Contrast::readable(wanted, background, fallback);
    QCOMPARE(chosen, expected);
    QVERIFY(Contrast::ratio(chosen, background) >= Contrast::Minimum);
}

void TestContrast::selectionIsMadeReadable_data()
{
    QTest::addColumn<QColor>("highlight");
    QTest::addColumn<QColor>("selectedText");
    QTest::addColumn<bool>("kept");
    // Fusion's light selection: white on it reads at 3.7:1.
    QTest::newRow("Fusion's light blue") << QColor(48, 140, 198) << QColor(Qt::white) << false;
    QTest::newRow("dark blue already reads") << QColor(61, 111, 180) << QColor(Qt::white) << true;
    QTest::newRow("pale selection under black text")
        << QColor(90, 90, 90) << QColor(Qt::black) << false;
}

void TestContrast::selectionIsMadeReadable()
{
    QFETCH(QColor, highlight);
    QFETCH(QColor, selectedText);
    QFETCH(bool, kept);
    QPalette palette;
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, selectedText);
    const QPalette readable = Contrast::withReadableSelection(palette);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        const QColor shifted = readable.color(group, QPalette::Highlight);
        QVERIFY(Contrast::ratio(shifted, selectedText) >= Contrast::Minimum);
        QCOMPARE(shifted == highlight, kept);
        // Same hue, only lighter or darker.
        QVERIFY(qAbs(shifted.hsvHue() - highlight.hsvHue()) <= 2);
    }
    QCOMPARE(readable.color(QPalette::Window), palette.color(QPalette::Window));
}

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
