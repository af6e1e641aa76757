#pragma once
#include "SettingsStore.h"

// The per-user native settings store (a .conf file on Linux, the registry on Windows). The
// application name becomes the QSettings application; the organisation is the program's own.
// On Linux the file is read only when it is a regular file of a sensible size, and never
// written through a link to anything else, so that a pipe or a device in its place cannot
// stall the start or be written over.
class QSettingsStore : public SettingsStore
{
public:
    // folder holds the organisation's files; empty: the user's configuration folder.
    explicit QSettingsStore(QString folder = QString());

    QString get(
        const QString &application, const QString &section, const QString &key) const override;
    void save(const QString &application, const QString &section, const QString &key,
        const QString &value) override;
    QString problem() const override { return m_problem; }

    // The file that holds the application's settings.
    QString fileOf(const QString &application) const;

private:
    // Why the file must not be read or written; empty when it may.
    QString refusal(const QString &file) const;
    QString saveProblem(const QString &file) const;

    QString m_folder;
    mutable QString m_problem;
};
