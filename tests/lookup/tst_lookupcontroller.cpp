#include "AppState.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LookupController.h"
#include "RecordingPaneHost.h"
#include "TestDictionary.h"

#include <QButtonGroup>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace {

const QString NotFound = QStringLiteral("Keyword not found - Please search in google\r"
                                        "Or write to us so that we can add the term in our "
                                        "dictionary");
const QString EmptyTerm = QStringLiteral("Please Enter Search Term");
// What CurrentTerm holds before each case, to tell "left alone" from "emptied".
const QString Untouched = QStringLiteral("(left alone)");
const QStringList Narrowed = { QStringLiteral("apple") };

QString link(const QString &slug)
{
    return QStringLiteral("https://dreams.test/") + slug + QStringLiteral(".html");
}

// The table, in its order; the comments give each row's index in the full list.
std::vector<DictionaryRow> dreams()
{
    const QString astro = QStringLiteral("astro");
    return {
        { "Snake", link("snake"), astro }, // 0
        { "apple", link("apple"), astro }, // 1
        { "SNAKE BITE", link("snake-bite"), astro }, // 2
        { "Rattlesnake", link("rattlesnake"), astro }, // 3
        { "", link("blank"), astro }, // 4
        { "snakeskin", link("snakeskin"), astro }, // 5
        { "Cat", link("cat-first"), astro }, // 6
        { "Cat", link("cat-second"), astro }, // 7
        { "big cat", link("big-cat"), astro }, // 8
        { "Échelle", link("echelle"), astro }, // 9
        { QChar(0x130) + QStringLiteral("stanbul Bridge"), link("istanbul"), astro }, // 10
        { "Sea Snake ", link("sea-snake"), astro }, // 11
        { "SNAKE", link("snake-capitals"), astro }, // 12
        { " ", link("space"), astro }, // 13
    };
}

QStringList fullList()
{
    QStringList keys;
    for (const DictionaryRow &row : dreams())
        keys << row.key;
    return keys;
}

QStringList nonEmptyKeys()
{
    QStringList keys = fullList();
    keys.removeAll(QString());
    return keys;
}

// What a wildcard search for a space leaves in the list: the spaces keyword stands at another
// row than in the full list.
const QStringList NarrowedToSpace = { " ", "SNAKE BITE", "Sea Snake " };

// Rewrites the dictionary with one of its columns under another name, through a connection
// of its own, as another program could have made it.
void writeWithout(const QString &path, const QString &missing)
{
    DictionaryFile::write(path, dreams());
    const QString key = missing == "Key" ? QStringLiteral("Keyword") : QStringLiteral("Key");
    const QString link = missing == "Link" ? QStringLiteral("Address") : QStringLiteral("Link");
    const QByteArray sql = QStringLiteral("CREATE TABLE t (%1 TEXT, %2 TEXT, Names TEXT);"
                                          "INSERT INTO t SELECT Key, Link, Names FROM dreams;"
                                          "DROP TABLE dreams; ALTER TABLE t RENAME TO dreams;")
                               .arg(key, link)
                               .toUtf8();
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_key(db, modDB::DictionaryPassword, int(std::strlen(modDB::DictionaryPassword)));
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

const QStringList SnakePrefixed = { "Snake", "SNAKE BITE", "snakeskin", "SNAKE" };
const QStringList ShowPane = { "show", "hideBrowser" };
const QStringList WebSearch = { "closeBrowser", "openBrowser" };

QStringList displayed(const QString &address)
{
    return { QStringLiteral("navigate ") + address, "show", "hideBrowser" };
}

} // namespace

enum class Mode { Exact, WildCard, Web };
enum class Trigger { SearchButton, EnterKey, OtherKey, DisplayButton, DoubleClick };
enum class ListState { Full, Narrowed, NarrowedToSpace, Empty };
Q_DECLARE_METATYPE(Mode)
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(ListState)
Q_DECLARE_METATYPE(Qt::MouseButton)

