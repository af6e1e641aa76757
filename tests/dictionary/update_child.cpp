// Runs one dictionary update in a process of its own, for the test that kills it part-way.
// Arguments: update file, dictionary file, and where to pause:
//   append:N  after the Nth appended row
//   write:N   while committing, before the Nth write to the dictionary file
//   unlink    while committing, before the journal is deleted (the dictionary is written)
//   unlinked  while committing, just after the journal is deleted
//   never     not at all
// At the pause it prints PAUSED and waits for a line on its input: any line lets it go on, the
// end of the input ends it at once, as a crash would. Prints MERGED and the count when done.
#include "DictionaryCache.h"
#include "DictionaryUpdate.h"
#include "ShimVfs.h"

#include <QCoreApplication>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Stage { Never, Append, Write, Unlink, Unlinked };

void pause()
{
    std::printf("PAUSED\n");
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin))
        std::_Exit(3);
}

bool isJournal(const char *name)
{
    const size_t length = std::strlen(name);
    return length > 8 && std::strcmp(name + length - 8, "-journal") == 0;
}

bool parseStage(const QString &text, Stage &stage, qint64 &count)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok = parts.size() == 1;
    if (parts.size() == 2)
        count = parts[1].toLongLong(&ok);
    if (!ok)
        return false;
    const QString &name = parts[0];
    if (name == QLatin1String("never") && parts.size() == 1)
        stage = Stage::Never;
    else if (name == QLatin1String("append") && parts.size() == 2)
        stage = Stage::Append;
    else if (name == QLatin1String("write") && parts.size() == 2)
        stage = Stage::Write;
    else if (name == QLatin1String("unlink") && parts.size() == 1)
        stage = Stage::Unlink;
    else if (name == QLatin1String("unlinked") && parts.size() == 1)
        stage = Stage::Unlinked;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    Stage stage = Stage::Never;
    qint64 count = 0;
    if (args.size() != 4 || !parseStage(args.at(3), stage, count))
        return 2;

    // Only the dictionary is written; the update file is read alone.
    ShimVfs shim;
    if (!shim.registered())
        return 2;
    bool committing = false;
    qint64 writes = 0;
    shim.beforeWrite = [&](ShimVfs::File file) {
        if (file == ShimVfs::File::Database && committing && stage == Stage::Write
            && ++writes == count)
            pause();
        return SQLITE_OK;
    };
    shim.aroundDelete = [&](const char *name, bool done) {
        if (committing && isJournal(name) && stage == (done ? Stage::Unlinked : Stage::Unlink))
            pause();
    };

    DictionaryCache cache;
    DictionaryUpdate update(cache, args.at(1), args.at(2));
    update.setAppendHook([&](qint64 appended) {
        if (stage == Stage::Append && appended == count)
            pause();
    });
    update.setCommitHook([&] { committing = true; });
    const DictionaryUpdate::Result result = update.run();
    if (result.outcome != DictionaryUpdate::Outcome::Merged)
        return 1;
    std::printf("MERGED %lld\n", static_cast<long long>(result.appended));
    return 0;
}
