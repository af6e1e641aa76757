// Times the lookup handlers on generated dictionaries of 1,000, 10,000 and 100,000 keywords,
// beside the floor: the same match over the same keys held in a plain vector in memory.
// A figure is the handler plus the events it leaves behind (the list's relayout). "Warm" runs
// follow one another on an unchanged file, whose unlocked handle and rows the dictionary store
// keeps; "cold" runs each follow a change of the file on disk, so they derive the key and read
// every row again, as the first handler after start-up or after an update does.
#include "AppState.h"
#include "DictionaryCache.h"
#include "DictionaryFile.h"
#include "Generator.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LookupController.h"
#include "MatchRules.h"
#include "PaneHost.h"
#include "Prompter.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 9;

class SilentPrompter : public Prompter
{
public:
    void information(const QString &) override { ++shown; }
    void error(const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        ++failures;
    }
    bool askYesNo(const QString &) override { return false; }
    int shown = 0;
    int failures = 0;
};

class CountingPanes : public PaneHost
{
public:
    void navigateMeaningPane(const QString &) override { ++navigations; }
    void showMeaningPane() override { }
    void closeBrowser() override { }
    void openBrowser() override { }
    void hideBrowser() override { }
    int navigations = 0;
};

struct Figures
{
    double median = 0;
    double max = 0;
};

// Runs prepare untimed, then times step; milliseconds.
Figures measure(const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        step();
        QCoreApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return { times[times.size() / 2], times.back() };
}

// The process's own high-water mark of resident memory (getrusage would report a parent's
// peak to the child it started).
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// The floor of a lookup: its match over keys already in memory, nothing else.
QStringList floorMatch(const std::vector<QString> &keys, int mode, const QString &term)
{
    QStringList found;
    for (const QString &key : keys) {
        const bool match = mode == 0 ? MatchRules::matchesExact(key, term)
                : mode == 1          ? MatchRules::matchesWildcard(key, term)
                                     : key.toLower() == term;
        if (match) {
            found.append(key);
            if (mode == 2)
                break;
        }
    }
    return found;
}

// Gives the file another modification time, which tells the store its copy is stale.
void touch(const QString &path)
{
    static qint64 offset = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(
            QDateTime::currentDateTime().addSecs(++offset), QFileDevice::FileModificationTime))
        std::fprintf(stderr, "cannot touch %s\n", qPrintable(path));
}

// The main window's lookup controls, in a plain window.
struct LookupWindow
{
    QWidget window;
    QLineEdit *txtKey = new QLineEdit;
    KeywordListView *lstKeys = new KeywordListView;
    KeywordListModel *keywords = new KeywordListModel(&window);
    QRadioButton *optExact = new QRadioButton(QStringLiteral("Exact Search"));
    QRadioButton *optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
    QRadioButton *optGoogle = new QRadioButton(QStringLiteral("Google Search"));

    LookupWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        auto *modes = new QButtonGroup(&window);
        for (QRadioButton *option : { optExact, optWildCard, optGoogle }) {
            modes->addButton(option);
            layout->addWidget(option);
        }
        optExact->setChecked(true);
        layout->addWidget(txtKey);
        lstKeys->setModel(keywords);
        layout->addWidget(lstKeys, 1);
        window.resize(240, 600);
        window.show();
    }
    LookupControls controls() const
    {
        return { txtKey, lstKeys, keywords, optExact, optWildCard, optGoogle };
    }
};

} // namespace

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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--peak")
        return peakRun(QString::fromLocal8Bit(argv[2]));

    std::printf("%-9s %-32s %10s %10s %8s %10s %8s\n", "keywords", "handler", "median ms",
        "max ms", "listed", "floor ms", "x floor");
    for (const qint64 count : { 1000, 10000, 100000 }) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("dream.dll"));
        const std::vector<DictionaryRow> rows = Generator::rows(count, 7);
        DictionaryFile::write(path, rows);

        // A key near the end of the table: Display's scan for its row is long. An exact search
        // for its first three letters, a wildcard search for three from its middle.
        const QString probe = rows[rows.size() - rows.size() / 10].key;
        const QString prefix = probe.left(3);
        const QString inner = QStringLiteral("*") + probe.mid(1, 3);

        LookupWindow ui;
        SilentPrompter prompter;
        CountingPanes panes;
        AppState state;
        DictionaryCache dictionary;
        LookupController lookup(ui.controls(), panes, prompter, state, dictionary, path);
        lookup.connectControls();

        std::vector<QString> keys;
        for (const DictionaryRow &row : rows)
            keys.push_back(row.key);
        auto report = [&](const char *name, const Figures &figures, double floor = 0) {
            std::printf("%-9lld %-32s %10.2f %10.2f %8lld", count, name, figures.median,
                figures.max, qint64(ui.keywords->count()));
            if (floor > 0)
                std::printf(" %10.3f %8.1f", floor, figures.median / floor);
            std::printf("\n");
            std::fflush(stdout);
        };
        auto floorOf = [&](int mode, const QString &term) {
            return measure([] {}, [&] { floorMatch(keys, mode, term); }).median;
        };
        const double exactFloor = floorOf(0, MatchRules::exactTerm(prefix));
        const double wildcardFloor = floorOf(1, MatchRules::wildcardTerm(inner));
        const double displayFloor = floorOf(2, probe.toLower());
        const double fillFloor = measure([] {}, [&] {
            QStringList all;
            all.reserve(qsizetype(keys.size()));
            for (const QString &key : keys)
                all.append(key);
        }).median;
        auto exact = [&] {
            ui.optExact->setChecked(true);
            ui.txtKey->setText(prefix);
        };
        auto wildcard = [&] {
            ui.optWildCard->setChecked(true);
            ui.txtKey->setText(inner);
        };
        auto selectProbe = [&] {
            ui.optExact->setChecked(true);
            if (ui.keywords->count() != count)
                lookup.fillAtLoad();
            ui.txtKey->setText(QStringLiteral("x"));
            ui.lstKeys->setCurrentIndex(
                ui.keywords->index(int(ui.keywords->keys().indexOf(probe))));
        };
        auto search = [&] { lookup.cmdSearch_Click(); };
        auto enter = [&] { lookup.txtKey_KeyPress(13); };
        auto display = [&] { lookup.cmdDisplay_Click(); };
        auto cold = [&](const std::function<void()> &prepare) {
            return [&path, prepare] {
                prepare();
                touch(path);
            };
        };

        report("fill at load, cold",
            measure(cold([&] { ui.keywords->clear(); }), [&] { lookup.fillAtLoad(); }));
        report("fill at load", measure([&] { ui.keywords->clear(); }, [&] { lookup.fillAtLoad(); }),
            fillFloor);
        report("exact search (button), cold", measure(cold(exact), search));
        report("exact search (button)", measure(exact, search), exactFloor);
        report("exact search (Enter)", measure(exact, enter), exactFloor);
        report("wildcard search (button), cold", measure(cold(wildcard), search));
        report("wildcard search (button)", measure(wildcard, search), wildcardFloor);
        report("wildcard search (Enter)", measure(wildcard, enter), wildcardFloor);
        report("restore on a blank box",
            measure(
                [&] {
                    ui.txtKey->setText(prefix);
                    ui.keywords->setKeys({ probe });
                },
                [&] { ui.txtKey->clear(); }),
            fillFloor);
        report("display (button), cold", measure(cold(selectProbe), display));
        report("display (button)", measure(selectProbe, display), displayFloor);
        report("display (double-click)", measure(selectProbe, [&] { lookup.lstKeys_DblClick(); }),
            displayFloor);
        report("display, empty box", measure([&] { ui.txtKey->clear(); }, display));

        // Every search found something and every display navigated.
        if (prompter.failures != 0 || prompter.shown != Runs || panes.navigations != 7 * Runs)
            std::fprintf(stderr, "unexpected: %d failures, %d messages, %d navigations\n",
                prompter.failures, prompter.shown, panes.navigations);
    }

    // Peak memory, each in a process of its own: an empty dictionary against 100,000 keywords.
    QTemporaryDir folder;
    const QString empty = folder.filePath(QStringLiteral("empty.dll"));
    const QString large = folder.filePath(QStringLiteral("large.dll"));
    DictionaryFile::write(empty, {});
    DictionaryFile::write(large, Generator::rows(100000, 7));
    const double emptyPeak = peakOf(empty);
    const double largePeak = peakOf(large);
    std::printf("\npeak memory: empty dictionary %.1f MB, 100000 keywords %.1f MB, "
                "difference %.1f MB\n",
        emptyPeak, largePeak, largePeak - emptyPeak);
    return 0;
}
