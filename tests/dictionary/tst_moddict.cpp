#include "modDict.h"

#include <QtTest>

class TestModDict : public QObject
{
    Q_OBJECT
private slots:
    void stripWildcards_data();
    void stripWildcards();
};

void TestModDict::stripWildcards_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("single star") << "*"
                                 << "";
    QTest::newRow("letters and stars") << "*s*na*ke**"
                                       << "snake";
    QTest::newRow("question mark and spaces stay") << " a?b * "
                                                   << " a?b  ";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no star") << "Snake"
                             << "Snake";
}

void TestModDict::stripWildcards()
{
    QFETCH(QString, term);
    QFETCH(QString, stripped);
    QCOMPARE(modDict::StripWildcards(term), stripped);
}

QTEST_GUILESS_MAIN(TestModDict)
#include "tst_moddict.moc"
