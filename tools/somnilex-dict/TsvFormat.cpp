#include "TsvFormat.h"
#include <QStringList>

namespace TsvFormat {

namespace {
const QString Header = QStringLiteral("Key\tLink\tNames");
}

std::vector<DictionaryRow> parse(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (lines.isEmpty() || lines.first() != Header)
        throw ParseError("line 1: the header must be Key<TAB>Link<TAB>Names");

    std::vector<DictionaryRow> rows;
    rows.reserve(size_t(lines.size()));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char('\t'));
        if (fields.size() != 3)
            throw ParseError(QStringLiteral("line %1: expected 3 tab-separated fields, found %2")
                                     .arg(i + 1)
                                     .arg(fields.size())
                                     .toStdString());
        rows.push_back({ fields.at(0), fields.at(1), fields.at(2) });
    }
    return rows;
}

QString format(const std::vector<DictionaryRow> &rows)
{
    QString text = Header + QLatin1Char('\n');
    for (const DictionaryRow &row : rows)
        text += row.key + QLatin1Char('\t') + row.link + QLatin1Char('\t') + row.names
                + QLatin1Char('\n');
    return text;
}

} // namespace TsvFormat
