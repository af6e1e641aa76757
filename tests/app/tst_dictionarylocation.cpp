#include "DictionaryLocation.h"

#include <QtTest>

using Action = DictionaryLocation::Action;
Q_DECLARE_METATYPE(DictionaryLocation::Action)

namespace {

const QString Beside = QStringLiteral("/opt/somnilex/bin/dream.dll");
const QString Installed = QStringLiteral("/opt/somnilex/share/somnilex/dream.dll");
const QString Copy = QStringLiteral("/home/ann/.local/share/somnilex/dream.dll");
const QString Unwritable
    = QStringLiteral("The folder /home/ann/.local/share/somnilex could not be made.");

} // namespace

class TestDictionaryLocation : public QObject
{
    Q_OBJECT
private slots:
    void decides_data();
    void decides();
    void decidesOnDamage_data();
    void decidesOnDamage();
};

void TestDictionaryLocation::decides_data()
{
    QTest::addColumn<bool>("beside"); // dream.dll beside the executable
    QTest::addColumn<QString>("installed"); // where the installed dictionary is; empty: nowhere
    QTest::addColumn<QString>("installedStamp");
    QTest::addColumn<bool>("copy"); // the user's copy
    QTest::addColumn<QString>("copyStamp"); // the installed stamp the copy came from
    QTest::addColumn<QString>("problem"); // why the user's folder cannot be written
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("dictionary");
    QTest::addColumn<QStringList>("message"); // what the message says; empty: no message

    const QStringList none;
    QTest::newRow("portable") << true << QString() << "" << false << ""
                              << "" << Action::UseBesideExecutable << Beside << none;
    QTest::newRow("portable beside an install")
        << true << Installed << "v2" << true << "v1"
        << "" << Action::UseBesideExecutable << Beside << none;
    QTest::newRow("first start") << false << Installed << "v2" << false << ""
                                 << "" << Action::CopyInstalled << Copy << none;
    QTest::newRow("unchanged") << false << Installed << "v2" << true << "v2"
                               << "" << Action::UseUserCopy << Copy << none;
    QTest::newRow("upgraded") << false << Installed << "v2" << true << "v1"
                              << "" << Action::MergeInstalled << Copy << none;
    QTest::newRow("copy of unknown origin") << false << Installed << "v2" << true << ""
                                            << "" << Action::MergeInstalled << Copy << none;
    QTest::newRow("installed file unreadable") << false << Installed << "" << true << ""
                                               << "" << Action::MergeInstalled << Copy << none;
    QTest::newRow("installed file missing")
        << false << QString() << "" << false << ""
        << "" << Action::Missing << Beside
        << QStringList { "dream.dll was not found", Beside, Installed };
    QTest::newRow("installed file missing, copy kept") << false << QString() << "" << true << "v1"
                                                       << "" << Action::UseUserCopy << Copy << none;
    QTest::newRow("installed into the user's data folder")
        << false << Copy << "v2" << true << ""
        << "" << Action::UseUserCopy << Copy << none;
    QTest::newRow("unwritable data folder")
        << false << Installed << "v2" << false << "" << Unwritable << Action::UseInstalled
        << Installed
        << QStringList { "copy of the dictionary could not be made", Unwritable,
               "File > Update cannot add to it" };
    QTest::newRow("unwritable data folder, upgraded")
        << false << Installed << "v2" << true << "v1" << Unwritable << Action::UseUserCopy << Copy
        << QStringList { "new symbols of the installed dictionary could not be added", Unwritable,
               "shows your copy as it is" };
    QTest::newRow("unwritable data folder, unchanged")
        << false << Installed << "v2" << true << "v2" << Unwritable << Action::UseUserCopy << Copy
        << none;
}

void TestDictionaryLocation::decides()
{
    QFETCH(bool, beside);
    QFETCH(QString, installed);
    QFETCH(QString, installedStamp);
    QFETCH(bool, copy);
    QFETCH(QString, copyStamp);
    QFETCH(QString, problem);
    QFETCH(Action, action);
    QFETCH(QString, dictionary);
    QFETCH(QStringList, message);

    DictionaryLocation::Facts facts;
    facts.besideExecutable = Beside;
    facts.besideExecutableExists = beside;
    facts.installed = installed.isEmpty() ? Installed : installed;
    facts.installedExists = !installed.isEmpty();
    facts.installedStamp = installedStamp;
    facts.userCopy = Copy;
    facts.userCopyExists = copy;
    facts.userCopyStamp = copyStamp;
    facts.userFolderProblem = problem;

    const DictionaryLocation::Plan plan = DictionaryLocation::decide(facts);
    QCOMPARE(plan.action, action);
    QCOMPARE(plan.dictionary, dictionary);
    if (message.isEmpty())
        QVERIFY2(plan.message.isEmpty(), qPrintable(plan.message));
    for (const QString &part : message)
        QVERIFY2(plan.message.contains(part), qPrintable(plan.message));
}

