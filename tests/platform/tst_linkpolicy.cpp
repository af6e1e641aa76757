#include "LinkPolicy.h"

#include <QtTest>

class TestLinkPolicy : public QObject
{
    Q_OBJECT
private slots:
    void links_data();
    void links();
};

void TestLinkPolicy::links_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("showable");

    QTest::newRow("https page") << "https://dreams.test/snake.html" << true;
    QTest::newRow("http page") << "http://dreams.test/snake.html" << true;
    QTest::newRow("scheme and host in capitals") << "HTTPS://Dreams.Test/Snake.html" << true;
    QTest::newRow("port, query and fragment") << "http://127.0.0.1:8080/a?b=c#d" << true;
    QTest::newRow("blank page") << "about:blank" << true;
    QTest::newRow("bundled page") << "qrc:/dreams/snake.html" << true;
    QTest::newRow("bundled page, empty authority") << "qrc:///dreams/snake.html" << true;
    QTest::newRow("bundled page in a folder") << "qrc:/dreams/a/snake.html" << true;

    QTest::newRow("local file") << "file:///etc/passwd" << false;
    QTest::newRow("local file on a host") << "file://localhost/etc/passwd" << false;
    QTest::newRow("inline document") << "data:text/html,<script>alert(1)</script>" << false;
    QTest::newRow("inline document, base64") << "data:text/html;base64,PHNjcmlwdD4=" << false;
    QTest::newRow("page source") << "view-source:https://dreams.test/" << false;
    QTest::newRow("browser settings") << "chrome://settings" << false;
    QTest::newRow("browser internals") << "chrome://gpu/" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("script in mixed case") << "JavaScript:alert(1)" << false;
    QTest::newRow("frame source page") << "about:srcdoc" << false;
    QTest::newRow("other about page") << "about:config" << false;
    QTest::newRow("blank page in capitals") << "about:BLANK" << false;
    QTest::newRow("bundled icon") << "qrc:/icons/home.svg" << false;
    QTest::newRow("bundled pages folder") << "qrc:/dreams/" << false;
    QTest::newRow("climbing out of the pages") << "qrc:/dreams/../icons/home.svg" << false;
    QTest::newRow("climbing out, encoded") << "qrc:/dreams/%2e%2e/icons/home.svg" << false;
    QTest::newRow("climbing out, backslash") << "qrc:/dreams/..%5Cicons/home.svg" << false;
    QTest::newRow("current folder segment") << "qrc:/dreams/./snake.html" << false;
    QTest::newRow("bundled page named as a host") << "qrc://dreams/snake.html" << false;
    QTest::newRow("bundled page without its slash") << "qrc:dreams/snake.html" << false;
    QTest::newRow("blob") << "blob:https://dreams.test/0b1c" << false;
    QTest::newRow("file system") << "filesystem:https://dreams.test/temporary/a" << false;
    QTest::newRow("ftp") << "ftp://dreams.test/snake.html" << false;
    QTest::newRow("mail") << "mailto:someone@dreams.test" << false;
    QTest::newRow("web socket") << "wss://dreams.test/" << false;
    QTest::newRow("http without host") << "http:snake.html" << false;
    QTest::newRow("https with nothing after") << "https://" << false;

    // What a relative link would open is a guess: another page, a host, a local file.
    QTest::newRow("relative page") << "snake.html" << false;
    QTest::newRow("absolute path") << "/dreams/snake.html" << false;
    QTest::newRow("host without scheme") << "www.dreams.test/snake.html" << false;
    QTest::newRow("host and port without scheme") << "localhost:8080/snake.html" << false;
    QTest::newRow("drive letter") << "C:/Windows/win.ini" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("spaces around") << " https://dreams.test/ " << false;
}

void TestLinkPolicy::links()
{
    QFETCH(QString, link);
    QFETCH(bool, showable);
    QCOMPARE(LinkPolicy::isShowableLink(link), showable);
    // The panes judge the address they are given, parsed as they parse it.
    const QUrl url(link, QUrl::StrictMode);
    if (url.isValid() && !url.isRelative())
        QCOMPARE(LinkPolicy::isShowable(url), showable);
}

QTEST_GUILESS_MAIN(TestLinkPolicy)
#include "tst_linkpolicy.moc"
