#include "AccessibleTree.h"
#include "KeywordListView.h"
#include "LocalHttpServer.h"
#include "MDI.h"
#include "RealDesktop.h"
#include "RunningProgram.h"
#include "ScreenReaderAccess.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {

const QByteArray HomePage = "<!DOCTYPE html><html><head><title>Somnilex home</title></head>"
                            "<body><h1>Somnilex</h1></body></html>";

// The plain text of the first element of the shipped page that pattern finds.
QString shippedText(const QString &page, const QString &pattern)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QRegularExpressionMatch match
        = QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
              .match(QString::fromUtf8(file.readAll()));
    return match.hasMatch()
        ? QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified()
        : QString();
}

// Whether an object of role reads as text: by its name, its own text, or the text of its
// children, where the engine puts the words of a paragraph.
bool hasNode(const QList<AccessibleTree::Node> &tree, const QString &role, const QString &text)
{
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const AccessibleTree::Node &node = tree[i];
        if (node.role != role)
            continue;
        if (node.name == text || node.text == text)
            return true;
        QStringList words;
        for (qsizetype j = i + 1; j < tree.size() && tree[j].depth > node.depth; ++j) {
            if (tree[j].depth == node.depth + 1)
                words << (tree[j].text.isEmpty() ? tree[j].name : tree[j].text);
        }
        if (words.join(QLatin1Char(' ')).simplified() == text)
            return true;
    }
    return false;
}

} // namespace

// The meaning pane read by a screen reader: after Display, the page's heading and its meaning
// are in the program's accessibility tree on the desktop's accessibility bus.
class TestScreenReader : public QObject
{
    Q_OBJECT
public:
    static void initMain() { RealDesktop::prepareMain(); }

private slots:
    void initTestCase();
    void readsTheDisplayedMeaning();
    void listsOnlyTheProgramsWindows();

private:
    LocalHttpServer m_server;
};

void TestScreenReader::initTestCase()
{
    QString missing = RealDesktop::whatIsMissing();
    if (missing.isEmpty())
        missing = AccessibleTree::whatIsMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    const ScreenReaderAccess::DesktopState desktop = ScreenReaderAccess::readDesktop();
    if (!desktop.busFound)
        QSKIP("needs the AT-SPI bus on a D-Bus session (org.a11y.Bus); scripts/test starts one "
              "with dbus-daemon and at-spi-bus-launcher");
    if (!ScreenReaderAccess::wantsAccessibility(desktop))
        QSKIP("the desktop's accessibility is off (org.a11y.Status IsEnabled and "
              "ScreenReaderEnabled are false); a screen reader turns it on");
    // As main does, before the first web view.
    QVERIFY(ScreenReaderAccess::prepareEngine());
    QVERIFY(qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"));
    QVERIFY(m_server.start());
    m_server.setPage(QStringLiteral("/"), HomePage);
}

void TestScreenReader::readsTheDisplayedMeaning()
{
    const QString page = QStringLiteral(":/dreams/snake.html");
    const QString heading = shippedText(page, QStringLiteral("<h1>(.*?)</h1>"));
    const QString meaning
        = shippedText(page, QStringLiteral("<section class=\"meaning\"[^>]*>\\s*<p>(.*?)</p>"));
    QVERIFY2(!heading.isEmpty() && !meaning.isEmpty(), "the shipped Snake page");

    RunningProgram program(true, m_server.baseUrl());
    program.start();
    MDI *window = program.mainWindow();
    QVERIFY(window && window->meaningPane());
    WebView *view = window->meaningPane()->webView();
    QSignalSpy loaded(view, &WebView::DocumentComplete);
    QVERIFY(WebWait::documents(loaded));
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);

    auto *txtKey = window->findChild<QLineEdit *>(QStringLiteral("txtKey"));
    auto *cmdDisplay = window->findChild<QPushButton *>(QStringLiteral("cmdDisplay"));
    QVERIFY(txtKey && cmdDisplay);
    txtKey->setText(QStringLiteral("Snake"));
    loaded.clear();
    cmdDisplay->click();
    QVERIFY(WebWait::documents(loaded));
    QCOMPARE(loaded.first().first().toString(), QStringLiteral("qrc:/dreams/snake.html"));

    // The engine builds the page's tree as the reader asks for it: ask until it is there.
    QList<AccessibleTree::Node> tree;
    const bool read = QTest::qWaitFor(
        [&] {
            tree = AccessibleTree::read();
            return hasNode(tree, QStringLiteral("heading"), heading)
                && hasNode(tree, QStringLiteral("paragraph"), meaning);
        },
        120000);
    if (!read) {
        qInfo().noquote() << "Looked for the heading" << heading << "and the meaning" << meaning;
        for (const AccessibleTree::Node &node : tree)
            qInfo().noquote() << node.depth << node.role << node.name << node.text.left(60);
    }
    QVERIFY2(read, "the Snake page's heading and meaning in the accessibility tree");
}

// The windows a reader lists for the program: the main window while it runs, then the exit
// screen, each as a window (a frame), never the engine's hidden drawing window.
void TestScreenReader::listsOnlyTheProgramsWindows()
{
    RunningProgram program(true, m_server.baseUrl());
    program.start();
    MDI *window = program.mainWindow();
    QVERIFY(window && window->meaningPane());
    QSignalSpy loaded(window->meaningPane()->webView(), &WebView::DocumentComplete);
    QVERIFY(WebWait::documents(loaded));
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);

    auto windows = [](const QList<AccessibleTree::Node> &tree) {
        QStringList listed;
        for (const AccessibleTree::Node &node : tree) {
            if (node.depth == 1)
                listed << node.role + QLatin1Char(':') + node.name;
        }
        return listed;
    };
    QStringList listed;
    QVERIFY(QTest::qWaitFor(
        [&] { return !(listed = windows(AccessibleTree::read())).isEmpty(); }, 60000));
    QCOMPARE(listed, QStringList { QStringLiteral("frame:") + window->windowTitle() });

    // Ctrl+Q, as Exit: the exit screen takes over.
    window->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(program.application->exitScreen());
    const QString exitTitle = program.application->exitScreen()->windowTitle();
    QVERIFY(QTest::qWaitFor(
        [&] {
            listed = windows(AccessibleTree::read());
            return listed.contains(QStringLiteral("frame:") + exitTitle);
        },
        60000));
    QVERIFY2(!listed.join(' ').contains(QStringLiteral("filler")), qPrintable(listed.join(", ")));
    QVERIFY2(
        !listed.join(' ').contains(QStringLiteral("Offscreen")), qPrintable(listed.join(", ")));
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader_e2e.moc"
