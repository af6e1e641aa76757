#include "SearchPage.h"

#include <QtTest>

// The search page's text, which is pure.
class TestBrowserRules : public QObject
{
    Q_OBJECT
private slots:
    void searchPageLines_data();
    void searchPageLines();
    void searchPageEndsEveryLineWithCrLf();
    void searchPageEscapesConfiguredValues();
};

namespace {
const QString Engine = QStringLiteral("https://engine.example");
const QString Partner = QStringLiteral("partner-pub-0001:abc");
} // namespace

void TestBrowserRules::searchPageLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    const QStringList table = {
        R"(<HTML><BODY>)",
        R"(<!-- Search Google -->)",
        R"(<center>)",
        R"(<form method="get" action="https://engine.example/custom" target="_top">)",
        R"(<table bgcolor="#ffffff">)",
        R"(<tr><td nowrap="nowrap" valign="top" align="left" height="32">)",
        R"(<a href="https://engine.example/">)",
        R"(<img src="https://engine.example/logos/Logo_25wht.gif" border="0" alt="Google" align="middle"></img></a>)",
        R"(<input type="text" name="q" size="31" maxlength="255" value=""></input>)",
        R"(<input type="submit" name="sa" value="Search"></input>)",
        R"(<input type="hidden" name="client" value="partner-pub-0001:abc"></input>)",
        R"(<input type="hidden" name="forid" value="1"></input>)",
        R"(<input type="hidden" name="ie" value="ISO-8859-1"></input>)",
        R"(<input type="hidden" name="oe" value="ISO-8859-1"></input>)",
        R"(<input type="hidden" name="cof" value="GALT:#008000;GL:1;DIV:#336699;VLC:663399;AH:center;BGC:FFFFFF;LBGC:336699;ALC:0000FF;LC:0000FF;T:000000;GFNT:0000FF;GIMP:0000FF;FORID:1;"></input>)",
        R"(<input type="hidden" name="hl" value="en"></input>)",
        R"(</td></tr></table>)",
        R"(</form>)",
        R"(</center>)",
        R"(<!-- Search Google -->)",
        R"(</BODY>)",
        R"(</HTML>)",
    };
    for (int i = 0; i < table.size(); ++i)
        QTest::addRow("line %d", i + 1) << i + 1 << table.at(i);
}

void TestBrowserRules::searchPageLines()
{
    QFETCH(int, line);
    QFETCH(QString, expected);
    const QStringList lines = SearchPage::text(Engine, Partner).split(QStringLiteral("\r\n"));
    // 22 lines and the empty rest after the last CR LF.
    QCOMPARE(lines.size(), 23);
    QCOMPARE(lines.at(line - 1), expected);
}

void TestBrowserRules::searchPageEndsEveryLineWithCrLf()
{
    const QString page = SearchPage::text(Engine, Partner);
    QVERIFY(page.endsWith(QStringLiteral("</HTML>\r\n")));
    QCOMPARE(page.count(QStringLiteral("\r\n")), 22);
    QCOMPARE(page.count(QLatin1Char('\n')), 22);
    QCOMPARE(page.count(QLatin1Char('\r')), 22);
}

void TestBrowserRules::searchPageEscapesConfiguredValues()
{
    const QString page = SearchPage::text(QStringLiteral("http://a\"b"), QStringLiteral("x\"><y"));
    QVERIFY(page.contains(QStringLiteral("action=\"http://a&quot;b/custom\"")));
    QVERIFY(page.contains(QStringLiteral("name=\"client\" value=\"x&quot;&gt;&lt;y\"")));
}

QTEST_GUILESS_MAIN(TestBrowserRules)
#include "tst_browserrules.moc"
