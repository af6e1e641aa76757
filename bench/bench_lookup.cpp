// Times the lookup handlers on generated dictionaries of 1,000 to 1,000,000 keywords, beside
// an honest floor: the fastest way found to give the same answer from memory, from indexes made
// once beforehand (their making is timed apart, below the sizes' rows). Each floor's answer is
// checked against the handler's, and a difference is printed as MISMATCH.
// A figure is the handler plus the events it leaves behind (the list's relayout). "Warm" runs
// follow one another on an unchanged file, whose unlocked handle and rows the dictionary store
// keeps; "cold" runs each follow a change of the file on disk, so they derive the key and read
// every row again, as the first handler after start-up or after an update does.
#include "DictionaryFile.h"
#include "LookupSizeRun.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Loads a dictionary into the window, runs each lookup once and prints the peak resident
// memory of the process, in megabytes.
int peakRun(const QString &path)
{
    LookupWindow ui;
    SilentPrompter prompter;
    CountingPanes panes;
    AppState state;
    DictionaryCache dictionary;
    LookupController lookup(ui.controls(), panes, prompter, state, dictionary, path);
    lookup.fillAtLoad();
    QCoreApplication::processEvents();
    ui.txtKey->setText(QStringLiteral("Sn"));
    lookup.cmdSearch_Click();
    ui.optWildCard->setChecked(true);
    ui.txtKey->setText(QStringLiteral("*oo"));
    lookup.cmdSearch_Click();
    lookup.cmdDisplay_Click();
    ui.txtKey->clear();
    QCoreApplication::processEvents();
    std::printf("%.1f\n", peakMegabytes());
    return 0;
}

double peakOf(const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--peak"), path });
    child.waitForFinished(120000);
    return child.readAllStandardOutput().trimmed().toDouble();
}

// Peak memory, each in a process of its own: an empty dictionary against 100,000 and
// 1,000,000 keywords.
void printPeaks(const QTemporaryDir &folder)
{
    const QString empty = folder.filePath(QStringLiteral("empty.dll"));
    DictionaryFile::write(empty, {});
    const double emptyPeak = peakOf(empty);
    std::printf("\npeak memory: empty dictionary %.1f MB\n", emptyPeak);
    for (const qint64 count : { qint64(100000), Large }) {
        const double peak = peakOf(folder.filePath(QStringLiteral("dream-%1.dll").arg(count)));
        std::printf("peak memory: %lld keywords %.1f MB, %.1f MB more than empty\n", count, peak,
            peak - emptyPeak);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--peak")
        return peakRun(QString::fromLocal8Bit(argv[2]));

    std::printf("%-9s %-32s %5s %10s %10s %8s %10s %8s\n", "keywords", "handler", "runs",
        "median ms", "max ms", "listed", "floor ms", "x floor");
    int mismatches = 0;
    // Kept to the end: the peak memory below reads the largest dictionary again.
    QTemporaryDir folder;
    for (const qint64 count : { qint64(1000), qint64(10000), qint64(100000), Large }) {
        SizeRun size(count, folder.filePath(QStringLiteral("dream-%1.dll").arg(count)));
        mismatches += size.run();
    }
    if (mismatches > 0)
        std::printf(
            "\n*** %d MISMATCH(ES) between handlers and floors: see above ***\n", mismatches);
    printPeaks(folder);
    return 0;
}
