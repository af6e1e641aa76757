#include "SettingsCodec.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsCodec : public QObject
{
    Q_OBJECT
private slots:
    void encodesAsWrittenOut_data();
    void encodesAsWrittenOut();
    void roundTrips_data();
    void roundTrips();
    void survivesTheStore_data() { roundTrips_data(); }
    void survivesTheStore();
    void emptyDecodesToEmpty();
    void foreignTextDecodesToEmpty_data();
    void foreignTextDecodesToEmpty();
};

// Settings written by earlier versions must still read back: the encoding is fixed. Each byte
// of the UTF-8 text, at position i from 0, is XORed with (0x5A + 7 * i) mod 256, and the result
// written as two letters, high half first, 'A' standing for 0 and 'P' for 15. The values were
// worked out from that rule apart from the code, never copied from its output.
void TestSettingsCodec::encodesAsWrittenOut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    // 'x' is 0x78; 0x78 ^ 0x5A = 0x22.
    QTest::newRow("one character") << "x"
                                   << "CC";
    QTest::newRow("key name") << "Duration"
                              << "BOBEBKAOACBEOLOF";
    QTest::newRow("section") << "Settings"
                             << "AJAEBMBLBPBDODPI";
    QTest::newRow("iso date") << "2026-12-08"
                              << "GIFBFKFJFLEMLGKGKCKB";
    QTest::newRow("short date") << "12/8/2026"
                                << "GLFDEHFHFJEPLELJKE";
    // Two and three UTF-8 bytes.
    QTest::newRow("non-ascii") << QString::fromUtf8("\u00e4\u65e5") << "JJMFIOPIND";
    // The mask passes 255 at position 24 and starts again from 2.
    QTest::newRow("mask wraps")
        << "abcdefghijklmnopqrstuvwxyz0123456789"
        << "DLADALALBDBLODODPLPDMLMLMDNLNDLDLLKDKLKLJDJLIDIDHLHDCACGCMBGBIAGAMHGHAHG";
}

void TestSettingsCodec::encodesAsWrittenOut()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(EncodeSetting(text), encoded);
    QCOMPARE(DecodeSetting(encoded), text);
}

void TestSettingsCodec::roundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("key name") << "Duration";
    QTest::newRow("section") << "Settings";
    QTest::newRow("iso date") << "2026-12-08";
    QTest::newRow("one character") << "x";
    QTest::newRow("slashes") << "a/b\\c";
    QTest::newRow("store syntax") << "[General] k=v ; #%";
    QTest::newRow("non-ascii") << QString::fromUtf8("Traum \u00e4\u00f6 \u65e5\u672c");
    QTest::newRow("long") << QString(300, QLatin1Char('z'));
}

void TestSettingsCodec::roundTrips()
{
    QFETCH(QString, text);
    const QString encoded = EncodeSetting(text);
    QCOMPARE(DecodeSetting(encoded), text);
    QVERIFY(!encoded.isEmpty());
    QVERIFY(!encoded.contains(text));
    QVERIFY(!encoded.contains('/'));
    QVERIFY(!encoded.contains('\\'));
}

// The encoded text serves as a key name and as a value of a real settings file.
void TestSettingsCodec::survivesTheStore()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath("codec.conf");
    {
        QSettings settings(path, QSettings::NativeFormat);
        settings.setValue("Settings/" + EncodeSetting(text), EncodeSetting(text));
    }
    QSettings settings(path, QSettings::NativeFormat);
    QCOMPARE(settings.childGroups(), QStringList { "Settings" });
    settings.beginGroup("Settings");
    const QStringList keys = settings.childKeys();
    QCOMPARE(keys.size(), 1);
    QCOMPARE(DecodeSetting(keys.first()), text);
    QCOMPARE(DecodeSetting(settings.value(keys.first()).toString()), text);
}

void TestSettingsCodec::emptyDecodesToEmpty()
{
    QCOMPARE(EncodeSetting(QString()), QString());
    QCOMPARE(DecodeSetting(QString()), QString());
}

void TestSettingsCodec::foreignTextDecodesToEmpty_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain date") << "12/8/26";
    QTest::newRow("odd length") << EncodeSetting("2026-12-08").chopped(1);
    QTest::newRow("letter past P") << "AZ";
    QTest::newRow("lower case") << EncodeSetting("2026").toLower();
    QTest::newRow("invalid utf-8") << "PPPP";
}

void TestSettingsCodec::foreignTextDecodesToEmpty()
{
    QFETCH(QString, stored);
    QCOMPARE(DecodeSetting(stored), QString());
}

QTEST_GUILESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
