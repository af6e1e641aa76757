#include "DreamTable.h"
#include "LookupDecisions.h"
#include "PaneHost.h"
#include "RecordingPaneHost.h"
#include "TableRows.h"

#include <QtTest>

using namespace DreamTable;
using namespace LookupDecisions;

namespace {

enum class Command { SearchButton, EnterKey, DisplayButton, DoubleClick };

DisplayOutcome decide(Command command, const LookupInput &input, DreamRows &rows)
{
    DisplayOutcome outcome;
    SearchOutcome &searched = outcome;
    switch (command) {
    case Command::SearchButton:
        searched = LookupDecisions::search(SearchTrigger::SearchButton, input, rows);
        break;
    case Command::EnterKey:
        searched = LookupDecisions::search(SearchTrigger::EnterKey, input, rows);
        break;
    case Command::DisplayButton:
        outcome = LookupDecisions::display(DisplayTrigger::DisplayButton, input, rows);
        break;
    case Command::DoubleClick:
        outcome = LookupDecisions::display(DisplayTrigger::DoubleClick, input, rows);
        break;
    }
    return outcome;
}

// What the controls show as a case starts: the list in one of its states, and one of its rows
// selected (or none, for -1).
LookupInput inputFor(SearchMode mode, const QString &typed, ListState list, int selectedRow = -1)
{
    const QStringList keys = listed(list);
    LookupInput input { mode, typed, std::nullopt, keys.size() };
    if (selectedRow >= 0)
        input.selected = keys.at(selectedRow);
    return input;
}

// What the window shows once an outcome is applied to it as it was before.
struct Shown
{
    QString text;
    QStringList keys;
    QStringList messages;
    QString failure;
    QStringList panes;
    bool browserOpen = false;
    QString searchTerm; // what the browser window was opened to search for
    QString currentTerm;
};

Shown shownAfter(const DisplayOutcome &outcome, const LookupInput &before, ListState list)
{
    Shown shown;
    shown.text = outcome.searchText.value_or(before.typed);
    shown.keys = outcome.keys.value_or(listed(list));
    if (!outcome.message.isEmpty())
        shown.messages << outcome.message;
    shown.failure = outcome.failure;
    RecordingPaneHost panes;
    sendPaneCalls(outcome.panes, panes);
    shown.panes = panes.calls;
    shown.browserOpen = panes.browserOpen;
    shown.searchTerm = panes.searchTerm;
    shown.currentTerm = outcome.currentTerm.value_or(Untouched);
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(SearchMode)
Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(ListState)
Q_DECLARE_METATYPE(TableRows::Fault)

class TestLookupDecisions : public QObject
{
    Q_OBJECT
private slots:
    void fill_data();
    void fill();
    void restore_data();
    void restore();
    void search_data();
    void search();
    void display_data();
    void display();
    void notFoundTextKeepsItsLoneCarriageReturn();
    void unreadableDictionaryIsReportedOnce_data();
    void unreadableDictionaryIsReportedOnce();
    void webSearchDoesNotNeedTheDictionary_data();
    void webSearchDoesNotNeedTheDictionary();
    void doubleClickSkipsDictionaryFailures_data();
    void doubleClickSkipsDictionaryFailures();
    void tableWithoutAColumn_data();
    void tableWithoutAColumn();
};

void TestLookupDecisions::fill_data()
{
    QTest::addColumn<TableRows::Fault>("fault");
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("failureNames");

    using Fault = TableRows::Fault;
    QTest::newRow("everyKeyInTableOrder") << Fault::None << false << fullList() << "";
    QTest::newRow("emptyTable") << Fault::None << true << QStringList() << "";
    QTest::newRow("emptyTableWithoutKey") << Fault::NoKey << true << QStringList() << "";
    QTest::newRow("withoutLink") << Fault::NoLink << false << fullList() << "";
    QTest::newRow("withoutKey") << Fault::NoKey << false << Narrowed << "Key";
    QTest::newRow("missingFile") << Fault::Missing << false << Narrowed << TableRows::Path;
}

// Applied to a list that shows one keyword.
void TestLookupDecisions::fill()
{
    QFETCH(TableRows::Fault, fault);
    QFETCH(bool, emptyTable);
    QFETCH(QStringList, keys);
    QFETCH(QString, failureNames);

    TableRows rows(fault, emptyTable ? std::vector<Row>() : DreamTable::rows());
    const ListOutcome outcome = LookupDecisions::fill(rows);

    QCOMPARE(outcome.keys.value_or(Narrowed), keys);
    QCOMPARE(outcome.failure.isEmpty(), failureNames.isEmpty());
    QVERIFY2(outcome.failure.contains(failureNames), qPrintable(outcome.failure));
}

void TestLookupDecisions::restore_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<TableRows::Fault>("fault");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("opened");

    using Fault = TableRows::Fault;
    QTest::newRow("wordKeepsTheList") << "snake" << Fault::None << Narrowed << false << false;
    QTest::newRow("spaceAfterAWord") << "snake " << Fault::None << Narrowed << false << false;
    QTest::newRow("emptyBoxListsEveryKey") << "" << Fault::None << fullList() << false << true;
    QTest::newRow("spacesListEveryKey") << "   " << Fault::None << fullList() << false << true;
    QTest::newRow("tabIsNotBlank") << "\t" << Fault::None << Narrowed << false << false;
    QTest::newRow("wordNeedsNoDictionary")
        << "snake" << Fault::Missing << Narrowed << false << false;
    QTest::newRow("blankBoxReportsMissingFile") << "" << Fault::Missing << Narrowed << true << true;
}

void TestLookupDecisions::restore()
{
    QFETCH(QString, typed);
    QFETCH(TableRows::Fault, fault);
    QFETCH(QStringList, keys);
    QFETCH(bool, reported);
    QFETCH(bool, opened);

    TableRows rows(fault);
    const ListOutcome outcome = LookupDecisions::restore(typed, rows);

    QCOMPARE(outcome.keys.value_or(Narrowed), keys);
    QCOMPARE(!outcome.failure.isEmpty(), reported);
    QCOMPARE(rows.opened, opened);
}

void TestLookupDecisions::search_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("panes");
    QTest::addColumn<QString>("currentTerm");

