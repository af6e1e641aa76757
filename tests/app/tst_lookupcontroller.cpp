// The lookup controller on real controls and a real dictionary file: the controls' wiring, the
// list's mouse and keyboard handling, the focus after a message, and a few lookups end to end.
// What each lookup decides is tested in tst_lookupdecisions; a spoilt dictionary in
// tst_lookupcontroller_failures.
#include "LookupControllerFixture.h"

using namespace DreamTable;

Q_DECLARE_METATYPE(Qt::MouseButton)

class TestLookupController : public QObject, private LookupControllerFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void endToEnd_data();
    void endToEnd();
    void displayTwiceWithEmptyBoxKeepsTheList();
    void enterOnTheListDisplays();
    void otherKeysDoNotSearch();
    void optionButtonsOnlyMoveTheFocus_data();
    void optionButtonsOnlyMoveTheFocus();
    void onlyTheLeftButtonClicks_data();
    void onlyTheLeftButtonClicks();
};

void TestLookupController::endToEnd_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("panes");
    QTest::addColumn<QString>("currentTerm");

    const auto exact = SearchMode::Exact;
    const auto twice = Trigger::DoubleClick;
    const auto full = ListState::Full;
    const auto narrowed = ListState::Narrowed;
    const QStringList none;

    QTest::newRow("buttonExactTrimsAndKeepsCase")
        << Trigger::SearchButton << exact << "  Snake " << narrowed << -1 << "  Snake "
        << SnakePrefixed << none << QStringList { "navigate " + link("snake") } << Untouched;
    QTest::newRow("enterEmptyBoxExact")
        << Trigger::EnterKey << exact << "" << narrowed << -1 << "" << fullList()
        << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("enterWebSearch") << Trigger::EnterKey << SearchMode::Web << "Snake" << narrowed
                                    << -1 << "Snake" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("displaySelected")
        << Trigger::DisplayButton << exact << "Snake" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("displayEmptyListNotFound")
        << Trigger::DisplayButton << exact << "Zebra" << ListState::Empty << -1 << "Zebra"
        << QStringList() << QStringList { NotFound } << none << "zebra";
    QTest::newRow("doubleClickSelected")
        << twice << exact << "x" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("doubleClickBelowTheRows")
        << twice << exact << "Unknown Thing" << full << -1 << "Unknown Thing" << fullList() << none
        << displayed("Unknown Thing") << "Unknown Thing";
    // The click before the double-click copies the blank keyword and so restores the list;
    // the double-click still looks up the blank term, whose trimmed form is the empty key.
    QTest::newRow("doubleClickEmptyKeyword")
        << twice << exact << "x" << full << 4 << "" << fullList() << none
        << displayed(link("blank")) << link("blank");
    // Here the restore moves another keyword under the pointer; the blank one is still meant.
    QTest::newRow("doubleClickSpacesKeywordInNarrowedList")
        << twice << exact << "x" << ListState::NarrowedToSpace << 0 << " " << fullList() << none
        << displayed(link("blank")) << link("blank");
}

void TestLookupController::endToEnd()
{
    QFETCH(Trigger, trigger);
    QFETCH(SearchMode, mode);
    QFETCH(QString, typed);
    QFETCH(ListState, list);
    QFETCH(int, selectedRow);
    QFETCH(QString, shownText);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, panes);
    QFETCH(QString, currentTerm);

    prepare(mode, typed, list, selectedRow);
    fire(trigger, selectedRow);

    QCOMPARE(m_ui.txtKey->text(), shownText);
    QCOMPARE(listed(), keys);
    QCOMPARE(m_prompter->texts(), prompts);
    for (const PromptRecord &prompt : m_prompter->prompts)
        QCOMPARE(prompt.kind, PromptRecord::Information);
    QCOMPARE(m_panes->calls, panes);
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    if (!prompts.isEmpty())
        QVERIFY(m_ui.txtKey->hasFocus());
    if (panes == WebSearch)
        QVERIFY(m_panes->browserOpen);
}

void TestLookupController::displayTwiceWithEmptyBoxKeepsTheList()
{
    prepare(SearchMode::Exact, QString(), ListState::Narrowed);
    fire(Trigger::DisplayButton);
    QCOMPARE(listed(), fullList());
    fire(Trigger::DisplayButton);
    QCOMPARE(listed(), fullList());
    QCOMPARE(m_prompter->texts(), QStringList({ EmptyTerm, EmptyTerm }));
    QVERIFY(m_panes->calls.isEmpty());
    QVERIFY(m_ui.txtKey->hasFocus());
}

