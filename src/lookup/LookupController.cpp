#include "LookupController.h"

#include "AppState.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "MatchRules.h"
#include "PaneHost.h"
#include "Prompter.h"
#include "modDB.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace {
const QString KeyColumn = QStringLiteral("Key");
const QString LinkColumn = QStringLiteral("Link");
constexpr int EnterKey = 13;
} // namespace

const QString LookupController::NotFoundMessage
    = QStringLiteral("Keyword not found - Please search in google\r"
                     "Or write to us so that we can add the term in our dictionary");
const QString LookupController::EmptyTermMessage = QStringLiteral("Please Enter Search Term");

LookupController::LookupController(LookupControls controls, PaneHost &panes, Prompter &prompter,
    AppState &state, DictionaryCache &dictionary, QString dictionaryPath, QObject *parent)
    : QObject(parent)
    , m_ui(controls)
    , m_panes(panes)
    , m_prompter(prompter)
    , m_state(state)
    , m_dictionary(dictionary)
    , m_dictionaryPath(std::move(dictionaryPath))
{ }

void LookupController::connectControls()
{
    connect(m_ui.txtKey, &QLineEdit::textChanged, this, &LookupController::txtKey_Change);
    connect(m_ui.txtKey, &QLineEdit::returnPressed, this, [this] { txtKey_KeyPress(EnterKey); });
    connect(m_ui.optExact, &QRadioButton::clicked, this, &LookupController::optExact_Click);
    connect(m_ui.optWildCard, &QRadioButton::clicked, this, &LookupController::optWildCard_Click);
    connect(m_ui.optGoogle, &QRadioButton::clicked, this, &LookupController::optGoogle_Click);
    // Anywhere on the list, also where there is no item: an empty list after a search that
    // found nothing still answers a double-click.
    connect(m_ui.lstKeys, &KeywordListView::leftClicked, this, &LookupController::lstKeys_Click);
    connect(m_ui.lstKeys, &KeywordListView::leftDoubleClicked, this,
        &LookupController::lstKeys_DblClick);
    // Enter on the list does what a double-click does, for keyboard users.
    m_ui.lstKeys->installEventFilter(this);
}

bool LookupController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.lstKeys && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lstKeys_DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

LookupController::Mode LookupController::mode() const
{
    if (m_ui.optGoogle->isChecked())
        return Mode::Web;
    if (m_ui.optWildCard->isChecked())
        return Mode::WildCard;
    return Mode::Exact;
}

modDB::RecordsetPtr LookupController::openDreams() const
{
    return modDB::openDreams(m_dictionary, m_dictionaryPath);
}

QStringList LookupController::readAllKeys() const
{
    return keysOf(*openDreams(), Mode::Web, QString());
}

QStringList LookupController::keysOf(modDB::Recordset &rs, Mode mode, const QString &term)
{
    const qint64 count = rs.RecordCount();
    if (count == 0)
        return {};
    // Every key, in table order: the column as the row set keeps it, shared, not copied.
    if (mode == Mode::Web)
        return rs.Column(KeyColumn);
    QStringList keys;
    const int key = rs.columnIndex(KeyColumn);
    rs.MoveFirst();
    for (qint64 i = 0; i < count; ++i) {
        const QString &lower = rs.LowerFields(key);
        const bool match = mode == Mode::Exact ? MatchRules::lowerKeyMatchesExact(lower, term)
                                               : MatchRules::lowerKeyMatchesWildcard(lower, term);
        if (match)
            keys.append(rs.Fields(key));
        rs.MoveNext();
    }
    return keys;
}

QString LookupController::linkIn(modDB::Recordset &rs, const QString &term)
{
    const QString lowerTerm = term.toLower();
    const qint64 count = rs.RecordCount();
    if (count == 0)
        return term;
    const int key = rs.columnIndex(KeyColumn);
    rs.MoveFirst();
    for (qint64 i = 0; i < count; ++i) {
        if (rs.LowerFields(key) == lowerTerm)
            return rs.Fields(LinkColumn);
        rs.MoveNext();
    }
    return term;
}

void LookupController::tell(const QString &message)
{
    m_prompter.information(message);
    m_ui.txtKey->setFocus();
}

void LookupController::reportFailure(const QString &message)
{
    if (m_quietFailures)
        return;
    m_prompter.error(message);
    m_ui.txtKey->setFocus();
}

void LookupController::fillAtLoad()
{
    try {
        m_ui.keywords->setKeys(readAllKeys());
    } catch (const DictionaryError &e) {
        reportFailure(e.message());
    }
}

void LookupController::txtKey_Change()
{
    if (!MatchRules::trimSpaces(m_ui.txtKey->text()).isEmpty())
        return;
    try {
        m_ui.keywords->setKeys(readAllKeys());
    } catch (const DictionaryError &e) {
        reportFailure(e.message());
    }
}

