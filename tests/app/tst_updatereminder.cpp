#include "AppConfig.h"
#include "Fakes.h"
#include "QSettingsStore.h"
#include "SettingsCodec.h"
#include "UpdateReminder.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Prompt = QStringLiteral("There maybe an update to this software available\r"
                                      "Do you want to check for an update?");
const QDate Today(2026, 12, 8);

} // namespace

// Records what the store held for "Duration" at the moment a page was opened.
class StoreWatchingLinkOpener : public LinkOpener
{
public:
    explicit StoreWatchingLinkOpener(std::function<QString()> stored)
        : m_stored(std::move(stored))
    { }
    void open(const QString &address) override
    {
        opened << address;
        storedWhenOpened << m_stored();
    }
    QStringList opened;
    QStringList storedWhenOpened;

private:
    std::function<QString()> m_stored;
};

class TestUpdateReminder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void remindsByDistance_data();
    void remindsByDistance();
    void secondStartSameDayIsQuiet();
    void fileHoldsNoPlainText();
    void decision_data();
    void decision();

private:
    QString storedDuration() const;
    void writeRaw(const QString &value);
    QString settingsFile() const;
    void runReminder();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<StoreWatchingLinkOpener> m_links;
    std::unique_ptr<QSettingsStore> m_store;
    AppConfig m_config;
};

void TestUpdateReminder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<QSettingsStore>(m_dir->path());
    m_fakes = std::make_unique<FakeServices>();
    m_fakes->clock.date = Today;
    m_links = std::make_unique<StoreWatchingLinkOpener>([this] { return storedDuration(); });
    m_config = AppConfig::builtIn(m_dir->path(), "somnilex");
}

void TestUpdateReminder::cleanup()
{
    m_links.reset();
    m_fakes.reset();
    m_store.reset();
    m_dir.reset();
}

QString TestUpdateReminder::settingsFile() const
{
    QDirIterator files(m_dir->path(), { "*.conf" }, QDir::Files, QDirIterator::Subdirectories);
    return files.hasNext() ? files.next() : QString();
}

// The decoded "Duration" as the real store holds it, read the way another start would.
QString TestUpdateReminder::storedDuration() const
{
    return DecodeSetting(m_store->get("somnilex", "Settings", EncodeSetting("Duration")));
}

void TestUpdateReminder::writeRaw(const QString &value)
{
    m_store->save("somnilex", "Settings", EncodeSetting("Duration"), value);
}

void TestUpdateReminder::runReminder()
{
    Services services = m_fakes->services();
    services.settings = m_store.get();
    services.links = m_links.get();
    UpdateReminder(m_config, services);
}

void TestUpdateReminder::remindsByDistance_data()
{
    QTest::addColumn<QString>("stored"); // the raw store value; empty: nothing stored
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("afterwards"); // decoded "Duration" after the start

    const auto daysAway = [](int days) { return Today.addDays(days).toString(Qt::ISODate); };
    const QString today = daysAway(0);
    const auto enc = [](const QString &text) { return EncodeSetting(text); };

    QTest::newRow("empty store") << QString() << true << false << today;
    QTest::newRow("same day") << enc(today) << true << false << today;
    QTest::newRow("14 days before") << enc(daysAway(-14)) << true << false << daysAway(-14);
    QTest::newRow("14 days after") << enc(daysAway(14)) << true << false << daysAway(14);
    QTest::newRow("15 days before, No") << enc(daysAway(-15)) << false << true << today;
    QTest::newRow("15 days after, No") << enc(daysAway(15)) << false << true << today;
    QTest::newRow("15 days before, Yes") << enc(daysAway(-15)) << true << true << today;
    QTest::newRow("15 days after, Yes") << enc(daysAway(15)) << true << true << today;
    QTest::newRow("a year before, Yes") << enc(daysAway(-365)) << true << true << today;
    // Values that are not a date count as absent: today is stored and nothing is asked.
    QTest::newRow("locale short date") << enc("12/8/26") << true << false << today;
    QTest::newRow("not a date") << enc("soon") << true << false << today;
    QTest::newRow("impossible date") << enc("2026-02-30") << true << false << today;
    QTest::newRow("not encoded") << today << true << false << today;
}

void TestUpdateReminder::remindsByDistance()
{
    QFETCH(QString, stored);
    QFETCH(bool, answer);
    QFETCH(bool, asks);
    QFETCH(QString, afterwards);
    if (!stored.isEmpty())
        writeRaw(stored);
    m_fakes->prompter.answers = { answer };

    runReminder();

    if (asks) {
        QCOMPARE(m_fakes->prompter.prompts.size(), 1);
        QCOMPARE(m_fakes->prompter.prompts.first().kind, PromptRecord::Question);
        QCOMPARE(m_fakes->prompter.prompts.first().text, Prompt);
    } else {
        QVERIFY(m_fakes->prompter.prompts.isEmpty());
    }
    QCOMPARE(storedDuration(), afterwards);
    if (asks && answer) {
        // The same page as Help > Check for Software Update, opened once today is stored.
        QCOMPARE(m_links->opened,
            QStringList { m_config.MainSiteAddress + "/somnilex/download-somnilex.html" });
        QCOMPARE(m_links->storedWhenOpened, QStringList { afterwards });
    } else {
        QVERIFY(m_links->opened.isEmpty());
    }
}

void TestUpdateReminder::secondStartSameDayIsQuiet()
{
    writeRaw(EncodeSetting(Today.addDays(-30).toString(Qt::ISODate)));
    m_fakes->prompter.answers = { true, true };
    runReminder();
    runReminder();
    QCOMPARE(m_fakes->prompter.prompts.size(), 1);
    QCOMPARE(m_links->opened.size(), 1);

    // A fortnight on it stays quiet; a day later it asks again.
    m_fakes->clock.date = Today.addDays(14);
    runReminder();
    QCOMPARE(m_fakes->prompter.prompts.size(), 1);
    m_fakes->clock.date = Today.addDays(15);
    runReminder();
    QCOMPARE(m_fakes->prompter.prompts.size(), 2);
}

void TestUpdateReminder::fileHoldsNoPlainText()
{
    runReminder();
    const QString path = settingsFile();
    QVERIFY2(!path.isEmpty(), "no settings file written");
    QVERIFY(path.endsWith("/somnilex.conf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("[Settings]"));
    QVERIFY(!content.contains("Duration"));
    QVERIFY(!content.contains("2026"));
    QVERIFY(!content.contains("12-08"));
    QVERIFY(!content.contains("12/8"));
}

// Distances are counted in calendar days, across month ends, leap days and year ends.
void TestUpdateReminder::decision_data()
{
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("action");
    QTest::newRow("over a leap day")
        << QDate(2028, 2, 20) << QDate(2028, 3, 6) << int(ReminderAction::Ask);
    QTest::newRow("over a common February")
        << QDate(2027, 2, 20) << QDate(2027, 3, 6) << int(ReminderAction::Nothing);
    QTest::newRow("over a year end")
        << QDate(2026, 12, 20) << QDate(2027, 1, 4) << int(ReminderAction::Ask);
    QTest::newRow("clock set back a year")
        << QDate(2027, 12, 8) << QDate(2026, 12, 8) << int(ReminderAction::Ask);
}

void TestUpdateReminder::decision()
{
    QFETCH(QDate, stored);
    QFETCH(QDate, today);
    QFETCH(int, action);
    QCOMPARE(int(reminderAction(stored.toString(Qt::ISODate), today)), action);
}

QTEST_GUILESS_MAIN(TestUpdateReminder)
#include "tst_updatereminder.moc"