// The keyboard twin of the double-click.
void TestLookupController::enterOnTheListDisplays()
{
    prepare(SearchMode::Exact, QStringLiteral("x"), ListState::Full, 9);
    m_ui.lstKeys->setFocus();
    QTest::keyClick(m_ui.lstKeys, Qt::Key_Return);
    QCOMPARE(m_ui.txtKey->text(), QStringLiteral("Échelle"));
    QCOMPARE(m_panes->calls, displayed(link("echelle")));
}

void TestLookupController::otherKeysDoNotSearch()
{
    prepare(SearchMode::Exact, QStringLiteral("Snake"), ListState::Narrowed);
    m_ui.txtKey->setFocus();
    m_lookup->txtKey_KeyPress('a');
    QCOMPARE(listed(), Narrowed);
    QVERIFY(m_prompter->prompts.isEmpty());
    QVERIFY(m_panes->calls.isEmpty());
    QCOMPARE(m_state->CurrentTerm, Untouched);
    QCOMPARE(m_ui.txtKey->text(), QStringLiteral("Snake"));
}

void TestLookupController::optionButtonsOnlyMoveTheFocus_data()
{
    QTest::addColumn<SearchMode>("from");
    QTest::addColumn<SearchMode>("to");
    QTest::newRow("exact") << SearchMode::Web << SearchMode::Exact;
    QTest::newRow("wildcard") << SearchMode::Exact << SearchMode::WildCard;
    QTest::newRow("webSearch") << SearchMode::WildCard << SearchMode::Web;
    QTest::newRow("sameAgain") << SearchMode::WildCard << SearchMode::WildCard;
}

void TestLookupController::optionButtonsOnlyMoveTheFocus()
{
    QFETCH(SearchMode, from);
    QFETCH(SearchMode, to);
    prepare(from, QStringLiteral("snake"), ListState::Narrowed, 0);
    m_ui.cmdSearch->setFocus();
    // On the indicator: a click beyond the caption's end misses the button.
    QTest::mouseClick(option(to), Qt::LeftButton, {}, QPoint(6, option(to)->height() / 2));

    QVERIFY(option(to)->isChecked());
    QVERIFY(m_ui.txtKey->hasFocus());
    QCOMPARE(m_ui.txtKey->text(), QStringLiteral("snake"));
    QCOMPARE(listed(), Narrowed);
    QVERIFY(m_prompter->prompts.isEmpty());
    QVERIFY(m_panes->calls.isEmpty());
    QCOMPARE(m_state->CurrentTerm, Untouched);
}

void TestLookupController::onlyTheLeftButtonClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("twice");
    QTest::newRow("leftClick") << Qt::LeftButton << false;
    QTest::newRow("rightClick") << Qt::RightButton << false;
    QTest::newRow("middleClick") << Qt::MiddleButton << false;
    QTest::newRow("leftDoubleClick") << Qt::LeftButton << true;
    QTest::newRow("rightDoubleClick") << Qt::RightButton << true;
    QTest::newRow("middleDoubleClick") << Qt::MiddleButton << true;
}

void TestLookupController::onlyTheLeftButtonClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, twice);
    prepare(SearchMode::Exact, QStringLiteral("apple"), ListState::Full);
    m_ui.lstKeys->setFocus();
    const QPoint snake = m_ui.lstKeys->visualRect(m_ui.keywords->index(0)).center();
    if (twice)
        doubleClickRow(0, button);
    else
        QTest::mouseClick(m_ui.lstKeys->viewport(), button, {}, snake);

    const bool left = button == Qt::LeftButton;
    QCOMPARE(m_ui.txtKey->text(), left ? QStringLiteral("Snake") : QStringLiteral("apple"));
    QCOMPARE(m_panes->calls, left && twice ? displayed(link("snake")) : QStringList());
    QCOMPARE(m_state->CurrentTerm, left && twice ? link("snake") : Untouched);
    QCOMPARE(listed(), fullList());
    QVERIFY(m_prompter->prompts.isEmpty());
}

QTEST_MAIN(TestLookupController)
#include "tst_lookupcontroller.moc"
