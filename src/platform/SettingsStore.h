#pragma once
#include <QString>

// Per-user store of text values addressed by application name, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or the empty text when the key is absent.
    virtual QString get(
        const QString &application, const QString &section, const QString &key) const = 0;
    virtual void save(const QString &application, const QString &section, const QString &key,
        const QString &value)
        = 0;
};
