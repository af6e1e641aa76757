// Times the dictionary update: the merge of a 32,767-row update file (half new links, half
// already known) into a 100,000-row dictionary, of a 1,000,000-row update into a 1,000,000-row
// dictionary (once: it takes seconds, and its peak memory is that of a process of its own), and,
// on a smaller pair, the merge against the old row-by-row walk that searched the whole
// dictionary for every update row.
#include "DictionaryCache.h"
#include "DictionaryFile.h"
#include "DictionaryUpdate.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
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
qint64 rowByRowWalk(
    DictionaryCache &cache, const QString &updatePath, const QString &dictionaryPath)
{
    const QString &names = DreamsTable::NamesColumn, &key = DreamsTable::KeyColumn,
                  &link = DreamsTable::LinkColumn;
    const modDB::RecordsetPtr updateSet = modDB::openDreams(cache, updatePath);
    const modDB::RecordsetPtr dreams = modDB::openDreams(cache, dictionaryPath);
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

// The process's own high-water mark and present size of resident memory, in megabytes.
double statusMegabytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toDouble()
                / 1024.0;
    }
    return 0;
}

// Merges update into dictionary in this process, which does nothing else, and prints the
// times and the peak memory: the figures of a user's update of a large dictionary.
int mergeAlone(const QString &update, const QString &dictionary)
{
    const double startMegabytes = statusMegabytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = processorSeconds();
    DictionaryCache cache;
    const DictionaryUpdate::Result result = DictionaryUpdate(cache, update, dictionary).run();
    std::printf("merge %.3f s, %.3f s processor (%lld appended, %lld duplicates); peak memory "
                "%.1f MB, %.1f MB before the merge\n",
        secondsOf(timer), processorSeconds() - cpuBefore, static_cast<long long>(result.appended),
        static_cast<long long>(result.duplicates), statusMegabytes("VmHWM:"), startMegabytes);
    if (result.outcome != DictionaryUpdate::Outcome::Merged)
        std::printf("  merge did not succeed: %s\n", qPrintable(result.error));
    return 0;
}

// The million-row pair: both files written here, the merge run by a child process.
void mergeMillion(const QTemporaryDir &dir)
{
    const QString dictionary = dir.filePath(QStringLiteral("million.dll"));
    const QString update = dir.filePath(QStringLiteral("million-update.dat"));
    {
        const Pair pair = generate(1000000, 1000000, 5150);
        DictionaryFile::write(dictionary, pair.dictionary);
        DictionaryFile::write(update, pair.update);
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(
        QCoreApplication::applicationFilePath(), { QStringLiteral("--merge"), update, dictionary });
    child.waitForFinished(600000);
    std::printf("million: 1000000-row update into 1000000-row dictionary, one run: %s\n",
        child.readAllStandardOutput().trimmed().constData());
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
    DictionaryCache cache;
    QElapsedTimer timer;
    timer.start();
    modDB::ConnectionPtr probe;
    modDB::OpenConnection(probe, cache, probePath);
    probe.reset();
    const double openSeconds = secondsOf(timer);

    timer.restart();
    const double cpuBefore = processorSeconds();
    const DictionaryUpdate::Result result = DictionaryUpdate(cache, update, dictionary).run();
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
    const qint64 walkAppended = rowByRowWalk(cache, update, walked);
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
    if (argc == 4 && QByteArray(argv[1]) == "--merge")
        return mergeAlone(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // "large", "million" or "small" runs that pair alone.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (only.isEmpty() || only == QLatin1String("large"))
        mergeOnce("large", generate(100000, 32767, 20261208), dir, false);
    if (only.isEmpty() || only == QLatin1String("small"))
        mergeOnce("small", generate(10000, 1000, 1185), dir, true);
    if (only.isEmpty() || only == QLatin1String("million"))
        mergeMillion(dir);
    return 0;
}
