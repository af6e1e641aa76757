// The meaning search's status line with terms that carry their own direction: the term is
// quoted inside a bidirectional isolate, so the rest of the sentence reads as written.
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QtTest>

namespace {

const QString StartPage = QStringLiteral("qrc:/dreams/index.html");

QString json(const QString &value)
{
    const QString array
        = QString::fromUtf8(QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// The characters that start, end or override a direction.
bool hasDirectionControls(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E
            || u == 0x200F)
            return true;
    }
    return false;
}

} // namespace

class TestMeaningStatus : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void termKeepsItsDirectionToItself_data();
    void termKeepsItsDirectionToItself();

private:
    WebProfile m_profile;
    WebView m_view { m_profile };
};

void TestMeaningStatus::initTestCase()
{
    m_view.resize(900, 700);
    m_view.show();
    QCOMPARE(WebWait::navigate(m_view, StartPage), StartPage);
}

void TestMeaningStatus::termKeepsItsDirectionToItself_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("before"); // the sentence up to the quoted term
    QTest::addColumn<QString>("after"); // and from it on
    const QString override = QString(QChar(0x202E));
    QTest::newRow("override inside a word found nowhere")
        << "abc" + override + "def" << QString::fromUtf8("No symbol mentions \u201c")
        << QString::fromUtf8("\u201d.");
    QTest::newRow("override after a common word")
        << "water" + override << QString() << QString::fromUtf8("\u201d, best matches first.");
    QTest::newRow("override first")
        << override + "snake" << QString() << QString::fromUtf8("\u201d");
    QTest::newRow("right-to-left letters")
        << QString::fromUtf8("\u05de\u05d9\u05dd") << QString::fromUtf8("No symbol mentions \u201c")
        << QString::fromUtf8("\u201d.");
}

void TestMeaningStatus::termKeepsItsDirectionToItself()
{
    QFETCH(QString, term);
    QFETCH(QString, before);
    QFETCH(QString, after);
    // The text of the status, and that of each element in it that isolates its direction.
    const QVariantMap found = WebWait::evaluate(m_view.page(),
        QStringLiteral("var f = document.getElementById('find-term'); f.value = %1;"
                       "f.form.requestSubmit();"
                       "var s = document.getElementById('find-status');"
                       "({text: s.textContent, isolated: Array.from(s.querySelectorAll('*'))"
                       "  .filter(function (e) {"
                       "      var b = getComputedStyle(e).unicodeBidi;"
                       "      return b.indexOf('isolate') >= 0 || b === 'plaintext'; })"
                       "  .map(function (e) { return e.textContent; })})")
            .arg(json(term)))
                                  .toMap();
    const QString text = found.value("text").toString();
    const QStringList isolated = found.value("isolated").toStringList();
    const QString fsi = QString(QChar(0x2068)), pdi = QString(QChar(0x2069));
    const bool inAnIsolate = isolated == QStringList { term } || text.contains(fsi + term + pdi);
    QVERIFY2(inAnIsolate, qPrintable(text));
    const qsizetype at = text.indexOf(term);
    QVERIFY2(at >= 0, qPrintable(text));
    QString outside = text;
    outside.remove(at, term.size()).remove(fsi).remove(pdi);
    QVERIFY2(!hasDirectionControls(outside), qPrintable(outside));
    QVERIFY2(text.startsWith(before), qPrintable(text));
    QVERIFY2(text.contains(QString::fromUtf8("\u201c")), qPrintable(text));
    QVERIFY2(text.mid(at + term.size()).remove(pdi).startsWith(after), qPrintable(text));
}

QTEST_MAIN(TestMeaningStatus)
#include "tst_meaningstatus.moc"
