#include "LookupCase.h"

using namespace DreamTable;
using namespace LookupDecisions;
using namespace LookupCase;

class TestLookupFailures : public QObject
{
    Q_OBJECT
private slots:
    void unreadableDictionaryIsReportedOnce_data();
    void unreadableDictionaryIsReportedOnce();
    void webSearchDoesNotNeedTheDictionary_data();
    void webSearchDoesNotNeedTheDictionary();
    void doubleClickSkipsDictionaryFailures_data();
    void doubleClickSkipsDictionaryFailures();
    void tableWithoutAColumn_data();
    void tableWithoutAColumn();
};

void TestLookupFailures::unreadableDictionaryIsReportedOnce_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<TableRows::Fault>("fault");

    const auto missing = TableRows::Fault::Missing;
    const auto garbled = TableRows::Fault::Garbled;
    QTest::newRow("buttonExactMissing")
        << Command::SearchButton << SearchMode::Exact << "snake" << missing;
    QTest::newRow("buttonWildcardGarbled")
        << Command::SearchButton << SearchMode::WildCard << "sn*" << garbled;
    QTest::newRow("enterExactGarbled")
        << Command::EnterKey << SearchMode::Exact << "snake" << garbled;
    QTest::newRow("enterEmptyBoxMissing")
        << Command::EnterKey << SearchMode::Exact << "" << missing;
    QTest::newRow("enterWildcardMissing")
        << Command::EnterKey << SearchMode::WildCard << "*" << missing;
    QTest::newRow("displaySelectedGarbled")
        << Command::DisplayButton << SearchMode::Exact << "Snake" << garbled;
    QTest::newRow("displayEmptyBoxMissing")
        << Command::DisplayButton << SearchMode::Exact << "" << missing;
}

// The list, the search box, the panes and CurrentTerm stay as they were; the one failure
// reported names the file.
void TestLookupFailures::unreadableDictionaryIsReportedOnce()
{
    QFETCH(Command, command);
    QFETCH(SearchMode, mode);
    QFETCH(QString, typed);
    QFETCH(TableRows::Fault, fault);

    TableRows rows(fault);
    const LookupInput input = inputFor(mode, typed, ListState::Narrowed, 0);
    const Shown shown = shownAfter(decide(command, input, rows), input, ListState::Narrowed);

    QVERIFY2(shown.failure.contains(TableRows::Path), qPrintable(shown.failure));
    QCOMPARE(shown.messages, QStringList());
    QCOMPARE(shown.keys, Narrowed);
    QCOMPARE(shown.text, typed);
    QVERIFY(shown.panes.isEmpty());
    QCOMPARE(shown.currentTerm, Untouched);
}

void TestLookupFailures::webSearchDoesNotNeedTheDictionary_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("searchButton") << Command::SearchButton;
    QTest::newRow("enterKey") << Command::EnterKey;
    QTest::newRow("displayButton") << Command::DisplayButton;
}

void TestLookupFailures::webSearchDoesNotNeedTheDictionary()
{
    QFETCH(Command, command);
    TableRows rows(TableRows::Fault::Missing);
    const LookupInput input
        = inputFor(SearchMode::Web, QStringLiteral("snake"), ListState::Narrowed);
    const Shown shown = shownAfter(decide(command, input, rows), input, ListState::Narrowed);

    QVERIFY(!rows.opened);
    QCOMPARE(shown.failure, QString());
    QVERIFY(shown.messages.isEmpty());
    QCOMPARE(shown.panes, WebSearch);
    QVERIFY(shown.browserOpen);
    QCOMPARE(shown.keys, Narrowed);
}

void TestLookupFailures::doubleClickSkipsDictionaryFailures_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("currentTerm");
    QTest::newRow("keyword") << 0 << "Snake";
    // Copying the blank keyword into the box sets off a restore, which fails too.
    QTest::newRow("blankKeyword") << 4 << "";
}

