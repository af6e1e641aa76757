// Starts the program with the real instance guard and a printing prompter, for the two-process
// test: prints every message, then STARTED once the main window is up, or ENDED when start-up
// ended the program.
#include "Application.h"
#include "Fakes.h"
#include "LockFileInstanceGuard.h"
#include "MDI.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qtApp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    FakeServices fakes;
    LockFileInstanceGuard guard(args.at(1));
    Services services = fakes.services();
    services.instance = &guard;
    fakes.prompter.onPrompt = [](const QString &text) {
        std::printf("PROMPT:%s\n", qPrintable(text));
        std::fflush(stdout);
    };

    Application application(AppConfig::builtIn(args.at(2), "somnilex"), services);
    application.StartApplication();
    if (application.hasEnded()) {
        std::printf("ENDED mainWindow=%d\n", application.mainWindow() ? 1 : 0);
        return 0;
    }
    std::printf("STARTED visible=%d\n", application.mainWindow()->isVisible() ? 1 : 0);
    std::fflush(stdout);
    QTimer::singleShot(60000, &qtApp, &QCoreApplication::quit);
    return QApplication::exec();
}
