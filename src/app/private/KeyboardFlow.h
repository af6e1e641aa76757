#pragma once
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractItemView;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QWidget;

// The main window's keyboard paths: the search box has the focus when the window comes up, Tab
// and Shift+Tab leave a web page in one press, the arrows in the keyword list start on its first
// row and copy the keyword into the search box as a click does, and Alt+D presses Display
// although the two Donate captions share its access key.
class KeyboardFlow : public QObject
{
    Q_OBJECT
public:
    // copyKeyword does what a click on the list does. Watches the keys of window's widgets
    // while it lives.
    KeyboardFlow(QWidget *window, QLineEdit *txtKey, QAbstractItemView *lstKeys,
        QPushButton *cmdDisplay, std::function<void()> copyKeyword);
    ~KeyboardFlow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inWindow(const QObject *object) const;
    bool leavePage(QWidget *from, bool forward);
    bool stepIntoList(const QKeyEvent *key);
    void keepStartFocus(QWidget *focused);

    QPointer<QWidget> m_window;
    QPointer<QLineEdit> m_txtKey;
    QPointer<QAbstractItemView> m_lstKeys;
    QPointer<QPushButton> m_cmdDisplay;
    std::function<void()> m_copyKeyword;
    // Until the user first presses a key or a button, the focus belongs in the search box,
    // whatever the panes and the loading page ask for.
    bool m_userActed = false;
};
