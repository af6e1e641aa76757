#include "FindBar.h"

#include "PageStrip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

FindBar::FindBar(QWebEngineView *view)
    : QWidget(PageStrip::hostFor(view))
    , m_view(view)
{
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(tr("Find in page"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    auto *lblFind = new QLabel(tr("Find:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setAccessibleName(tr("Text to find in the page"));
    txtFind->setClearButtonEnabled(true);
    lblFind->setBuddy(txtFind);
    cmdPrevious = new QToolButton(this);
    cmdPrevious->setObjectName(QStringLiteral("cmdFindPrevious"));
    cmdPrevious->setText(tr("Previous"));
    cmdPrevious->setAccessibleName(tr("Find the previous match"));
    cmdNext = new QToolButton(this);
    cmdNext->setObjectName(QStringLiteral("cmdFindNext"));
    cmdNext->setText(tr("Next"));
    cmdNext->setAccessibleName(tr("Find the next match"));
    lblMatches = new QLabel(this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    cmdClose = new QToolButton(this);
    cmdClose->setObjectName(QStringLiteral("cmdFindClose"));
    cmdClose->setText(tr("Close"));
    cmdClose->setAccessibleName(tr("Close the find bar"));
    row->addWidget(lblFind);
    row->addWidget(txtFind, 1);
    row->addWidget(cmdPrevious);
    row->addWidget(cmdNext);
    row->addWidget(lblMatches);
    row->addWidget(cmdClose);

    connect(txtFind, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(txtFind, &QLineEdit::returnPressed, this, &FindBar::findNext);
    connect(cmdNext, &QToolButton::clicked, this, &FindBar::findNext);
    connect(cmdPrevious, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(cmdClose, &QToolButton::clicked, this, &FindBar::closeBar);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::closeBar);
    // A new document has new matches, or none.
    connect(m_view, &QWebEngineView::loadFinished, lblMatches, &QLabel::clear);

    view->installEventFilter(this);
    hide();
}

void FindBar::open()
{
    // A hidden page has nothing to find in.
    if (m_view->isHidden())
        return;
    place();
    show();
    raise();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void FindBar::findNext()
{
    if (!isVisible() || txtFind->text().isEmpty())
        open();
    find(false);
}

void FindBar::findPrevious()
{
    if (!isVisible() || txtFind->text().isEmpty())
        open();
    find(true);
}

void FindBar::closeBar()
{
    if (!isVisible())
        return;
    // The empty text takes the highlight off the page.
    m_view->page()->findText(QString());
    lblMatches->clear();
    hide();
    m_view->setFocus(Qt::OtherFocusReason);
}

void FindBar::find(bool backward)
{
    const QString text = txtFind->text();
    if (text.isEmpty()) {
        m_view->page()->findText(QString());
        lblMatches->clear();
        return;
    }
    const QWebEnginePage::FindFlags flags
        = backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
    m_view->page()->findText(
        text, flags, [bar = QPointer<FindBar>(this)](const QWebEngineFindTextResult &result) {
            if (bar)
                bar->showResult(result);
        });
}

void FindBar::showResult(const QWebEngineFindTextResult &result)
{
    if (result.numberOfMatches() == 0)
        lblMatches->setText(tr("No matches"));
    else
        lblMatches->setText(tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
}

void FindBar::place()
{
    const int height = sizeHint().height();
    const QRect page = PageStrip::pageRect(m_view, parentWidget());
    setGeometry(page.left(), page.bottom() + 1 - height, page.width(), height);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && isVisible()) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            place();
        else if (event->type() == QEvent::Hide)
            hide();
    }
    return QWidget::eventFilter(watched, event);
}
