#include "TsvFormat.h"
#include "TsvReader.h"

#include <QBuffer>

#include <algorithm>

namespace TsvFormat {

const QByteArray Header = QByteArrayLiteral("Key\tLink\tNames");

namespace {

const char HexDigits[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

int utf8SequenceLength(const char *begin, const char *end)
{
    const auto *p = reinterpret_cast<const unsigned char *>(begin);
    const auto available = end - begin;
    if (available <= 0)
        return 0;
    const unsigned char lead = p[0];
    if (lead < 0x80)
        return 1;
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    int length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    return length;
}

QByteArray escape(const QByteArray &cell)
{
    QByteArray out;
    out.reserve(cell.size() + cell.size() / 8);
    const char *p = cell.constData();
    const char *const end = p + cell.size();
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        switch (c) {
        case '\\':
            out += "\\\\";
            ++p;
            continue;
        case '\t':
            out += "\\t";
            ++p;
            continue;
        case '\n':
            out += "\\n";
            ++p;
            continue;
        case '\r':
            out += "\\r";
            ++p;
            continue;
        default:
            break;
        }
        const int length = (c < 0x20 || c == 0x7F) ? 0 : utf8SequenceLength(p, end);
        if (length == 0) {
            // Other control bytes too: a dump shown in a terminal must not drive it.
            const char hex[] = { '\\', 'x', HexDigits[c >> 4], HexDigits[c & 0xF] };
            out.append(hex, 4);
            ++p;
        } else {
            out.append(p, length);
            p += length;
        }
    }
    return out;
}

QByteArray unescape(const QByteArray &field)
{
    if (!field.contains('\\'))
        return field;
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == field.size())
            throw ParseError("a backslash ends a field; write a backslash as \\\\");
        switch (field.at(i)) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            const int high = i + 1 < field.size() ? hexValue(field.at(i + 1)) : -1;
            const int low = i + 2 < field.size() ? hexValue(field.at(i + 2)) : -1;
            if (high < 0 || low < 0)
                throw ParseError("\\x must be followed by two hexadecimal digits");
            out += char(high * 16 + low);
            i += 2;
            break;
        }
        default: {
            const char *at = field.constData() + i;
            const int length
                = std::max(1, utf8SequenceLength(at, field.constData() + field.size()));
            throw ParseError(QStringLiteral("unknown escape \\%1; write a backslash as \\\\")
                                 .arg(QString::fromUtf8(at, length))
                                 .toStdString());
        }
        }
    }
    return out;
}

QByteArray formatRow(const StoredRow &row)
{
    return escape(row.key) + '\t' + escape(row.link) + '\t' + escape(row.names) + '\n';
}

std::vector<StoredRow> parse(const QByteArray &text)
{
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TsvReader reader(buffer);
    std::vector<StoredRow> rows;
    StoredRow row;
    while (reader.next(row))
        rows.push_back(row);
    return rows;
}

QByteArray format(const std::vector<StoredRow> &rows)
{
    QByteArray text = Header + '\n';
    for (const StoredRow &row : rows)
        text += formatRow(row);
    return text;
}

QString format(const std::vector<DictionaryRow> &rows)
{
    QByteArray text = Header + '\n';
    for (const DictionaryRow &row : rows)
        text += formatRow({ row.key.toUtf8(), row.link.toUtf8(), row.names.toUtf8() });
    return QString::fromUtf8(text);
}

} // namespace TsvFormat
