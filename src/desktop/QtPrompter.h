#pragma once
#include "Prompter.h"
#include <QPointer>
#include <QWidget>

// Message boxes through QMessageBox, captioned with the application's title.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QString title);
    // Boxes are modal over this window while it lives.
    void setParentWindow(QWidget *window) { m_parent = window; }

    void information(const QString &text) override;
    void error(const QString &text) override;
    bool askYesNo(const QString &text) override;
    std::unique_ptr<Prompter> ownedBy(QWidget *window) override;

    // Our messages separate lines with a lone carriage return; a label wants a line feed.
    static QString displayText(const QString &text);

private:
    QString m_title;
    QPointer<QWidget> m_parent;
};
