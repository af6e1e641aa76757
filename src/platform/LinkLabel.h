#pragma once
#include <QLabel>

// A label drawn as a link that reacts to a click, or to Enter when it has the focus.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);
    void setLinkText(const QString &text);

signals:
    void clicked();
};
