#include "Commands.h"
#include "DictionaryError.h"
#include "DictionaryFile.h"
#include "DictionaryWriter.h"
#include "Generator.h"
#include "PlainFile.h"
#include "TsvFormat.h"
#include "TsvReader.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace Commands {

namespace {

// The same file under any name: a symbolic link or a hard link to it included.
bool sameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_UNIX
    struct stat first, second;
    if (::stat(QFile::encodeName(a).constData(), &first) != 0
        || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

// Refusals made before any work, in words that say what to do instead.
bool refusesOutput(const QString &out, const QString &input, bool force)
{
    if (!input.isEmpty() && sameFile(out, input)) {
        fail(QStringLiteral("%1 is the input file; choose another name for the output (it is "
                            "never written over, not even with --force).")
                 .arg(out));
        return true;
    }
    const QFileInfo target(out);
    if (!force && !target.isDir() && (target.exists() || target.isSymLink())) {
        fail(QStringLiteral("%1 already exists; give --force to replace it.").arg(out));
        return true;
    }
    return false;
}

DictionaryWriter::Existing existing(bool force)
{
    return force ? DictionaryWriter::Existing::Replace : DictionaryWriter::Existing::Refuse;
}

// Standard output that says when it could not take the text (a full disk, a closed pipe).
struct OutputError
{
    int error;
};

void put(const QByteArray &text)
{
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()))
        throw OutputError { errno };
}

void finishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw OutputError { errno };
}

} // namespace

int fail(const QString &message)
{
    std::fprintf(stderr, "somnilex-dict: %s\n", qPrintable(message));
    return 1;
}

int create(const QString &out, const QString &tsvPath, bool force)
{
    QFile tsv(tsvPath);
    // Pipes and devices are read like files, a line at a time; a line that never ends is cut
    // off by the reader.
    const PlainFile::Kind kind = PlainFile::kindOf(tsvPath, true);
    if (kind == PlainFile::Kind::Folder || kind == PlainFile::Kind::Socket)
        return fail(
            QStringLiteral("cannot read %1: it is %2").arg(tsvPath, PlainFile::describe(kind)));
    if (!tsv.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(tsvPath, tsv.errorString()));
    if (refusesOutput(out, tsvPath, force))
        return 1;
    try {
        DictionaryWriter writer(out, existing(force));
        TsvReader reader(tsv);
        StoredRow row;
        while (reader.next(row))
            writer.add(row);
        writer.commit();
    } catch (const TsvFormat::ParseError &e) {
        return fail(QStringLiteral("%1: %2; nothing was written")
                        .arg(tsvPath, QString::fromUtf8(e.what())));
    } catch (const DictionaryError &e) {
        return fail(e.message() + QStringLiteral(" Nothing was written."));
    }
    return 0;
}

int dump(const QString &path)
{
    // The header waits for the file to open, so that a file that cannot be read prints nothing.
    bool started = false;
    const auto start = [&started] {
        if (!started)
            put(TsvFormat::Header + '\n');
        started = true;
    };
    try {
        DictionaryFile::walk(path, [&start](const StoredRow &row) {
            start();
            put(TsvFormat::formatRow(row));
        });
        start();
        finishOutput();
    } catch (const OutputError &e) {
        return fail(QStringLiteral("could not write the rows of %1: %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(e.error))));
    }
    return 0;
}

int check(const QString &path)
{
    // Every cell is read, so a damaged page anywhere in the table is found.
    const qint64 count = DictionaryFile::walk(path, [](const StoredRow &) {});
    std::printf("%lld\n", static_cast<long long>(count));
    return 0;
}

int generate(qint64 count, const QString &out, quint32 seed, bool force)
{
    if (refusesOutput(out, QString(), force))
        return 1;
    try {
        DictionaryWriter writer(out, existing(force));
        Generator::generate(count, seed, QStringLiteral("qrc:/dreams/gen-"),
            [&](const DictionaryRow &row) { writer.add(row); });
        writer.commit();
    } catch (const DictionaryError &e) {
        return fail(e.message() + QStringLiteral(" Nothing was written."));
    }
    return 0;
}

} // namespace Commands