class TestLookupController : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void search_data();
    void search();
    void display_data();
    void display();
    void displayTwiceWithEmptyBoxKeepsTheList();
    void enterOnTheListDisplays();
    void optionButtonsOnlyMoveTheFocus_data();
    void optionButtonsOnlyMoveTheFocus();
    void notFoundTextKeepsItsLoneCarriageReturn();
    void unreadableDictionaryIsReportedOnce_data();
    void unreadableDictionaryIsReportedOnce();
    void webSearchDoesNotNeedTheDictionary_data();
    void webSearchDoesNotNeedTheDictionary();
    void doubleClickSkipsDictionaryFailures_data();
    void doubleClickSkipsDictionaryFailures();
    void onlyTheLeftButtonClicks_data();
    void onlyTheLeftButtonClicks();
    void tableWithoutAColumn_data();
    void tableWithoutAColumn();

private:
    void setMode(Mode mode);
    // Puts the window in the state a case starts from; typing comes first, as its restore
    // would otherwise refill the list.
    void prepare(Mode mode, const QString &typed, ListState list, int selectedRow = -1);
    void fire(Trigger trigger, int selectedRow = -1);
    void doubleClickRow(int row, Qt::MouseButton button = Qt::LeftButton);
    QStringList listed() const { return m_keywords->keys(); }
    bool onlyInformation() const;

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DictionaryCache> m_dictionary;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<RecordingPaneHost> m_panes;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<LookupController> m_lookup;
    QLineEdit *m_txtKey = nullptr;
    KeywordListView *m_lstKeys = nullptr;
    KeywordListModel *m_keywords = nullptr;
    QRadioButton *m_optExact = nullptr;
    QRadioButton *m_optWildCard = nullptr;
    QRadioButton *m_optGoogle = nullptr;
    // Takes the focus while a message is up, as a real message box would.
    QPushButton *m_elsewhere = nullptr;
};

void TestLookupController::init()
{
    m_folder = std::make_unique<TestFolder>();
    m_folder->writeDictionary(dreams());
    m_dictionary = std::make_unique<DictionaryCache>();
    m_prompter = std::make_unique<FakePrompter>();
    m_panes = std::make_unique<RecordingPaneHost>();
    m_state = std::make_unique<AppState>();

    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    m_optExact = new QRadioButton(QStringLiteral("Exact Search"));
    m_optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
    m_optGoogle = new QRadioButton(QStringLiteral("Google Search"));
    auto *modes = new QButtonGroup(m_window.get());
    for (QRadioButton *option : { m_optExact, m_optWildCard, m_optGoogle }) {
        modes->addButton(option);
        layout->addWidget(option);
    }
    m_optExact->setChecked(true);
    m_txtKey = new QLineEdit;
    m_txtKey->setAccessibleName(QStringLiteral("Search term"));
    layout->addWidget(m_txtKey);
    m_elsewhere = new QPushButton(QStringLiteral("&Search"));
    layout->addWidget(m_elsewhere);
    m_keywords = new KeywordListModel(m_window.get());
    m_lstKeys = new KeywordListView;
    m_lstKeys->setAccessibleName(QStringLiteral("Keywords"));
    m_lstKeys->setModel(m_keywords);
    layout->addWidget(m_lstKeys, 1);

    LookupControls controls;
    controls.txtKey = m_txtKey;
    controls.lstKeys = m_lstKeys;
    controls.keywords = m_keywords;
    controls.optExact = m_optExact;
    controls.optWildCard = m_optWildCard;
    controls.optGoogle = m_optGoogle;
    m_lookup = std::make_unique<LookupController>(
        controls, *m_panes, *m_prompter, *m_state, *m_dictionary, m_folder->dictionary());
    m_lookup->connectControls();
    m_lookup->fillAtLoad();
    QCOMPARE(listed(), fullList());

    m_window->resize(360, 760);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_prompter->onPrompt = [this](const QString &) { m_elsewhere->setFocus(); };
}

void TestLookupController::cleanup()
{
    m_lookup.reset();
    m_window.reset();
    m_state.reset();
    m_panes.reset();
    m_prompter.reset();
    m_dictionary.reset();
    m_folder.reset();
}