    const auto button = Command::SearchButton;
    const auto enter = Command::EnterKey;
    const QStringList none;
    const QString dottedI = QString(QChar(0x130));

    QTest::newRow("buttonExactTrimsAndKeepsCase")
        << button << SearchMode::Exact << "  Snake " << SnakePrefixed << none
        << QStringList { "navigate " + link("snake") } << Untouched;
    QTest::newRow("buttonEmptyBox") << button << SearchMode::Exact << "" << Narrowed
                                    << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonBlankBox") << button << SearchMode::Exact << "   " << Narrowed
                                    << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonBlankBoxWildcard") << button << SearchMode::WildCard << "  " << Narrowed
                                            << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonEmptyBoxWebSearch") << button << SearchMode::Web << "" << Narrowed
                                             << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonWebSearch")
        << button << SearchMode::Web << "Snake" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("buttonWildcardOnlyStar")
        << button << SearchMode::WildCard << "*" << nonEmptyKeys() << none << none << "";
    QTest::newRow("buttonWildcardStarBetweenLetters")
        << button << SearchMode::WildCard << "C*at" << QStringList { "Cat", "Cat", "big cat" }
        << none << QStringList { "navigate " + link("cat-first") } << "cat";
    QTest::newRow("buttonWildcardTrailingSpace")
        << button << SearchMode::WildCard << "Snake " << QStringList { "SNAKE BITE", "Sea Snake " }
        << none << none << "snake ";
    QTest::newRow("buttonExactNamesNoKeyword")
        << button << SearchMode::Exact << "Rattle" << QStringList { "Rattlesnake" } << none << none
        << Untouched;
    QTest::newRow("buttonExactNotFound") << button << SearchMode::Exact << "zebra" << QStringList()
                                         << QStringList { NotFound } << none << Untouched;
    QTest::newRow("buttonExactStarIsLiteral")
        << button << SearchMode::Exact << "Sn*" << QStringList() << QStringList { NotFound } << none
        << Untouched;
    QTest::newRow("buttonWildcardNotFound")
        << button << SearchMode::WildCard << "zeb*ra" << QStringList() << QStringList { NotFound }
        << none << "zebra";
    QTest::newRow("buttonDuplicateListedTwice")
        << button << SearchMode::Exact << "cat" << QStringList { "Cat", "Cat" } << none
        << QStringList { "navigate " + link("cat-first") } << Untouched;
    QTest::newRow("buttonAccentedCapitals")
        << button << SearchMode::Exact << "ÉCHELLE" << QStringList { "Échelle" } << none
        << QStringList { "navigate " + link("echelle") } << Untouched;
    QTest::newRow("buttonDottedCapitalI")
        << button << SearchMode::Exact << dottedI + "stanbul"
        << QStringList { dottedI + "stanbul Bridge" } << none << none << Untouched;

