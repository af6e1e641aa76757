#include "PageMessage.h"

#include <QMouseEvent>

PageMessage::PageMessage(QWidget *page)
    : QLabel(page)
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
    hide();
}

void PageMessage::say(const QString &text)
{
    setText(tr("This page says: %1").arg(text));
    if (parentWidget())
        fitTo(parentWidget()->width());
    show();
    raise();
}

void PageMessage::fitTo(int width)
{
    setGeometry(0, 0, width, heightForWidth(width));
}

void PageMessage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    hide();
}
