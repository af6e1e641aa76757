#pragma once
#include "LookupOutcome.h"

#include <QString>
#include <QStringList>

#include <optional>

class DreamRows;

// What each lookup command does, worked out from what the controls show and from the
// dictionary's rows, without touching either: the controller reads the controls, asks here, and
// applies the answer. A failing dictionary never escapes; each outcome says whether to report it.
namespace LookupDecisions {

enum class SearchMode { Exact, WildCard, Web };
enum class SearchTrigger { SearchButton, EnterKey };
enum class DisplayTrigger { DisplayButton, DoubleClick };

// What the lookup controls show as a command starts.
struct LookupInput
{
    SearchMode mode = SearchMode::Exact;
    QString typed; // the search box's text
    std::optional<QString> selected; // the keyword selected in the list, if any
    qsizetype listed = 0; // how many keywords the list shows
};

extern const QString NotFoundMessage;
extern const QString EmptyTermMessage;

// Every Key, in table order.
QStringList allKeys(DreamRows &rows);
// The Link of the first row whose Key equals term in any case; term itself when none does.
QString linkOf(DreamRows &rows, const QString &term);

// The list as the main window loads: every keyword.
ListOutcome fill(DreamRows &rows);
// The list after the search box changed to typed: every keyword again once the box is blank.
ListOutcome restore(const QString &typed, DreamRows &rows);
SearchOutcome search(SearchTrigger trigger, const LookupInput &input, DreamRows &rows);
DisplayOutcome display(DisplayTrigger trigger, const LookupInput &input, DreamRows &rows);

} // namespace LookupDecisions