void TestLookupController::setMode(Mode mode)
{
    (mode == Mode::Exact             ? m_optExact
            : mode == Mode::WildCard ? m_optWildCard
                                     : m_optGoogle)
        ->setChecked(true);
}

void TestLookupController::prepare(Mode mode, const QString &typed, ListState list, int selectedRow)
{
    setMode(mode);
    m_txtKey->setText(typed);
    if (list == ListState::Narrowed)
        m_keywords->setKeys(Narrowed);
    else if (list == ListState::NarrowedToSpace)
        m_keywords->setKeys(NarrowedToSpace);
    else if (list == ListState::Empty)
        m_keywords->setKeys({});
    else
        QCOMPARE(listed(), fullList());
    if (selectedRow >= 0)
        m_lstKeys->setCurrentIndex(m_keywords->index(selectedRow));
    else
        m_lstKeys->clearSelection();
    m_state->CurrentTerm = Untouched;
    m_prompter->prompts.clear();
    m_panes->calls.clear();
}

void TestLookupController::doubleClickRow(int row, Qt::MouseButton button)
{
    QPoint where;
    if (row >= 0) {
        where = m_lstKeys->visualRect(m_keywords->index(row)).center();
    } else {
        // Below the last row, where there is no item.
        where = QPoint(20, m_lstKeys->viewport()->height() - 5);
        QVERIFY(!m_lstKeys->indexAt(where).isValid());
    }
    // QTest sends a double-click event alone; a real one follows a click and ends in a release
    // (the second press reaches the widget as the double-click itself).
    QTest::mouseClick(m_lstKeys->viewport(), button, {}, where);
    QTest::mouseDClick(m_lstKeys->viewport(), button, {}, where);
    QTest::mouseRelease(m_lstKeys->viewport(), button, {}, where);
}

void TestLookupController::fire(Trigger trigger, int selectedRow)
{
    switch (trigger) {
    case Trigger::SearchButton:
        m_elsewhere->setFocus();
        m_lookup->cmdSearch_Click();
        break;
    case Trigger::EnterKey:
        m_txtKey->setFocus();
        QTest::keyClick(m_txtKey, Qt::Key_Return);
        break;
    case Trigger::OtherKey:
        m_txtKey->setFocus();
        m_lookup->txtKey_KeyPress('a');
        break;
    case Trigger::DisplayButton:
        m_elsewhere->setFocus();
        m_lookup->cmdDisplay_Click();
        break;
    case Trigger::DoubleClick:
        m_lstKeys->setFocus();
        doubleClickRow(selectedRow);
        break;
    }
}

bool TestLookupController::onlyInformation() const
{
    for (const PromptRecord &prompt : m_prompter->prompts) {
        if (prompt.kind != PromptRecord::Information)
            return false;
    }
    return true;
}

