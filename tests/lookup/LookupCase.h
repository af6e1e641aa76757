#pragma once
#include "DreamTable.h"
#include "LookupDecisions.h"
#include "PaneHost.h"
#include "RecordingPaneHost.h"
#include "TableRows.h"

#include <QtTest>

// What the lookup suites share: the four commands, the controls as a case starts, and what the
// window shows once an outcome is applied.
namespace LookupCase {

using namespace DreamTable;
using namespace LookupDecisions;

enum class Command { SearchButton, EnterKey, DisplayButton, DoubleClick };

inline DisplayOutcome decide(Command command, const LookupInput &input, DreamRows &rows)
{
    DisplayOutcome outcome;
    SearchOutcome &searched = outcome;
    switch (command) {
    case Command::SearchButton:
        searched = LookupDecisions::search(SearchTrigger::SearchButton, input, rows);
        break;
    case Command::EnterKey:
        searched = LookupDecisions::search(SearchTrigger::EnterKey, input, rows);
        break;
    case Command::DisplayButton:
        outcome = LookupDecisions::display(DisplayTrigger::DisplayButton, input, rows);
        break;
    case Command::DoubleClick:
        outcome = LookupDecisions::display(DisplayTrigger::DoubleClick, input, rows);
        break;
    }
    return outcome;
}

// What the controls show as a case starts: the list in one of its states, and one of its rows
// selected (or none, for -1).
inline LookupInput inputFor(
    SearchMode mode, const QString &typed, ListState list, int selectedRow = -1)
{
    const QStringList keys = listed(list);
    LookupInput input { mode, typed, std::nullopt, keys.size() };
    if (selectedRow >= 0)
        input.selected = keys.at(selectedRow);
    return input;
}

// What the window shows once an outcome is applied to it as it was before.
struct Shown
{
    QString text;
    QStringList keys;
    QStringList messages;
    QString failure;
    QStringList panes;
    bool browserOpen = false;
    QString searchTerm; // what the browser window was opened to search for
    QString currentTerm;
};

inline Shown shownAfter(const DisplayOutcome &outcome, const LookupInput &before, ListState list)
{
    Shown shown;
    shown.text = outcome.searchText.value_or(before.typed);
    shown.keys = outcome.keys.value_or(listed(list));
    if (!outcome.message.isEmpty())
        shown.messages << outcome.message;
    shown.failure = outcome.failure;
    RecordingPaneHost panes;
    sendPaneCalls(outcome.panes, panes);
    shown.panes = panes.calls;
    shown.browserOpen = panes.browserOpen;
    shown.searchTerm = panes.searchTerm;
    shown.currentTerm = outcome.currentTerm.value_or(Untouched);
    return shown;
}

} // namespace LookupCase

Q_DECLARE_METATYPE(LookupDecisions::SearchMode)
Q_DECLARE_METATYPE(LookupCase::Command)
Q_DECLARE_METATYPE(DreamTable::ListState)
Q_DECLARE_METATYPE(TableRows::Fault)
