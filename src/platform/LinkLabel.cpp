#include "LinkLabel.h"

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setLinkText(text);
    connect(this, &QLabel::linkActivated, this, &LinkLabel::clicked);
}

void LinkLabel::setLinkText(const QString &text)
{
    setText(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()));
    setAccessibleName(text);
}