void TestLookupController::search_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("panes");
    QTest::addColumn<QString>("currentTerm");

    const auto button = Trigger::SearchButton;
    const auto enter = Trigger::EnterKey;
    const QStringList none;
    const QString dottedI = QString(QChar(0x130));

    QTest::newRow("buttonExactTrimsAndKeepsCase")
        << button << Mode::Exact << "  Snake " << SnakePrefixed << none
        << QStringList { "navigate Snake" } << Untouched;
    QTest::newRow("buttonEmptyBox") << button << Mode::Exact << "" << Narrowed
                                    << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonBlankBox") << button << Mode::Exact << "   " << Narrowed
                                    << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonBlankBoxWildcard") << button << Mode::WildCard << "  " << Narrowed
                                            << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonEmptyBoxWebSearch")
        << button << Mode::Web << "" << Narrowed << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("buttonWebSearch")
        << button << Mode::Web << "Snake" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("buttonWildcardOnlyStar") << button << Mode::WildCard << "*" << nonEmptyKeys()
                                            << none << QStringList { "navigate *" } << "";
    QTest::newRow("buttonWildcardStarBetweenLetters")
        << button << Mode::WildCard << "C*at" << QStringList { "Cat", "Cat", "big cat" } << none
        << QStringList { "navigate C*at" } << "cat";
    QTest::newRow("buttonWildcardTrailingSpace")
        << button << Mode::WildCard << "Snake " << QStringList { "SNAKE BITE", "Sea Snake " }
        << none << QStringList { "navigate Snake" } << "snake ";
    QTest::newRow("buttonExactNotFound") << button << Mode::Exact << "zebra" << QStringList()
                                         << QStringList { NotFound } << none << Untouched;
    QTest::newRow("buttonExactStarIsLiteral") << button << Mode::Exact << "Sn*" << QStringList()
                                              << QStringList { NotFound } << none << Untouched;
    QTest::newRow("buttonWildcardNotFound") << button << Mode::WildCard << "zeb*ra" << QStringList()
                                            << QStringList { NotFound } << none << "zebra";
    QTest::newRow("buttonDuplicateListedTwice")
        << button << Mode::Exact << "cat" << QStringList { "Cat", "Cat" } << none
        << QStringList { "navigate cat" } << Untouched;
    QTest::newRow("buttonAccentedCapitals")
        << button << Mode::Exact << "ÉCHELLE" << QStringList { "Échelle" } << none
        << QStringList { "navigate ÉCHELLE" } << Untouched;
    QTest::newRow("buttonDottedCapitalI")
        << button << Mode::Exact << dottedI + "stanbul"
        << QStringList { dottedI + "stanbul Bridge" } << none
        << QStringList { "navigate " + dottedI + "stanbul" } << Untouched;

    QTest::newRow("enterEmptyBoxExact") << enter << Mode::Exact << "" << fullList()
                                        << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("enterEmptyBoxWildcard") << enter << Mode::WildCard << "" << fullList()
                                           << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("enterEmptyBoxWebSearch")
        << enter << Mode::Web << "" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("enterWebSearch")
        << enter << Mode::Web << "Snake" << Narrowed << none << WebSearch << Untouched;
    QTest::newRow("enterBlankBoxExactListsAll")
        << enter << Mode::Exact << "   " << fullList() << none << ShowPane << Untouched;
    QTest::newRow("enterExactShowsWithoutNavigating")
        << enter << Mode::Exact << "  Snake " << SnakePrefixed << none << ShowPane << Untouched;
    QTest::newRow("enterWildcardOnlyStar")
        << enter << Mode::WildCard << "*" << nonEmptyKeys() << none << ShowPane << "";
    QTest::newRow("enterWildcardTrailingSpace")
        << enter << Mode::WildCard << "snake " << QStringList { "SNAKE BITE", "Sea Snake " } << none
        << ShowPane << "snake ";
    QTest::newRow("enterWildcardBlankIsNotTrimmed")
        << enter << Mode::WildCard << "  " << QStringList() << QStringList { NotFound } << none
        << "  ";
    QTest::newRow("enterNotFound") << enter << Mode::Exact << "zebra" << QStringList()
                                   << QStringList { NotFound } << none << Untouched;
    QTest::newRow("otherKeyIsIgnored")
        << Trigger::OtherKey << Mode::Exact << "Snake" << Narrowed << none << none << Untouched;
}

void TestLookupController::search()
{
    QFETCH(Trigger, trigger);
    QFETCH(Mode, mode);
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, panes);
    QFETCH(QString, currentTerm);

    prepare(mode, typed, ListState::Narrowed);
    fire(trigger);

    QCOMPARE(listed(), keys);
    QCOMPARE(m_prompter->texts(), prompts);
    QVERIFY(onlyInformation());
    QCOMPARE(m_panes->calls, panes);
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    QCOMPARE(m_txtKey->text(), typed);
    if (!prompts.isEmpty())
        QVERIFY(m_txtKey->hasFocus());
    if (panes == WebSearch)
        QVERIFY(m_panes->browserOpen);
}

