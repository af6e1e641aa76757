// One size of the lookup bench: a generated dictionary written to a file, the floors made from
// its rows, and every handler timed on it in the lookup window and checked against its floor.
#pragma once

#include "AppState.h"
#include "DictionaryCache.h"
#include "LookupBench.h"
#include "LookupFloors.h"

class SizeRun
{
public:
    SizeRun(qint64 count, const QString &path);
    // Prints a row for each handler; gives the number of mismatches found with the floors.
    int run();

private:
    void answerFromFloors();
    void timeFill();
    void timeSearches();
    void timeRestoreAndDisplay();
    void printIndexesAndCounts();

    void report(const char *name, int times, const Figures &figures, double floor = 0);
    double floorOf(const std::function<void()> &answer) const;
    void checkList(const char *name, const QStringList &floor);
    void checkLink(const char *name);
    std::function<void()> cold(const std::function<void()> &prepare) const;
    void exact();
    void wildcard();
    void selectProbe();

    const qint64 m_count;
    const QString m_path;
    const int m_runs;
    const int m_coldRuns;
    const Floors m_floors;
    // A key near the end of the table and not found higher up: Display's scan for its first
    // row is long. An exact search for its first three letters, a wildcard search for three
    // from its middle.
    const QString m_probe;
    const QString m_prefix;
    const QString m_inner;

    LookupWindow m_ui;
    SilentPrompter m_prompter;
    CountingPanes m_panes;
    AppState m_state;
    DictionaryCache m_dictionary;
    LookupController m_lookup;

    QStringList m_allListed;
    QStringList m_exactListed;
    QStringList m_wildcardListed;
    QString m_probeLink;
    double m_fillFloor = 0;
    double m_exactFloor = 0;
    double m_wildcardFloor = 0;
    double m_displayFloor = 0;
    int m_mismatches = 0;
};