void TestDictionaryLocation::decidesOnDamage_data()
{
    QTest::addColumn<QString>("installedProblem"); // why the installed one cannot be read
    QTest::addColumn<bool>("installedDamaged");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<QString>("copyStamp");
    QTest::addColumn<QString>("copyDamage"); // why the copy does not open
    QTest::addColumn<QString>("problem"); // why the user's folder cannot be written
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("dictionary");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("message"); // what the message says; empty: no message

    const QString noise = QStringLiteral("The file %1 is not a dictionary database.");
    const QString broken = noise.arg(Installed), spoiled = noise.arg(Copy), no;
    const QString locked = "The dictionary file " + Installed + " is locked by another program.";
    const QString isDamaged = "installed dictionary " + Installed + " is damaged";
    const QStringList none;
    QTest::newRow("first start, installed damaged")
        << broken << true << false << no << no << no << Action::Unreadable << Installed << false
        << QStringList { isDamaged, broken, "no symbols to show", "Installing Somnilex again" };
    QTest::newRow("first start, installed unreadable")
        << locked << false << false << no << no << no << Action::Unreadable << Installed << false
        << QStringList { "installed dictionary " + Installed + " could not be read", locked };
    QTest::newRow("upgrade to a damaged install")
        << broken << true << true << "v1" << no << no << Action::UseUserCopy << Copy << true
        << QStringList { isDamaged, broken, "new symbols were not added", "your copy as it is" };
    QTest::newRow("unchanged, copy opens")
        << no << false << true << "v2" << no << no << Action::UseUserCopy << Copy << true << none;
    QTest::newRow("copy does not open") << no << false << true << "v2" << spoiled << no
                                        << Action::ReplaceUserCopy << Copy << true << none;
    QTest::newRow("copy taken from a damaged install does not open")
        << no << false << true << "v0" << spoiled << no << Action::ReplaceUserCopy << Copy << true
        << none;
    QTest::newRow("copy does not open, installed damaged")
        << broken << true << true << "v1" << spoiled << no << Action::Unreadable << Copy << false
        << QStringList { "Your copy of the dictionary " + Copy + " does not open", isDamaged,
               broken, spoiled, "your copy is kept as it is" };
    QTest::newRow("copy does not open, unwritable data folder")
        << no << false << true << "v2" << spoiled << Unwritable << Action::UseInstalled << Installed
        << true
        << QStringList { Copy + " does not open, and a new one could not be made", spoiled,
               Unwritable, "shows the installed dictionary" };
}

void TestDictionaryLocation::decidesOnDamage()
{
    QFETCH(QString, installedProblem);
    QFETCH(bool, installedDamaged);
    QFETCH(bool, copy);
    QFETCH(QString, copyStamp);
    QFETCH(QString, copyDamage);
    QFETCH(QString, problem);
    QFETCH(Action, action);
    QFETCH(QString, dictionary);
    QFETCH(bool, readable);
    QFETCH(QStringList, message);

    DictionaryLocation::Facts facts;
    facts.besideExecutable = Beside;
    facts.installed = Installed;
    facts.installedExists = true;
    facts.installedStamp = QStringLiteral("v2");
    facts.installedProblem = installedProblem;
    facts.installedDamaged = installedDamaged;
    facts.userCopy = Copy;
    facts.userCopyExists = copy;
    facts.userCopyStamp = copyStamp;
    facts.userCopyDamage = copyDamage;
    facts.userFolderProblem = problem;

    const DictionaryLocation::Plan plan = DictionaryLocation::decide(facts);
    QCOMPARE(plan.action, action);
    QCOMPARE(plan.dictionary, dictionary);
    QCOMPARE(plan.readable, readable);
    if (message.isEmpty())
        QVERIFY2(plan.message.isEmpty(), qPrintable(plan.message));
    for (const QString &part : message)
        QVERIFY2(plan.message.contains(part), qPrintable(plan.message));
}

QTEST_GUILESS_MAIN(TestDictionaryLocation)
#include "tst_dictionarylocation.moc"
