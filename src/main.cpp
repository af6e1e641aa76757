#include "Application.h"
#include "ColourScheme.h"
#include "Contrast.h"
#include "DesktopLinkOpener.h"
#include "DialogFileChooser.h"
#include "KeywordListModel.h"
#include "LockFileInstanceGuard.h"
#include "NetworkConnectionProbe.h"
#include "QSettingsStore.h"
#include "QtPrompter.h"
#include "QtRandomSource.h"
#include "ScreenReaderAccess.h"
#include "StartupTrace.h"
#include "SystemClock.h"
#include "WebView.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

namespace {

// The list is filled while the main window loads, inside start-up, so its hook goes in first;
// the window reaches the screen and the first page arrives only after start-up has returned.
void traceMainWindowLoad(StartupTrace *trace, Application &application)
{
    QObject::connect(&application, &Application::mainWindowCreated, trace, [trace](MDI *mdi) {
        QObject::connect(mdi->findChild<KeywordListModel *>(QStringLiteral("keywords")),
            &QAbstractItemModel::modelReset, trace,
            [trace] { trace->mark(QStringLiteral("list-filled")); });
    });
}

void traceMainWindowShown(StartupTrace *trace, Application &application)
{
    MDI *mdi = application.mainWindow();
    trace->markWhenExposed(mdi->windowHandle(), QStringLiteral("mapped"));
    // Offline the pane loads no page at all; say so rather than leave a reader waiting.
    if (application.state().IsOnline != 1 || !mdi->meaningPane()) {
        trace->mark(QStringLiteral("offline"));
        return;
    }
    QObject::connect(mdi->meaningPane()->webView(), &WebView::DocumentComplete, trace,
        [trace] { trace->mark(QStringLiteral("page-loaded")); });
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qtApp(argc, argv);
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.somnilex.Somnilex"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Some desktops' selection colour is too light for its white text.
    QApplication::setPalette(Contrast::withReadableSelection(QApplication::palette()));
    ScreenReaderAccess::prepareEngine();
    ColourScheme::prepareEngine(QApplication::palette());

    const QString executable
        = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QtPrompter prompter(QStringLiteral("Somnilex"));
    DesktopLinkOpener links;
    DialogFileChooser files;
    SystemClock clock;
    QSettingsStore settings;
    NetworkConnectionProbe connection;
    LockFileInstanceGuard instance;
    QtRandomSource random;
    const Services services { &prompter, &links, &files, &clock, &settings, &connection, &instance,
        &random };

    AppConfig config = AppConfig::builtIn(QCoreApplication::applicationDirPath(), executable);
    config.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    Application application(config, services);
    QObject::connect(
        &application, &Application::ended, &qtApp, &QCoreApplication::quit, Qt::QueuedConnection);

    QFile traceOut;
    std::unique_ptr<StartupTrace> trace;
    if (StartupTrace::requested()
        && traceOut.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        trace = std::make_unique<StartupTrace>(sinceStart, &traceOut);
        traceMainWindowLoad(trace.get(), application);
    }
    application.StartApplication();
    if (application.hasEnded())
        return 0;
    if (trace)
        traceMainWindowShown(trace.get(), application);
    prompter.setParentWindow(application.mainWindow());
    files.setParentWindow(application.mainWindow());
    return QApplication::exec();
}
