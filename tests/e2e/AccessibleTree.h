#pragma once
// This process's accessibility tree as a screen reader reads it: over the AT-SPI bus, from
// another process (accessible_tree.py, with pyatspi). The event loop keeps running meanwhile,
// since the reader's questions are answered by this process.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

namespace AccessibleTree {

// One object of the tree.
struct Node
{
    int depth = 0;
    QString role;
    QString name;
    QString text;
};

// The Python that has pyatspi: the system's, which a Python on the PATH (pyenv, a virtual
// environment) may hide. Empty when none has it.
inline QString python()
{
    QStringList candidates { QStringLiteral("/usr/bin/python3") };
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!onPath.isEmpty())
        candidates.prepend(onPath);
    for (const QString &candidate : candidates) {
        QProcess probe;
        probe.start(candidate, { QStringLiteral("-c"), QStringLiteral("import pyatspi") });
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0)
            return candidate;
    }
    return QString();
}

// Why the tree cannot be read here, or "" when it can.
inline QString whatIsMissing()
{
    return python().isEmpty()
        ? QStringLiteral("needs python3 with pyatspi (Debian package python3-pyatspi)")
        : QString();
}

// The tree of this process, or an empty list when the reader did not find it on the bus.
inline QList<Node> read()
{
    QProcess reader;
    reader.start(python(),
        { QStringLiteral(SOMNILEX_ACCESSIBLE_TREE),
            QString::number(QCoreApplication::applicationPid()) });
    if (!reader.waitForStarted(10000))
        return {};
    // Not waitForFinished: that would block the loop that answers the reader.
    if (!QTest::qWaitFor([&reader] { return reader.state() == QProcess::NotRunning; }, 60000)) {
        reader.kill();
        reader.waitForFinished();
        return {};
    }
    QList<Node> nodes;
    const QStringList lines
        = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() == 4)
            nodes.append({ fields[0].toInt(), fields[1], fields[2], fields[3] });
    }
    return nodes;
}

} // namespace AccessibleTree
