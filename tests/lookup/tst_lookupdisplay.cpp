#include "LookupCase.h"

using namespace DreamTable;
using namespace LookupDecisions;
using namespace LookupCase;

namespace {

// The Display button: the selected keyword, or else the typed text.
void addDisplayButtonRows()
{
    const QStringList none;
    const auto button = Command::DisplayButton;
    const auto exact = SearchMode::Exact;
    const auto full = ListState::Full;
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
}

// A double-click on the list: the keyword clicked, or the typed text below the rows.
void addDoubleClickRows()
{
    const QStringList none;
    const auto twice = Command::DoubleClick;
    const auto exact = SearchMode::Exact;
    const auto full = ListState::Full;
    const QString istanbul = QChar(0x130) + QStringLiteral("stanbul Bridge");

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

} // namespace

class TestLookupDisplay : public QObject
{
    Q_OBJECT
private slots:
    void display_data();
    void display();
};

void TestLookupDisplay::display_data()
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

    addDisplayButtonRows();
    addDoubleClickRows();
}

void TestLookupDisplay::display()
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

QTEST_GUILESS_MAIN(TestLookupDisplay)
#include "tst_lookupdisplay.moc"
