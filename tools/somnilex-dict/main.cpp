// somnilex-dict: makes, prints and checks dictionary and update files.
#include "DictionaryError.h"
#include "DictionaryFile.h"
#include "Generator.h"
#include "TsvFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

const char *const Usage
    = "usage: somnilex-dict create OUT FILE.tsv   make a dictionary or update file\n"
      "       somnilex-dict dump FILE             print its rows as TSV, in table order\n"
      "       somnilex-dict check FILE            print its row count\n"
      "       somnilex-dict generate N OUT [SEED] make a dictionary of N made-up rows\n"
      "       somnilex-dict --help | --version\n";

int usage()
{
    std::fputs(Usage, stderr);
    return 2;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "somnilex-dict: %s\n", qPrintable(message));
    return 1;
}

int create(const QString &out, const QString &tsvPath)
{
    QFile tsv(tsvPath);
    if (!tsv.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(tsvPath, tsv.errorString()));
    const QString text = QString::fromUtf8(tsv.readAll());
    try {
        DictionaryFile::write(out, TsvFormat::parse(text));
    } catch (const TsvFormat::ParseError &e) {
        return fail(QStringLiteral("%1: %2; nothing was written").arg(tsvPath,
                                                                       QString::fromUtf8(e.what())));
    }
    return 0;
}

int dump(const QString &path)
{
    const QByteArray text = TsvFormat::format(DictionaryFile::read(path)).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

int check(const QString &path)
{
    std::printf("%zu\n", DictionaryFile::read(path).size());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
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
    try {
        if (args.size() == 3 && args[0] == QLatin1String("create"))
            return create(args[1], args[2]);
        if (args.size() == 2 && args[0] == QLatin1String("dump"))
            return dump(args[1]);
        if (args.size() == 2 && args[0] == QLatin1String("check"))
            return check(args[1]);
        if ((args.size() == 3 || args.size() == 4) && args[0] == QLatin1String("generate")) {
            bool countOk = false, seedOk = true;
            const qint64 count = args[1].toLongLong(&countOk);
            const quint32 seed = args.size() == 4 ? args[3].toUInt(&seedOk) : 1;
            if (!countOk || count < 0 || !seedOk)
                return usage();
            DictionaryFile::write(args[2], Generator::rows(count, seed));
            return 0;
        }
    } catch (const DictionaryError &e) {
        return fail(e.message());
    }
    return usage();
}
