#pragma once

class Prompter;
class LinkOpener;
class FileChooser;
class Clock;
class SettingsStore;
class ConnectionProbe;
class InstanceGuard;
class RandomSource;
class WebProfile;

// The outside world as the program sees it; the real ones come from main, tests hand in fakes.
// None is owned here.
struct Services
{
    Prompter *prompter = nullptr;
    LinkOpener *links = nullptr;
    FileChooser *files = nullptr;
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    ConnectionProbe *connection = nullptr;
    InstanceGuard *instance = nullptr;
    RandomSource *random = nullptr;
    // The web profile behind both panes; the application builds it for the run.
    WebProfile *web = nullptr;
};