void TestLookupController::display_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("panes");
    QTest::addColumn<QString>("currentTerm");

    const auto button = Trigger::DisplayButton;
    const auto twice = Trigger::DoubleClick;
    const auto full = ListState::Full;
    const QStringList none;
    const QString istanbul = QChar(0x130) + QStringLiteral("stanbul Bridge");

    QTest::newRow("displaySelected")
        << button << Mode::Exact << "Snake" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("displayReplacesTypedText")
        << button << Mode::Exact << "apple" << full << 3 << "Rattlesnake" << fullList() << none
        << displayed(link("rattlesnake")) << link("rattlesnake");
    QTest::newRow("displayBlankBoxIsNotEmpty")
        << button << Mode::Exact << "   " << full << 1 << "apple" << fullList() << none
        << displayed(link("apple")) << link("apple");
    QTest::newRow("displayFirstRowInAnyCase")
        << button << Mode::WildCard << "x" << full << 12 << "SNAKE" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("displayDuplicateTakesFirst")
        << button << Mode::Exact << "x" << full << 7 << "Cat" << fullList() << none
        << displayed(link("cat-first")) << link("cat-first");
    QTest::newRow("displayDottedCapitalI")
        << button << Mode::Exact << "x" << full << 10 << istanbul << fullList() << none
        << displayed(link("istanbul")) << link("istanbul");
    QTest::newRow("displayNoRowGivesLowerCasedTerm")
        << button << Mode::Exact << "x" << full << 11 << "Sea Snake " << fullList() << none
        << displayed("sea snake") << "sea snake";
    QTest::newRow("displayNothingSelectedKeepsText")
        << button << Mode::Exact << "Unknown Thing" << full << -1 << "Unknown Thing" << fullList()
        << none << displayed("unknown thing") << "unknown thing";
    QTest::newRow("displayEmptyListNotFound")
        << button << Mode::Exact << "Zebra" << ListState::Empty << -1 << "Zebra" << QStringList()
        << QStringList { NotFound } << none << "zebra";
    QTest::newRow("displayEmptyBoxRestoresOnce")
        << button << Mode::Exact << "" << ListState::Narrowed << 0 << "" << fullList()
        << QStringList { EmptyTerm } << none << Untouched;
    QTest::newRow("displayWebSearch") << button << Mode::Web << "Snake" << full << 1 << "Snake"
                                      << fullList() << none << WebSearch << Untouched;
    QTest::newRow("displayWebSearchEmptyBox")
        << button << Mode::Web << "" << ListState::Narrowed << -1 << "" << Narrowed << none
        << WebSearch << Untouched;

    QTest::newRow("doubleClickSelected")
        << twice << Mode::Exact << "x" << full << 0 << "Snake" << fullList() << none
        << displayed(link("snake")) << link("snake");
    QTest::newRow("doubleClickDottedCapitalI")
        << twice << Mode::Exact << "x" << full << 10 << istanbul << fullList() << none
        << displayed(link("istanbul")) << link("istanbul");
    QTest::newRow("doubleClickDuplicateTakesFirst")
        << twice << Mode::Exact << "x" << full << 7 << "Cat" << fullList() << none
        << displayed(link("cat-first")) << link("cat-first");
    QTest::newRow("doubleClickNoRowKeepsListedCase")
        << twice << Mode::Exact << "x" << full << 11 << "Sea Snake " << fullList() << none
        << displayed("Sea Snake") << "Sea Snake";
    QTest::newRow("doubleClickWebSearchUsesDictionary")
        << twice << Mode::Web << "x" << full << 2 << "SNAKE BITE" << fullList() << none
        << displayed(link("snake-bite")) << link("snake-bite");
    QTest::newRow("doubleClickHasNoEmptyBoxTest")
        << twice << Mode::Exact << "" << full << 5 << "snakeskin" << fullList() << none
        << displayed(link("snakeskin")) << link("snakeskin");
    QTest::newRow("doubleClickBelowTheRows")
        << twice << Mode::Exact << "Unknown Thing" << full << -1 << "Unknown Thing" << fullList()
        << none << displayed("Unknown Thing") << "Unknown Thing";
    // The click before the double-click copies the blank keyword and so restores the list;
    // the double-click still looks up the blank term, whose trimmed form is the empty key.
    QTest::newRow("doubleClickEmptyKeyword")
        << twice << Mode::Exact << "x" << full << 4 << "" << fullList() << none
        << displayed(link("blank")) << link("blank");
    QTest::newRow("doubleClickSpacesKeyword")
        << twice << Mode::Exact << "x" << full << 13 << " " << fullList() << none
        << displayed(link("blank")) << link("blank");
    // Here the restore moves another keyword under the pointer; the blank one is still meant.
    QTest::newRow("doubleClickSpacesKeywordInNarrowedList")
        << twice << Mode::Exact << "x" << ListState::NarrowedToSpace << 0 << " " << fullList()
        << none << displayed(link("blank")) << link("blank");
    QTest::newRow("doubleClickEmptyListNotFound")
        << twice << Mode::Exact << "Zebra" << ListState::Empty << -1 << "Zebra" << QStringList()
        << QStringList { NotFound } << none << "Zebra";
}

