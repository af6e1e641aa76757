#include "AppState.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "LinkLabel.h"
#include "MDI.h"
#include "MainWindowTestBase.h"
#include "TestDictionary.h"
#include "WebPage.h"
#include "WebView.h"
#include "frmMain.h"
#include "modDB.h"

#include "KeywordListView.h"
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

namespace {

void appendRow(DictionaryCache &cache, const QString &path, const QString &key)
{
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, cache, path);
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->AddNew();
    rs->setField("Key", key);
    rs->setField("Link", "qrc:/dreams/new.html");
    rs->setField("Names", "astro");
    rs->Update();
}

QList<QWidget *> controlsOf(const QWidget &window)
{
    return { window.findChild<QRadioButton *>("optWildCard"),
        window.findChild<QRadioButton *>("optExact"), window.findChild<QRadioButton *>("optGoogle"),
        window.findChild<QLineEdit *>("txtKey"), window.findChild<QPushButton *>("cmdSearch"),
        window.findChild<KeywordListView *>("lstKeys"),
        window.findChild<QPushButton *>("cmdDisplay"), window.findChild<QPushButton *>("cmdDonate"),
        window.findChild<QPushButton *>("cmdExit"),
        (QWidget *)window.findChild<LinkLabel *>("lblCoBrand"),
        (QWidget *)window.findChild<LinkLabel *>("Label61"),
        (QWidget *)window.findChild<LinkLabel *>("Label4") };
}

// Each menu's title, then its entries with their keys, in order.
QStringList menuTexts(const QMenuBar *bar)
{
    QStringList texts;
    for (QAction *action : bar->actions()) {
        texts << action->text();
        for (QAction *item : action->menu() ? action->menu()->actions() : QList<QAction *>()) {
            if (!item->isSeparator())
                texts << item->text() + ' ' + item->shortcut().toString(QKeySequence::PortableText);
        }
    }
    return texts;
}

} // namespace

class TestMainWindow : public MainWindowTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void makeUp();
    void fillsEveryKeyInTableOrderAtLoad();
    void typingDoesNotChangeTheList();
    void blankBoxRefillsWithAppendedRows_data();
    void blankBoxRefillsWithAppendedRows();
    void clickCopiesTheSelectedKeyword();
    void keyOfAnyLengthIsDisplayed_data();
    void keyOfAnyLengthIsDisplayed();
    void missingDictionaryStillOpensTheWindow();
    void failedRestoreKeepsTheList();
    void resizeFollowsTheWindow();

private:
    QStringList listed() const
    {
        return m_window->findChild<KeywordListModel *>("keywords")->keys();
    }
};

void TestMainWindow::init()
{
    setUpFixture();
}

void TestMainWindow::cleanup()
{
    tearDownFixture();
}

void TestMainWindow::makeUp()
{
    m_folder->writeDictionary(rowsOf({ "Snake" }));
    openMainWindow();
    QCOMPARE(m_window->windowTitle(), QString("Somnilex v1.85"));
    QVERIFY(m_window->findChild<QRadioButton *>("optExact")->isChecked());
    QCOMPARE(m_window->findChild<KeywordListModel *>("keywords")
                 ->headerData(0, Qt::Horizontal)
                 .toString(),
        QString("Keywords"));
    QVERIFY(m_window->findChild<KeywordListView *>("lstKeys")->horizontalHeader()->isVisible());
    QCOMPARE(m_window->findChild<QLabel *>("Label1")->buddy(),
        m_window->findChild<QLineEdit *>("txtKey"));

    // Every control has a name a screen reader can speak.
    for (QWidget *control : controlsOf(*m_window)) {
        const QString name = control->accessibleName().isEmpty()
            ? control->property("text").toString()
            : control->accessibleName();
        QVERIFY2(!name.isEmpty(), qPrintable(control->metaObject()->className()));
    }

    // Captions keep their access keys; the page commands come with a browser's keys, added
    // around the program's own entries.
    QCOMPARE(m_window->findChild<QPushButton *>("cmdSearch")->text(), QString("&Search"));
    QCOMPARE(m_window->findChild<QPushButton *>("cmdDisplay")->text(), QString("&Display"));
    QCOMPARE(m_window->findChild<QPushButton *>("cmdExit")->text(), QString("E&xit"));
    QCOMPARE(menuTexts(m_window->menuBar()),
        QStringList({ "&File", "&Update ", "&Print Page… Ctrl+P", "E&xit Ctrl+Q", "&Page",
            "&Find in Page... Ctrl+F", "Find &Next F3", "Find Pre&vious Shift+F3",
            "Zoom &In Ctrl++", "Zoom &Out Ctrl+-", "&Actual Size Ctrl+0", "&Help",
            "Somnilex &Start Page F1", "&Online Help ", "&Visit Us Online ",
            "Check for Software &Update ", "&About Software ", "&Donate", "Make Money &Online" }));

    QStringList keys;
    for (QAction *action : m_window->findChild<QToolBar *>("TB")->actions()) {
        if (!action->objectName().isEmpty()) {
            keys << action->objectName();
            QCOMPARE(action->toolTip(), action->objectName());
            QVERIFY(!action->icon().isNull());
        }
    }
    QCOMPARE(keys, QStringList({ "Back", "Forward", "Stop", "Refresh", "Home", "Search" }));
    QCOMPARE(m_window->findChild<QToolBar *>("TB")->iconSize(), QSize(24, 24));
}

