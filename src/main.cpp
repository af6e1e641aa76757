#include "Application.h"
#include "DesktopLinkOpener.h"
#include "DialogFileChooser.h"
#include "LockFileInstanceGuard.h"
#include "NetworkConnectionProbe.h"
#include "QSettingsStore.h"
#include "QtPrompter.h"
#include "SystemClock.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qtApp(argc, argv);
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.somnilex.Somnilex"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString executable = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QtPrompter prompter(QStringLiteral("Somnilex"));
    DesktopLinkOpener links;
    DialogFileChooser files;
    SystemClock clock;
    QSettingsStore settings;
    NetworkConnectionProbe connection;
    LockFileInstanceGuard instance;
    const Services services { &prompter, &links, &files, &clock, &settings, &connection, &instance };

    AppConfig config = AppConfig::builtIn(QCoreApplication::applicationDirPath(), executable);
    config.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    Application application(config, services);
    QObject::connect(&application, &Application::ended, &qtApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    application.StartApplication();
    if (application.hasEnded())
        return 0;
    prompter.setParentWindow(application.mainWindow());
    files.setParentWindow(application.mainWindow());
    return QApplication::exec();
}
