// The installed program's start when the dictionary it was installed with is damaged, and the
// start after the package is mended: the damage is told once, nothing of it is taken, and the
// mended dictionary's symbols arrive with the user's own kept.
#include "Application.h"
#include "DreamsTable.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "UserDictionary.h"

#include <QCryptographicHash>
#include <QtTest>

namespace {

const QString Shipped
    = QStringLiteral(SOMNILEX_INSTALL_PREFIX "/" SOMNILEX_INSTALL_DATADIR "/somnilex/dream.dll");

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray damaged(const QByteArray &good, const QString &damage)
{
    if (damage == "cut short")
        return good.left(good.size() / 2);
    if (damage == "empty")
        return {};
    QByteArray noise(good.size(), Qt::Uninitialized);
    for (char &byte : noise)
        byte = char(QRandomGenerator::global()->bounded(256));
    return noise;
}

QStringList keysOf(const std::vector<DictionaryRow> &rows)
{
    QStringList keys;
    for (const DictionaryRow &row : rows)
        keys << row.key;
    return keys;
}

// A prefix of the test's own, laid out as "cmake --install" lays it out, whose dictionary the
// test may spoil and mend; and a user's data folder beside it.
struct Machine
{
    TestFolder root;
    QString bin = root.file("prefix/bin");
    QString installed = root.file("prefix/share/somnilex/dream.dll");
    QString data = root.file("home/.local/share/somnilex");
    QString copy = data + "/dream.dll";
    QString stamp = data + "/dream.dll.installed";

    Machine()
    {
        QDir().mkpath(bin);
        QDir().mkpath(QFileInfo(installed).path());
        QDir().mkpath(data);
    }
};

} // namespace

class TestInstalledDamage : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void damagedThenMended_data();
    void damagedThenMended();

private:
    // Lays out what the user's folder holds before the damaged install; returns the copy's rows.
    std::vector<DictionaryRow> lay(
        const Machine &machine, const QString &history, const QByteArray &broken) const;
    // One start on the damaged install: told once, nothing taken.
    void startsWithTheDamage(const Machine &machine, const AppConfig &config,
        const std::vector<DictionaryRow> &before, bool fresh) const;

    std::vector<DictionaryRow> m_shipped;
};

void TestInstalledDamage::initTestCase()
{
    m_shipped = DictionaryFile::read(Shipped);
    QVERIFY(m_shipped.size() > 1000);
}

void TestInstalledDamage::damagedThenMended_data()
{
    // fresh: no copy yet; upgrade: the copy of an earlier, smaller install with a symbol the
    // user added; left before: the damaged file an earlier version copied and noted as taken.
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("damage");
    for (const char *history : { "fresh", "upgrade", "left before" }) {
        for (const char *damage : { "random bytes", "cut short", "empty" })
            QTest::addRow("%s, %s", history, damage) << QString(history) << QString(damage);
    }
}

std::vector<DictionaryRow> TestInstalledDamage::lay(
    const Machine &machine, const QString &history, const QByteArray &broken) const
{
    std::vector<DictionaryRow> before;
    if (history == "upgrade") {
        before.assign(m_shipped.begin(), m_shipped.end() - 10);
        before.push_back({ "Own dream", "https://example.org/own-dream", DreamsTable::Marker });
        DictionaryFile::write(machine.copy, before);
        writeBytes(machine.stamp, QByteArray(64, '0') + '\n');
    } else if (history == "left before") {
        writeBytes(machine.copy, broken);
        writeBytes(machine.stamp,
            QCryptographicHash::hash(broken, QCryptographicHash::Sha256).toHex() + '\n');
    }
    return before;
}

void TestInstalledDamage::startsWithTheDamage(const Machine &machine, const AppConfig &config,
    const std::vector<DictionaryRow> &before, bool fresh) const
{
    const QByteArray stampBefore = bytesOf(machine.stamp);
    FakeServices fakes;
    Application app(config, fakes.services());
    app.StartApplication();
    QVERIFY(app.mainWindow() && app.mainWindow()->isVisible());
    QCOMPARE(fakes.prompter.prompts.size(), 1);
    const QString message = fakes.prompter.prompts.first().text;
    QVERIFY2(message.contains("installed dictionary " + machine.installed + " is damaged"),
        qPrintable(message));
    QCOMPARE(app.mainWindow()->findChild<KeywordListModel *>("keywords")->keys(), keysOf(before));
    QCOMPARE(bytesOf(machine.stamp), stampBefore);
    if (fresh)
        QVERIFY(!QFileInfo::exists(machine.copy));
}

void TestInstalledDamage::damagedThenMended()
{
    QFETCH(QString, history);
    QFETCH(QString, damage);
    Machine machine;
    const QByteArray broken = damaged(bytesOf(Shipped), damage);
    writeBytes(machine.installed, broken);
    const std::vector<DictionaryRow> before = lay(machine, history, broken);
    AppConfig config = AppConfig::builtIn(machine.bin, QStringLiteral("somnilex"));
    config.userDataDir = machine.data;

    startsWithTheDamage(machine, config, before, history == "fresh");
    if (QTest::currentTestFailed())
        return;

    // The package mended.
    QVERIFY(QFile::remove(machine.installed));
    QVERIFY(QFile::copy(Shipped, machine.installed));
    FakeServices fakes;
    Application app(config, fakes.services());
    app.StartApplication();

    std::vector<DictionaryRow> expected = m_shipped;
    if (history == "upgrade") {
        expected = before;
        expected.insert(expected.end(), m_shipped.end() - 10, m_shipped.end());
    }
    QCOMPARE(DictionaryFile::read(machine.copy), expected);
    QCOMPARE(app.mainWindow()->findChild<KeywordListModel *>("keywords")->keys(), keysOf(expected));
    QCOMPARE(UserDictionary(machine.bin, machine.data, fakes.clock.date).facts().userCopyStamp,
        UserDictionary::stampOf(Shipped));
    if (history != "left before") {
        QCOMPARE(fakes.prompter.texts(), QStringList());
        return;
    }
    // The copy that never opened is kept, dated, and the one message says where.
    const QString aside = machine.copy + ".damaged-" + fakes.clock.date.toString(Qt::ISODate);
    QCOMPARE(fakes.prompter.prompts.size(), 1);
    QVERIFY2(fakes.prompter.prompts.first().text.contains(aside), qPrintable(aside));
    QCOMPARE(bytesOf(aside), broken);
}

QTEST_MAIN(TestInstalledDamage)
#include "tst_installeddamage.moc"
