// somnilex-dict: makes, prints and checks dictionary and update files.
#include "Commands.h"
#include "DictionaryError.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char *const Usage
    = "usage: somnilex-dict create [--force] OUT FILE.tsv     make a dictionary or update file\n"
      "       somnilex-dict dump FILE                        print its rows as TSV\n"
      "       somnilex-dict check FILE                       print its row count\n"
      "       somnilex-dict generate [--force] N OUT [SEED]  make a file of N made-up rows\n"
      "       somnilex-dict --help | --version\n"
      "\n"
      "OUT is never written over unless --force is given, and never the input file.\n"
      "The TSV is UTF-8: a header line Key<TAB>Link<TAB>Names, then one row per line\n"
      "of at most 1 MiB.\n"
      "In a cell, \\t is a tab, \\n a line feed, \\r a carriage return, \\\\ a backslash\n"
      "and \\xHH the byte HH. dump writes every other control byte and every byte that\n"
      "is not UTF-8 as \\xHH, so create reads back exactly what dump printed.\n";

int usage()
{
    std::fputs(Usage, stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    // Asked for, the usage is the answer and goes to standard output.
    if (args.size() == 1
        && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        std::puts("somnilex-dict " SOMNILEX_VERSION);
        return 0;
    }
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    const QString command = args.value(0);
    try {
        if (args.size() == 3 && command == QLatin1String("create"))
            return Commands::create(args[1], args[2], force);
        if (force && command != QLatin1String("generate"))
            return usage();
        if (args.size() == 2 && command == QLatin1String("dump"))
            return Commands::dump(args[1]);
        if (args.size() == 2 && command == QLatin1String("check"))
            return Commands::check(args[1]);
        if ((args.size() == 3 || args.size() == 4) && command == QLatin1String("generate")) {
            bool countOk = false, seedOk = true;
            const qint64 count = args[1].toLongLong(&countOk);
            const quint32 seed = args.size() == 4 ? args[3].toUInt(&seedOk) : 1;
            if (!countOk || count < 0 || !seedOk)
                return usage();
            return Commands::generate(count, args[2], seed, force);
        }
    } catch (const DictionaryError &e) {
        return Commands::fail(e.message());
    }
    return usage();
}
