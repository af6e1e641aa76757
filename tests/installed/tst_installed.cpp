// The program as installed into a prefix by "cmake --install": its files, its start with a
// fresh user, and where its dictionary is read and written.
#include "Application.h"
#include "DreamsTable.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "UpdateCommand.h"
#include "UserDictionary.h"
#include "frmPB.h"

#include <QAction>
#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>

namespace {

const QString Prefix = QStringLiteral(SOMNILEX_INSTALL_PREFIX);
const QString Bin = Prefix + QStringLiteral("/" SOMNILEX_INSTALL_BINDIR);
const QString Share = Prefix + QStringLiteral("/" SOMNILEX_INSTALL_DATADIR);
const QString Dictionary = Share + QStringLiteral("/somnilex/dream.dll");
const QString UpdateSample = Share + QStringLiteral("/somnilex/update-sample.dll");
// The day a copy that does not open would be dated with; no test here sets one aside.
const QDate Today(2026, 12, 8);

QByteArray sha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

QStringList keysOf(const std::vector<DictionaryRow> &rows)
{
    QStringList keys;
    for (const DictionaryRow &row : rows)
        keys << row.key;
    return keys;
}

// A user who has never run the program: an empty home with the XDG folders in it.
struct FreshUser
{
    TestFolder home;
    QString data = home.file(".local/share");
    QString appData = data + QStringLiteral("/somnilex");
    QString copy = appData + QStringLiteral("/dream.dll");
};

} // namespace

class TestInstalled : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void installsTheLayout_data();
    void installsTheLayout();
    void startsWithTheShippedKeywords();
    void updateWritesTheUserCopyOnly();
    void newerInstalledDictionaryMergesIntoTheCopy();
    void installedProgramMakesTheUserCopy();

private:
    std::unique_ptr<Application> start(const FreshUser &user, FakeServices &fakes) const;

    QByteArray m_dictionarySha;
    std::vector<DictionaryRow> m_shipped;
};

void TestInstalled::initTestCase()
{
    m_dictionarySha = sha256(Dictionary);
    QVERIFY2(!m_dictionarySha.isEmpty(), qPrintable(Dictionary));
    m_shipped = DictionaryFile::read(Dictionary);
    QVERIFY(m_shipped.size() > 1000);
}

void TestInstalled::installsTheLayout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    const QString id = QStringLiteral("org.somnilex.Somnilex");
    QTest::newRow("program") << Bin + "/somnilex" << true;
    QTest::newRow("tool") << Bin + "/somnilex-dict" << true;
    QTest::newRow("dictionary") << Dictionary << false;
    QTest::newRow("update sample") << UpdateSample << false;
    QTest::newRow("launcher") << Share + "/applications/" + id + ".desktop" << false;
    QTest::newRow("metainfo") << Share + "/metainfo/" + id + ".metainfo.xml" << false;
    QTest::newRow("scalable icon")
        << Share + "/icons/hicolor/scalable/apps/" + id + ".svg" << false;
    for (int size : { 16, 32, 48, 256 }) {
        QTest::addRow("%dpx icon", size)
            << Share + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + id + ".png"
            << false;
    }
    QTest::newRow("tool manual") << Prefix + "/" SOMNILEX_INSTALL_MANDIR "/man1/somnilex-dict.1.gz"
                                 << false;
    QTest::newRow("program manual")
        << Prefix + "/" SOMNILEX_INSTALL_MANDIR "/man1/somnilex.1.gz" << false;
    QTest::newRow("copyright") << Share + "/doc/somnilex/copyright" << false;
}

void TestInstalled::installsTheLayout()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo file(path);
    QVERIFY2(file.isFile() && file.size() > 0, qPrintable(path));
    QCOMPARE(file.isExecutable(), executable);
}

std::unique_ptr<Application> TestInstalled::start(const FreshUser &user, FakeServices &fakes) const
{
    AppConfig config = AppConfig::builtIn(Bin, QStringLiteral("somnilex"));
    config.userDataDir = user.appData;
    auto app = std::make_unique<Application>(config, fakes.services());
    app->StartApplication();
    return app;
}

