// A web search from the main window: the search page's form as the engine receives it, the
// term verbatim whatever it holds, the blank box, and the addresses the window lists.
#include "BrowserTestBase.h"

using namespace BrowserTexts;

class TestBrowser : public BrowserTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUpBrowser(); }
    void cleanup() { tearDownBrowser(); }
    void searchSendsTheFormInFieldOrder();
    void termArrivesAsOneValue_data();
    void termArrivesAsOneValue();
    void hostileTermArrivesVerbatimAndRunsNothing_data();
    void hostileTermArrivesVerbatimAndRunsNothing();
    void blankBox_data();
    void blankBox();
    void blankPageIsNeverListedNorCaption();
};

void TestBrowser::searchSendsTheFormInFieldOrder()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    QCOMPARE(browser()->QueryString, QStringLiteral("Snake"));
    waitForReply();
    const QString target = m_server->requestsFor(QStringLiteral("/custom")).first();
    QCOMPARE(queryOf(target), QStringLiteral("q=Snake") + FieldsAfterTerm);
    QCOMPARE(itemsOf(addressBox(browser())), QStringList { m_server->url(target) });
    QCOMPARE(addressBox(browser())->currentIndex(), 0);
    QCOMPARE(addressBox(browser())->currentText(), m_server->url(target));
    QCOMPARE(
        m_window->findChild<QMdiArea *>("mdiArea")->activeSubWindow(), browser()->parentWidget());
    QCOMPARE(m_state.IsOnline, 1);
    // Online, the address box moves to the label's width and top, clear of its text.
    const QLabel *label = browser()->findChild<QLabel *>("lblAddress");
    QCOMPARE(addressBox(browser())->pos(), QPoint(label->width(), label->y()));
    QVERIFY(addressBox(browser())->x() >= label->x() + label->sizeHint().width());
}

void TestBrowser::termArrivesAsOneValue_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("spaces kept") << "  Snake "
                                 << "++Snake+";
    QTest::newRow("field separators") << "a&b=c#d"
                                      << "a%26b%3Dc%23d";
    QTest::newRow("plus and percent") << "1+1 %20"
                                      << "1%2B1+%2520";
}

void TestBrowser::termArrivesAsOneValue()
{
    QFETCH(QString, term);
    QFETCH(QString, encoded);
    openWindow();
    webSearch(term, true);
    waitForReply();
    const QString query = queryOf(m_server->requestsFor(QStringLiteral("/custom")).first());
    QCOMPARE(query, QStringLiteral("q=") + encoded + FieldsAfterTerm);
    QCOMPARE(fieldsOf(query).first().second, term);
}

void TestBrowser::hostileTermArrivesVerbatimAndRunsNothing_data()
{
    // BASE stands for the local server: a request for /ran or /injected means the term ran.
    QTest::addColumn<QString>("term");
    QTest::newRow("quotes") << R"(He said "don't" and 'left')";
    QTest::newRow("backslashes") << R"(C:\dreams\ \" \' \\u0022)";
    QTest::newRow("script close") << R"(</script><script>new Image().src='BASE/ran'</script>)";
    QTest::newRow("image onerror")
        << R"(<img src="BASE/injected" onerror="new Image().src='BASE/ran'">)";
    QTest::newRow("breaks out of an attribute")
        << R"("><img src="BASE/injected" onerror="new Image().src='BASE/ran'"><b x=")";
    QTest::newRow("breaks out of a call") << R"("]);new Image().src='BASE/ran';//)";
    QTest::newRow("breaks out of a quoted text") << R"(');new Image().src='BASE/ran';//)";
    QTest::newRow("template") << R"(${new Image().src='BASE/ran'}`)";
    QTest::newRow("line break") << "first line\r\nsecond line";
}

void TestBrowser::hostileTermArrivesVerbatimAndRunsNothing()
{
    QFETCH(QString, term);
    term.replace(QStringLiteral("BASE"), m_server->baseUrl());
    openWindow();
    webSearch(term, false);
    waitForReply();
    QCOMPARE(browser()->QueryString, term);
    const QString query = queryOf(m_server->requestsFor(QStringLiteral("/custom")).first());
    const auto fields = fieldsOf(query);
    QCOMPARE(fields.size(), 8);
    QCOMPARE(fields.first().first, QStringLiteral("q"));
    QCOMPARE(fields.first().second, term);
    QVERIFY(query.endsWith(FieldsAfterTerm));
    QCOMPARE(browser()->windowTitle(), ReplyTitle);
    // A stray script ran in the page that the reply replaced: its requests left before one
    // from the reply.
    QVERIFY(!WebWait::sentinel(browser()->webView()->page(), *m_server).isEmpty());
    QVERIFY(m_server->requestsFor(QStringLiteral("/ran")).isEmpty());
    QVERIFY(m_server->requestsFor(QStringLiteral("/injected")).isEmpty());
}

void TestBrowser::blankBox_data()
{
    QTest::addColumn<QString>("term");
    QTest::newRow("empty") << "";
    QTest::newRow("only spaces") << "   ";
}

void TestBrowser::blankBox()
{
    QFETCH(QString, term);
    openWindow();
    // The Search button refuses it ...
    webSearch(term, false);
    QCOMPARE(m_fakes->prompter.texts(), QStringList { "Please Enter Search Term" });
    QVERIFY(!browser());
    // ... Enter sends it as an empty term.
    webSearch(term, true);
    QVERIFY(browser());
    QCOMPARE(browser()->QueryString, QString());
    waitForReply();
    QCOMPARE(queryOf(m_server->requestsFor(QStringLiteral("/custom")).first()),
        QStringLiteral("q=") + FieldsAfterTerm);
    QCOMPARE(m_fakes->prompter.texts().size(), 1);
}

void TestBrowser::blankPageIsNeverListedNorCaption()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QStringList captions;
    connect(browser(), &QWidget::windowTitleChanged, this,
        [&captions](const QString &caption) { captions << caption; });
    waitForReply();
    const QStringList listed = itemsOf(addressBox(browser()));
    QCOMPARE(listed.size(), 1);

    // Back on the empty page: nothing changes.
    WebView *view = browser()->webView();
    QSignalSpy documents(view, &WebView::DocumentComplete); // after the window's own handler
    view->Navigate(QStringLiteral("about:blank"));
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(documents.first().first().toString(), QStringLiteral("about:blank"));
    QCOMPARE(view->LocationURL(), QStringLiteral("about:blank"));
    // Scripts run in turn: had the handler placed the search page again, this one would find
    // it, or the reply that it brought.
    QCOMPARE(WebWait::evaluate(view->page(), QStringLiteral("document.body.innerHTML")),
        QVariant(QString()));
    QCOMPARE(itemsOf(addressBox(browser())), listed);
    QCOMPARE(browser()->windowTitle(), ReplyTitle);
    QVERIFY(!captions.isEmpty());
    for (const QString &caption : captions)
        QVERIFY2(!caption.contains(QStringLiteral("about:blank")), qPrintable(caption));
    // The search page went in once: no second request from the empty page.
    QCOMPARE(m_server->requestsFor(QStringLiteral("/custom")).size(), 1);
}

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
