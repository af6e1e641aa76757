// The program under a dark desktop palette: the pages, the promotional strips and the about
// box. The engine reads the scheme once per process, so the whole suite runs dark.
//
// With SOMNILEX_SHOTS_DIR set, the main window and the about box are saved there as pictures.
#include "ColourScheme.h"
#include "Contrast.h"
#include "LinkLabel.h"
#include "MainWindowTestBase.h"
#include "PaneArea.h"
#include "WebPage.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

namespace {

const QString SnakePage = QStringLiteral("qrc:/dreams/snake.html");

QPalette darkPalette()
{
    QPalette dark;
    const QColor window(43, 43, 43);
    const QColor text(230, 230, 230);
    for (auto [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>> {
             { QPalette::Window, window },
             { QPalette::WindowText, text },
             { QPalette::Base, QColor(30, 30, 30) },
             { QPalette::AlternateBase, window },
             { QPalette::Text, text },
             { QPalette::Button, QColor(53, 53, 53) },
             { QPalette::ButtonText, text },
             { QPalette::Link, QColor(138, 180, 248) },
             { QPalette::LinkVisited, QColor(197, 138, 249) },
             { QPalette::Highlight, QColor(61, 111, 180) },
             { QPalette::HighlightedText, Qt::white },
             { QPalette::ToolTipBase, QColor(58, 58, 58) },
             { QPalette::ToolTipText, text },
             { QPalette::PlaceholderText, QColor(160, 160, 160) },
         })
        dark.setColor(role, colour);
    return dark;
}

QColor cssColour(const QString &css)
{
    const QRegularExpressionMatch rgb
        = QRegularExpression(QStringLiteral("rgba?\\((\\d+), (\\d+), (\\d+)")).match(css);
    return rgb.hasMatch()
        ? QColor(rgb.captured(1).toInt(), rgb.captured(2).toInt(), rgb.captured(3).toInt())
        : QColor();
}

// The colour a link label draws its text in.
QColor linkColour(const LinkLabel *label)
{
    const QRegularExpressionMatch colour
        = QRegularExpression(QStringLiteral("color: (#[0-9a-f]{6})")).match(label->text());
    return colour.hasMatch() ? QColor(colour.captured(1)) : QColor();
}

void saveShot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("SOMNILEX_SHOTS_DIR");
    if (!folder.isEmpty())
        QVERIFY(widget->grab().save(folder + QStringLiteral("/dark-%1.png").arg(name)));
}

} // namespace

class TestDarkScheme : public MainWindowTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void schemeIsReadFromThePalette_data();
    void schemeIsReadFromThePalette();
    void bundledPageIsDark();
    void stripsFollowThePalette();
    void aboutBoxReads();
};

void TestDarkScheme::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    ColourScheme::prepareEngine(QApplication::palette());
}

void TestDarkScheme::init()
{
    setUpFixture();
    m_folder->writeDictionary(rowsOf({ "Snake" }));
    openMainWindow();
}

void TestDarkScheme::cleanup()
{
    tearDownFixture();
}

void TestDarkScheme::schemeIsReadFromThePalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("dark");
    const QPalette fusion = QStyleFactory::create(QStringLiteral("Fusion"))->standardPalette();
    QTest::newRow("Fusion's light") << fusion << false;
    QTest::newRow("dark desktop") << darkPalette() << true;
    QPalette highContrast;
    highContrast.setColor(QPalette::Window, Qt::black);
    highContrast.setColor(QPalette::WindowText, Qt::yellow);
    QTest::newRow("high contrast, black") << highContrast << true;
    QPalette paleGrey;
    paleGrey.setColor(QPalette::Window, QColor(200, 200, 200));
    paleGrey.setColor(QPalette::WindowText, QColor(20, 20, 20));
    QTest::newRow("grey window, dark text") << paleGrey << false;
}

void TestDarkScheme::schemeIsReadFromThePalette()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, dark);
    QCOMPARE(ColourScheme::isDark(palette), dark);
}

void TestDarkScheme::bundledPageIsDark()
{
    m_window->panes()->showMeaningPane();
    WebView *view = m_window->meaningPane()->webView();
    // Nothing white shows before the page does.
    QVERIFY(Contrast::relativeLuminance(view->page()->backgroundColor()) < 0.05);
    QCOMPARE(WebWait::navigate(*view, SnakePage), SnakePage);

    QCOMPARE(WebWait::evaluate(view->page(),
                 QStringLiteral("window.matchMedia('(prefers-color-scheme: dark)').matches")),
        QVariant(true));
    const QColor paper = cssColour(WebWait::evaluate(
        view->page(), QStringLiteral("getComputedStyle(document.documentElement).backgroundColor"))
                                       .toString());
    const QColor ink = cssColour(
        WebWait::evaluate(view->page(), QStringLiteral("getComputedStyle(document.body).color"))
            .toString());
    QVERIFY(paper.isValid() && ink.isValid());
    QVERIFY2(Contrast::relativeLuminance(paper) < 0.05, qPrintable(paper.name()));
    QVERIFY2(Contrast::ratio(ink, paper) >= Contrast::Minimum, qPrintable(ink.name()));

    m_window->showMaximized();
    saveShot(m_window.get(), QStringLiteral("main"));
}

void TestDarkScheme::stripsFollowThePalette()
{
    const QList<LinkLabel *> labels = m_window->findChildren<LinkLabel *>();
    QVERIFY(labels.size() >= 3);
    for (const LinkLabel *label : labels) {
        const QColor background = label->palette().color(label->backgroundRole());
        const QColor link = linkColour(label);
        QVERIFY2(link.isValid(), qPrintable(label->objectName()));
        // No white slab on the dark toolbar.
        QVERIFY2(Contrast::relativeLuminance(background) < 0.05, qPrintable(label->objectName()));
        QVERIFY2(Contrast::ratio(link, background) >= Contrast::Minimum,
            qPrintable(label->objectName()));
    }
}

void TestDarkScheme::aboutBoxReads()
{
    frmAbout box(m_config, *m_services.links, m_window.get());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QColor background = box.palette().color(QPalette::Window);
    for (const QLabel *label : box.findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue; // the picture
        const auto *link = qobject_cast<const LinkLabel *>(label);
        const QColor text
            = link ? linkColour(link) : label->palette().color(label->foregroundRole());
        QVERIFY2(Contrast::ratio(text, background) >= Contrast::Minimum,
            qPrintable(label->objectName() + ' ' + text.name() + " on " + background.name()));
    }
    saveShot(&box, QStringLiteral("about"));
}

QTEST_MAIN(TestDarkScheme)
#include "tst_darkscheme.moc"
