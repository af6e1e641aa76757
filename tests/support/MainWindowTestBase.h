#pragma once
// Tests that drive the whole main window: a real dictionary in a temporary folder, fake
// services, and the window itself, made afresh for every test function.
#include "AppConfig.h"
#include "AppState.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "WebProfile.h"

#include <QObject>
#include <QTest>

#include <memory>

class MainWindowTestBase : public QObject
{
protected:
    // A new empty folder (no dream.dll yet), new fakes, the built-in addresses, and a cache of
    // dictionary files of the test's own.
    void setUpFixture()
    {
        m_folder = std::make_unique<TestFolder>();
        m_fakes = std::make_unique<FakeServices>();
        m_web = std::make_unique<WebProfile>();
        m_services = m_fakes->services();
        m_services.web = m_web.get();
        m_config = AppConfig::builtIn(m_folder->path(), QStringLiteral("somnilex"));
        m_state = AppState();
        m_dictionary = std::make_unique<DictionaryCache>();
    }
    void tearDownFixture()
    {
        m_window.reset();
        m_dictionary.reset();
        m_web.reset();
        m_fakes.reset();
        m_folder.reset();
    }
    // Builds the window and runs its load as start-up does, then shows it.
    void openMainWindow()
    {
        m_window = std::make_unique<MDI>(m_config, m_services, m_state, *m_dictionary);
        m_window->MDIForm_Load();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<WebProfile> m_web;
    Services m_services;
    AppConfig m_config;
    AppState m_state;
    std::unique_ptr<DictionaryCache> m_dictionary;
    std::unique_ptr<MDI> m_window;
};
