#pragma once
#include <QString>
#include <stdexcept>

// The one error a dictionary operation raises; its message names the file and says, in plain
// words, what is wrong with it.
class DictionaryError : public std::runtime_error
{
public:
    explicit DictionaryError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