void TestLookupController::display()
{
    QFETCH(Trigger, trigger);
    QFETCH(Mode, mode);
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

    QCOMPARE(m_txtKey->text(), shownText);
    QCOMPARE(listed(), keys);
    QCOMPARE(m_prompter->texts(), prompts);
    QVERIFY(onlyInformation());
    QCOMPARE(m_panes->calls, panes);
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    if (!prompts.isEmpty())
        QVERIFY(m_txtKey->hasFocus());
}

void TestLookupController::displayTwiceWithEmptyBoxKeepsTheList()
{
    prepare(Mode::Exact, QString(), ListState::Narrowed);
    fire(Trigger::DisplayButton);
    QCOMPARE(listed(), fullList());
    fire(Trigger::DisplayButton);
    QCOMPARE(listed(), fullList());
    QCOMPARE(m_prompter->texts(), QStringList({ EmptyTerm, EmptyTerm }));
    QVERIFY(m_panes->calls.isEmpty());
    QVERIFY(m_txtKey->hasFocus());
}

// The keyboard twin of the double-click.
void TestLookupController::enterOnTheListDisplays()
{
    prepare(Mode::Exact, QStringLiteral("x"), ListState::Full, 9);
    m_lstKeys->setFocus();
    QTest::keyClick(m_lstKeys, Qt::Key_Return);
    QCOMPARE(m_txtKey->text(), QStringLiteral("Échelle"));
    QCOMPARE(m_panes->calls, displayed(link("echelle")));
}

void TestLookupController::optionButtonsOnlyMoveTheFocus_data()
{
    QTest::addColumn<Mode>("from");
    QTest::addColumn<Mode>("to");
    QTest::newRow("exact") << Mode::Web << Mode::Exact;
    QTest::newRow("wildcard") << Mode::Exact << Mode::WildCard;
    QTest::newRow("webSearch") << Mode::WildCard << Mode::Web;
    QTest::newRow("sameAgain") << Mode::WildCard << Mode::WildCard;
}

void TestLookupController::optionButtonsOnlyMoveTheFocus()
{
    QFETCH(Mode, from);
    QFETCH(Mode, to);
    prepare(from, QStringLiteral("snake"), ListState::Narrowed, 0);
    m_elsewhere->setFocus();
    QRadioButton *option = to == Mode::Exact ? m_optExact
        : to == Mode::WildCard               ? m_optWildCard
                                             : m_optGoogle;
    // On the indicator: a click beyond the caption's end misses the button.
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));

    QVERIFY(option->isChecked());
    QVERIFY(m_txtKey->hasFocus());
    QCOMPARE(m_txtKey->text(), QStringLiteral("snake"));
    QCOMPARE(listed(), Narrowed);
    QVERIFY(m_prompter->prompts.isEmpty());
    QVERIFY(m_panes->calls.isEmpty());
    QCOMPARE(m_state->CurrentTerm, Untouched);
}

void TestLookupController::notFoundTextKeepsItsLoneCarriageReturn()
{
    prepare(Mode::WildCard, QStringLiteral("qqq"), ListState::Full);
    fire(Trigger::SearchButton);
    QCOMPARE(m_prompter->prompts.size(), 1);
    const QString text = m_prompter->prompts.first().text;
    QCOMPARE(text.count(QLatin1Char('\r')), 1);
    QVERIFY(!text.contains(QLatin1Char('\n')));
    QCOMPARE(text.split(QLatin1Char('\r')),
        QStringList({ "Keyword not found - Please search in google",
            "Or write to us so that we can add the term in our dictionary" }));
}

