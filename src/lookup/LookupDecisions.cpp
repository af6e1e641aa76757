#include "LookupDecisions.h"

#include "DictionaryError.h"
#include "DreamRows.h"
#include "MatchRules.h"

#include <algorithm>

namespace LookupDecisions {

const QString NotFoundMessage
    = QStringLiteral("Keyword not found - Please search in google\r"
                     "Or write to us so that we can add the term in our dictionary");
const QString EmptyTermMessage = QStringLiteral("Please Enter Search Term");

namespace {

// The double-click passes over what fails without a word; every other command reports it.
enum class Failures { Reported, Skipped };

// Runs read. A dictionary failure stops it and becomes the outcome's failure to report, or is
// passed over; false when read failed.
template <typename Read> bool attempt(ListOutcome &outcome, Failures failures, Read &&read)
{
    try {
        read();
        return true;
    } catch (const DictionaryError &e) {
        if (failures == Failures::Reported)
            outcome.failure = e.message();
        return false;
    }
}

// Every keyword in the list, or the failure to read them; then the empty-term message.
template <typename Outcome> Outcome listAllAndAskForATerm(DreamRows &rows)
{
    Outcome outcome;
    if (attempt(outcome, Failures::Reported, [&] { outcome.keys = allKeys(rows); }))
        outcome.message = EmptyTermMessage;
    return outcome;
}

} // namespace

QStringList allKeys(DreamRows &rows)
{
    // An empty table lists nothing, whatever its columns.
    return rows.count() == 0 ? QStringList() : rows.keys();
}

QString linkOf(DreamRows &rows, const QString &term)
{
    const qint64 row = rows.firstRowOf(term.toLower());
    return row < 0 ? term : rows.link(row);
}

ListOutcome fill(DreamRows &rows)
{
    ListOutcome outcome;
    attempt(outcome, Failures::Reported, [&] { outcome.keys = allKeys(rows); });
    return outcome;
}

ListOutcome restore(const QString &typed, DreamRows &rows)
{
    if (!MatchRules::trimSpaces(typed).isEmpty())
        return {};
    return fill(rows);
}

// The Search button refuses a blank term in every mode; Enter in web-search mode sends whatever
// the box holds. A dictionary search lists the keys that pass the mode's rule; then Enter shows
// the meaning pane, and the Search button shows the page of the keyword the box names when the
// list holds it (a term that names no keyword leaves the pane where it is: a bare word handed to
// the web view would be taken for a host name). Whether a key is listed depends on its
// lower-cased text alone, so the named keyword is listed exactly when the first row that holds
// it is among the rows found.
SearchOutcome search(SearchTrigger trigger, const LookupInput &input, DreamRows &rows)
{
    const bool wildcard = input.mode == SearchMode::WildCard;
    const MatchRules::SearchTerm term = MatchRules::searchTerm(input.typed, wildcard);
    SearchOutcome outcome;
    if (trigger == SearchTrigger::SearchButton && term.blank) {
        outcome.message = EmptyTermMessage;
        return outcome;
    }
    if (input.mode == SearchMode::Web) {
        outcome.panes = { { PaneCall::Kind::RestartWebSearch, input.typed } };
        return outcome;
    }
    if (trigger == SearchTrigger::EnterKey && input.typed.isEmpty())
        return listAllAndAskForATerm<SearchOutcome>(rows);
    try {
        const std::vector<qint64> found
            = wildcard ? rows.rowsContaining(term.text) : rows.rowsBeginningWith(term.text);
        QStringList keys = rows.keysOf(found);
        if (wildcard)
            outcome.currentTerm = term.text;
        if (keys.isEmpty()) {
            outcome.message = NotFoundMessage;
        } else if (trigger == SearchTrigger::EnterKey) {
            outcome.panes
                = { { PaneCall::Kind::ShowMeaningPane, {} }, { PaneCall::Kind::HideBrowser, {} } };
        } else if (const qint64 row = rows.firstRowOf(term.named);
                   row >= 0 && std::binary_search(found.begin(), found.end(), row)) {
            outcome.panes = { { PaneCall::Kind::NavigateMeaningPane, rows.link(row) } };
        }
        outcome.keys = std::move(keys);
    } catch (const DictionaryError &e) {
        outcome.failure = e.message();
    }
    return outcome;
}

DisplayOutcome display(DisplayTrigger trigger, const LookupInput &input, DreamRows &rows)
{
    const bool button = trigger == DisplayTrigger::DisplayButton;
    if (button && input.mode == SearchMode::Web) {
        DisplayOutcome outcome;
        outcome.panes = { { PaneCall::Kind::RestartWebSearch, input.typed } };
        return outcome;
    }
    if (button && input.typed.isEmpty())
        return listAllAndAskForATerm<DisplayOutcome>(rows);

    DisplayOutcome outcome;
    const Failures failures = button ? Failures::Reported : Failures::Skipped;
    const QString trimmed = MatchRules::trimSpaces(input.selected.value_or(input.typed));
    // The address is found before anything is written, so that a Display that fails on the
    // table leaves the search box and CurrentTerm as they were.
    QString address = button ? trimmed.toLower() : trimmed;
    if (!attempt(outcome, failures, [&] { address = linkOf(rows, address); }) && button)
        return outcome;

    if (input.selected) {
        outcome.searchText = input.selected;
        // A keyword that blanks the box restores the list, as any change to a blank box does.
        if (*input.selected != input.typed && MatchRules::trimSpaces(*input.selected).isEmpty())
            attempt(outcome, failures, [&] { outcome.keys = allKeys(rows); });
    }
    outcome.currentTerm = address;
    // The test is on the list, not on the scan: with no row found, the term is the address.
    const qsizetype listed = outcome.keys ? outcome.keys->size() : input.listed;
    if (listed == 0)
        outcome.message = NotFoundMessage;
    else
        outcome.panes = { { PaneCall::Kind::NavigateMeaningPane, address },
            { PaneCall::Kind::ShowMeaningPane, {} }, { PaneCall::Kind::HideBrowser, {} } };
    return outcome;
}

} // namespace LookupDecisions
