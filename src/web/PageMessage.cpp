#include "PageMessage.h"

#include "PageStrip.h"

#include <QEvent>
#include <QMouseEvent>

PageMessage::PageMessage(QWidget *view)
    : QLabel(PageStrip::hostFor(view))
    , m_view(view)
{
    setObjectName(QStringLiteral("lblMessage"));
    setAccessibleName(tr("Message from the page"));
    // A page's words are text, never markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::StyledPanel);
    setMargin(6);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Click to close"));
    view->installEventFilter(this);
    hide();
}

void PageMessage::say(const QString &text)
{
    setText(tr("This page says: %1").arg(text));
    fit();
    show();
    raise();
}

void PageMessage::fit()
{
    const QRect page = PageStrip::pageRect(m_view, parentWidget());
    setGeometry(page.left(), page.top(), page.width(), heightForWidth(page.width()));
}

bool PageMessage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            fit();
        else if (event->type() == QEvent::Hide)
            hide();
    }
    return QLabel::eventFilter(watched, event);
}

void PageMessage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    hide();
}
