#include "LookupSizeRun.h"

#include "DictionaryFile.h"
#include "Generator.h"

namespace {

// Writes count generated rows to path and makes the floors from them.
Floors writeDictionary(qint64 count, const QString &path)
{
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
    return Floors(std::move(keys), std::move(links));
}

QString probeOf(const Floors &floors)
{
    size_t probeRow = floors.keys().size() - floors.keys().size() / 10;
    while (!floors.isFirstOfItsKey(probeRow))
        ++probeRow;
    return floors.keys()[probeRow];
}

} // namespace

SizeRun::SizeRun(qint64 count, const QString &path)
    : m_count(count)
    , m_path(path)
    , m_runs(count >= Large ? LargeRuns : Runs)
    , m_coldRuns(count >= Large ? LargeColdRuns : Runs)
    , m_floors(writeDictionary(count, path))
    , m_probe(probeOf(m_floors))
    , m_prefix(m_probe.left(3))
    , m_inner(QStringLiteral("*") + m_probe.mid(1, 3))
    , m_lookup(m_ui.controls(), m_panes, m_prompter, m_state, m_dictionary, path)
{
    m_lookup.connectControls();
}

int SizeRun::run()
{
    answerFromFloors();
    timeFill();
    timeSearches();
    timeRestoreAndDisplay();
    printIndexesAndCounts();
    return m_mismatches;
}

void SizeRun::answerFromFloors()
{
    m_allListed = m_floors.all();
    m_exactListed = m_floors.beginningWith(m_prefix);
    m_wildcardListed = m_floors.containing(m_inner, findInView);
    m_probeLink = m_floors.linkOf(m_probe);
    if (!same("floor of wildcard, memmem against find", m_count, m_wildcardListed,
            m_floors.containing(m_inner, findWithMemmem)))
        ++m_mismatches;
    m_fillFloor = floorOf([&] { m_floors.all(); });
    m_exactFloor = floorOf([&] { m_floors.beginningWith(m_prefix); });
    m_wildcardFloor = std::min(floorOf([&] { m_floors.containing(m_inner, findInView); }),
        floorOf([&] { m_floors.containing(m_inner, findWithMemmem); }));
    m_displayFloor = floorOf([&] { m_floors.linkOf(m_probe); });
}

void SizeRun::timeFill()
{
    report("fill at load, cold", m_coldRuns,
        measure(m_coldRuns, cold([&] { m_ui.keywords->clear(); }), [&] { m_lookup.fillAtLoad(); }));
    checkList("fill at load, cold", m_allListed);
    report("fill at load", m_runs,
        measure(
            m_runs, [&] { m_ui.keywords->clear(); }, [&] { m_lookup.fillAtLoad(); }),
        m_fillFloor);
    checkList("fill at load", m_allListed);
}

void SizeRun::timeSearches()
{
    const auto exact = [&] { this->exact(); };
    const auto wildcard = [&] { this->wildcard(); };
    const auto search = [&] { m_lookup.cmdSearch_Click(); };
    const auto enter = [&] { m_lookup.txtKey_KeyPress(13); };
    report("exact search (button), cold", m_coldRuns, measure(m_coldRuns, cold(exact), search));
    checkList("exact search (button), cold", m_exactListed);
    report("exact search (button)", m_runs, measure(m_runs, exact, search), m_exactFloor);
    checkList("exact search (button)", m_exactListed);
    report("exact search (Enter)", m_runs, measure(m_runs, exact, enter), m_exactFloor);
    checkList("exact search (Enter)", m_exactListed);
    report(
        "wildcard search (button), cold", m_coldRuns, measure(m_coldRuns, cold(wildcard), search));
    checkList("wildcard search (button), cold", m_wildcardListed);
    report("wildcard search (button)", m_runs, measure(m_runs, wildcard, search), m_wildcardFloor);
    checkList("wildcard search (button)", m_wildcardListed);
    report("wildcard search (Enter)", m_runs, measure(m_runs, wildcard, enter), m_wildcardFloor);
    checkList("wildcard search (Enter)", m_wildcardListed);
}

