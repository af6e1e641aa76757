#include "StartupTrace.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QWindow>
#include <QtTest>

namespace {

// The moments written so far, in order, each line checked to be "moment <milliseconds>".
QStringList momentsIn(const QBuffer &out)
{
    QStringList moments;
    const QString text = QString::fromUtf8(out.data());
    static const QRegularExpression line(QStringLiteral("^([a-z-]+) \\d+$"));
    for (const QString &entry : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(entry);
        if (!match.hasMatch())
            return { QStringLiteral("malformed: ") + entry };
        moments << match.captured(1);
    }
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        moments << QStringLiteral("unterminated");
    return moments;
}

QElapsedTimer started()
{
    QElapsedTimer clock;
    clock.start();
    return clock;
}

} // namespace

class TestStartupTrace : public QObject
{
    Q_OBJECT
private slots:
    void writesEachMomentOnce_data();
    void writesEachMomentOnce();
    void marksTheWindowWhenItIsFirstExposed();
    void marksAnAlreadyExposedWindowAtOnce();
    void noWindowIsHarmless();
    void requestedOnlyByOne_data();
    void requestedOnlyByOne();
};

void TestStartupTrace::writesEachMomentOnce_data()
{
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("nothing") << QStringList {} << QStringList {};
    QTest::newRow("one moment") << QStringList { "mapped" } << QStringList { "mapped" };
    QTest::newRow("repeated moment")
        << QStringList { "list-filled", "list-filled" } << QStringList { "list-filled" };
    QTest::newRow("moments in the order they come")
        << QStringList { "page-loaded", "mapped", "list-filled", "mapped", "page-loaded" }
        << QStringList { "page-loaded", "mapped", "list-filled" };
}

void TestStartupTrace::writesEachMomentOnce()
{
    QFETCH(QStringList, marks);
    QFETCH(QStringList, written);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    StartupTrace trace(started(), &out);
    for (const QString &moment : marks)
        trace.mark(moment);
    QCOMPARE(momentsIn(out), written);
}

void TestStartupTrace::marksTheWindowWhenItIsFirstExposed()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    StartupTrace trace(started(), &out);
    QWindow window;
    window.resize(200, 100);
    trace.markWhenExposed(&window, QStringLiteral("mapped"));
    QCOMPARE(momentsIn(out), QStringList());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(momentsIn(out), QStringList { "mapped" });

    // Shown again, the window is the same window: its first showing was the one that counted.
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    trace.mark(QStringLiteral("page-loaded"));
    QCOMPARE(momentsIn(out), (QStringList { "mapped", "page-loaded" }));
}

void TestStartupTrace::marksAnAlreadyExposedWindowAtOnce()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    StartupTrace trace(started(), &out);
    QWindow window;
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    trace.markWhenExposed(&window, QStringLiteral("mapped"));
    QCOMPARE(momentsIn(out), QStringList { "mapped" });
}

void TestStartupTrace::noWindowIsHarmless()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    StartupTrace trace(started(), &out);
    trace.markWhenExposed(nullptr, QStringLiteral("mapped"));
    {
        // A window that goes away before it is ever shown leaves nothing dangling behind.
        QWindow window;
        trace.markWhenExposed(&window, QStringLiteral("mapped"));
    }
    QWindow later;
    later.resize(200, 100);
    later.show();
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    QCOMPARE(momentsIn(out), QStringList());
}

void TestStartupTrace::requestedOnlyByOne_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("requested");
    QTest::newRow("unset") << QByteArray() << false;
    QTest::newRow("one") << QByteArray("1") << true;
    QTest::newRow("zero") << QByteArray("0") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("word") << QByteArray("yes") << false;
}

void TestStartupTrace::requestedOnlyByOne()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, requested);
    const QByteArray name("SOMNILEX_TRACE_STARTUP");
    if (value.isNull())
        qunsetenv(name.constData());
    else
        qputenv(name.constData(), value);
    QCOMPARE(StartupTrace::requested(), requested);
    qunsetenv(name.constData());
}

QTEST_MAIN(TestStartupTrace)
#include "tst_startuptrace.moc"
