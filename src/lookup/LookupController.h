#pragma once
#include "LookupControls.h"
#include "modDB.h"
#include <QObject>
#include <QString>
#include <QStringList>

class DictionaryCache;
class PaneHost;
class Prompter;
struct AppState;

// The lookup handlers of the main window: the keyword list's fill and restore, the keyword
// search in its three modes, and the display of a keyword's page. Each handler reads the
// dictionary afresh; a dictionary that cannot be read is reported once, and the list and the
// panes are left as they were (the double-click alone goes on silently with the listed term).
class LookupController : public QObject
{
    Q_OBJECT
public:
    LookupController(LookupControls controls, PaneHost &panes, Prompter &prompter, AppState &state,
        DictionaryCache &dictionary, QString dictionaryPath, QObject *parent = nullptr);

    // Connects the controls' signals to the handlers below.
    void connectControls();

    static const QString NotFoundMessage;
    static const QString EmptyTermMessage;

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
    enum class Mode { Exact, WildCard, Web };
    Mode mode() const;
    // The dictionary's rows, read afresh; throws DictionaryError.
    modDB::RecordsetPtr openDreams() const;
    // Every keyword in table order; throws DictionaryError.
    QStringList readAllKeys() const;
    // The keys that match term in mode, in table order; Mode::Web takes every key.
    static QStringList keysOf(modDB::Recordset &rs, Mode mode, const QString &term);
    // The link of the first row whose key equals term in any case, or term itself.
    static QString linkIn(modDB::Recordset &rs, const QString &term);
    QString selectedKeyword(bool *found) const;
    void runSearch(bool fromEnterKey);
    void display(bool fromDoubleClick);
    void restartWebSearch();
    void tell(const QString &message);
    void reportFailure(const QString &message);

    LookupControls m_ui;
    PaneHost &m_panes;
    Prompter &m_prompter;
    AppState &m_state;
    DictionaryCache &m_dictionary;
    QString m_dictionaryPath;
    bool m_quietFailures = false;
};
