// The dictionary tool's text form: escapes, the UTF-8 check and the row-by-row reader.
#include "TsvFormat.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QtTest>

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    const char *end = bytes.constData() + bytes.size();
    for (const char *p = bytes.constData(); p < end;) {
        const int length = TsvFormat::utf8SequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

// Cells that break a naive TSV writer or reader, byte for byte.
void addHostileCells()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("tab") << QByteArray("Snake\tbite");
    QTest::newRow("line feed") << QByteArray("Snake\nbite");
    QTest::newRow("carriage return") << QByteArray("Snake\rbite");
    QTest::newRow("CRLF at the end") << QByteArray("Snake\r\n");
    QTest::newRow("carriage return at the end") << QByteArray("Snake\r");
    QTest::newRow("backslash") << QByteArray("C:\\dreams\\snake");
    QTest::newRow("text that looks like an escape") << QByteArray("\\t\\n\\x41\\\\");
    QTest::newRow("trailing backslash") << QByteArray("Snake\\");
    QTest::newRow("only backslashes") << QByteArray("\\\\\\");
    QTest::newRow("NUL") << QByteArray("Sn\0ake", 6);
    QTest::newRow("terminal escape sequence") << QByteArray("\x1b[2J\x1b]0;title\x07");
    QTest::newRow("DEL") << QByteArray("Snake\x7f");
    QTest::newRow("accented letters") << QByteArray("R\xc3\xaave d'or");
    QTest::newRow("four-byte character") << QByteArray("\xf0\x9f\x90\x8d");
    QTest::newRow("lone 0xFF") << QByteArray("Sn\xffke");
    QTest::newRow("stray continuation byte") << QByteArray("\x80Snake");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80");
    QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
    QTest::newRow("cut-off sequence at the end") << QByteArray("Snake\xe2\x82");
    QTest::newRow("cut-off sequence before a tab") << QByteArray("\xe2\x82\tSnake");
    QTest::newRow("spaces only") << QByteArray("   ");
}

} // namespace

class TestTsvFormat : public QObject
{
    Q_OBJECT
private slots:
    void cellsRoundTrip_data() { addHostileCells(); }
    void cellsRoundTrip();
    void documentedEscapes_data();
    void documentedEscapes();
    void badEscapesAreRefused_data();
    void badEscapesAreRefused();
    void badFilesNameTheLine_data();
    void badFilesNameTheLine();
    void lenientLineEnds_data();
    void lenientLineEnds();
    void randomRowsRoundTrip();
    void randomTextRoundTrips();
    void utf8CheckAgreesWithQt();
};

void TestTsvFormat::cellsRoundTrip()
{
    QFETCH(QByteArray, cell);
    const QByteArray written = TsvFormat::escape(cell);
    QVERIFY2(isValidUtf8(written), written.toPercentEncoding().constData());
    for (const char c : written) {
        const auto byte = static_cast<unsigned char>(c);
        QVERIFY2(byte >= 0x20 && byte != 0x7f, written.toPercentEncoding().constData());
    }
    QCOMPARE(TsvFormat::unescape(written), cell);

    // The same cell in every column of a file, after a plain row.
    const std::vector<StoredRow> rows
        = { { "Moon", "qrc:/dreams/moon.html", "astro" }, { cell, cell, cell } };
    QCOMPARE(TsvFormat::parse(TsvFormat::format(rows)), rows);
}

void TestTsvFormat::documentedEscapes_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("a\\tb");
    QTest::newRow("line feed") << QByteArray("a\nb") << QByteArray("a\\nb");
    QTest::newRow("carriage return") << QByteArray("a\rb") << QByteArray("a\\rb");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("a\\\\b");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray("a\\x00b");
    QTest::newRow("escape character") << QByteArray("\x1b[m") << QByteArray("\\x1B[m");
    QTest::newRow("byte that is not UTF-8") << QByteArray("\xff") << QByteArray("\\xFF");
    QTest::newRow("UTF-8 stays as it is") << QByteArray("R\xc3\xaave") << QByteArray("R\xc3\xaave");
}

