#include "StartupTrace.h"

#include <QEvent>
#include <QIODevice>
#include <QWindow>

StartupTrace::StartupTrace(QElapsedTimer sinceStart, QIODevice *out, QObject *parent)
    : QObject(parent)
    , m_sinceStart(sinceStart)
    , m_out(out)
{ }

bool StartupTrace::requested()
{
    return qEnvironmentVariableIntValue("SOMNILEX_TRACE_STARTUP") == 1;
}

void StartupTrace::mark(const QString &moment)
{
    if (m_marked.contains(moment))
        return;
    m_marked.insert(moment);
    // One write per line, so that a reader on a pipe sees the moment when it happens.
    m_out->write(QStringLiteral("%1 %2\n").arg(moment).arg(m_sinceStart.elapsed()).toUtf8());
}

void StartupTrace::markWhenExposed(QWindow *window, const QString &moment)
{
    if (!window)
        return;
    m_exposedMoment = moment;
    if (window->isExposed()) {
        mark(moment);
        return;
    }
    m_window = window;
    window->installEventFilter(this);
}

bool StartupTrace::eventFilter(QObject *watched, QEvent *event)
{
    // An expose event also comes when a window leaves the screen; only one that leaves it
    // exposed counts.
    if (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed()) {
        m_window->removeEventFilter(this);
        m_window = nullptr;
        mark(m_exposedMoment);
    }
    return QObject::eventFilter(watched, event);
}
