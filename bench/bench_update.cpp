// Times the dictionary update: the merge of a 32,767-row update file (half new links, half
// already known) into a 100,000-row dictionary, and, on a smaller pair, the merge against the
// old row-by-row walk that searched the whole dictionary for every update row.
#include "DictionaryFile.h"
#include "DictionaryUpdate.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

struct Pair
{
    std::vector<DictionaryRow> dictionary;
    std::vector<DictionaryRow> update;
};

QString word(std::mt19937 &random)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> length(4, 12), letter(0, 25);
    QString text;
    for (int i = length(random); i > 0; --i)
        text += QLatin1Char(letters[letter(random)]);
    return text;
}

// A dictionary of distinct links and an update whose first half of rows repeat links of the
// dictionary and second half bring new ones, shuffled together.
Pair generate(int dictionaryRows, int updateRows, unsigned seed)
{
    std::mt19937 random(seed);
    Pair pair;
    pair.dictionary.reserve(size_t(dictionaryRows));
    for (int i = 0; i < dictionaryRows; ++i) {
        const QString key = word(random);
        pair.dictionary.push_back(
            { key, QStringLiteral("https://dreams.example/%1/%2.html").arg(i).arg(key),
                DreamsTable::Marker });
    }
    std::uniform_int_distribution<int> known(0, dictionaryRows - 1);
    for (int i = 0; i < updateRows; ++i) {
        if (i < updateRows / 2) {
            const DictionaryRow &old = pair.dictionary[size_t(known(random))];
            pair.update.push_back({ word(random), old.link, DreamsTable::Marker });
        } else {
            const QString key = word(random);
            pair.update.push_back(
                { key, QStringLiteral("https://dreams.example/new/%1/%2.html").arg(i).arg(key),
                    DreamsTable::Marker });
        }
    }
    std::shuffle(pair.update.begin(), pair.update.end(), random);
    return pair;
}

// The update as it used to run: each update row walks the dictionary from its first row, and
// each new row is committed on its own.
qint64 rowByRowWalk(const QString &updatePath, const QString &dictionaryPath)
{
    const QString &names = DreamsTable::NamesColumn, &key = DreamsTable::KeyColumn,
                  &link = DreamsTable::LinkColumn;
    modDB::ConnectionPtr updateConnection, dictionaryConnection;
    modDB::RecordsetPtr updateSet, dreams;
    modDB::OpenConnection(updateConnection, updatePath);
    modDB::OpenRecordset(updateSet, updateConnection, modDB::SelectAllDreams);
    modDB::OpenConnection(dictionaryConnection, dictionaryPath);
    modDB::OpenRecordset(dreams, dictionaryConnection, modDB::SelectAllDreams);
    qint64 appended = 0;
    const qint64 updateRows = updateSet->RecordCount();
    updateSet->MoveFirst();
    for (qint64 u = 0; u < updateRows; ++u) {
        if (updateSet->Fields(names) != DreamsTable::Marker)
            return -1;
        const QString wanted = updateSet->Fields(link);
        bool duplicate = false;
        const qint64 dictionaryRows = dreams->RecordCount();
        if (dictionaryRows > 0) {
            dreams->MoveFirst();
            for (qint64 d = 0; d < dictionaryRows; ++d) {
                if (dreams->Fields(link) == wanted) {
                    duplicate = true;
                    break;
                }
                dreams->MoveNext();
            }
        }
        if (!duplicate) {
            dreams->AddNew();
            dreams->setField(names, DreamsTable::Marker);
            dreams->setField(key, updateSet->Fields(key));
            dreams->setField(link, wanted);
            dreams->Update();
            ++appended;
        }
        updateSet->MoveNext();
    }
    return appended;
}

double secondsOf(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// Processor time of this process: on a machine shared with other work, the wall time above
// includes waiting for a core.
double processorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void mergeOnce(const char *label, const Pair &pair, const QTemporaryDir &dir, bool alsoWalk)
{
    const QString dictionary = dir.filePath(QStringLiteral("dream.dll"));
    const QString walked = dir.filePath(QStringLiteral("walked.dll"));
    const QString update = dir.filePath(QStringLiteral("update.dat"));
    DictionaryFile::write(dictionary, pair.dictionary);
    DictionaryFile::write(update, pair.update);
    if (alsoWalk)
        DictionaryFile::write(walked, pair.dictionary);

    // Opening a file costs the key derivation alone; every merge opens two. A file of its own,
    // so that the merge below still opens both of its files afresh.
    const QString probePath = dir.filePath(QStringLiteral("probe.dll"));
    DictionaryFile::write(probePath, {});
    QElapsedTimer timer;
    timer.start();
    modDB::ConnectionPtr probe;
    modDB::OpenConnection(probe, probePath);
    probe.reset();
    const double openSeconds = secondsOf(timer);

    timer.restart();
    const double cpuBefore = processorSeconds();
    const DictionaryUpdate::Result result = DictionaryUpdate(update, dictionary).run();
    const double mergeSeconds = secondsOf(timer);
    const double mergeCpu = processorSeconds() - cpuBefore;
    std::printf("%s: %zu-row update into %zu-row dictionary: merge %.3f s, %.3f s processor "
                "(%lld appended, %lld duplicates; one file open %.3f s)\n",
        label, pair.update.size(), pair.dictionary.size(), mergeSeconds, mergeCpu,
        static_cast<long long>(result.appended), static_cast<long long>(result.duplicates),
        openSeconds);
    if (result.outcome != DictionaryUpdate::Outcome::Merged)
        std::printf("  merge did not succeed: %s\n", qPrintable(result.error));

    if (!alsoWalk)
        return;
    timer.restart();
    const double walkCpuBefore = processorSeconds();
    const qint64 walkAppended = rowByRowWalk(update, walked);
    const double walkSeconds = secondsOf(timer);
    const double walkCpu = processorSeconds() - walkCpuBefore;
    const bool same = DictionaryFile::read(walked) == DictionaryFile::read(dictionary);
    std::printf("%s: row-by-row walk %.3f s, %.3f s processor (%lld appended; same rows as the "
                "merge: %s)\n",
        label, walkSeconds, walkCpu, static_cast<long long>(walkAppended), same ? "yes" : "NO");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // "large" or "small" runs that pair alone.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (only.isEmpty() || only == QLatin1String("large"))
        mergeOnce("large", generate(100000, 32767, 20261208), dir, false);
    if (only.isEmpty() || only == QLatin1String("small"))
        mergeOnce("small", generate(10000, 1000, 1185), dir, true);
    return 0;
}
