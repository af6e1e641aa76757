// Times the lookup handlers on generated dictionaries of 1,000, 10,000 and 100,000 keywords.
// Each handler opens and reads the dictionary afresh, as the program does; a figure is the
// handler plus the events it leaves behind (the list's relayout), measured over several runs.
#include "DictionaryFile.h"
#include "Generator.h"
#include "KeywordListModel.h"
#include "LookupController.h"
#include "MatchRules.h"
#include "PaneHost.h"
#include "Prompter.h"
#include "modDB.h"

#include "AppState.h"

#include <QApplication>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
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
        ++shown;
    }
    bool askYesNo(const QString &) override { return false; }
    int shown = 0;
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

// Runs prepare untimed, then times step; returns milliseconds.
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

// The key of a row near the end, and the first three letters of a word in its middle: an
// exact search then finds every key sharing its start, a wildcard search every key holding it.
struct Probe
{
    QString key;
    QString prefix;
    QString inner;
};

Probe probeOf(const std::vector<DictionaryRow> &rows)
{
    const QString key = rows[rows.size() - rows.size() / 10].key;
    return { key, key.left(3), QStringLiteral("*") + key.mid(1, 3) };
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf(
        "%-10s %-26s %10s %10s %8s\n", "keywords", "handler", "median ms", "max ms", "listed");
    for (const qint64 count : { 1000, 10000, 100000 }) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("dream.dll"));
        const std::vector<DictionaryRow> rows = Generator::rows(count, 7);
        DictionaryFile::write(path, rows);
        const Probe probe = probeOf(rows);

        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *optExact = new QRadioButton(QStringLiteral("Exact Search"));
        auto *optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
        auto *optGoogle = new QRadioButton(QStringLiteral("Google Search"));
        auto *modes = new QButtonGroup(&window);
        for (QRadioButton *option : { optExact, optWildCard, optGoogle }) {
            modes->addButton(option);
            layout->addWidget(option);
        }
        optExact->setChecked(true);
        auto *txtKey = new QLineEdit;
        layout->addWidget(txtKey);
        auto *keywords = new KeywordListModel(&window);
        auto *lstKeys = new QTreeView;
        lstKeys->setModel(keywords);
        lstKeys->setRootIsDecorated(false);
        lstKeys->setUniformRowHeights(true);
        lstKeys->setSelectionMode(QAbstractItemView::SingleSelection);
        layout->addWidget(lstKeys, 1);
        window.resize(240, 600);
        window.show();

        SilentPrompter prompter;
        CountingPanes panes;
        AppState state;
        LookupController lookup({ txtKey, lstKeys, keywords, optExact, optWildCard, optGoogle },
            panes, prompter, state, path);
        lookup.connectControls();

        auto report = [&](const char *name, const Figures &figures) {
            std::printf("%-10lld %-26s %10.2f %10.2f %8lld\n", count, name, figures.median,
                figures.max, qint64(keywords->count()));
            std::fflush(stdout);
        };

        report("fill at load", measure([&] { keywords->clear(); }, [&] { lookup.fillAtLoad(); }));

        report("exact search (button)",
            measure(
                [&] {
                    optExact->setChecked(true);
                    txtKey->setText(probe.prefix);
                },
                [&] { lookup.cmdSearch_Click(); }));
        report("exact search (Enter)",
            measure([&] { txtKey->setText(probe.prefix); }, [&] { lookup.txtKey_KeyPress(13); }));

        report("wildcard search (button)",
            measure(
                [&] {
                    optWildCard->setChecked(true);
                    txtKey->setText(probe.inner);
                },
                [&] { lookup.cmdSearch_Click(); }));
        report("wildcard search (Enter)",
            measure([&] { txtKey->setText(probe.inner); }, [&] { lookup.txtKey_KeyPress(13); }));
        optExact->setChecked(true);

        report("restore on a blank box",
            measure(
                [&] {
                    txtKey->setText(probe.prefix);
                    keywords->setKeys({ probe.key });
                },
                [&] { txtKey->clear(); }));

        // The selected keyword sits near the end of the table, so the scan for its row is long.
        lookup.fillAtLoad();
        const int selectedRow = int(keywords->keys().indexOf(probe.key));
        auto selectProbe = [&] {
            txtKey->setText(QStringLiteral("x"));
            lstKeys->setCurrentIndex(keywords->index(selectedRow));
        };
        report("display (button)", measure(selectProbe, [&] { lookup.cmdDisplay_Click(); }));
        report("display (double-click)", measure(selectProbe, [&] { lookup.lstKeys_DblClick(); }));
        report("display, empty box",
            measure([&] { txtKey->clear(); }, [&] { lookup.cmdDisplay_Click(); }));

        // Where the time goes: the dictionary's opening (key derivation and the read of every
        // row) against the matching itself, on keys already in memory.
        QStringList keys;
        for (const DictionaryRow &row : rows)
            keys << row.key;
        const QString exact = MatchRules::exactTerm(probe.prefix);
        const QString wildcard = MatchRules::wildcardTerm(probe.inner);
        int matched = 0;
        report("  part: open connection",
            measure([] {},
                [&] {
                    modDB::ConnectionPtr connection;
                    modDB::OpenConnection(connection, path);
                }));
        report("  part: open + read rows",
            measure([] {},
                [&] {
                    modDB::ConnectionPtr connection;
                    modDB::RecordsetPtr rs;
                    modDB::OpenConnection(connection, path);
                    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
                }));
        report("  part: exact match only",
            measure([] {},
                [&] {
                    for (const QString &key : keys)
                        matched += MatchRules::matchesExact(key, exact);
                }));
        report("  part: wildcard match only",
            measure([] {},
                [&] {
                    for (const QString &key : keys)
                        matched += MatchRules::matchesWildcard(key, wildcard);
                }));
        report("  part: list model refill",
            measure([&] { keywords->clear(); }, [&] { keywords->setKeys(keys); }));
        if (matched == 0)
            std::fprintf(stderr, "unexpected: no key matched\n");

        if (prompter.shown != Runs || panes.navigations != 4 * Runs)
            std::fprintf(stderr, "unexpected: %d messages, %d navigations\n", prompter.shown,
                panes.navigations);
    }
    return 0;
}
