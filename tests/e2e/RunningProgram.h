#pragma once
// The program started as main starts it, in real windows: a real dictionary in a temporary
// folder, fakes for the outside world, and real message boxes, captioned and parented as main
// does, so that the window manager stacks and focuses them as the user would see them.
#include "Application.h"
#include "Fakes.h"
#include "QtPrompter.h"
#include "TestDictionary.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmMain.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class RunningProgram
{
public:
    // mainSite is the address the meaning pane opens at start-up when online. files, when
    // given, stands in for the fake file chooser.
    RunningProgram(bool online, const QString &mainSite, FileChooser *files = nullptr)
    {
        m_folder.writeDictionary(rowsOf({ "Snake", "Moon", "Sun" }));
        fakes.connection.online = online;
        m_config = AppConfig::builtIn(m_folder.path(), QStringLiteral("somnilex"));
        m_config.MainSiteAddress = mainSite;
        Services services = fakes.services();
        services.prompter = &prompter;
        if (files)
            services.files = files;
        application = std::make_unique<Application>(m_config, services);
    }

    void start()
    {
        application->StartApplication();
        prompter.setParentWindow(application->mainWindow());
    }

    // Starts and waits for the meaning pane's first document; returns its address, or an empty
    // text when none came.
    QString startAndLoad()
    {
        start();
        MDI *window = mainWindow();
        if (!window || !window->meaningPane())
            return QString();
        QSignalSpy loaded(window->meaningPane()->webView(), &WebView::DocumentComplete);
        return WebWait::documents(loaded) ? loaded.first().first().toString() : QString();
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
