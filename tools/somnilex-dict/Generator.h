#pragma once
#include "DictionaryFile.h"
#include <QtGlobal>
#include <functional>
#include <vector>

// Made-up dictionaries of any size for benchmarks: keys of one to three invented words (about
// 4 to 30 characters, like real symbols), each row with its own link. The same seed gives the
// same rows.
namespace Generator {

std::vector<DictionaryRow> rows(
    qint64 count, quint32 seed = 1, const QString &linkPrefix = QStringLiteral("qrc:/dreams/gen-"));
// The same rows handed over one at a time, for files too large to hold in memory.
void generate(qint64 count, quint32 seed, const QString &linkPrefix,
    const std::function<void(const DictionaryRow &)> &take);

} // namespace Generator
