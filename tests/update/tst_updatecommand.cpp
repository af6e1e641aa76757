#include "AppState.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "MDI.h"
#include "MainWindowTestBase.h"
#include "TestDictionary.h"
#include "UpdateCommand.h"
#include "frmPB.h"
#include "modDB.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const std::vector<DictionaryRow> Shipped = rowsOf({ "Snake", "Water" });

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Makes the update file the user picks, as kind says (a missing one is left unmade).
void writeUpdate(const QString &kind, const QString &path)
{
    if (kind == "new")
        DictionaryFile::write(path, rowsOf({ "Moon", "Snake", "Sun" }));
    else if (kind == "duplicates")
        DictionaryFile::write(path, rowsOf({ "Water", "Snake" }));
    else if (kind == "empty")
        DictionaryFile::write(path, {});
    else if (kind == "wrong")
        DictionaryFile::write(path, rowsOf({ "Moon", "Sun" }, "Astro"));
    else if (kind == "local file")
        DictionaryFile::write(
            path, { rowsOf({ "Moon" })[0], { "Sun", "file:///etc/passwd", "astro" } });
    else if (kind == "text") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Key\tLink\tNames\n");
    }
}

} // namespace

class TestUpdateCommand : public MainWindowTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();

    void cancelDoesNothing();
    void outcomes_data();
    void outcomes();
    void listIsRepaintedNotRefilled();

private:
    void openWindow();
    void triggerUpdate();
    void spoilDictionary(const QString &how);

    // What the progress window looked like while it ran.
    int m_progressShown = 0;
    bool m_progressWasModal = false;
    int m_barBeforeLastTick = -1;
    bool m_progressClosed = false;
};

void TestUpdateCommand::init()
{
    setUpFixture();
    m_progressShown = 0;
    m_progressWasModal = false;
    m_barBeforeLastTick = -1;
    m_progressClosed = false;
}

void TestUpdateCommand::cleanup()
{
    tearDownFixture();
}

void TestUpdateCommand::openWindow()
{
    openMainWindow();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto *command = m_window->findChild<UpdateCommand *>();
    QVERIFY(command);
    // Runs the modal progress window's ticks from inside its own event loop.
    connect(command, &UpdateCommand::progressWindowOpening, this, [this](frmPB *window) {
        ++m_progressShown;
        QTimer::singleShot(0, window, [this, window] {
            m_progressWasModal = QApplication::activeModalWidget() == window;
            for (int tick = 0; tick < 50; ++tick)
                window->Timer1_Timer();
            m_barBeforeLastTick = window->findChild<QProgressBar *>("PB")->value();
            window->Timer1_Timer();
            m_progressClosed = !window->isVisible();
        });
    });
    m_fakes->prompter.prompts.clear();
}

void TestUpdateCommand::triggerUpdate()
{
    m_window->findChild<QPushButton *>("cmdSearch")->setFocus();
    QVERIFY(!m_window->findChild<QLineEdit *>("txtKey")->hasFocus());
    m_window->findChild<QAction *>("mnuUpdate")->trigger();
}

void TestUpdateCommand::cancelDoesNothing()
{
    m_folder->writeDictionary(Shipped);
    openWindow();
    m_fakes->files.path.clear();

    triggerUpdate();

    QCOMPARE(m_fakes->files.asked, 1);
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
    QCOMPARE(m_progressShown, 0);
    QVERIFY(m_window->findChild<QPushButton *>("cmdSearch")->hasFocus());
    QCOMPARE(DictionaryFile::read(m_folder->dictionary()), Shipped);
}

void TestUpdateCommand::outcomes_data()
{
    QTest::addColumn<QString>("update"); // how the chosen file is made
    QTest::addColumn<QString>("dictionary"); // what is wrong with dream.dll, if anything
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("progress");
    QTest::addColumn<QStringList>("keysAfterRestore");

    const QString nothing = "There is nothing to Update";
    const QString wrong = "This is the wrong file! Lookup online help";
    const QString success = "Somnilex Successfully Updated\rPlease restart dictionary ";
    const QString wrongLink = wrong
        + "\rRow 2 (\"Sun\") links to \"file:///etc/passwd\", which is not a web page Somnilex "
          "shows.";
    const QStringList shipped = { "Snake", "Water" };
    const QStringList merged = { "Snake", "Water", "Moon", "Sun" };

    QTest::newRow("new rows") << "new"
                              << "" << success << true << merged;
    QTest::newRow("all duplicates") << "duplicates"
                                    << "" << success << true << shipped;
    QTest::newRow("empty update") << "empty"
                                  << "" << nothing << false << shipped;
    QTest::newRow("missing update") << "missing"
                                    << "" << nothing << false << shipped;
    QTest::newRow("not a database") << "text"
                                    << "" << nothing << false << shipped;
    QTest::newRow("wrong marker") << "wrong"
                                  << "" << wrong << false << shipped;
    QTest::newRow("link no pane shows") << "local file"
                                        << "" << wrongLink << false << shipped;
    QTest::newRow("dictionary refuses rows")
        << "new"
        << "refuses"
        << "The dictionary was not updated" << false << shipped;
    QTest::newRow("dictionary gone") << "new"
                                     << "gone"
                                     << "does not exist" << false << QStringList();
}

