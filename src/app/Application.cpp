#include "Application.h"

#include "AccessibleNames.h"

#include "Clock.h"
#include "InstanceGuard.h"
#include "MDI.h"
#include "Prompter.h"
#include "UpdateReminder.h"
#include "UserDictionary.h"
#include "WebProfile.h"
#include "frmExitScreen.h"

#include <QApplication>

Application::Application(AppConfig config, Services services, QObject *parent)
    : QObject(parent)
    , m_config(std::move(config))
    , m_services(services)
{
    if (m_services.settings && m_services.prompter) {
        m_settings = std::make_unique<ReportedSettings>(*m_services.settings, *m_services.prompter);
        m_services.settings = m_settings.get();
    }
    AccessibleNames::installWindowRoles();
}

Application::~Application()
{
    delete m_exitScreen.data();
    delete m_mdi.data();
}

void Application::StartApplication()
{
    const InstanceGuard::Claim claim = m_services.instance->claim();
    if (claim.outcome == InstanceGuard::Claim::HeldByOther) {
        m_services.prompter->information(QStringLiteral("Application is already running"));
        EndApplication();
        return;
    }
    // Refusing to start because of a folder the user may not even know of would lock them out
    // of the program; a second instance is the lesser harm, so say what happened and go on.
    if (claim.outcome == InstanceGuard::Claim::Unavailable)
        m_services.prompter->information(
            QStringLiteral("Somnilex could not take its single-instance lock in %1: %2. "
                           "It will start anyway.")
                .arg(claim.folder, claim.reason));

    UpdateReminder(m_config, m_services);

    const DictionaryLocation::Plan dictionary
        = UserDictionary(m_config.applicationDir, m_config.userDataDir, m_services.clock->today())
              .prepare();
    m_config.dictionaryFile = dictionary.dictionary;
    m_config.dictionaryUnreadable = !dictionary.readable;
    if (!dictionary.message.isEmpty())
        m_services.prompter->error(dictionary.message);

    // One hardened profile for both panes, for the whole run; it outlives the main window.
    m_web = std::make_unique<WebProfile>();
    m_services.web = m_web.get();
    // Showing the meaning pane loads the main window first.
    m_mdi = new MDI(m_config, m_services, m_state, m_dictionary);
    connect(m_mdi, &MDI::MDIForm_Unload, this, &Application::showExitScreen);
    emit mainWindowCreated(m_mdi);
    m_mdi->MDIForm_Load();
    // The pane's web view needs an OpenGL window. Made before the window is first shown, it has
    // the window created that way; made after, it has the window destroyed and created anew,
    // and the new one comes up restored instead of maximised.
    m_mdi->showMeaningPane();
    m_mdi->showMaximized();
}

void Application::showExitScreen()
{
    m_exitScreen
        = new frmExitScreen(m_config, *m_services.prompter, *m_services.links, *m_services.random);
    connect(m_exitScreen, &frmExitScreen::Form_Unload, this, &Application::EndApplication);
    m_exitScreen->show();
}

void Application::EndApplication()
{
    if (m_ending)
        return;
    m_ending = true;
    if (m_mdi)
        m_mdi->close();
    if (m_exitScreen)
        m_exitScreen->close();
    m_ended = true;
    emit ended();
}
