#pragma once
#include "PaneCall.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a fill or a restore does: the list's new items, and a dictionary failure to report.
struct ListOutcome
{
    std::optional<QStringList> keys; // none: the list keeps what it shows
    QString failure; // empty: nothing to report
};

// What a search does, beyond the list.
struct SearchOutcome : ListOutcome
{
    std::optional<QString> currentTerm; // none: CurrentTerm keeps its value
    QString message; // told after any failure; empty: nothing to tell
    PaneCalls panes; // sent last
};

// What a display does, beyond a search: the search box takes the keyword it looks up. The keys
// already hold the restore that a blank keyword sets off, so the box is set without it.
struct DisplayOutcome : SearchOutcome
{
    std::optional<QString> searchText; // none: the search box keeps its text
};