void TestTsvFormat::documentedEscapes()
{
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, written);
    QCOMPARE(TsvFormat::escape(cell), written);
    QCOMPARE(TsvFormat::unescape(written), cell);
}

void TestTsvFormat::badEscapesAreRefused_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unknown letter") << QByteArray("a\\qb") << "unknown escape \\q";
    QTest::newRow("unknown non-ASCII") << QByteArray("a\\\xc3\xa9") << "unknown escape \\\u00e9";
    QTest::newRow("backslash at the end") << QByteArray("ab\\") << "a backslash ends a field";
    QTest::newRow("\\x and one digit") << QByteArray("\\x4") << "two hexadecimal digits";
    QTest::newRow("\\x and no digit") << QByteArray("\\xG0") << "two hexadecimal digits";
    QTest::newRow("bare \\x") << QByteArray("\\x") << "two hexadecimal digits";
}

void TestTsvFormat::badEscapesAreRefused()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, expected);
    try {
        TsvFormat::unescape(field);
        QFAIL("accepted");
    } catch (const TsvFormat::ParseError &e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(expected), e.what());
    }
}

void TestTsvFormat::badFilesNameTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    const QByteArray head = "Key\tLink\tNames\nMoon\tqrc:/dreams/moon.html\tastro\n";
    QTest::newRow("lone 0xFF") << head + "Sn\xffke\tx\tastro\n"
                               << "line 3: byte 3 is not valid UTF-8";
    QTest::newRow("stray continuation byte") << head + "x\t\x80\tastro\n"
                                             << "line 3: byte 3";
    QTest::newRow("overlong form") << head + "\xc0\xaf\tx\tastro\n"
                                   << "line 3: byte 1";
    QTest::newRow("three-byte overlong form") << head + "\xe0\x80\xaf\tx\tastro\n"
                                              << "line 3: byte 1";
    QTest::newRow("encoded surrogate") << head + "a\xed\xa0\x80\tx\tastro\n"
                                       << "line 3: byte 2";
    QTest::newRow("past U+10FFFF") << head + "\xf4\x90\x80\x80\tx\tastro\n"
                                   << "line 3: byte 1";
    QTest::newRow("cut off before a tab") << head + "ab\xe2\x82\tx\tastro\n"
                                          << "line 3: byte 3";
    QTest::newRow("cut off at the end of the file") << head + "a\tx\tastro\xe2\x82"
                                                    << "line 3: byte 10";
    QTest::newRow("Latin-1 file") << QByteArray("Key\tLink\tNames\nR\xeave\tx\tastro\n")
                                  << "line 2";
    QTest::newRow("wrong header") << QByteArray("Key\tLink\n") << "line 1: the header";
    QTest::newRow("no header") << QByteArray("Moon\tx\tastro\n") << "line 1: the header";
    QTest::newRow("empty file") << QByteArray() << "line 1: the header";
    QTest::newRow("two fields") << head + "Sun\tx\n"
                                << "line 3: expected 3 tab-separated fields, found 2";
    QTest::newRow("four fields") << head + "Sun\tx\tastro\ty\n"
                                 << "line 3: expected 3 tab-separated fields, found 4";
    QTest::newRow("empty line") << head + "\nSun\tx\tastro\n"
                                << "line 3: expected 3";
    QTest::newRow("bad escape") << head + "Sun\tx\\y\tastro\n"
                                << "line 3: unknown escape \\y";
}

void TestTsvFormat::badFilesNameTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    try {
        TsvFormat::parse(text);
        QFAIL("accepted");
    } catch (const TsvFormat::ParseError &e) {
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(expected), e.what());
    }
}