// Without the dictionary the double-click goes on with the listed term, and says nothing.
void TestLookupFailures::doubleClickSkipsDictionaryFailures()
{
    QFETCH(int, row);
    QFETCH(QString, currentTerm);

    TableRows rows(TableRows::Fault::Missing);
    const LookupInput input
        = inputFor(SearchMode::Exact, QStringLiteral("x"), ListState::Full, row);
    const Shown shown
        = shownAfter(decide(Command::DoubleClick, input, rows), input, ListState::Full);

    QCOMPARE(shown.failure, QString());
    QVERIFY(shown.messages.isEmpty());
    QCOMPARE(shown.keys, fullList());
    QCOMPARE(shown.text, fullList().at(row));
    QCOMPARE(shown.currentTerm, currentTerm);
    QCOMPARE(shown.panes, displayed(currentTerm));
}

void TestLookupFailures::tableWithoutAColumn_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<TableRows::Fault>("fault");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QString>("currentTerm");
    QTest::addColumn<QStringList>("panes");

    const auto full = ListState::Full;
    const auto narrowed = ListState::Narrowed;
    const auto noKey = TableRows::Fault::NoKey;
    const auto noLink = TableRows::Fault::NoLink;
    const QStringList none;

    // A command that fails says so once and leaves the search box and CurrentTerm alone.
    QTest::newRow("searchButtonWildcardNoKey")
        << Command::SearchButton << SearchMode::WildCard << narrowed << -1 << noKey << "apple"
        << Untouched << none;
    QTest::newRow("searchButtonExactNoLink")
        << Command::SearchButton << SearchMode::Exact << narrowed << -1 << noLink << "apple"
        << Untouched << none;
    QTest::newRow("enterWildcardNoKey") << Command::EnterKey << SearchMode::WildCard << narrowed
                                        << -1 << noKey << "apple" << Untouched << none;
    QTest::newRow("enterExactNoKey") << Command::EnterKey << SearchMode::Exact << narrowed << -1
                                     << noKey << "apple" << Untouched << none;
    QTest::newRow("displayNoKey") << Command::DisplayButton << SearchMode::Exact << full << 0
                                  << noKey << "apple" << Untouched << none;
    QTest::newRow("displayNoLink") << Command::DisplayButton << SearchMode::Exact << full << 0
                                   << noLink << "apple" << Untouched << none;
    QTest::newRow("displayBlankKeywordNoKey") << Command::DisplayButton << SearchMode::Exact << full
                                              << 4 << noKey << "apple" << Untouched << none;
    // The double-click skips the scan that fails and goes on with the listed term, silently.
    QTest::newRow("doubleClickNoKey")
        << Command::DoubleClick << SearchMode::Exact << full << 0 << noKey << "Snake"
        << "Snake" << displayed("Snake");
    QTest::newRow("doubleClickNoLink")
        << Command::DoubleClick << SearchMode::Exact << full << 3 << noLink << "Rattlesnake"
        << "Rattlesnake" << displayed("Rattlesnake");
}

void TestLookupFailures::tableWithoutAColumn()
{
    QFETCH(Command, command);
    QFETCH(SearchMode, mode);
    QFETCH(ListState, list);
    QFETCH(int, selectedRow);
    QFETCH(TableRows::Fault, fault);
    QFETCH(QString, shownText);
    QFETCH(QString, currentTerm);
    QFETCH(QStringList, panes);

    TableRows rows(fault);
    const LookupInput input = inputFor(mode, QStringLiteral("apple"), list, selectedRow);
    const Shown shown = shownAfter(decide(command, input, rows), input, list);

    QCOMPARE(shown.text, shownText);
    QCOMPARE(shown.currentTerm, currentTerm);
    QCOMPARE(shown.panes, panes);
    QCOMPARE(shown.keys, listed(list));
    QVERIFY(shown.messages.isEmpty());
    if (command == Command::DoubleClick) {
        QCOMPARE(shown.failure, QString());
    } else {
        // It names the file and the column.
        QString text = shown.failure;
        QVERIFY2(text.contains(TableRows::Path), qPrintable(text));
        const QString missing
            = fault == TableRows::Fault::NoKey ? QStringLiteral("Key") : QStringLiteral("Link");
        QVERIFY2(text.remove(TableRows::Path).contains(missing), qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(TestLookupFailures)
#include "tst_lookupfailures.moc"
