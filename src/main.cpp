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

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qtApp(argc, argv);
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

    Application application(AppConfig::builtIn(QCoreApplication::applicationDirPath(), executable),
                            services);
    QObject::connect(&application, &Application::ended, &qtApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    application.StartApplication();
    if (application.hasEnded())
        return 0;
    prompter.setParentWindow(application.mainWindow());
    files.setParentWindow(application.mainWindow());
    return QApplication::exec();
}