void TestTsvFormat::lenientLineEnds_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("line feeds") << QByteArray("Key\tLink\tNames\nSun\tx\tastro\nMoon\ty\t\n");
    QTest::newRow("CRLF") << QByteArray("Key\tLink\tNames\r\nSun\tx\tastro\r\nMoon\ty\t\r\n");
    QTest::newRow("no line feed at the end")
        << QByteArray("Key\tLink\tNames\nSun\tx\tastro\nMoon\ty\t");
    QTest::newRow("byte order mark")
        << QByteArray("\xef\xbb\xbfKey\tLink\tNames\nSun\tx\tastro\nMoon\ty\t\n");
}

void TestTsvFormat::lenientLineEnds()
{
    QFETCH(QByteArray, text);
    const std::vector<StoredRow> expected = { { "Sun", "x", "astro" }, { "Moon", "y", "" } };
    QCOMPARE(TsvFormat::parse(text), expected);
    QCOMPARE(TsvFormat::parse("Key\tLink\tNames\n"), std::vector<StoredRow>());
}

// Any bytes at all, weighted towards the ones that need escapes or break UTF-8.
void TestTsvFormat::randomRowsRoundTrip()
{
    static const char Tricky[] = { '\t', '\n', '\r', '\\', 'x', 't', '0', 'F', '\0', '\x1b', '\x7f',
        '\x80', '\xbf', '\xc3', '\xa9', '\xe2', '\xed', '\xf0', '\xf4', '\xff', ' ', 'a' };
    QRandomGenerator random(20240531);
    const auto cell = [&random] {
        QByteArray bytes;
        const int length = int(random.bounded(24u));
        for (int i = 0; i < length; ++i)
            bytes += random.bounded(2u) ? Tricky[random.bounded(quint32(sizeof Tricky))]
                                        : char(random.bounded(256u));
        return bytes;
    };
    std::vector<StoredRow> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back({ cell(), cell(), cell() });
    const QByteArray text = TsvFormat::format(rows);
    QVERIFY(isValidUtf8(text));
    QCOMPARE(text.count('\n'), qsizetype(rows.size() + 1));
    QCOMPARE(TsvFormat::parse(text), rows);
}

// What the program stores from its own text: any Unicode, through the writer's UTF-8.
void TestTsvFormat::randomTextRoundTrips()
{
    QRandomGenerator random(7);
    std::vector<DictionaryRow> rows;
    for (int i = 0; i < 2000; ++i) {
        QString text[3];
        for (QString &t : text) {
            const int length = int(random.bounded(16u));
            for (int c = 0; c < length; ++c) {
                char32_t code;
                do
                    code = random.bounded(4u) ? random.bounded(0x80u) : random.bounded(0x110000u);
                while (code >= 0xD800 && code <= 0xDFFF);
                t += QString::fromUcs4(&code, 1);
            }
        }
        rows.push_back({ text[0], text[1], text[2] });
    }
    const std::vector<StoredRow> read = TsvFormat::parse(TsvFormat::format(rows).toUtf8());
    QCOMPARE(read.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(QString::fromUtf8(read[i].key), rows[i].key);
        QCOMPARE(QString::fromUtf8(read[i].link), rows[i].link);
        QCOMPARE(QString::fromUtf8(read[i].names), rows[i].names);
    }
}

// Qt's own decoder is the second opinion on what counts as UTF-8.
void TestTsvFormat::utf8CheckAgreesWithQt()
{
    QRandomGenerator random(11);
    for (int i = 0; i < 200000; ++i) {
        QByteArray bytes;
        const int length = 1 + int(random.bounded(4u));
        for (int b = 0; b < length; ++b)
            bytes += char(random.bounded(2u) ? 0x80 + random.bounded(0x80u) : random.bounded(256u));
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes);
        Q_UNUSED(decoded);
        QVERIFY2(isValidUtf8(bytes) == !decoder.hasError(), bytes.toHex(' ').constData());
    }
}

QTEST_GUILESS_MAIN(TestTsvFormat)
#include "tst_tsvformat.moc"
