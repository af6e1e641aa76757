#pragma once
// The program started as main starts it, in real windows: a real dictionary in a temporary
// folder, fakes for the outside world, and real message boxes, captioned and parented as main
// does, so that the window manager stacks and focuses them as the user would see them.
#include "Application.h"
#include "Fakes.h"
#include "QtPrompter.h"
#include "TestDictionary.h"

#include <QTest>

#include <memory>

class RunningProgram
{
public:
    // mainSite is the address the meaning pane opens at start-up when online.
    RunningProgram(bool online, const QString &mainSite)
    {
        m_folder.writeDictionary(rowsOf({ "Snake", "Moon", "Sun" }));
        fakes.connection.online = online;
        m_config = AppConfig::builtIn(m_folder.path(), QStringLiteral("somnilex"));
        m_config.MainSiteAddress = mainSite;
        Services services = fakes.services();
        services.prompter = &prompter;
        application = std::make_unique<Application>(m_config, services);
    }

    void start()
    {
        application->StartApplication();
        prompter.setParentWindow(application->mainWindow());
    }

    MDI *mainWindow() const { return application->mainWindow(); }
    const AppConfig &config() const { return m_config; }

    FakeServices fakes;
    QtPrompter prompter { QStringLiteral("Somnilex") };

private:
    TestFolder m_folder;
    AppConfig m_config;

public:
    // Last, so that it ends before the services and the folder it uses.
    std::unique_ptr<Application> application;
};
