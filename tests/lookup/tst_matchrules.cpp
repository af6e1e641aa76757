#include "MatchRules.h"

#include <QtTest>

namespace {
// The dotted capital I: its lower case is two characters, "i" and a combining dot above.
const QString DottedI = QString(QChar(0x130));
const QString DottedILower = QStringLiteral("i") + QChar(0x307);
// A capital and its lower case beyond the Basic Multilingual Plane (Deseret long I).
const QString DeseretCapital = QString::fromUtf8("\xF0\x90\x90\x80");
const QString DeseretSmall = QString::fromUtf8("\xF0\x90\x90\xA8");
} // namespace

class TestMatchRules : public QObject
{
    Q_OBJECT
private slots:
    void terms_data();
    void terms();
    void exactMatch_data();
    void exactMatch();
    void wildcardMatch_data();
    void wildcardMatch();
};

void TestMatchRules::terms_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("exact");
    QTest::addColumn<QString>("wildcard");

    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("spacesAround") << "  Snake "
                                  << "snake"
                                  << "  snake ";
    QTest::newRow("onlySpaces") << "   "
                                << ""
                                << "   ";
    QTest::newRow("onlyStar") << "*"
                              << "*"
                              << "";
    QTest::newRow("starsAndSpaces") << " ** "
                                    << "**"
                                    << "  ";
    QTest::newRow("starBetweenLetters") << "Sn*ake"
                                        << "sn*ake"
                                        << "snake";
    QTest::newRow("trailingSpace") << "Snake "
                                   << "snake"
                                   << "snake ";
    QTest::newRow("tabIsNotTrimmed") << "\tcat"
                                     << "\tcat"
                                     << "\tcat";
    QTest::newRow("accentedCapitals") << "ÉCHELLE"
                                      << "échelle"
                                      << "échelle";
    QTest::newRow("dottedCapitalI")
        << DottedI + "stanbul" << DottedILower + "stanbul" << DottedILower + "stanbul";
}

void TestMatchRules::terms()
{
    QFETCH(QString, typed);
    QFETCH(QString, exact);
    QFETCH(QString, wildcard);
    QCOMPARE(MatchRules::exactTerm(typed), exact);
    QCOMPARE(MatchRules::wildcardTerm(typed), wildcard);
}

// Each row: a stored key, the text as typed, and whether exact mode lists the key.
void TestMatchRules::exactMatch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");

    QTest::newRow("sameWord") << "snake"
                              << "snake" << true;
    QTest::newRow("prefixAnyCase") << "SNAKE BITE"
                                   << "  Snake " << true;
    QTest::newRow("typedCapitals") << "snakeskin"
                                   << "SNAKE" << true;
    QTest::newRow("notAtStart") << "Rattlesnake"
                                << "snake" << false;
    QTest::newRow("keyShorterThanTerm") << "Snak"
                                        << "snake" << false;
    QTest::newRow("keyLeadingSpaceKept") << " Snake"
                                         << "snake" << false;
    QTest::newRow("starIsLiteral") << "Snake"
                                   << "sn*" << false;
    QTest::newRow("starStoredInKey") << "Sn*ke"
                                     << "sn*" << true;
    QTest::newRow("blankTermMatchesAll") << "Cat"
                                         << "   " << true;
    QTest::newRow("blankTermMatchesEmptyKey") << ""
                                              << "" << true;
    QTest::newRow("nullKeyWithEmptyTerm") << QString() << "" << true;
    QTest::newRow("emptyKeyWithTerm") << ""
                                      << "a" << false;
    QTest::newRow("accentedKey") << "Échelle de Jacob"
                                 << "ÉCHELLE" << true;
    QTest::newRow("accentedTermLower") << "ÉCHELLE"
                                       << "échelle" << true;
    QTest::newRow("accentIsNotPlainLetter") << "Échelle"
                                            << "echelle" << false;
    QTest::newRow("greekCapitals") << "ΟΔΟΣ"
                                   << "οδοσ" << true;
    QTest::newRow("dottedIWholeKey") << DottedI + "stanbul" << DottedI + "stanbul" << true;
    QTest::newRow("dottedIPrefixOfLongerKey")
        << DottedI + "stanbul Bridge" << DottedI + "stanbul" << true;
    QTest::newRow("dottedIKeyTypedLower") << DottedI + "zmir" << DottedILower + "zmir" << true;
    QTest::newRow("dottedIAfterPrefix") << "Kaş" + DottedI << "kaş" << true;
    QTest::newRow("plainIIsNotDottedI") << DottedI + "stanbul"
                                        << "istanbul" << false;
}

