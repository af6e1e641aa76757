// The rules the panes apply to addresses, all pure: which addresses they may show and what a
// page may fetch.
#include "NavigationPolicy.h"

#include <QtTest>

namespace {
const QString Web = QStringLiteral("https://dreams.example.org/moon");
const QString Bundled = QStringLiteral("qrc:/dreams/snake.html");
} // namespace

class TestPageRules : public QObject
{
    Q_OBJECT
private slots:
    void navigation_data();
    void navigation();
    void resources_data();
    void resources();
};

void TestPageRules::navigation_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("from"); // empty: the program itself
    QTest::addColumn<bool>("allowed");

    QTest::newRow("program: http") << "http://dreams.example.org/"
                                   << "" << true;
    QTest::newRow("program: https") << Web << "" << true;
    QTest::newRow("program: upper-case scheme") << "HTTPS://dreams.example.org/"
                                                << "" << true;
    QTest::newRow("program: about:blank") << "about:blank"
                                          << "" << true;
    QTest::newRow("program: bundled page") << Bundled << "" << true;
    QTest::newRow("program: bundled, three slashes") << "qrc:///dreams/snake.html"
                                                     << "" << true;
    QTest::newRow("program: start page") << "qrc:/dreams/index.html"
                                         << "" << true;
    QTest::newRow("program: other resource") << "qrc:/icons/home.svg"
                                             << "" << false;
    QTest::newRow("program: dot-dot out of dreams") << "qrc:/dreams/../icons/home.svg"
                                                    << "" << false;
    QTest::newRow("program: qrc with a host") << "qrc://dreams/snake.html"
                                              << "" << false;
    QTest::newRow("program: file") << "file:///etc/passwd"
                                   << "" << false;
    QTest::newRow("program: data") << "data:text/html,<b>hi</b>"
                                   << "" << false;
    QTest::newRow("program: javascript") << "javascript:alert(1)"
                                         << "" << false;
    QTest::newRow("program: view-source") << "view-source:https://dreams.example.org/"
                                          << "" << false;
    QTest::newRow("program: chrome") << "chrome://settings"
                                     << "" << false;
    QTest::newRow("program: blob") << "blob:https://dreams.example.org/1234"
                                   << "" << false;
    QTest::newRow("program: ftp") << "ftp://dreams.example.org/"
                                  << "" << false;
    QTest::newRow("program: mailto") << "mailto:someone@example.org"
                                     << "" << false;
    QTest::newRow("program: other about page") << "about:version"
                                               << "" << false;
    QTest::newRow("program: srcdoc") << "about:srcdoc"
                                     << "" << false;
    QTest::newRow("program: http without host") << "http:///path"
                                                << "" << false;
    QTest::newRow("program: empty") << ""
                                    << "" << false;

    QTest::newRow("web page: web") << "https://other.example.org/" << Web << true;
    QTest::newRow("web page: about:blank") << "about:blank" << Web << true;
    QTest::newRow("web page: its own srcdoc frame") << "about:srcdoc" << Web << true;
    QTest::newRow("web page: bundled page") << Bundled << Web << false;
    QTest::newRow("web page: start page") << "qrc:/dreams/index.html" << Web << false;
    QTest::newRow("http page: bundled page") << Bundled << "http://dreams.example.org/" << false;
    QTest::newRow("web page: file") << "file:///etc/passwd" << Web << false;
    QTest::newRow("web page: data") << "data:text/html,x" << Web << false;

    QTest::newRow("bundled page: bundled page") << "qrc:/dreams/moon.html" << Bundled << true;
    QTest::newRow("bundled page: web") << Web << Bundled << true;
    QTest::newRow("bundled page: file") << "file:///etc/passwd" << Bundled << false;
    QTest::newRow("empty page: bundled page") << Bundled << "about:blank" << true;
    QTest::newRow("empty page: web") << Web << "about:blank" << true;
    QTest::newRow("file page: file") << "file:///etc/passwd"
                                     << "file:///tmp/x.html" << false;
}

void TestPageRules::navigation()
{
    QFETCH(QString, target);
    QFETCH(QString, from);
    QTEST(NavigationPolicy::allows(QUrl(target), QUrl(from)), "allowed");
}

void TestPageRules::resources_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("web page: web image") << "https://cdn.example.org/a.png" << Web << true;
    QTest::newRow("web page: data image") << "data:image/png;base64,AAAA" << Web << true;
    QTest::newRow("web page: web socket") << "wss://dreams.example.org/live" << Web << true;
    QTest::newRow("web page: bundled style") << "qrc:/dreams/style.css" << Web << false;
    QTest::newRow("web page: bundled page in a frame") << Bundled << Web << false;
    QTest::newRow("web page: other resource") << "qrc:/icons/home.svg" << Web << false;
    QTest::newRow("web page: file") << "file:///etc/passwd" << Web << false;
    QTest::newRow("bundled page: its style") << "qrc:/dreams/style.css"
                                             << "qrc:" << true;
    QTest::newRow("bundled page: other resource") << "qrc:/icons/home.svg"
                                                  << "qrc:" << false;
    QTest::newRow("bundled page: file") << "file:///etc/passwd"
                                        << "qrc:" << false;
    QTest::newRow("file page: file") << "file:///etc/passwd"
                                     << "file:///tmp/x.html" << false;
    QTest::newRow("file page: same folder") << "file:///tmp/secret.txt"
                                            << "file:///tmp/x.html" << false;
}

void TestPageRules::resources()
{
    QFETCH(QString, target);
    QFETCH(QString, from);
    QTEST(NavigationPolicy::allowsResource(QUrl(target), QUrl(from)), "allowed");
}

QTEST_GUILESS_MAIN(TestPageRules)
#include "tst_pagerules.moc"