void SizeRun::timeRestoreAndDisplay()
{
    const auto selectProbe = [&] { this->selectProbe(); };
    const auto display = [&] { m_lookup.cmdDisplay_Click(); };
    report("restore on a blank box", m_runs,
        measure(
            m_runs,
            [&] {
                m_ui.txtKey->setText(m_prefix);
                m_ui.keywords->setKeys({ m_probe });
            },
            [&] { m_ui.txtKey->clear(); }),
        m_fillFloor);
    checkList("restore on a blank box", m_allListed);
    report("display (button), cold", m_coldRuns, measure(m_coldRuns, cold(selectProbe), display));
    checkLink("display (button), cold");
    report("display (button)", m_runs, measure(m_runs, selectProbe, display), m_displayFloor);
    checkLink("display (button)");
    report("display (double-click)", m_runs,
        measure(m_runs, selectProbe, [&] { m_lookup.lstKeys_DblClick(); }), m_displayFloor);
    checkLink("display (double-click)");
    report("display, empty box", m_runs,
        measure(
            m_runs, [&] { m_ui.txtKey->clear(); }, display));
    checkList("display, empty box", m_allListed);
}

void SizeRun::printIndexesAndCounts()
{
    std::printf("%-9lld floors' indexes made in: key buffer %.0f ms, sorted keys %.0f ms, "
                "hash of keys %.0f ms\n",
        m_count, m_floors.bufferMs, m_floors.sortedMs, m_floors.hashMs);

    // Every search found something and every display navigated (a Search also navigates
    // when its term names a listed key).
    const int displays = m_coldRuns + 2 * m_runs;
    if (m_exactListed.isEmpty() || m_wildcardListed.isEmpty())
        std::printf("MISMATCH at %lld keywords: a search term finds nothing\n", m_count);
    if (m_prompter.failures != 0 || m_prompter.shown != m_runs || m_panes.navigations < displays)
        std::fprintf(stderr, "unexpected: %d failures, %d messages, %d navigations\n",
            m_prompter.failures, m_prompter.shown, m_panes.navigations);
}

void SizeRun::report(const char *name, int times, const Figures &figures, double floor)
{
    std::printf("%-9lld %-32s %5d %10.2f %10.2f %8lld", m_count, name, times, figures.median,
        figures.max, qint64(m_ui.keywords->count()));
    if (floor > 0)
        std::printf(" %10.3f %8.1f", floor, figures.median / floor);
    std::printf("\n");
    std::fflush(stdout);
}

double SizeRun::floorOf(const std::function<void()> &answer) const
{
    return measure(
        m_runs, [] {}, answer)
        .median;
}

void SizeRun::checkList(const char *name, const QStringList &floor)
{
    if (!same(name, m_count, m_ui.keywords->keys(), floor))
        ++m_mismatches;
}

void SizeRun::checkLink(const char *name)
{
    if (m_panes.last != m_probeLink) {
        std::printf("MISMATCH %s at %lld keywords: the handler shows %s, the floor %s\n", name,
            m_count, qPrintable(m_panes.last), qPrintable(m_probeLink));
        ++m_mismatches;
    }
    m_panes.last.clear();
}

// Runs prepare, then tells the store its copy of the file is stale.
std::function<void()> SizeRun::cold(const std::function<void()> &prepare) const
{
    return [this, prepare] {
        prepare();
        touch(m_path);
    };
}

void SizeRun::exact()
{
    m_ui.optExact->setChecked(true);
    m_ui.txtKey->setText(m_prefix);
}

void SizeRun::wildcard()
{
    m_ui.optWildCard->setChecked(true);
    m_ui.txtKey->setText(m_inner);
}

void SizeRun::selectProbe()
{
    m_ui.optExact->setChecked(true);
    if (m_ui.keywords->count() != m_count)
        m_lookup.fillAtLoad();
    m_ui.txtKey->setText(QStringLiteral("x"));
    m_ui.lstKeys->setCurrentIndex(
        m_ui.keywords->index(int(m_ui.keywords->keys().indexOf(m_probe))));
}
