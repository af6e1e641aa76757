#pragma once
#include <QDate>
#include <QString>

struct AppConfig;
struct Services;

// At start-up, suggests looking for a newer version when the last reminder lies more than two
// weeks away from today, and keeps the date of that reminder in the settings store.
void UpdateReminder(const AppConfig &config, const Services &services);

// What one start does, given the decoded "Duration" text and today's date.
enum class ReminderAction {
    StoreToday, // nothing usable stored: remember today, ask nothing
    Nothing, // the last reminder is recent enough
    Ask, // ask, then remember today
};
ReminderAction reminderAction(const QString &storedDate, const QDate &today);
