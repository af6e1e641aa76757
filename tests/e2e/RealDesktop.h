#pragma once
// What the window manager of a real X desktop says about our windows, read with xprop: whether
// a manager runs at all, the stacking order, the active window and a window's state. The tests
// compare it with what Qt believes, since only the manager decides what the user sees. And what
// the screen itself shows, and clicks delivered as the window system delivers them.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace RealDesktop {

// Before the application exists: without an X display, fall back to the offscreen platform so
// that the test can start and skip itself with a clear message instead of aborting.
inline void prepareMain()
{
    // As the program's main does: the web views share one GL context with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The text of one property, "" when xprop fails or the property is not set.
inline QString property(const QStringList &where, const QString &name)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), where + QStringList { QStringLiteral("-notype"), name });
    if (!xprop.waitForFinished(5000) || xprop.exitStatus() != QProcess::NormalExit
        || xprop.exitCode() != 0)
        return QString();
    const QString text = QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
    // "NAME:  not found." or "NAME:  no such atom on any window." when unset.
    if (text.contains(QLatin1String("not found")) || text.contains(QLatin1String("no such atom")))
        return QString();
    return text;
}

inline QString rootProperty(const QString &name)
{
    return property({ QStringLiteral("-root") }, name);
}

inline QString windowProperty(WId window, const QString &name)
{
    return property({ QStringLiteral("-id"), QString::number(window) }, name);
}

// Every window id in a property such as "_NET_CLIENT_LIST_STACKING: window id # 0x1, 0x2".
inline QList<WId> windowIds(const QString &text)
{
    QList<WId> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch &m : hex.globalMatch(text))
        ids << WId(m.captured().toULongLong(nullptr, 16));
    return ids;
}

// Why the tests cannot run here, or "" when they can: an X display with a window manager that
// follows the extended window manager hints, and the tools that read and drive it.
inline QString whatIsMissing()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QStringLiteral("needs an X display (platform is \"%1\", DISPLAY=\"%2\"); "
                              "scripts/test runs these tests on Xvfb with openbox")
            .arg(QGuiApplication::platformName(), qEnvironmentVariable("DISPLAY"));
    for (const char *tool : { "xprop", "xdotool" }) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return QStringLiteral("needs %1 (Debian packages x11-utils, xdotool)")
                .arg(QLatin1String(tool));
    }
    if (windowIds(rootProperty(QStringLiteral("_NET_SUPPORTING_WM_CHECK"))).isEmpty())
        return QStringLiteral("needs a window manager on DISPLAY=\"%1\" (none announces itself "
                              "on the root window); scripts/test starts openbox")
            .arg(qEnvironmentVariable("DISPLAY"));
    return QString();
}

// Managed windows from bottom to top, as the window manager stacks them.
inline QList<WId> stacking()
{
    return windowIds(rootProperty(QStringLiteral("_NET_CLIENT_LIST_STACKING")));
}

inline WId topmost()
{
    const QList<WId> windows = stacking();
    return windows.isEmpty() ? 0 : windows.last();
}

// True when lower and upper are both managed and upper lies above lower.
inline bool isAbove(WId upper, WId lower)
{
    const QList<WId> windows = stacking();
    const qsizetype up = windows.indexOf(upper);
    const qsizetype down = windows.indexOf(lower);
    return up >= 0 && down >= 0 && up > down;
}

inline WId activeWindow()
{
    const QList<WId> ids = windowIds(rootProperty(QStringLiteral("_NET_ACTIVE_WINDOW")));
    return ids.isEmpty() ? 0 : ids.first();
}

// The _NET_WM_STATE atoms the window manager has set on window.
inline QStringList windowState(WId window)
{
    const QString text = windowProperty(window, QStringLiteral("_NET_WM_STATE"));
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    QStringList atoms;
    for (const QString &atom : text.mid(equals + 1).split(QLatin1Char(',')))
        if (!atom.trimmed().isEmpty())
            atoms << atom.trimmed();
    return atoms;
}

inline bool isMaximised(WId window)
{
    const QStringList state = windowState(window);
    return state.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_VERT"))
        && state.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_HORZ"));
}

inline bool isMinimised(WId window)
{
    return windowState(window).contains(QLatin1String("_NET_WM_STATE_HIDDEN"));
}

// The X window of a top-level widget, as the window manager knows it.
inline WId idOf(const QWidget *widget)
{
    return widget && widget->windowHandle() ? widget->windowHandle()->winId() : 0;
}

// Saves the whole screen as name.png in the folder SOMNILEX_E2E_SHOTS names, when it is set:
// a record of what the window manager showed at that moment.
inline void saveScreen(const QString &name)
{
    const QString folder = qEnvironmentVariable("SOMNILEX_E2E_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// True when the screen shows more than one colour where widget lies: something is drawn there.
inline bool showsSomething(const QWidget *widget)
{
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    const QImage shown
        = widget->screen()
              ->grabWindow(0, topLeft.x(), topLeft.y(), widget->width(), widget->height())
              .toImage();
    if (shown.isNull())
        return false;
    const QRgb first = shown.pixel(0, 0);
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != first)
                return true;
        }
    }
    return false;
}

// A left click at point of widget, delivered through its window as a real click is: the window
// finds the widget at that point.
inline void clickThroughWindow(QWidget *widget, const QPoint &point)
{
    QWidget *top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, point));
}

} // namespace RealDesktop
