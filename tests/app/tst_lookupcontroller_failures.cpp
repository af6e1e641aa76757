// The lookup controller on a dictionary file that is missing, garbled or lacks a column: one
// error names the file, and nothing else changes; a double-click goes on without the file.
#include "LookupControllerFixture.h"

using namespace DreamTable;

enum class Spoilt { Missing, Garbled, NoKey, NoLink };
Q_DECLARE_METATYPE(Spoilt)

class TestLookupControllerFailures : public QObject, private LookupControllerFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void dictionaryFailureIsReported_data();
    void dictionaryFailureIsReported();
    void doubleClickSkipsDictionaryFailures_data();
    void doubleClickSkipsDictionaryFailures();
};

void TestLookupControllerFailures::dictionaryFailureIsReported_data()
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
void TestLookupControllerFailures::dictionaryFailureIsReported()
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

void TestLookupControllerFailures::doubleClickSkipsDictionaryFailures_data()
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
void TestLookupControllerFailures::doubleClickSkipsDictionaryFailures()
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

QTEST_MAIN(TestLookupControllerFailures)
#include "tst_lookupcontroller_failures.moc"
