#include "LookupCase.h"

using namespace DreamTable;
using namespace LookupDecisions;
using namespace LookupCase;

namespace {

// The Search button, in every mode.
void addSearchButtonRows()
{
    const QStringList none;
    const auto button = Command::SearchButton;
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
}

// Enter in the search box, in every mode.
void addEnterKeyRows()
{
    const QStringList none;
    const auto enter = Command::EnterKey;

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

} // namespace

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
    void notFoundTextKeepsItsLoneCarriageReturn();
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

    addSearchButtonRows();
    addEnterKeyRows();
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

QTEST_GUILESS_MAIN(TestLookupDecisions)
#include "tst_lookupdecisions.moc"
