#include "KeyboardFlow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEngineView>

namespace {

bool isDisplayKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_D && (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

// The web view that widget belongs to, or none.
QWebEngineView *pageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w))
            return view;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

// The page itself or one of the panes around it.
bool holdsPage(QWidget *widget)
{
    return pageOf(widget) || widget->findChild<QWebEngineView *>();
}

// What Tab would stop at, as Qt's own chain decides it.
bool isTabStop(QWidget *widget)
{
    QWidget *target = widget;
    while (target->focusProxy())
        target = target->focusProxy();
    if (!target->isVisible() || !target->isEnabled() || !(target->focusPolicy() & Qt::TabFocus))
        return false;
    // Of a group of exclusive option buttons only the selected one is a stop.
    if (auto *option = qobject_cast<QRadioButton *>(target))
        return !option->autoExclusive() || option->isChecked();
    return true;
}

} // namespace

KeyboardFlow::KeyboardFlow(QWidget *window, QLineEdit *txtKey, QAbstractItemView *lstKeys,
    QPushButton *cmdDisplay, std::function<void()> copyKeyword)
    : QObject(window)
    , m_window(window)
    , m_txtKey(txtKey)
    , m_lstKeys(lstKeys)
    , m_cmdDisplay(cmdDisplay)
    , m_copyKeyword(std::move(copyKeyword))
{
    // The keys go to the page's own render widgets, which come and go with the pages: only the
    // application sees all of them.
    qApp->installEventFilter(this);
    if (m_lstKeys && m_lstKeys->selectionModel()) {
        connect(m_lstKeys->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                // A mouse click copies through its own handler; this is for the arrows and
                // the typed first letters.
                if (current.isValid() && m_lstKeys->hasFocus() && m_copyKeyword
                    && !(QApplication::mouseButtons() & Qt::LeftButton))
                    m_copyKeyword();
            });
    }
}

KeyboardFlow::~KeyboardFlow()
{
    qApp->removeEventFilter(this);
}

bool KeyboardFlow::inWindow(const QObject *object) const
{
    return m_window && object && object->isWidgetType()
        && static_cast<const QWidget *>(object)->window() == m_window;
}

bool KeyboardFlow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Only what the window's activation or a loading page does with the focus: a click or
        // a key is the user's choice, and the program's other moves are meant.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        auto *focused = static_cast<QWidget *>(watched);
        if (!m_userActed && inWindow(watched)
            && (reason == Qt::ActiveWindowFocusReason
                || (reason == Qt::OtherFocusReason && holdsPage(focused))))
            keepStartFocus(focused);
        return false;
    }
    case QEvent::MouseButtonPress:
        if (inWindow(watched))
            m_userActed = true;
        return false;
    case QEvent::ShortcutOverride: {
        // Claim Alt+D before the access keys see it: three captions use D.
        auto *key = static_cast<QKeyEvent *>(event);
        if (inWindow(watched) && isDisplayKey(key)) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        if (!inWindow(watched))
            return false;
        m_userActed = true;
        auto *key = static_cast<QKeyEvent *>(event);
        if (isDisplayKey(key)) {
            if (m_cmdDisplay && m_cmdDisplay->isEnabled() && m_cmdDisplay->isVisible()) {
                m_cmdDisplay->setFocus(Qt::ShortcutFocusReason);
                m_cmdDisplay->animateClick();
            }
            return true;
        }
        const Qt::KeyboardModifiers others
            = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && others == 0)
            return leavePage(static_cast<QWidget *>(watched),
                key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        if (watched == m_lstKeys && others == 0)
            return stepIntoList(key);
        return false;
    }
    default:
        return false;
    }
}

void KeyboardFlow::keepStartFocus(QWidget *focused)
{
    if (m_txtKey && focused != m_txtKey && m_txtKey->isVisible())
        m_txtKey->setFocus(Qt::OtherFocusReason);
}

bool KeyboardFlow::leavePage(QWidget *from, bool forward)
{
    QWebEngineView *page = pageOf(from);
    if (!page)
        return false;
    QWidget *next = page;
    for (;;) {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if (!next || next == page)
            return false;
        // Not the page's own containers either: a sub-window hands its focus straight back.
        if (next->window() == m_window && !page->isAncestorOf(next) && !next->isAncestorOf(page)
            && isTabStop(next))
            break;
    }
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool KeyboardFlow::stepIntoList(const QKeyEvent *key)
{
    if (key->key() != Qt::Key_Down && key->key() != Qt::Key_Up)
        return false;
    QItemSelectionModel *selection = m_lstKeys->selectionModel();
    QAbstractItemModel *model = m_lstKeys->model();
    if (!selection || !model || selection->hasSelection() || model->rowCount() == 0)
        return false;
    // Nothing chosen yet: the first arrow chooses the row the list points at, the first one
    // unless the user has moved there.
    QModelIndex row = m_lstKeys->currentIndex();
    if (!row.isValid())
        row = model->index(0, 0);
    m_lstKeys->setCurrentIndex(row);
    selection->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (m_copyKeyword)
        m_copyKeyword();
    return true;
}
