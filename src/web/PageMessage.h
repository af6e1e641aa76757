#pragma once
#include <QLabel>

// A page's latest message (what it asked a dialog to say), laid over the top of the page as
// plain text until a click puts it away. Pages never get a dialog of their own: one that
// alerts in a loop would hold the whole program. Like the find bar it lies beside the view, so
// that screen readers find it (see PageStrip).
class PageMessage : public QLabel
{
    Q_OBJECT
public:
    explicit PageMessage(QWidget *view);

    // Shows text over the top of the page.
    void say(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Keeps the strip as wide as the page, as tall as its words.
    void fit();

    QWidget *m_view;
};
