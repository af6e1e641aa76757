#pragma once
#include "SettingsStore.h"

class Prompter;

// The settings store as the program uses it: hands every call on to the real store, and tells
// the user, once per run, when the settings cannot be read or saved.
class ReportedSettings : public SettingsStore
{
public:
    ReportedSettings(SettingsStore &store, Prompter &prompter);

    QString get(
        const QString &application, const QString &section, const QString &key) const override;
    void save(const QString &application, const QString &section, const QString &key,
        const QString &value) override;
    QString problem() const override;

private:
    void report() const;

    SettingsStore &m_store;
    Prompter &m_prompter;
    // Said once: the reminder and the zoom would otherwise repeat it at every change.
    mutable bool m_told = false;
};
