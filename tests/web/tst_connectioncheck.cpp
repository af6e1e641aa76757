#include "AppState.h"
#include "CheckOnline.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "MDI.h"
#include "TestDictionary.h"

#include <QtTest>

namespace {

// Notes how full the keyword list was when the question came.
class WatchingProbe : public ConnectionProbe
{
public:
    bool isOnline() override
    {
        keysWhenAsked << (list ? int(list->count()) : -1);
        return true;
    }
    KeywordListModel *list = nullptr;
    QList<int> keysWhenAsked;
};

} // namespace

class TestConnectionCheck : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void setsOneOrZero_data();
    void setsOneOrZero();
    void comesFirstInTheMainWindowsLoad();
};

void TestConnectionCheck::setsOneOrZero_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<qint32>("before");
    QTest::addColumn<qint32>("after");
    QTest::newRow("connected") << true << 0 << 1;
    QTest::newRow("not connected") << false << 0 << 0;
    QTest::newRow("connected, stale flags") << true << 0x40 << 1;
    QTest::newRow("not connected, stale flags") << false << 0x41 << 0;
    QTest::newRow("not connected, stale 1") << false << 1 << 0;
}

void TestConnectionCheck::setsOneOrZero()
{
    QFETCH(bool, connected);
    QFETCH(qint32, before);
    FakeConnectionProbe probe;
    probe.online = connected;
    AppState state;
    state.IsOnline = before;
    modHelp::CheckOnline(probe, state);
    QTEST(state.IsOnline, "after");
    QCOMPARE(probe.asked, 1);
}

void TestConnectionCheck::comesFirstInTheMainWindowsLoad()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    FakeServices fakes;
    WatchingProbe probe;
    Services services = fakes.services();
    services.connection = &probe;
    AppState state;
    DictionaryCache dictionary;
    const AppConfig config = AppConfig::builtIn(folder.path(), "somnilex");
    MDI window(config, services, state, dictionary);
    probe.list = window.findChild<KeywordListModel *>("keywords");
    QCOMPARE(state.IsOnline, 0);

    window.MDIForm_Load();
    QCOMPARE(probe.keysWhenAsked, QList<int> { 0 });
    QCOMPARE(window.findChild<KeywordListModel *>("keywords")->count(), 2);
    QCOMPARE(state.IsOnline, 1);
}

QTEST_MAIN(TestConnectionCheck)
#include "DictionaryCache.h"
#include "tst_connectioncheck.moc"
