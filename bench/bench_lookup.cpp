// Times the lookup handlers on generated dictionaries of 1,000 to 1,000,000 keywords, beside
// an honest floor: the fastest way found to give the same answer from memory, from indexes made
// once beforehand (their making is timed apart, below the sizes' rows). Each floor's answer is
// checked against the handler's, and a difference is printed as MISMATCH.
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
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <QHash>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Runs of each handler; the largest dictionary has fewer, each cold run there rereading a
// million rows.
constexpr int Runs = 9;
constexpr int LargeRuns = 5;
constexpr int LargeColdRuns = 3;
constexpr qint64 Large = 1000000;

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
    void navigateMeaningPane(const QString &address) override
    {
        ++navigations;
        last = address;
    }
    void showMeaningPane() override { }
    void closeBrowser() override { }
    void openBrowser(const QString &) override { }
    void hideBrowser() override { }
    int navigations = 0;
    QString last;
};

struct Figures
{
    double median = 0;
    double max = 0;
};

// Runs prepare untimed, then times step, runs times; milliseconds.
Figures measure(int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
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

// The same answers as the handlers give, from indexes over the keys made once, as a program
// would keep them beside its rows. Every answer ends in what the handler also ends in: a
// QStringList of the listed keys (copies sharing the stored text), or the link to show.
class Floors
{
public:
    Floors(std::vector<QString> keys, std::vector<QString> links)
        : m_keys(std::move(keys))
        , m_links(std::move(links))
    {
        QElapsedTimer timer;
        timer.start();
        m_start.reserve(m_keys.size() + 1);
        for (const QString &key : m_keys) {
            m_start.push_back(m_lower.size());
            m_lower += key.toLower().toStdString();
            m_lower += '\0';
        }
        m_start.push_back(m_lower.size());
        bufferMs = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        m_sorted.reserve(m_keys.size());
        for (size_t row = 0; row < m_keys.size(); ++row)
            m_sorted.emplace_back(lowerKey(row), row);
        std::sort(m_sorted.begin(), m_sorted.end());
        sortedMs = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        // From the last row up, so that the first row of a key is the one left.
        m_firstRow.reserve(qsizetype(m_keys.size()));
        for (size_t row = m_keys.size(); row-- > 0;)
            m_firstRow.insert(m_keys[row].toLower(), row);
        hashMs = double(timer.nsecsElapsed()) / 1e6;
    }

    const std::vector<QString> &keys() const { return m_keys; }
    bool isFirstOfItsKey(size_t row) const
    {
        return m_firstRow.value(m_keys[row].toLower()) == row;
    }

    // Fill and restore: every key, copied one by one into a list the size of the table.
    QStringList all() const
    {
        QStringList listed;
        listed.reserve(qsizetype(m_keys.size()));
        for (const QString &key : m_keys)
            listed.append(key);
        return listed;
    }

    // Wildcard: every lower-cased key in UTF-8 in one buffer, each ended by a NUL (which no
    // typed term holds, so no match runs from one key into the next), with the offset where
    // each begins. The term is looked for with find over the whole buffer (std::string_view's
    // find, or glibc's memmem: the faster is taken); each hit gives its row by a binary search
    // of the offsets, and the scan goes on from the next key, so the rows come in table order.
    // UTF-8 is self-synchronising: a byte match is a match of whole characters.
    template <typename Find> QStringList containing(const QString &typed, Find find) const
    {
        const std::string term = MatchRules::wildcardTerm(typed).toStdString();
        QStringList listed;
        if (term.empty()) {
            for (const QString &key : m_keys) {
                if (!key.isEmpty())
                    listed.append(key);
            }
            return listed;
        }
        const std::string_view buffer(m_lower);
        size_t from = 0;
        auto start = m_start.begin();
        while (from < buffer.size()) {
            const size_t hit = find(buffer, term, from);
            if (hit == std::string_view::npos)
                break;
            start = std::upper_bound(start, m_start.end(), hit);
            const size_t row = size_t(start - m_start.begin()) - 1;
            listed.append(m_keys[row]);
            from = *start;
        }
        return listed;
    }

    // Exact: (lower-cased key, row) pairs sorted once; the keys with the term as prefix are one
    // run found with std::lower_bound, whose rows are then sorted back into table order.
    QStringList beginningWith(const QString &typed) const
    {
        const std::string term = MatchRules::exactTerm(typed).toStdString();
        auto it = std::lower_bound(
            m_sorted.begin(), m_sorted.end(), std::pair<std::string_view, size_t>(term, 0));
        std::vector<size_t> rows;
        for (; it != m_sorted.end() && it->first.substr(0, term.size()) == term; ++it)
            rows.push_back(it->second);
        std::sort(rows.begin(), rows.end());
        QStringList listed;
        listed.reserve(qsizetype(rows.size()));
        for (const size_t row : rows)
            listed.append(m_keys[row]);
        return listed;
    }

    // Display: a hash from each lower-cased key to its first row, whose link is returned; the
    // lower-cased term when no key is that term.
    QString linkOf(const QString &selected) const
    {
        const QString term = MatchRules::trimSpaces(selected).toLower();
        const auto it = m_firstRow.constFind(term);
        return it == m_firstRow.constEnd() ? term : m_links[*it];
    }

    double bufferMs = 0, sortedMs = 0, hashMs = 0;

private:
    std::string_view lowerKey(size_t row) const
    {
        return std::string_view(m_lower).substr(m_start[row], m_start[row + 1] - m_start[row] - 1);
    }

    std::vector<QString> m_keys;
    std::vector<QString> m_links;
    std::string m_lower;
    std::vector<size_t> m_start;
    std::vector<std::pair<std::string_view, size_t>> m_sorted;
    QHash<QString, size_t> m_firstRow;
};

size_t findInView(std::string_view buffer, const std::string &term, size_t from)
{
    return buffer.find(term, from);
}

size_t findWithMemmem(std::string_view buffer, const std::string &term, size_t from)
{
    const void *hit
        = ::memmem(buffer.data() + from, buffer.size() - from, term.data(), term.size());
    return hit ? size_t(static_cast<const char *>(hit) - buffer.data()) : std::string_view::npos;
}

// Says loudly where a handler's list and its floor's differ.
bool same(const char *what, qint64 count, const QStringList &handler, const QStringList &floor)
{
    if (handler == floor)
        return true;
    qsizetype at = 0;
    while (at < handler.size() && at < floor.size() && handler[at] == floor[at])
        ++at;
    std::printf("MISMATCH %s at %lld keywords: the handler lists %lld keys, the floor %lld; "
                "first difference at item %lld\n",
        what, count, qint64(handler.size()), qint64(floor.size()), qint64(at));
    std::fflush(stdout);
    return false;
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
    QPushButton *cmdSearch = new QPushButton(QStringLiteral("&Search"));
    QPushButton *cmdDisplay = new QPushButton(QStringLiteral("&Display"));

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
        layout->addWidget(cmdSearch);
        lstKeys->setModel(keywords);
        layout->addWidget(lstKeys, 1);
        layout->addWidget(cmdDisplay);
        window.resize(240, 600);
        window.show();
    }
    LookupControls controls() const
    {
        return { txtKey, lstKeys, keywords, optExact, optWildCard, optGoogle, cmdSearch,
            cmdDisplay };
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

    std::printf("%-9s %-32s %5s %10s %10s %8s %10s %8s\n", "keywords", "handler", "runs",
        "median ms", "max ms", "listed", "floor ms", "x floor");
    int mismatches = 0;
    // Kept to the end: the peak memory below reads the largest dictionary again.
    QTemporaryDir folder;
    for (const qint64 count : { qint64(1000), qint64(10000), qint64(100000), Large }) {
        const int runs = count >= Large ? LargeRuns : Runs;
        const int coldRuns = count >= Large ? LargeColdRuns : Runs;
        const QString path = folder.filePath(QStringLiteral("dream-%1.dll").arg(count));
        std::vector<QString> keys, links;
        {
            const std::vector<DictionaryRow> rows = Generator::rows(count, 7);
            DictionaryFile::write(path, rows);
            keys.reserve(rows.size());
            links.reserve(rows.size());
            for (const DictionaryRow &row : rows) {
                keys.push_back(row.key);
                links.push_back(row.link);
            }
        }
        const Floors floors(std::move(keys), std::move(links));
        // A key near the end of the table and not found higher up: Display's scan for its first
        // row is long.
        size_t probeRow = floors.keys().size() - floors.keys().size() / 10;
        while (!floors.isFirstOfItsKey(probeRow))
            ++probeRow;
        const QString probe = floors.keys()[probeRow];
        // An exact search for the probe's first three letters, a wildcard search for three from
        // its middle.
        const QString prefix = probe.left(3);
        const QString inner = QStringLiteral("*") + probe.mid(1, 3);

        LookupWindow ui;
        SilentPrompter prompter;
        CountingPanes panes;
        AppState state;
        DictionaryCache dictionary;
        LookupController lookup(ui.controls(), panes, prompter, state, dictionary, path);
        lookup.connectControls();

        auto report = [&](const char *name, int times, const Figures &figures, double floor = 0) {
            std::printf("%-9lld %-32s %5d %10.2f %10.2f %8lld", count, name, times, figures.median,
                figures.max, qint64(ui.keywords->count()));
            if (floor > 0)
                std::printf(" %10.3f %8.1f", floor, figures.median / floor);
            std::printf("\n");
            std::fflush(stdout);
        };
        auto floorOf = [&](const std::function<void()> &answer) {
            return measure(
                runs, [] {}, answer)
                .median;
        };
        const QStringList allListed = floors.all();
        const QStringList exactListed = floors.beginningWith(prefix);
        const QStringList wildcardListed = floors.containing(inner, findInView);
        const QString probeLink = floors.linkOf(probe);
        if (!same("floor of wildcard, memmem against find", count, wildcardListed,
                floors.containing(inner, findWithMemmem)))
            ++mismatches;
        const double fillFloor = floorOf([&] { floors.all(); });
        const double exactFloor = floorOf([&] { floors.beginningWith(prefix); });
        const double wildcardFloor
            = std::min(floorOf([&] { floors.containing(inner, findInView); }),
                floorOf([&] { floors.containing(inner, findWithMemmem); }));
        const double displayFloor = floorOf([&] { floors.linkOf(probe); });

        auto checkList = [&](const char *name, const QStringList &floor) {
            if (!same(name, count, ui.keywords->keys(), floor))
                ++mismatches;
        };
        auto checkLink = [&](const char *name) {
            if (panes.last != probeLink) {
                std::printf("MISMATCH %s at %lld keywords: the handler shows %s, the floor %s\n",
                    name, count, qPrintable(panes.last), qPrintable(probeLink));
                ++mismatches;
            }
            panes.last.clear();
        };

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

        report("fill at load, cold", coldRuns,
            measure(coldRuns, cold([&] { ui.keywords->clear(); }), [&] { lookup.fillAtLoad(); }));
        checkList("fill at load, cold", allListed);
        report("fill at load", runs,
            measure(
                runs, [&] { ui.keywords->clear(); }, [&] { lookup.fillAtLoad(); }),
            fillFloor);
        checkList("fill at load", allListed);
        report("exact search (button), cold", coldRuns, measure(coldRuns, cold(exact), search));
        checkList("exact search (button), cold", exactListed);
        report("exact search (button)", runs, measure(runs, exact, search), exactFloor);
        checkList("exact search (button)", exactListed);
        report("exact search (Enter)", runs, measure(runs, exact, enter), exactFloor);
        checkList("exact search (Enter)", exactListed);
        report(
            "wildcard search (button), cold", coldRuns, measure(coldRuns, cold(wildcard), search));
        checkList("wildcard search (button), cold", wildcardListed);
        report("wildcard search (button)", runs, measure(runs, wildcard, search), wildcardFloor);
        checkList("wildcard search (button)", wildcardListed);
        report("wildcard search (Enter)", runs, measure(runs, wildcard, enter), wildcardFloor);
        checkList("wildcard search (Enter)", wildcardListed);
        report("restore on a blank box", runs,
            measure(
                runs,
                [&] {
                    ui.txtKey->setText(prefix);
                    ui.keywords->setKeys({ probe });
                },
                [&] { ui.txtKey->clear(); }),
            fillFloor);
        checkList("restore on a blank box", allListed);
        report("display (button), cold", coldRuns, measure(coldRuns, cold(selectProbe), display));
        checkLink("display (button), cold");
        report("display (button)", runs, measure(runs, selectProbe, display), displayFloor);
        checkLink("display (button)");
        report("display (double-click)", runs,
            measure(runs, selectProbe, [&] { lookup.lstKeys_DblClick(); }), displayFloor);
        checkLink("display (double-click)");
        report("display, empty box", runs,
            measure(
                runs, [&] { ui.txtKey->clear(); }, display));
        checkList("display, empty box", allListed);

        std::printf("%-9lld floors' indexes made in: key buffer %.0f ms, sorted keys %.0f ms, "
                    "hash of keys %.0f ms\n",
            count, floors.bufferMs, floors.sortedMs, floors.hashMs);

        // Every search found something and every display navigated (a Search also navigates
        // when its term names a listed key).
        const int displays = coldRuns + 2 * runs;
        if (exactListed.isEmpty() || wildcardListed.isEmpty())
            std::printf("MISMATCH at %lld keywords: a search term finds nothing\n", count);
        if (prompter.failures != 0 || prompter.shown != runs || panes.navigations < displays)
            std::fprintf(stderr, "unexpected: %d failures, %d messages, %d navigations\n",
                prompter.failures, prompter.shown, panes.navigations);
    }
    if (mismatches > 0)
        std::printf(
            "\n*** %d MISMATCH(ES) between handlers and floors: see above ***\n", mismatches);

    // Peak memory, each in a process of its own: an empty dictionary against 100,000 and
    // 1,000,000 keywords.
    const QString empty = folder.filePath(QStringLiteral("empty.dll"));
    DictionaryFile::write(empty, {});
    const double emptyPeak = peakOf(empty);
    std::printf("\npeak memory: empty dictionary %.1f MB\n", emptyPeak);
    for (const qint64 count : { qint64(100000), Large }) {
        const double peak = peakOf(folder.filePath(QStringLiteral("dream-%1.dll").arg(count)));
        std::printf("peak memory: %lld keywords %.1f MB, %.1f MB more than empty\n", count, peak,
            peak - emptyPeak);
    }
    return 0;
}