    QTest::newRow("enterEmptyBoxExact") << enter << SearchMode::Exact << "" << fullList()
                                        << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("enterEmptyBoxWildcard") << enter << SearchMode::WildCard << "" << fullList()
                                           << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("enterEmptyBoxWebSearch")
        << enter << SearchMode::Web << "" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("enterWebSearch")
        << enter << SearchMode::Web << "Snake" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("enterBlankBoxExactListsAll")
        << enter << SearchMode::Exact << "   " << fullList() << none << ShowPane << Untouched;
    QTest::newRow("enterExactShowsWithoutNavigating")
        << enter << SearchMode::Exact << "  Snake " << SnakePrefixed << none << ShowPane
        << Untouched;
    QTest::newRow("enterWildcardOnlyStar")
        << enter << SearchMode::WildCard << "*" << nonEmptyKeys() << none << ShowPane << "";
    QTest::newRow("enterWildcardTrailingSpace")
        << enter << SearchMode::WildCard << "snake " << QStringList { "SNAKE BITE", "Sea Snake " }
        << none << ShowPane << "snake ";
    QTest::newRow("enterWildcardBlankIsNotTrimmed")
        << enter << SearchMode::WildCard << "  " << QStringList() << QStringList { NotFound }
        << none << "  ";
    QTest::newRow("enterNotFound") << enter << SearchMode::Exact << "zebra" << QStringList()
                                   << QStringList { NotFound } << none << Untouched;
}

// Every search starts from a list that shows one keyword, with nothing selected.
void TestLookupDecisions::search()
{
    QFETCH(Command, command);
    QFETCH(SearchMode, mode);
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, panes);
    QFETCH(QString, currentTerm);

    TableRows rows;
    const LookupInput input = inputFor(mode, typed, ListState::Narrowed);
    const Shown shown = shownAfter(decide(command, input, rows), input, ListState::Narrowed);

    QCOMPARE(shown.keys, keys);
    QCOMPARE(shown.messages, prompts);
    QCOMPARE(shown.failure, QString());
    QCOMPARE(shown.panes, panes);
    QCOMPARE(shown.currentTerm, currentTerm);
    QCOMPARE(shown.text, typed);
    if (panes == WebSearch) {
        QVERIFY(shown.browserOpen);
        // The term goes with the call, exactly as typed: nobody reads the box again.
        QCOMPARE(shown.searchTerm, typed);
    }
}

void TestLookupDecisions::display_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("panes");
    QTest::addColumn<QString>("currentTerm");

    const auto button = Command::DisplayButton;
    const auto twice = Command::DoubleClick;
    const auto exact = SearchMode::Exact;
    const auto full = ListState::Full;
    const QStringList none;
    const QString istanbul = QChar(0x130) + QStringLiteral("stanbul Bridge");

    QTest::newRow("displaySelected")
        << button << exact << "Snake" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("displayReplacesTypedText")
        << button << exact << "apple" << full << 3 << "Rattlesnake" << fullList() << none
        << displayed(link("rattlesnake")) << link("rattlesnake");
    QTest::newRow("displayBlankBoxIsNotEmpty")
        << button << exact << "   " << full << 1 << "apple" << fullList() << none
        << displayed(link("apple")) << link("apple");
    QTest::newRow("displayFirstRowInAnyCase")
        << button << SearchMode::WildCard << "x" << full << 12 << "SNAKE" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("displayDuplicateTakesFirst")
        << button << exact << "x" << full << 7 << "Cat" << fullList() << none
        << displayed(link("cat-first")) << link("cat-first");
    QTest::newRow("displayDottedCapitalI")
        << button << exact << "x" << full << 10 << istanbul << fullList() << none
        << displayed(link("istanbul")) << link("istanbul");
    QTest::newRow("displayNoRowGivesLowerCasedTerm")
        << button << exact << "x" << full << 11 << "Sea Snake " << fullList() << none
        << displayed("sea snake") << "sea snake";
    QTest::newRow("displayNothingSelectedKeepsText")
        << button << exact << "Unknown Thing" << full << -1 << "Unknown Thing" << fullList() << none
        << displayed("unknown thing") << "unknown thing";
    QTest::newRow("displayEmptyListNotFound")
        << button << exact << "Zebra" << ListState::Empty << -1 << "Zebra" << QStringList()
        << QStringList { NotFound } << none << "zebra";
    QTest::newRow("displayEmptyBoxRestoresOnce")
        << button << exact << "" << ListState::Narrowed << 0 << "" << fullList()
        << QStringList { EmptyTerm } << none << Untouched;
    // The blank keyword enters the search box, which restores the list, and is looked up.
    QTest::newRow("displayBlankKeywordRestoresTheList")
        << button << exact << "x" << ListState::NarrowedToSpace << 0 << " " << fullList() << none
        << displayed(link("blank")) << link("blank");
    QTest::newRow("displayWebSearch") << button << SearchMode::Web << "Snake" << full << 1
                                      << "Snake" << fullList() << none << WebSearch << Untouched;
    QTest::newRow("displayWebSearchEmptyBox")
        << button << SearchMode::Web << "" << ListState::Narrowed << -1 << "" << Narrowed << none
        << WebSearch << Untouched;

    QTest::newRow("doubleClickSelected")
        << twice << exact << "x" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("doubleClickDottedCapitalI")
        << twice << exact << "x" << full << 10 << istanbul << fullList() << none
        << displayed(link("istanbul")) << link("istanbul");
    QTest::newRow("doubleClickDuplicateTakesFirst")
        << twice << exact << "x" << full << 7 << "Cat" << fullList() << none
        << displayed(link("cat-first")) << link("cat-first");
    QTest::newRow("doubleClickNoRowKeepsListedCase")
        << twice << exact << "x" << full << 11 << "Sea Snake " << fullList() << none
        << displayed("Sea Snake") << "Sea Snake";
    QTest::newRow("doubleClickWebSearchUsesDictionary")
        << twice << SearchMode::Web << "x" << full << 2 << "SNAKE BITE" << fullList() << none
        << displayed(link("snake-bite")) << link("snake-bite");
    QTest::newRow("doubleClickHasNoEmptyBoxTest")
        << twice << exact << "" << full << 5 << "snakeskin" << fullList() << none
        << displayed(link("snakeskin")) << link("snakeskin");
    QTest::newRow("doubleClickBelowTheRows")
        << twice << exact << "Unknown Thing" << full << -1 << "Unknown Thing" << fullList() << none
        << displayed("Unknown Thing") << "Unknown Thing";
    // The blank keyword restores the list as it enters the search box; the double-click still
    // looks up the blank term, whose trimmed form is the empty key.
    QTest::newRow("doubleClickEmptyKeyword")
        << twice << exact << "x" << full << 4 << "" << fullList() << none
        << displayed(link("blank")) << link("blank");
    QTest::newRow("doubleClickSpacesKeyword")
        << twice << exact << "x" << full << 13 << " " << fullList() << none
        << displayed(link("blank")) << link("blank");
    QTest::newRow("doubleClickSpacesKeywordInNarrowedList")
        << twice << exact << "x" << ListState::NarrowedToSpace << 0 << " " << fullList() << none
        << displayed(link("blank")) << link("blank");
    QTest::newRow("doubleClickEmptyListNotFound")
        << twice << exact << "Zebra" << ListState::Empty << -1 << "Zebra" << QStringList()
        << QStringList { NotFound } << none << "Zebra";
}

