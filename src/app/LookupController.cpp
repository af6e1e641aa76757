#include "LookupController.h"

#include "AppState.h"
#include "DreamRows.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "PaneHost.h"
#include "Prompter.h"
#include "SnapshotDreamRows.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace LookupDecisions;

namespace {
constexpr int EnterKey = 13;
} // namespace

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
    connect(m_ui.cmdSearch, &QPushButton::clicked, this, &LookupController::cmdSearch_Click);
    connect(m_ui.cmdDisplay, &QPushButton::clicked, this, &LookupController::cmdDisplay_Click);
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

SearchMode LookupController::mode() const
{
    if (m_ui.optGoogle->isChecked())
        return SearchMode::Web;
    if (m_ui.optWildCard->isChecked())
        return SearchMode::WildCard;
    return SearchMode::Exact;
}

std::optional<QString> LookupController::selectedKeyword() const
{
    const QItemSelectionModel *selection = m_ui.lstKeys->selectionModel();
    const QModelIndexList selected = selection ? selection->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().data().toString();
}

LookupInput LookupController::readControls() const
{
    return { mode(), m_ui.txtKey->text(), selectedKeyword(), m_ui.keywords->count() };
}

void LookupController::tell(const QString &message)
{
    m_prompter.information(message);
    m_ui.txtKey->setFocus();
}

void LookupController::apply(const ListOutcome &outcome)
{
    if (outcome.keys)
        m_ui.keywords->setKeys(*outcome.keys);
    if (!outcome.failure.isEmpty()) {
        m_prompter.error(outcome.failure);
        m_ui.txtKey->setFocus();
    }
}

void LookupController::apply(const SearchOutcome &outcome)
{
    apply(static_cast<const ListOutcome &>(outcome));
    if (outcome.currentTerm)
        m_state.CurrentTerm = *outcome.currentTerm;
    if (!outcome.message.isEmpty())
        tell(outcome.message);
    sendPaneCalls(outcome.panes, m_panes);
}

void LookupController::apply(const DisplayOutcome &outcome)
{
    if (outcome.searchText) {
        // The outcome's keys already hold the restore that this text would set off.
        const QSignalBlocker restoreDecided(m_ui.txtKey);
        m_ui.txtKey->setText(*outcome.searchText);
    }
    apply(static_cast<const SearchOutcome &>(outcome));
}

void LookupController::fillAtLoad()
{
    apply(fill(*dreamRowsAt(m_dictionary, m_dictionaryPath)));
}

void LookupController::txtKey_Change()
{
    apply(restore(m_ui.txtKey->text(), *dreamRowsAt(m_dictionary, m_dictionaryPath)));
}

void LookupController::lstKeys_Click()
{
    if (const std::optional<QString> keyword = selectedKeyword())
        m_ui.txtKey->setText(*keyword);
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

void LookupController::cmdSearch_Click()
{
    apply(search(
        SearchTrigger::SearchButton, readControls(), *dreamRowsAt(m_dictionary, m_dictionaryPath)));
}

void LookupController::txtKey_KeyPress(int keyCode)
{
    if (keyCode == EnterKey)
        apply(search(
            SearchTrigger::EnterKey, readControls(), *dreamRowsAt(m_dictionary, m_dictionaryPath)));
}

void LookupController::cmdDisplay_Click()
{
    apply(display(DisplayTrigger::DisplayButton, readControls(),
        *dreamRowsAt(m_dictionary, m_dictionaryPath)));
}

void LookupController::lstKeys_DblClick()
{
    apply(display(
        DisplayTrigger::DoubleClick, readControls(), *dreamRowsAt(m_dictionary, m_dictionaryPath)));
}
