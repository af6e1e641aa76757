#include "SettingsCodec.h"

#include <QByteArray>

namespace {

// Each byte is mixed with a position-dependent mask, then written as two letters, one per half
// byte. Letters rather than hex digits keep the output away from anything that reads as a date.
constexpr char FirstLetter = 'A';

unsigned char maskAt(qsizetype position)
{
    return static_cast<unsigned char>(0x5A + 7 * position);
}

} // namespace

QString EncodeSetting(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QString encoded;
    encoded.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto mixed
            = static_cast<unsigned char>(static_cast<unsigned char>(bytes[i]) ^ maskAt(i));
        encoded += QLatin1Char(char(FirstLetter + (mixed >> 4)));
        encoded += QLatin1Char(char(FirstLetter + (mixed & 0x0F)));
    }
    return encoded;
}

QString DecodeSetting(const QString &encoded)
{
    if (encoded.size() % 2 != 0)
        return {};
    QByteArray bytes;
    bytes.reserve(encoded.size() / 2);
    for (qsizetype i = 0; i < encoded.size(); i += 2) {
        const int high = encoded[i].unicode() - FirstLetter;
        const int low = encoded[i + 1].unicode() - FirstLetter;
        if (high < 0 || high > 15 || low < 0 || low > 15)
            return {};
        const auto mixed = static_cast<unsigned char>((high << 4) | low);
        bytes += char(mixed ^ maskAt(i / 2));
    }
    // A value that is not valid UTF-8 was not written by us.
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return {};
    return text;
}
