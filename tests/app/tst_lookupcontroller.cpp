// The lookup controller on real controls and a real dictionary file: the controls' wiring, the
// list's mouse and keyboard handling, the focus after a message, and a few lookups end to end.
// What each lookup decides is tested in tst_lookupdecisions.
#include "AppState.h"
#include "DictionaryCache.h"
#include "DreamFile.h"
#include "DreamTable.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LookupController.h"
#include "RecordingPaneHost.h"
#include "TestDictionary.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace DreamTable;
using LookupDecisions::SearchMode;

enum class Trigger { SearchButton, EnterKey, DisplayButton, DoubleClick };
enum class Spoilt { Missing, Garbled, NoKey, NoLink };
Q_DECLARE_METATYPE(SearchMode)
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(ListState)
Q_DECLARE_METATYPE(Spoilt)
Q_DECLARE_METATYPE(Qt::MouseButton)

class TestLookupController : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void endToEnd_data();
    void endToEnd();
    void displayTwiceWithEmptyBoxKeepsTheList();
    void enterOnTheListDisplays();
    void otherKeysDoNotSearch();
    void optionButtonsOnlyMoveTheFocus_data();
    void optionButtonsOnlyMoveTheFocus();
    void onlyTheLeftButtonClicks_data();
    void onlyTheLeftButtonClicks();
    void dictionaryFailureIsReported_data();
    void dictionaryFailureIsReported();
    void doubleClickSkipsDictionaryFailures_data();
    void doubleClickSkipsDictionaryFailures();

private:
    QRadioButton *option(SearchMode mode) const;
    // Puts the window in the state a case starts from; typing comes first, as its restore
    // would otherwise refill the list.
    void prepare(SearchMode mode, const QString &typed, ListState list, int selectedRow = -1);
    void fire(Trigger trigger, int selectedRow = -1);
    void doubleClickRow(int row, Qt::MouseButton button = Qt::LeftButton);
    QStringList listed() const { return m_ui.keywords->keys(); }
    QString dictionary() const { return m_folder->dictionary(); }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DictionaryCache> m_cache;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<RecordingPaneHost> m_panes;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<LookupController> m_lookup;
    LookupControls m_ui;
};

void TestLookupController::init()
{
    m_folder = std::make_unique<TestFolder>();
    DreamFile::write(dictionary());
    m_cache = std::make_unique<DictionaryCache>();
    m_prompter = std::make_unique<FakePrompter>();
    m_panes = std::make_unique<RecordingPaneHost>();
    m_state = std::make_unique<AppState>();

    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    m_ui.optExact = new QRadioButton(QStringLiteral("Exact Search"));
    m_ui.optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
    m_ui.optGoogle = new QRadioButton(QStringLiteral("Google Search"));
    m_ui.txtKey = new QLineEdit;
    m_ui.cmdSearch = new QPushButton(QStringLiteral("&Search"));
    m_ui.keywords = new KeywordListModel(m_window.get());
    m_ui.lstKeys = new KeywordListView;
    m_ui.lstKeys->setModel(m_ui.keywords);
    m_ui.cmdDisplay = new QPushButton(QStringLiteral("&Display"));
    for (QWidget *control : std::initializer_list<QWidget *> { m_ui.optExact, m_ui.optWildCard,
             m_ui.optGoogle, m_ui.txtKey, m_ui.cmdSearch, m_ui.lstKeys, m_ui.cmdDisplay })
        layout->addWidget(control);
    m_ui.optExact->setChecked(true);

    m_lookup = std::make_unique<LookupController>(
        m_ui, *m_panes, *m_prompter, *m_state, *m_cache, dictionary());
    m_lookup->connectControls();
    m_lookup->fillAtLoad();
    QCOMPARE(listed(), fullList());

    m_window->resize(360, 760);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // A message box takes the focus while it is up.
    m_prompter->onPrompt = [this](const QString &) { m_ui.cmdSearch->setFocus(); };
}

void TestLookupController::cleanup()
{
    m_lookup.reset();
    m_window.reset();
    m_state.reset();
    m_panes.reset();
    m_prompter.reset();
    m_folder.reset();
}

QRadioButton *TestLookupController::option(SearchMode mode) const
{
    return mode == SearchMode::Exact   ? m_ui.optExact
        : mode == SearchMode::WildCard ? m_ui.optWildCard
                                       : m_ui.optGoogle;
}

void TestLookupController::prepare(
    SearchMode mode, const QString &typed, ListState list, int selectedRow)
{
    option(mode)->setChecked(true);
    m_ui.txtKey->setText(typed);
    if (list == ListState::Full)
        QCOMPARE(listed(), fullList());
    else
        m_ui.keywords->setKeys(DreamTable::listed(list));
    if (selectedRow >= 0)
        m_ui.lstKeys->setCurrentIndex(m_ui.keywords->index(selectedRow));
    else
        m_ui.lstKeys->clearSelection();
    m_state->CurrentTerm = Untouched;
    m_prompter->prompts.clear();
    m_panes->calls.clear();
}

