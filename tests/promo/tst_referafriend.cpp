#include "ReferAFriend.h"

#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

namespace {

const QString Main = QStringLiteral("https://main.test");

ReferAFriend::Entries entriesWithName(const QString &name)
{
    return { name, "me@mail.test", "Hello", "Bo", "bo@mail.test" };
}

} // namespace

class TestReferAFriend : public QObject
{
    Q_OBJECT
private slots:
    void plainAddress();
    void valueIsEncoded_data();
    void valueIsEncoded();
    void forgedFieldStaysInItsPlace();
    void trimsOnlySpaces_data();
    void trimsOnlySpaces();
};

void TestReferAFriend::plainAddress()
{
    QCOMPARE(ReferAFriend::address(Main, entriesWithName("Ann")),
        QString("https://main.test/qvsw-refer-a-friend.php?taf1=Ann&taf2=me%40mail.test"
                "&taf3=Hello&taf4=Bo&taf5=bo%40mail.test&taf6=https://main.test/somnilex/"));
}

void TestReferAFriend::valueIsEncoded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("taf1");
    QTest::newRow("ampersand") << "Ann & Bo"
                               << "Ann%20%26%20Bo";
    QTest::newRow("equals") << "a=b"
                            << "a%3Db";
    QTest::newRow("hash") << "No#1"
                          << "No%231";
    QTest::newRow("plus") << "a+b"
                          << "a%2Bb";
    QTest::newRow("percent") << "100%"
                             << "100%25";
    QTest::newRow("question and slash") << "a?b/c"
                                        << "a%3Fb%2Fc";
    QTest::newRow("outer spaces trimmed") << "  Ann Lee  "
                                          << "Ann%20Lee";
    QTest::newRow("non-ascii") << QString::fromUtf8("J\u00fcrgen") << "J%C3%BCrgen";
    QTest::newRow("line break") << "a\r\nb"
                                << "a%0D%0Ab";
}

void TestReferAFriend::valueIsEncoded()
{
    QFETCH(QString, name);
    QFETCH(QString, taf1);
    const QString address = ReferAFriend::address(Main, entriesWithName(name));
    const QString prefix = Main + "/qvsw-refer-a-friend.php?taf1=";
    QVERIFY(address.startsWith(prefix));
    QCOMPARE(address.mid(prefix.size()).section('&', 0, 0), taf1);
}

void TestReferAFriend::forgedFieldStaysInItsPlace()
{
    ReferAFriend::Entries entries = entriesWithName("a&taf6=evil");
    entries.message = "x#frag";
    const QUrl url(ReferAFriend::address(Main, entries));
    QVERIFY(url.isValid());
    QCOMPARE(url.fragment(), QString());
    const QUrlQuery query(url);
    const auto pairs = query.queryItems(QUrl::FullyDecoded);
    QCOMPARE(pairs.size(), 6);
    QCOMPARE(query.queryItemValue("taf1", QUrl::FullyDecoded), QString("a&taf6=evil"));
    QCOMPARE(query.queryItemValue("taf3", QUrl::FullyDecoded), QString("x#frag"));
    QCOMPARE(query.allQueryItemValues("taf6"), QStringList { Main + "/somnilex/" });
}

void TestReferAFriend::trimsOnlySpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only spaces") << "   "
                                 << "";
    QTest::newRow("both ends") << "  a b  "
                               << "a b";
    QTest::newRow("tab kept") << "\ta\t"
                              << "\ta\t";
    QTest::newRow("line break kept") << " a\n "
                                     << "a\n";
}

void TestReferAFriend::trimsOnlySpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(ReferAFriend::trimSpaces(text), trimmed);
}

QTEST_GUILESS_MAIN(TestReferAFriend)
#include "tst_referafriend.moc"
