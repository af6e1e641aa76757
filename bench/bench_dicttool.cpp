// The dictionary tool on a large file: peak memory (the kernel's peak resident set of the tool's
// process) and time of create from a TSV of about 100 MB (or the megabytes given as the first
// argument), then dump and check of the file it made. Figures only.
#include "Generator.h"
#include "MeasuredRun.h"
#include "TsvFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

MeasuredRun run(const QStringList &arguments, const QString &standardOutput)
{
    return runMeasured(QStringLiteral(SOMNILEX_DICT), arguments, standardOutput);
}

// Made-up rows, as many as fill the size, written as they are made.
qint64 writeTsv(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(TsvFormat::Header + '\n');
    qint64 rows = 0;
    QByteArray chunk;
    while (file.size() + chunk.size() < bytes) {
        Generator::generate(10000, quint32(rows / 10000 + 1),
            QStringLiteral("qrc:/dreams/gen-%1-").arg(rows / 10000), [&](const DictionaryRow &row) {
                chunk += TsvFormat::formatRow(
                    { row.key.toUtf8(), row.link.toUtf8(), row.names.toUtf8() });
            });
        rows += 10000;
        file.write(chunk);
        chunk.clear();
    }
    return rows;
}

void print(const char *step, double inputMiB, const MeasuredRun &m)
{
    std::printf("%-8s %10.1f %14.1f %10.2f %s\n", step, inputMiB, double(m.peakBytes) / (1 << 20),
        m.seconds, m.exitCode == 0 ? "" : "FAILED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    QTemporaryDir folder;
    const QString tsv = folder.filePath(QStringLiteral("rows.tsv"));
    const QString dictionary = folder.filePath(QStringLiteral("rows.dll"));
    const qint64 rows = writeTsv(tsv, megabytes << 20);
    const double tsvMiB = double(QFileInfo(tsv).size()) / (1 << 20);
    std::printf(
        "somnilex-dict on %lld rows (%.1f MiB of TSV)\n", static_cast<long long>(rows), tsvMiB);
    std::printf("%-8s %10s %14s %10s\n", "step", "input MiB", "peak RSS MiB", "seconds");
    print("create", tsvMiB, run({ QStringLiteral("create"), dictionary, tsv }, "/dev/null"));
    const double dictionaryMiB = double(QFileInfo(dictionary).size()) / (1 << 20);
    print("dump", dictionaryMiB,
        run({ QStringLiteral("dump"), dictionary }, folder.filePath(QStringLiteral("out.tsv"))));
    print("check", dictionaryMiB, run({ QStringLiteral("check"), dictionary }, "/dev/null"));
    return 0;
}