void TestLookupController::doubleClickRow(int row, Qt::MouseButton button)
{
    QWidget *viewport = m_ui.lstKeys->viewport();
    QPoint where;
    if (row >= 0) {
        where = m_ui.lstKeys->visualRect(m_ui.keywords->index(row)).center();
    } else {
        // Below the last row, where there is no item.
        where = QPoint(20, viewport->height() - 5);
        QVERIFY(!m_ui.lstKeys->indexAt(where).isValid());
    }
    // QTest sends a double-click event alone; a real one follows a click and ends in a release
    // (the second press reaches the widget as the double-click itself).
    QTest::mouseClick(viewport, button, {}, where);
    QTest::mouseDClick(viewport, button, {}, where);
    QTest::mouseRelease(viewport, button, {}, where);
}

void TestLookupController::fire(Trigger trigger, int selectedRow)
{
    switch (trigger) {
    case Trigger::SearchButton:
        QTest::mouseClick(m_ui.cmdSearch, Qt::LeftButton);
        break;
    case Trigger::EnterKey:
        m_ui.txtKey->setFocus();
        QTest::keyClick(m_ui.txtKey, Qt::Key_Return);
        break;
    case Trigger::DisplayButton:
        QTest::mouseClick(m_ui.cmdDisplay, Qt::LeftButton);
        break;
    case Trigger::DoubleClick:
        m_ui.lstKeys->setFocus();
        doubleClickRow(selectedRow);
        break;
    }
}

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

void TestLookupController::dictionaryFailureIsReported_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ListState>("list");
    QTest::addColumn<Spoilt>("spoilt");
    QTest::addColumn<QString>("column"); // named in the report

    QTest::newRow("buttonExactMissing")
        << Trigger::SearchButton << "snake" << ListState::Narrowed << Spoilt::Missing << "";
    QTest::newRow("enterEmptyBoxMissing")
        << Trigger::EnterKey << "" << ListState::Narrowed << Spoilt::Missing << "";
    QTest::newRow("displaySelectedGarbled")
        << Trigger::DisplayButton << "Snake" << ListState::Narrowed << Spoilt::Garbled << "";
    QTest::newRow("enterNoKey") << Trigger::EnterKey << "apple" << ListState::Narrowed
                                << Spoilt::NoKey << "Key";
    QTest::newRow("displayNoLink")
        << Trigger::DisplayButton << "apple" << ListState::Full << Spoilt::NoLink << "Link";
}

// One error, naming the file (and the column), then the focus in the search box; the list, the
// search box, the panes and CurrentTerm stay as they were.
void TestLookupController::dictionaryFailureIsReported()
{
    QFETCH(Trigger, trigger);
    QFETCH(QString, typed);
    QFETCH(ListState, list);
    QFETCH(Spoilt, spoilt);
    QFETCH(QString, column);

    prepare(SearchMode::Exact, typed, list, 0);
    const QStringList before = listed();
    const QString path = dictionary();
    if (spoilt == Spoilt::NoKey || spoilt == Spoilt::NoLink) {
        DreamFile::writeWithout(path, column);
    } else {
        QVERIFY(QFile::remove(path));
        QFile file(path);
        if (spoilt == Spoilt::Garbled) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
    }
    fire(trigger);

    QCOMPARE(m_prompter->prompts.size(), 1);
    QCOMPARE(m_prompter->prompts.first().kind, PromptRecord::Error);
    QString text = m_prompter->prompts.first().text;
    QVERIFY2(text.contains(path), qPrintable(text));
    QVERIFY2(text.remove(path).contains(column), qPrintable(text));
    QCOMPARE(listed(), before);
    QCOMPARE(m_ui.txtKey->text(), typed);
    QVERIFY(m_panes->calls.isEmpty());
    QCOMPARE(m_state->CurrentTerm, Untouched);
    QVERIFY(m_ui.txtKey->hasFocus());
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
    prepare(SearchMode::Exact, QStringLiteral("x"), ListState::Full, row);
    QVERIFY(QFile::remove(dictionary()));
    if (byKeyboard) {
        m_ui.lstKeys->setFocus();
        QTest::keyClick(m_ui.lstKeys, Qt::Key_Return);
    } else {
        fire(Trigger::DoubleClick, row);
    }

    QVERIFY(m_prompter->prompts.isEmpty());
    QCOMPARE(listed(), fullList());
    QCOMPARE(m_ui.txtKey->text(), fullList().at(row));
    QCOMPARE(m_state->CurrentTerm, currentTerm);
    QCOMPARE(m_panes->calls, displayed(currentTerm));
}

QTEST_MAIN(TestLookupController)
#include "tst_lookupcontroller.moc"
