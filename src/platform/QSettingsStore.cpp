#include "QSettingsStore.h"
#include <QSettings>

namespace {
const QString organisation = QStringLiteral("Somnilex");
}

QString QSettingsStore::get(
    const QString &application, const QString &section, const QString &key) const
{
    const QSettings settings(organisation, application);
    return settings.value(section + QLatin1Char('/') + key).toString();
}

void QSettingsStore::save(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    QSettings settings(organisation, application);
    settings.setValue(section + QLatin1Char('/') + key, value);
}