void TestLookupController::unreadableDictionaryIsReportedOnce_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("garbled");

    QTest::newRow("buttonExactMissing") << Trigger::SearchButton << Mode::Exact << "snake" << false;
    QTest::newRow("buttonWildcardGarbled")
        << Trigger::SearchButton << Mode::WildCard << "sn*" << true;
    QTest::newRow("enterExactGarbled") << Trigger::EnterKey << Mode::Exact << "snake" << true;
    QTest::newRow("enterEmptyBoxMissing") << Trigger::EnterKey << Mode::Exact << "" << false;
    QTest::newRow("enterWildcardMissing") << Trigger::EnterKey << Mode::WildCard << "*" << false;
    QTest::newRow("displaySelectedGarbled")
        << Trigger::DisplayButton << Mode::Exact << "Snake" << true;
    QTest::newRow("displayEmptyBoxMissing") << Trigger::DisplayButton << Mode::Exact << "" << false;
}

// The list, the panes and CurrentTerm stay as they were; one error names the file.
void TestLookupController::unreadableDictionaryIsReportedOnce()
{
    QFETCH(Trigger, trigger);
    QFETCH(Mode, mode);
    QFETCH(QString, typed);
    QFETCH(bool, garbled);

    prepare(mode, typed, ListState::Narrowed, 0);
    const QString path = m_folder->dictionary();
    QVERIFY(QFile::remove(path));
    if (garbled) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    fire(trigger);

    QCOMPARE(m_prompter->prompts.size(), 1);
    QCOMPARE(m_prompter->prompts.first().kind, PromptRecord::Error);
    QVERIFY2(m_prompter->prompts.first().text.contains(path),
        qPrintable(m_prompter->prompts.first().text));
    QCOMPARE(listed(), Narrowed);
    QVERIFY(m_panes->calls.isEmpty());
    QCOMPARE(m_state->CurrentTerm, Untouched);
    QVERIFY(m_txtKey->hasFocus());
}

void TestLookupController::webSearchDoesNotNeedTheDictionary_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::newRow("searchButton") << Trigger::SearchButton;
    QTest::newRow("enterKey") << Trigger::EnterKey;
    QTest::newRow("displayButton") << Trigger::DisplayButton;
}

void TestLookupController::webSearchDoesNotNeedTheDictionary()
{
    QFETCH(Trigger, trigger);
    prepare(Mode::Web, QStringLiteral("snake"), ListState::Narrowed);
    QVERIFY(QFile::remove(m_folder->dictionary()));
    fire(trigger);
    QVERIFY(m_prompter->prompts.isEmpty());
    QCOMPARE(m_panes->calls, WebSearch);
    QVERIFY(m_panes->browserOpen);
    QCOMPARE(listed(), Narrowed);
}

void TestLookupController::doubleClickSkipsDictionaryFailures_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<QString>("currentTerm");
    QTest::newRow("keyword") << 0 << false << "Snake";
    // Copying the blank keyword into the box sets off a restore, which fails too. (With the
    // mouse, the click before the double-click has already copied it, and said so.)
    QTest::newRow("blankKeyword") << 4 << true << "";
}

// Without the dictionary the double-click goes on with the listed term, and says nothing.
void TestLookupController::doubleClickSkipsDictionaryFailures()
{
    QFETCH(int, row);
    QFETCH(bool, byKeyboard);
    QFETCH(QString, currentTerm);
    prepare(Mode::Exact, QStringLiteral("x"), ListState::Full, row);
    QVERIFY(QFile::remove(m_folder->dictionary()));
    if (byKeyboard) {
        m_lstKeys->setFocus();
        QTest::keyClick(m_lstKeys, Qt::Key_Return);
    } else {
        fire(Trigger::DoubleClick, row);
    }

    QVERIFY(m_prompter->prompts.isEmpty());
    QCOMPARE(listed(), fullList());
    QCOMPARE(m_txtKey->text(), fullList().at(row));
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    QCOMPARE(m_panes->calls, displayed(currentTerm));
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
    prepare(Mode::Exact, QStringLiteral("apple"), ListState::Full);
    m_lstKeys->setFocus();
    const QPoint snake = m_lstKeys->visualRect(m_keywords->index(0)).center();
    if (twice)
        doubleClickRow(0, button);
    else
        QTest::mouseClick(m_lstKeys->viewport(), button, {}, snake);

    const bool left = button == Qt::LeftButton;
    QCOMPARE(m_txtKey->text(), left ? QStringLiteral("Snake") : QStringLiteral("apple"));
    QCOMPARE(m_panes->calls, left && twice ? displayed(link("snake")) : QStringList());
    QCOMPARE(m_state->CurrentTerm, left && twice ? link("snake") : Untouched);
    QCOMPARE(listed(), fullList());
    QVERIFY(m_prompter->prompts.isEmpty());
}

