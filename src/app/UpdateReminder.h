#pragma once

struct AppConfig;
struct Services;

// At start-up, suggests looking for a newer version when the last reminder lies long enough
// back.
void UpdateReminder(const AppConfig &config, const Services &services);
