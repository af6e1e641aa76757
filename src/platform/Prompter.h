#pragma once
#include <QString>

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
};
