#pragma once
#include "LookupControls.h"
#include "LookupDecisions.h"

#include <QObject>
#include <QString>

#include <optional>

class DictionaryCache;
class PaneHost;
class Prompter;
struct AppState;

// The lookup handlers of the main window: they read the controls, ask LookupDecisions what the
// command does with the dictionary's rows, and apply the answer to the list, the search box,
// CurrentTerm, the message boxes and the web panes.
class LookupController : public QObject
{
    Q_OBJECT
public:
    LookupController(LookupControls controls, PaneHost &panes, Prompter &prompter, AppState &state,
        DictionaryCache &dictionary, QString dictionaryPath, QObject *parent = nullptr);

    // Connects the controls' signals to the handlers below.
    void connectControls();

    // Fills the list with every keyword when the main window loads.
    void fillAtLoad();
    void txtKey_Change();
    void lstKeys_Click();
    void cmdSearch_Click();
    void txtKey_KeyPress(int keyCode);
    void optExact_Click();
    void optWildCard_Click();
    void optGoogle_Click();
    void cmdDisplay_Click();
    void lstKeys_DblClick();

    const QString &dictionaryPath() const { return m_dictionaryPath; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LookupDecisions::SearchMode mode() const;
    std::optional<QString> selectedKeyword() const;
    LookupDecisions::LookupInput readControls() const;

    void apply(const ListOutcome &outcome);
    void apply(const SearchOutcome &outcome);
    void apply(const DisplayOutcome &outcome);
    void tell(const QString &message);

    LookupControls m_ui;
    PaneHost &m_panes;
    Prompter &m_prompter;
    AppState &m_state;
    DictionaryCache &m_dictionary;
    QString m_dictionaryPath;
};