void TestMainWindow::fillsEveryKeyInTableOrderAtLoad()
{
    m_folder->writeDictionary(rowsOf({ "Zebra", "apple", "Snake", "Moon", "Snake" }));
    openMainWindow();
    QCOMPARE(listed(), QStringList({ "Zebra", "apple", "Snake", "Moon", "Snake" }));
    QCOMPARE(m_fakes->connection.asked, 1);
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
    // The column takes the list's width less 200 twips, once.
    const int listWidth = m_window->findChild<KeywordListView *>("lstKeys")->width() * 15;
    QCOMPARE(m_window->findChild<KeywordListView *>("lstKeys")->columnWidthPixels(),
        (listWidth - 200) / 15);
    m_window->resize(m_window->width() + 100, m_window->height());
    QCOMPARE(m_window->findChild<KeywordListView *>("lstKeys")->columnWidthPixels(),
        (listWidth - 200) / 15);
}

void TestMainWindow::typingDoesNotChangeTheList()
{
    m_folder->writeDictionary(rowsOf({ "Snake", "Moon", "Sun" }));
    openMainWindow();
    m_window->findChild<QLineEdit *>("txtKey")->setFocus();
    QTest::keyClicks(m_window->findChild<QLineEdit *>("txtKey"), "Sn");
    QCOMPARE(listed(), QStringList({ "Snake", "Moon", "Sun" }));
    QTest::keyClicks(m_window->findChild<QLineEdit *>("txtKey"), "zzz");
    QCOMPARE(listed(), QStringList({ "Snake", "Moon", "Sun" }));
}

void TestMainWindow::blankBoxRefillsWithAppendedRows_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("deletes");
    QTest::newRow("emptied") << "Sn" << 2;
    QTest::newRow("only spaces left") << "  S" << 1;
}

void TestMainWindow::blankBoxRefillsWithAppendedRows()
{
    QFETCH(QString, typed);
    QFETCH(int, deletes);
    m_folder->writeDictionary(rowsOf({ "Snake", "Moon" }));
    openMainWindow();
    QTest::keyClicks(m_window->findChild<QLineEdit *>("txtKey"), typed);
    m_window->findChild<KeywordListModel *>("keywords")
        ->setKeys({ "Snake" }); // as a search would narrow it
    appendRow(*m_dictionary, m_folder->dictionary(), "Amethyst");
    for (int i = 0; i < deletes - 1; ++i)
        QTest::keyClick(m_window->findChild<QLineEdit *>("txtKey"), Qt::Key_Backspace);
    QCOMPARE(listed(), QStringList({ "Snake" }));
    QTest::keyClick(m_window->findChild<QLineEdit *>("txtKey"), Qt::Key_Backspace);
    QCOMPARE(listed(), QStringList({ "Snake", "Moon", "Amethyst" }));
}