void TestInstalled::startsWithTheShippedKeywords()
{
    FreshUser user;
    FakeServices fakes;
    const auto app = start(user, fakes);

    QVERIFY(app->mainWindow() && app->mainWindow()->isVisible());
    QCOMPARE(
        app->mainWindow()->findChild<KeywordListModel *>("keywords")->keys(), keysOf(m_shipped));
    QCOMPARE(app->config().dictionaryPath(), user.copy);
    QCOMPARE(DictionaryFile::read(user.copy), m_shipped);
    QCOMPARE(fakes.prompter.texts(), QStringList());
    QCOMPARE(sha256(Dictionary), m_dictionarySha);
}

void TestInstalled::updateWritesTheUserCopyOnly()
{
    FreshUser user;
    FakeServices fakes;
    const auto app = start(user, fakes);
    MDI *window = app->mainWindow();
    auto *command = window->findChild<UpdateCommand *>();
    QVERIFY(command);
    // The progress window's ticks, run from inside its own modal loop.
    connect(command, &UpdateCommand::progressWindowOpening, this, [](frmPB *progress) {
        QTimer::singleShot(0, progress, [progress] {
            while (progress->isVisible())
                progress->Timer1_Timer();
        });
    });
    fakes.files.path = UpdateSample;
    const QByteArray sampleSha = sha256(UpdateSample);

    window->findChild<QAction *>("mnuUpdate")->trigger();

    QCOMPARE(fakes.prompter.texts(),
        QStringList(
            { QStringLiteral("Somnilex Successfully Updated\rPlease restart dictionary ") }));
    std::vector<DictionaryRow> expected = m_shipped;
    for (const DictionaryRow &row : DictionaryFile::read(UpdateSample))
        expected.push_back(row);
    QCOMPARE(DictionaryFile::read(user.copy), expected);
    QCOMPARE(sha256(Dictionary), m_dictionarySha);
    QCOMPARE(sha256(UpdateSample), sampleSha);
}

void TestInstalled::newerInstalledDictionaryMergesIntoTheCopy()
{
    // The copy an earlier, smaller install left: its symbols but the last ten, and one the
    // user added by an update since.
    FreshUser user;
    QVERIFY(QDir().mkpath(user.appData));
    std::vector<DictionaryRow> older(m_shipped.begin(), m_shipped.end() - 10);
    const DictionaryRow own { "Own dream", "https://example.org/own-dream", DreamsTable::Marker };
    older.push_back(own);
    DictionaryFile::write(user.copy, older);
    QFile stamp(UserDictionary(Bin, user.appData, Today).stampPath());
    QVERIFY(stamp.open(QIODevice::WriteOnly));
    stamp.write(QByteArray(64, '0') + '\n');
    stamp.close();

    FakeServices fakes;
    const auto app = start(user, fakes);

    std::vector<DictionaryRow> expected = older;
    expected.insert(expected.end(), m_shipped.end() - 10, m_shipped.end());
    QCOMPARE(DictionaryFile::read(user.copy), expected);
    QCOMPARE(
        app->mainWindow()->findChild<KeywordListModel *>("keywords")->keys(), keysOf(expected));
    QCOMPARE(fakes.prompter.texts(), QStringList());
    QCOMPARE(UserDictionary(Bin, user.appData, Today).facts().userCopyStamp,
        QString::fromLatin1(m_dictionarySha));
    QCOMPARE(sha256(Dictionary), m_dictionarySha);
}

void TestInstalled::installedProgramMakesTheUserCopy()
{
    FreshUser user;
    const QString runtime = user.home.file("run");
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QFile::setPermissions(
        runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", user.home.path());
    environment.insert("XDG_DATA_HOME", user.data);
    environment.insert("XDG_CONFIG_HOME", user.home.file(".config"));
    environment.insert("XDG_CACHE_HOME", user.home.file(".cache"));
    environment.insert("XDG_RUNTIME_DIR", runtime);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(Bin + "/somnilex", {});
    QVERIFY(program.waitForStarted());

    // The stamp is written once the copy is whole.
    const QString stamp = UserDictionary(Bin, user.appData, Today).stampPath();
    QTRY_VERIFY_WITH_TIMEOUT(
        QFileInfo::exists(stamp) || program.state() != QProcess::Running, 60000);
    QCOMPARE(program.state(), QProcess::Running);
    QCOMPARE(DictionaryFile::read(user.copy), m_shipped);
    QCOMPARE(UserDictionary(Bin, user.appData, Today).facts().userCopyStamp,
        QString::fromLatin1(m_dictionarySha));
    program.kill();
    program.waitForFinished();
    QCOMPARE(sha256(Dictionary), m_dictionarySha);
}

QTEST_MAIN(TestInstalled)
#include "tst_installed.moc"