void TestLookupController::tableWithoutAColumn_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QString>("currentTerm");
    QTest::addColumn<QStringList>("panes");

    const auto full = ListState::Full;
    const QStringList none;

    // A handler that fails says so once and leaves the search box and CurrentTerm alone.
    QTest::newRow("searchButtonWildcardNoKey")
        << Trigger::SearchButton << Mode::WildCard << ListState::Narrowed << -1 << "Key"
        << "apple" << Untouched << none;
    QTest::newRow("enterWildcardNoKey")
        << Trigger::EnterKey << Mode::WildCard << ListState::Narrowed << -1 << "Key"
        << "apple" << Untouched << none;
    QTest::newRow("enterExactNoKey")
        << Trigger::EnterKey << Mode::Exact << ListState::Narrowed << -1 << "Key"
        << "apple" << Untouched << none;
    QTest::newRow("displayNoKey") << Trigger::DisplayButton << Mode::Exact << full << 0 << "Key"
                                  << "apple" << Untouched << none;
    QTest::newRow("displayNoLink") << Trigger::DisplayButton << Mode::Exact << full << 0 << "Link"
                                   << "apple" << Untouched << none;
    QTest::newRow("displayBlankKeywordNoKey")
        << Trigger::DisplayButton << Mode::Exact << full << 4 << "Key"
        << "apple" << Untouched << none;
    // The double-click skips the scan that fails and goes on with the listed term, silently.
    QTest::newRow("doubleClickNoKey") << Trigger::DoubleClick << Mode::Exact << full << 0 << "Key"
                                      << "Snake"
                                      << "Snake" << displayed("Snake");
    QTest::newRow("doubleClickNoLink") << Trigger::DoubleClick << Mode::Exact << full << 3 << "Link"
                                       << "Rattlesnake"
                                       << "Rattlesnake" << displayed("Rattlesnake");
}

void TestLookupController::tableWithoutAColumn()
{
    QFETCH(Trigger, trigger);
    QFETCH(Mode, mode);
    QFETCH(ListState, list);
    QFETCH(int, selectedRow);
    QFETCH(QString, missing);
    QFETCH(QString, shownText);
    QFETCH(QString, currentTerm);
    QFETCH(QStringList, panes);

    prepare(mode, QStringLiteral("apple"), list, selectedRow);
    const QStringList before = listed();
    writeWithout(m_folder->dictionary(), missing);
    fire(trigger, selectedRow);

    QCOMPARE(m_txtKey->text(), shownText);
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    QCOMPARE(m_panes->calls, panes);
    QCOMPARE(listed(), before);
    if (trigger == Trigger::DoubleClick) {
        QVERIFY(m_prompter->prompts.isEmpty());
    } else {
        QCOMPARE(m_prompter->prompts.size(), 1);
        QCOMPARE(m_prompter->prompts.first().kind, PromptRecord::Error);
        // It names the file and the column.
        QString text = m_prompter->prompts.first().text;
        QVERIFY2(text.contains(m_folder->dictionary()), qPrintable(text));
        QVERIFY2(text.remove(m_folder->dictionary()).contains(missing), qPrintable(text));
        QVERIFY(m_txtKey->hasFocus());
    }
}

QTEST_MAIN(TestLookupController)
#include "tst_lookupcontroller.moc"
