#pragma once
// Runs a program to its end with its standard output sent to a file, and reads what the kernel
// counted for it: its exit code, its wall time and its peak resident memory. Given a limit in
// milliseconds, a program still running then is killed, so that one that would never end fails
// its test instead of stalling it. Given a file for standard error, what it says goes there.
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

struct MeasuredRun
{
    // -1 when the program could not be started or did not exit by itself.
    int exitCode = -1;
    double seconds = 0;
    qint64 peakBytes = 0;
};

inline MeasuredRun runMeasured(const QString &program, const QStringList &arguments,
    const QString &standardOutput, qint64 limitMs = -1, const QString &standardError = QString())
{
    std::vector<QByteArray> storage { QFile::encodeName(program) };
    for (const QString &a : arguments)
        storage.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = QFile::encodeName(standardOutput);
    posix_spawn_file_actions_addopen(
        &actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const QByteArray err = QFile::encodeName(standardError);
    if (!standardError.isEmpty())
        posix_spawn_file_actions_addopen(
            &actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    MeasuredRun measured;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage = {};
        // The child's end is waited for as an event on its process descriptor, and the run is
        // stopped only when the limit passes first.
        const int ends = limitMs >= 0 ? int(::syscall(SYS_pidfd_open, pid, 0)) : -1;
        if (ends >= 0) {
            pollfd end = { ends, POLLIN, 0 };
            if (::poll(&end, 1, int(limitMs)) == 0)
                ::kill(pid, SIGKILL);
            ::close(ends);
        }
        const pid_t ended = ::wait4(pid, &status, 0, &usage);
        if (ended == pid) {
            measured.peakBytes = qint64(usage.ru_maxrss) * 1024;
            if (WIFEXITED(status))
                measured.exitCode = WEXITSTATUS(status);
        }
    }
    measured.seconds = double(timer.nsecsElapsed()) / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    return measured;
}
