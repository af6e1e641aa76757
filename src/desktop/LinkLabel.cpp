#include "LinkLabel.h"

#include "Contrast.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    // The anchor only draws the text as a link; the label itself takes the clicks, so that the
    // hand cursor and the click cover the whole rectangle.
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setLinkText(text);
}

void LinkLabel::setLinkText(const QString &text)
{
    m_text = text;
    render();
    setAccessibleName(text);
}

void LinkLabel::render()
{
    // Rich text would take the application's link colour, whatever this label's palette says.
    const QColor link = Contrast::readable(palette().color(QPalette::Link),
        palette().color(backgroundRole()), palette().color(foregroundRole()));
    setText(QStringLiteral("<a href=\"#\" style=\"color: %1;\">%2</a>")
                .arg(link.name(), m_text.toHtmlEscaped()));
}

void LinkLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // The colour scheme can change while the program runs.
    if (event->type() == QEvent::PaletteChange)
        render();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    // As with a button, letting go outside the label takes the click back.
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            event->accept();
            emit clicked();
        }
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Without text interaction the label draws no focus of its own; a keyboard user needs it.
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