void TestMatchRules::exactMatch()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    QCOMPARE(MatchRules::matchesExact(key, MatchRules::exactTerm(typed)), matches);
}

namespace {

// Wildcard rows whose keys or terms change length or plane as they are lower-cased.
void addWildcardRowsBeyondAscii()
{
    QTest::newRow("accented") << "Échelle"
                              << "CHELL" << true;
    QTest::newRow("accentedCapitalTyped") << "grande échelle"
                                          << "ÉCHELLE" << true;
    QTest::newRow("dottedIInside") << "Old " + DottedI + "stanbul" << DottedI + "st" << true;
    QTest::newRow("dottedIAtKeyEnd") << "Kaş" + DottedI << "ş" + DottedI << true;
    QTest::newRow("dottedIElsewhereInKey") << DottedI + "zmir"
                                           << "MIR" << true;
    QTest::newRow("beyondBasicPlane") << "x" + DeseretCapital + "y" << DeseretCapital + "Y" << true;
    QTest::newRow("beyondBasicPlaneAbsent") << "x" + DeseretCapital + "y"
                                            << "xy" << false;
}

} // namespace

// Each row: a stored key, the text as typed, and whether wildcard mode lists the key.
void TestMatchRules::wildcardMatch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");

    QTest::newRow("inTheMiddle") << "Rattlesnake bite"
                                 << "snake" << true;
    QTest::newRow("atTheStart") << "Snake"
                                << "snake" << true;
    QTest::newRow("atTheEnd") << "Rattlesnake"
                              << "SNAKE" << true;
    QTest::newRow("absent") << "Apple"
                            << "snake" << false;
    QTest::newRow("keyShorterThanTerm") << "nak"
                                        << "snake" << false;
    QTest::newRow("onlyStarMatchesAnyKey") << "x"
                                           << "*" << true;
    QTest::newRow("onlyStarsSkipEmptyKey") << ""
                                           << "***" << false;
    QTest::newRow("onlyStarsSkipNullKey") << QString() << "*" << false;
    QTest::newRow("emptyTermSkipsEmptyKey") << ""
                                            << "" << false;
    QTest::newRow("blankKeyMatchesStar") << " "
                                         << "*" << true;
    QTest::newRow("starBetweenLettersSideBySide") << "Black cat"
                                                  << "c*at" << true;
    QTest::newRow("starIsNotAGap") << "Coat"
                                   << "c*at" << false;
    QTest::newRow("leadingAndTrailingStars") << "Big Cat"
                                             << "*cat*" << true;
    QTest::newRow("trailingSpaceNeedsASpace") << "SNAKE BITE"
                                              << "snake " << true;
    QTest::newRow("trailingSpaceAtKeyEnd") << "Sea snake "
                                           << "snake " << true;
    QTest::newRow("trailingSpaceMissing") << "Rattlesnake"
                                          << "snake " << false;
    QTest::newRow("leadingSpaceKept") << "Snake"
                                      << " snake" << false;
    QTest::newRow("leadingSpaceInside") << "sea snake"
                                        << " snake" << true;
    QTest::newRow("onlySpacesLookForSpaces") << "Snake"
                                             << " " << false;
    addWildcardRowsBeyondAscii();
}

void TestMatchRules::wildcardMatch()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    QCOMPARE(MatchRules::matchesWildcard(key, MatchRules::wildcardTerm(typed)), matches);
}

QTEST_GUILESS_MAIN(TestMatchRules)
#include "tst_matchrules.moc"
