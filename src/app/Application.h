#pragma once
#include "AppConfig.h"
#include "AppState.h"
#include "DictionaryCache.h"
#include "MDI.h"
#include "ReportedSettings.h"
#include "Services.h"
#include "frmExitScreen.h"

#include <QObject>
#include <QPointer>

#include <memory>

class WebProfile;

// The program's life cycle: the start-up sequence, the hand-over from the main window to the
// exit screen, and the end. Everything outside the process is reached through the services
// handed in, so tests run the whole sequence with fakes.
class Application : public QObject
{
    Q_OBJECT
public:
    Application(AppConfig config, Services services, QObject *parent = nullptr);
    ~Application() override;

    // Refuses a second instance, runs the update reminder, then brings up the main window with
    // its meaning pane.
    void StartApplication();
    // Closes every window still open, then asks the event loop to end.
    void EndApplication();

    bool hasEnded() const { return m_ended; }
    MDI *mainWindow() const { return m_mdi; }
    frmExitScreen *exitScreen() const { return m_exitScreen; }
    AppState &state() { return m_state; }
    const AppConfig &config() const { return m_config; }

signals:
    // The program has ended; the event loop should stop.
    void ended();
    // The main window exists and is about to load: a watcher connects to it here.
    void mainWindowCreated(MDI *mdi);

private:
    // What the main window's unload leads to: the exit screen, until it is closed.
    void showExitScreen();

    AppConfig m_config;
    Services m_services;
    // The settings every part of the run reaches, telling the user when they cannot be kept.
    std::unique_ptr<ReportedSettings> m_settings;
    AppState m_state;
    // The dictionary files the run has open; the windows reach them through it.
    DictionaryCache m_dictionary;
    std::unique_ptr<WebProfile> m_web;
    QPointer<MDI> m_mdi;
    QPointer<frmExitScreen> m_exitScreen;
    bool m_ending = false;
    bool m_ended = false;
};
