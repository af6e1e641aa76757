#pragma once
#include <QLabel>

// A label drawn as a link that reacts anywhere in its rectangle, as the designer drew it, not
// only over its text: a left click, or Enter or Space when it has the focus. The link takes the
// label's own link colour, or its text colour where that would not read on its background.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);
    void setLinkText(const QString &text);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void render();

    bool m_pressed = false;
    QString m_text;
};
