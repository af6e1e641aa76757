#pragma once
#include <QString>
#include <stdexcept>

// The one error a dictionary operation raises; its message names the file and says, in plain
// words, what is wrong with it.
class DictionaryError : public std::runtime_error
{
public:
    enum class Cause {
        Other, // the file may be sound: missing, locked, not allowed, a disk that failed
        Damaged, // its bytes are no dictionary: noise, cut short, empty, no table of symbols
    };

    explicit DictionaryError(const QString &message, Cause cause = Cause::Other)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_cause(cause)
    { }
    const QString &message() const { return m_message; }
    Cause cause() const { return m_cause; }

private:
    QString m_message;
    Cause m_cause;
};
