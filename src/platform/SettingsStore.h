#pragma once
#include <QString>

// Per-user store of text values addressed by application name, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or the empty text when the key is absent or cannot be read.
    virtual QString get(
        const QString &application, const QString &section, const QString &key) const = 0;
    virtual void save(const QString &application, const QString &section, const QString &key,
        const QString &value)
        = 0;
    // Why the last get or save could not read or keep the settings, in plain words that name
    // the file or folder; empty when it went well.
    virtual QString problem() const { return {}; }
};
