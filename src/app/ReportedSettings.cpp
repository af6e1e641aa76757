#include "ReportedSettings.h"

#include "Prompter.h"

ReportedSettings::ReportedSettings(SettingsStore &store, Prompter &prompter)
    : m_store(store)
    , m_prompter(prompter)
{ }

QString ReportedSettings::get(
    const QString &application, const QString &section, const QString &key) const
{
    QString value = m_store.get(application, section, key);
    report();
    return value;
}

void ReportedSettings::save(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    m_store.save(application, section, key, value);
    report();
}

QString ReportedSettings::problem() const
{
    return m_store.problem();
}

void ReportedSettings::report() const
{
    if (m_told)
        return;
    const QString problem = m_store.problem();
    if (problem.isEmpty())
        return;
    m_told = true;
    m_prompter.error(problem);
}
