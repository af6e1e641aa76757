#include "Generator.h"

#include "DreamsTable.h"

#include <QRandomGenerator>

namespace Generator {

namespace {
const char *const Onsets[] = { "b", "br", "c", "ch", "d", "dr", "f", "fl", "g", "gr", "h", "k", "l",
    "m", "n", "p", "pl", "r", "s", "sh", "sn", "st", "t", "tr", "v", "w", "z" };
const char *const Vowels[] = { "a", "e", "i", "o", "u", "ai", "ea", "oo", "ou" };
const char *const Codas[] = { "", "", "n", "r", "s", "ke", "th", "ll", "nd", "st", "w" };

template <typename T, size_t N> const char *pick(QRandomGenerator &random, const T (&list)[N])
{
    return list[random.bounded(quint32(N))];
}

QString word(QRandomGenerator &random)
{
    QString w;
    const int syllables = 1 + int(random.bounded(3u));
    for (int s = 0; s < syllables; ++s) {
        w += QLatin1String(pick(random, Onsets));
        w += QLatin1String(pick(random, Vowels));
    }
    w += QLatin1String(pick(random, Codas));
    return w;
}
} // namespace

void generate(qint64 count, quint32 seed, const QString &linkPrefix,
    const std::function<void(const DictionaryRow &)> &take)
{
    QRandomGenerator random(seed);
    for (qint64 i = 0; i < count; ++i) {
        QString key = word(random);
        key[0] = key[0].toUpper();
        const int more = int(random.bounded(3u));
        for (int m = 0; m < more; ++m)
            key += QLatin1Char(' ') + word(random);
        take({ key, linkPrefix + QString::number(i) + QStringLiteral(".html"),
            DreamsTable::Marker });
    }
}

std::vector<DictionaryRow> rows(qint64 count, quint32 seed, const QString &linkPrefix)
{
    std::vector<DictionaryRow> result;
    result.reserve(size_t(count));
    generate(count, seed, linkPrefix, [&](const DictionaryRow &row) { result.push_back(row); });
    return result;
}

} // namespace Generator
