#pragma once
#include <QString>

#include <memory>

class QWidget;

// Modal message boxes. Every box carries the application's title as caption; a two-line
// message is joined with a lone carriage return, which the real boxes show as a line break.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual void information(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    // Yes/No question with the information icon; true for Yes.
    virtual bool askYesNo(const QString &text) = 0;
    // The same boxes, owned by window: each one stands above it and takes the keyboard focus.
    // A window that is not the main one needs this, above all one kept on top of the others,
    // which would otherwise hide its own messages. The result must not outlive window, nor
    // this prompter. One that shows no windows of its own may keep the default, which hands
    // every box on to this prompter.
    virtual std::unique_ptr<Prompter> ownedBy(QWidget *window);
};