void TestLookupDecisions::display()
{
    QFETCH(Command, command);
    QFETCH(SearchMode, mode);
    QFETCH(QString, typed);
    QFETCH(ListState, list);
    QFETCH(int, selectedRow);
    QFETCH(QString, shownText);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, panes);
    QFETCH(QString, currentTerm);

    TableRows rows;
    const LookupInput input = inputFor(mode, typed, list, selectedRow);
    const Shown shown = shownAfter(decide(command, input, rows), input, list);

    QCOMPARE(shown.text, shownText);
    QCOMPARE(shown.keys, keys);
    QCOMPARE(shown.messages, prompts);
    QCOMPARE(shown.failure, QString());
    QCOMPARE(shown.panes, panes);
    QCOMPARE(shown.currentTerm, currentTerm);
    if (panes == WebSearch)
        QCOMPARE(shown.searchTerm, typed);
}

void TestLookupDecisions::notFoundTextKeepsItsLoneCarriageReturn()
{
    TableRows rows;
    const LookupInput input
        = inputFor(SearchMode::WildCard, QStringLiteral("qqq"), ListState::Full);
    const QString text = decide(Command::SearchButton, input, rows).message;
    QCOMPARE(text.count(QLatin1Char('\r')), 1);
    QVERIFY(!text.contains(QLatin1Char('\n')));
    QCOMPARE(text.split(QLatin1Char('\r')),
        QStringList({ "Keyword not found - Please search in google",
            "Or write to us so that we can add the term in our dictionary" }));
}

void TestLookupDecisions::unreadableDictionaryIsReportedOnce_data()
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
void TestLookupDecisions::unreadableDictionaryIsReportedOnce()
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

void TestLookupDecisions::webSearchDoesNotNeedTheDictionary_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("searchButton") << Command::SearchButton;
    QTest::newRow("enterKey") << Command::EnterKey;
    QTest::newRow("displayButton") << Command::DisplayButton;
}

void TestLookupDecisions::webSearchDoesNotNeedTheDictionary()
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

void TestLookupDecisions::doubleClickSkipsDictionaryFailures_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("currentTerm");
    QTest::newRow("keyword") << 0 << "Snake";
    // Copying the blank keyword into the box sets off a restore, which fails too.
    QTest::newRow("blankKeyword") << 4 << "";
}

// Without the dictionary the double-click goes on with the listed term, and says nothing.
void TestLookupDecisions::doubleClickSkipsDictionaryFailures()
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

void TestLookupDecisions::tableWithoutAColumn_data()
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

void TestLookupDecisions::tableWithoutAColumn()
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

QTEST_GUILESS_MAIN(TestLookupDecisions)
#include "tst_lookupdecisions.moc"