QString LookupController::selectedKeyword(bool *found) const
{
    const QModelIndexList selected = m_ui.lstKeys->selectionModel()
        ? m_ui.lstKeys->selectionModel()->selectedIndexes()
        : QModelIndexList();
    *found = !selected.isEmpty();
    return *found ? selected.first().data().toString() : QString();
}

void LookupController::lstKeys_Click()
{
    bool found = false;
    const QString keyword = selectedKeyword(&found);
    if (found)
        m_ui.txtKey->setText(keyword);
}

void LookupController::optExact_Click()
{
    m_ui.txtKey->setFocus();
}

void LookupController::optWildCard_Click()
{
    m_ui.txtKey->setFocus();
}

void LookupController::optGoogle_Click()
{
    m_ui.txtKey->setFocus();
}

void LookupController::restartWebSearch()
{
    m_panes.closeBrowser();
    m_panes.openBrowser();
}

void LookupController::cmdSearch_Click()
{
    runSearch(false);
}

void LookupController::txtKey_KeyPress(int keyCode)
{
    if (keyCode == EnterKey)
        runSearch(true);
}

void LookupController::runSearch(bool fromEnterKey)
{
    const QString typed = m_ui.txtKey->text();
    const Mode current = mode();

    // The Search button refuses a blank term in every mode; Enter in web-search mode sends
    // whatever the box holds.
    if (!fromEnterKey && MatchRules::exactTerm(typed).isEmpty()) {
        tell(EmptyTermMessage);
        return;
    }
    if (current == Mode::Web) {
        restartWebSearch();
        return;
    }

    try {
        const modDB::RecordsetPtr rs = openDreams();
        if (fromEnterKey && typed.isEmpty()) {
            m_ui.keywords->setKeys(keysOf(*rs, Mode::Web, QString()));
            tell(EmptyTermMessage);
            return;
        }
        const QString term = current == Mode::WildCard ? MatchRules::wildcardTerm(typed)
                                                       : MatchRules::exactTerm(typed);
        // Read before anything changes, so that a table that cannot be read leaves all as it was.
        QStringList keys = keysOf(*rs, current, term);
        if (current == Mode::WildCard)
            m_state.CurrentTerm = term;
        m_ui.keywords->setKeys(std::move(keys));
    } catch (const DictionaryError &e) {
        reportFailure(e.message());
        return;
    }

    if (m_ui.keywords->count() == 0) {
        tell(NotFoundMessage);
        return;
    }
    if (fromEnterKey) {
        m_panes.showMeaningPane();
        m_panes.hideBrowser();
    } else {
        m_panes.navigateMeaningPane(MatchRules::trimSpaces(typed));
    }
}

void LookupController::cmdDisplay_Click()
{
    display(false);
}

void LookupController::lstKeys_DblClick()
{
    display(true);
}

void LookupController::display(bool fromDoubleClick)
{
    if (!fromDoubleClick && mode() == Mode::Web) {
        restartWebSearch();
        return;
    }
    // The double-click goes on past whatever fails without a word, also past a restore that
    // copying a blank keyword into the search box sets off.
    const QScopedValueRollback<bool> quiet(m_quietFailures, fromDoubleClick);

    modDB::RecordsetPtr rs;
    try {
        rs = openDreams();
        if (!fromDoubleClick && m_ui.txtKey->text().isEmpty()) {
            m_ui.keywords->setKeys(keysOf(*rs, Mode::Web, QString()));
            tell(EmptyTermMessage);
            return;
        }
    } catch (const DictionaryError &e) {
        // The double-click skips what fails and goes on without a word.
        if (!fromDoubleClick) {
            reportFailure(e.message());
            return;
        }
    }

    // The address is found before the search box and CurrentTerm are written, so that a
    // Display that fails on the table leaves both as they were.
    bool found = false;
    const QString keyword = selectedKeyword(&found);
    const QString trimmed = MatchRules::trimSpaces(found ? keyword : m_ui.txtKey->text());
    QString address = fromDoubleClick ? trimmed : trimmed.toLower();
    if (rs) {
        try {
            address = linkIn(*rs, address);
        } catch (const DictionaryError &e) {
            if (!fromDoubleClick) {
                reportFailure(e.message());
                return;
            }
        }
    }
    if (found)
        m_ui.txtKey->setText(keyword);
    m_state.CurrentTerm = address;

    if (m_ui.keywords->count() == 0) {
        tell(NotFoundMessage);
        return;
    }
    m_panes.navigateMeaningPane(m_state.CurrentTerm);
    m_panes.showMeaningPane();
    m_panes.hideBrowser();
}