void TestMainWindow::clickCopiesTheSelectedKeyword()
{
    m_folder->writeDictionary(rowsOf({ "Snake", "Moon" }));
    openMainWindow();
    KeywordListView *list = m_window->findChild<KeywordListView *>("lstKeys");
    m_window->findChild<QLineEdit *>("txtKey")->setText("typed");

    // A click below the last item, with nothing selected, leaves the box alone.
    const QPoint empty(10, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(empty).isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, empty);
    QCOMPARE(m_window->findChild<QLineEdit *>("txtKey")->text(), QString("typed"));

    const QRect moon
        = list->visualRect(m_window->findChild<KeywordListModel *>("keywords")->index(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, moon.center());
    QCOMPARE(m_window->findChild<QLineEdit *>("txtKey")->text(), QString("Moon"));
    QCOMPARE(listed(), QStringList({ "Snake", "Moon" }));
}

void TestMainWindow::keyOfAnyLengthIsDisplayed_data()
{
    QTest::addColumn<int>("length");
    // A line edit holds 32,767 characters unless told otherwise.
    QTest::newRow("line edit's default limit") << 32767;
    QTest::newRow("one past it") << 32768;
    QTest::newRow("a hundred thousand") << 100000;
}

void TestMainWindow::keyOfAnyLengthIsDisplayed()
{
    QFETCH(int, length);
    const QString key = QStringLiteral("Snake") + QString(length - 5, QLatin1Char('s'));
    m_folder->writeDictionary(rowsOf({ "Moon", key }));
    openMainWindow();
    KeywordListView *list = m_window->findChild<KeywordListView *>("lstKeys");
    const QRect row
        = list->visualRect(m_window->findChild<KeywordListModel *>("keywords")->index(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(m_window->findChild<QLineEdit *>("txtKey")->text().size(), length);

    QTest::mouseClick(m_window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(m_fakes->prompter.prompts.isEmpty());
    // The whole key was found: its own page is the one asked for.
    QCOMPARE(m_window->meaningPane()->webView()->webPage()->requestedUrl().toString(),
        rowsOf({ key }).front().link);
}

void TestMainWindow::missingDictionaryStillOpensTheWindow()
{
    openMainWindow(); // no dream.dll in the folder
    QVERIFY(m_window->isVisible());
    QVERIFY(listed().isEmpty());
    QCOMPARE(m_fakes->prompter.prompts.size(), 1);
    QCOMPARE(m_fakes->prompter.prompts.first().kind, PromptRecord::Error);
    QVERIFY(m_fakes->prompter.prompts.first().text.contains(m_folder->dictionary()));
    QVERIFY(m_fakes->prompter.prompts.first().text.contains("does not exist"));
}

void TestMainWindow::failedRestoreKeepsTheList()
{
    m_folder->writeDictionary(rowsOf({ "Snake", "Moon" }));
    openMainWindow();
    m_window->findChild<QLineEdit *>("txtKey")->setText("x");
    m_window->findChild<KeywordListModel *>("keywords")->setKeys({ "Snake" });
    QFile file(m_folder->dictionary());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("damaged beyond repair");
    file.close();
    m_window->findChild<QLineEdit *>("txtKey")->clear();
    QCOMPARE(listed(), QStringList({ "Snake" }));
    QCOMPARE(m_fakes->prompter.prompts.size(), 1);
    QVERIFY(m_fakes->prompter.prompts.first().text.contains("not a dictionary database"));
}

void TestMainWindow::resizeFollowsTheWindow()
{
    m_folder->writeDictionary(rowsOf({ "Snake" }));
    openMainWindow();
    m_window->resize(900, 700);
    QTRY_COMPARE(m_window->height(), 700);
    const QRect list = m_window->findChild<KeywordListView *>("lstKeys")->geometry();
    const QRect display = m_window->findChild<QPushButton *>("cmdDisplay")->geometry();
    const QRect search = m_window->findChild<QPushButton *>("cmdSearch")->geometry();
    const QRect exit = m_window->findChild<QPushButton *>("cmdExit")->geometry();

    m_window->resize(960, 760);
    QTRY_COMPARE(m_window->height(), 760);
    QCOMPARE(m_window->findChild<KeywordListView *>("lstKeys")->height(), list.height() + 60);
    QCOMPARE(m_window->findChild<QPushButton *>("cmdDisplay")->y(), display.y() + 60);
    QCOMPARE(m_window->findChild<QPushButton *>("cmdSearch")->geometry(), search);
    QCOMPARE(m_window->findChild<QPushButton *>("cmdExit")->x(), exit.x() + 60);
    // Minimising needs a window manager: the end-to-end tests check it.
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
