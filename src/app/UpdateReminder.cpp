#include "UpdateReminder.h"

void UpdateReminder(const AppConfig &, const Services &) { }
