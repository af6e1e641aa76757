// Runs one dictionary update in a process of its own, for the test that kills it part-way.
// Arguments: update file, dictionary file, and the number of appends after which to print
// PAUSED and wait to be killed (0: never). Prints MERGED and the count when done.
#include "DictionaryUpdate.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const qint64 pauseAt = args.at(3).toLongLong();
    DictionaryUpdate update(args.at(1), args.at(2));
    update.setAppendHook([pauseAt](qint64 appended) {
        if (appended != pauseAt)
            return;
        std::printf("PAUSED\n");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    });
    const DictionaryUpdate::Result result = update.run();
    if (result.outcome != DictionaryUpdate::Outcome::Merged)
        return 1;
    std::printf("MERGED %lld\n", static_cast<long long>(result.appended));
    return 0;
}
