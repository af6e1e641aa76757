#pragma once
// A screen reader following this process over the AT-SPI bus (screen_reader.py, with pyatspi):
// the object it announces as focused, and the objects of the window that holds it. The reader
// asks this process about its objects, so the event loop keeps running while it waits.
#include "AccessibleTree.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

class ScreenReader
{
public:
    struct Object
    {
        int depth = 0;
        QString role;
        QString name;
        QStringList states;
    };

    ~ScreenReader()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.closeWriteChannel();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Starts listening; false when the reader could not start.
    bool start()
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(AccessibleTree::python(),
            { QStringLiteral(SOMNILEX_SCREEN_READER),
                QString::number(QCoreApplication::applicationPid()) });
        return m_process.waitForStarted(10000)
            && QTest::qWaitFor([this] { return m_ready || !running(); }, 30000) && m_ready;
    }

    // The role and name of the object last announced as focused ("" before the first).
    QString focusRole() const { return m_focusRole; }
    QString focusName() const { return m_focusName; }
    // The window last announced as active.
    QString activeName() const { return m_activeName; }

    // Waits until the reader announces an object of that role and name as focused.
    bool waitForFocus(const QString &role, const QString &name, int timeout = 20000)
    {
        return QTest::qWaitFor([&] { return m_focusRole == role && m_focusName == name; }, timeout);
    }

    // The objects of the window, or the open menu, that holds the focused object; of the
    // window last announced as active; or of the menu whose entry last had the focus.
    enum Which { Focused, Active, Menu };
    QList<Object> window(Which which = Focused)
    {
        m_window.clear();
        m_windowDone = false;
        static const char *const commands[] = { "window\n", "active\n", "menu\n" };
        m_process.write(commands[which]);
        if (!QTest::qWaitFor([this] { return m_windowDone || !running(); }, 60000))
            return {};
        return m_window;
    }

private:
    bool running() const { return m_process.state() == QProcess::Running; }

    void readLines()
    {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (line == QLatin1String("ready")) {
                m_ready = true;
            } else if (line == QLatin1String("end")) {
                m_windowDone = true;
            } else if (fields.size() == 3 && fields[0] == QLatin1String("focus")) {
                m_focusRole = fields[1];
                m_focusName = fields[2];
            } else if (fields.size() == 3 && fields[0] == QLatin1String("active")) {
                m_activeName = fields[2];
            } else if (fields.size() == 4) {
                m_window.append({ fields[0].toInt(), fields[1], fields[2],
                    fields[3].split(QLatin1Char(','), Qt::SkipEmptyParts) });
            }
        }
    }

    QProcess m_process;
    bool m_ready = false;
    QString m_focusRole;
    QString m_focusName;
    QString m_activeName;
    QList<Object> m_window;
    bool m_windowDone = false;
};
