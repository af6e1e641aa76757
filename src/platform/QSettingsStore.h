#pragma once
#include "SettingsStore.h"

// The per-user native settings store (a .conf file on Linux, the registry on Windows). The
// application name becomes the QSettings application; the organisation is the program's own.
class QSettingsStore : public SettingsStore
{
public:
    QString get(
        const QString &application, const QString &section, const QString &key) const override;
    void save(const QString &application, const QString &section, const QString &key,
        const QString &value) override;
};
