#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QWindow>

class QIODevice;

// Opt-in start-up timings for the start-up benchmark: each moment is written once, as its name
// and the milliseconds since the clock handed in was started ("mapped 212"), the moment it
// first happens. What counts as each moment is wired by whoever knows the windows.
class StartupTrace : public QObject
{
    Q_OBJECT
public:
    StartupTrace(QElapsedTimer sinceStart, QIODevice *out, QObject *parent = nullptr);

    // Whether SOMNILEX_TRACE_STARTUP asks for the trace.
    static bool requested();

    // Writes "moment <ms>" unless moment was written before.
    void mark(const QString &moment);
    // Marks moment when window is first exposed on screen, that is mapped and ready to paint.
    void markWhenExposed(QWindow *window, const QString &moment);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer m_sinceStart;
    QIODevice *m_out;
    QSet<QString> m_marked;
    QPointer<QWindow> m_window;
    QString m_exposedMoment;
};
