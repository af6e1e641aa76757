#include "UpdateReminder.h"

#include "AppConfig.h"
#include "Clock.h"
#include "Prompter.h"
#include "Services.h"
#include "SettingsCodec.h"
#include "SettingsStore.h"
#include "modHelp.h"

namespace {

const QString Section = QStringLiteral("Settings");
const QString DurationKey = QStringLiteral("Duration");
constexpr qint64 QuietDays = 14;

void storeToday(const AppConfig &config, const Services &services)
{
    // ISO 8601 reads back the same whatever the user's locale; a short date such as "12/8/26"
    // would come back as 1926.
    const QString today = services.clock->today().toString(Qt::ISODate);
    services.settings->save(
        config.applicationName, Section, EncodeSetting(DurationKey), EncodeSetting(today));
}

} // namespace

ReminderAction reminderAction(const QString &storedDate, const QDate &today)
{
    // A value we cannot read counts as no value at all; keeping it would silence the reminder
    // for good.
    const QDate stored = QDate::fromString(storedDate, Qt::ISODate);
    if (!stored.isValid())
        return ReminderAction::StoreToday;
    const qint64 days = today.daysTo(stored);
    if (days >= -QuietDays && days <= QuietDays)
        return ReminderAction::Nothing;
    return ReminderAction::Ask;
}

void UpdateReminder(const AppConfig &config, const Services &services)
{
    const QString stored = DecodeSetting(
        services.settings->get(config.applicationName, Section, EncodeSetting(DurationKey)));
    switch (reminderAction(stored, services.clock->today())) {
    case ReminderAction::Nothing:
        return;
    case ReminderAction::StoreToday:
        storeToday(config, services);
        return;
    case ReminderAction::Ask:
        break;
    }
    const bool check = services.prompter->askYesNo(
        QStringLiteral("There maybe an update to this software available\r"
                       "Do you want to check for an update?"));
    storeToday(config, services);
    if (check)
        modHelp::OpenDownloadPage(*services.links, config);
}