// Makes dream.dll refuse the merge's rows, or takes it away, once the window has read it.
void TestUpdateCommand::spoilDictionary(const QString &how)
{
    if (how == "refuses") {
        modDB::Connection(*m_dictionary, m_folder->dictionary())
            .execute("CREATE TRIGGER refuse BEFORE INSERT ON dreams WHEN NEW.Key = 'Sun' "
                     "BEGIN SELECT RAISE(ABORT, 'read-only medium'); END;");
    } else if (how == "gone") {
        QVERIFY(QFile::remove(m_folder->dictionary()));
    }
}

void TestUpdateCommand::outcomes()
{
    QFETCH(QString, update);
    QFETCH(QString, dictionary);
    QFETCH(QString, message);
    QFETCH(bool, progress);
    QFETCH(QStringList, keysAfterRestore);

    m_folder->writeDictionary(Shipped);
    const QString updatePath = m_folder->file("update.any");
    writeUpdate(update, updatePath);
    openWindow();
    spoilDictionary(dictionary);
    const QStringList listed = m_window->findChild<KeywordListModel *>("keywords")->keys();
    m_fakes->files.path = updatePath;

    triggerUpdate();

    QCOMPARE(m_fakes->prompter.prompts.size(), 1);
    const PromptRecord prompt = m_fakes->prompter.prompts.first();
    QVERIFY2(prompt.text.contains(message), qPrintable(prompt.text));
    if (!dictionary.isEmpty()) {
        QCOMPARE(prompt.kind, PromptRecord::Error);
        QVERIFY2(prompt.text.contains(m_folder->dictionary()), qPrintable(prompt.text));
    } else {
        QCOMPARE(prompt.kind, PromptRecord::Information);
        QCOMPARE(prompt.text, message);
    }
    QCOMPARE(m_progressShown, progress ? 1 : 0);
    if (progress) {
        QVERIFY(m_progressWasModal);
        QCOMPARE(m_barBeforeLastTick, 50);
        QVERIFY(m_progressClosed);
    }
    // The main window may not be active again yet after the modal window; its focus is.
    QCOMPARE(m_window->focusWidget(), m_window->findChild<QLineEdit *>("txtKey"));
    QCOMPARE(m_window->findChild<KeywordListModel *>("keywords")->keys(), listed);

    // The list's next refill shows what the dictionary now holds.
    if (dictionary == "gone")
        return;
    m_window->findChild<QLineEdit *>("txtKey")->setText("x");
    m_window->findChild<QLineEdit *>("txtKey")->clear();
    QCOMPARE(m_window->findChild<KeywordListModel *>("keywords")->keys(), keysAfterRestore);
}

void TestUpdateCommand::listIsRepaintedNotRefilled()
{
    m_folder->writeDictionary(Shipped);
    DictionaryFile::write(m_folder->file("update.any"), rowsOf({ "Moon" }));
    openWindow();
    m_fakes->files.path = m_folder->file("update.any");
    PaintCounter counter;
    m_window->findChild<KeywordListView *>("lstKeys")->viewport()->installEventFilter(&counter);
    int paintsAtSuccess = -1;
    m_fakes->prompter.onPrompt = [&](const QString &) { paintsAtSuccess = counter.paints; };
    QCoreApplication::processEvents();
    counter.paints = 0;

    triggerUpdate();

    // The list was redrawn after the progress window and before the success message.
    QVERIFY(m_progressClosed);
    QVERIFY(paintsAtSuccess > 0);
    QCOMPARE(m_window->findChild<KeywordListModel *>("keywords")->keys(),
        QStringList({ "Snake", "Water" }));
}

QTEST_MAIN(TestUpdateCommand)
#include "tst_updatecommand.moc"
