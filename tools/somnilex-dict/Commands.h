#pragma once
#include <QString>

// The tool's commands. Each returns the process's exit code: 0 done, 1 failed (the reason is
// on standard error). Output files are never written over unless force is set, and never the
// input, force or not.
namespace Commands {

int create(const QString &out, const QString &tsvPath, bool force);
int dump(const QString &path);
int check(const QString &path);
int generate(qint64 count, const QString &out, quint32 seed, bool force);

// Prints "somnilex-dict: message" on standard error and returns 1.
int fail(const QString &message);

} // namespace Commands
