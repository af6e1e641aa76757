// somnilex-pages: builds the shipped dictionary's pages and row lists from its source text.
//
//   somnilex-pages OUT TEMPLATE STYLE --dictionary FILE... --update FILE...
//
// writes OUT/dreams/<page>.html and OUT/dreams/style.css, OUT/dreams.qrc bundling them, and
// OUT/dreams.tsv and OUT/update.tsv, the rows of dream.dll and of the sample update file.
#include "PageWriter.h"
#include "SymbolSource.h"
#include "TsvFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SymbolSource::Error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw SymbolSource::Error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
}

std::vector<Symbol> load(const QStringList &files)
{
    std::vector<Symbol> symbols;
    for (const QString &path : files) {
        auto parsed = SymbolSource::parseFile(path);
        symbols.insert(symbols.end(), parsed.begin(), parsed.end());
    }
    std::sort(symbols.begin(), symbols.end(), [](const Symbol &a, const Symbol &b) {
        return QString::compare(a.key, b.key, Qt::CaseInsensitive) < 0;
    });
    return symbols;
}

std::vector<DictionaryRow> rowsOf(const std::vector<Symbol> &symbols)
{
    std::vector<DictionaryRow> rows;
    for (const Symbol &s : symbols)
        rows.push_back({ s.key, PageWriter::link(s), QStringLiteral("astro") });
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const qsizetype dictionaryAt = args.indexOf(QStringLiteral("--dictionary"));
    const qsizetype updateAt = args.indexOf(QStringLiteral("--update"));
    if (args.size() < 5 || dictionaryAt != 3 || updateAt < dictionaryAt) {
        std::fputs("usage: somnilex-pages OUT TEMPLATE STYLE --dictionary FILE... --update FILE...\n",
                   stderr);
        return 2;
    }
    const QString out = args[0];
    try {
        const std::vector<Symbol> dictionary = load(args.mid(dictionaryAt + 1, updateAt - dictionaryAt - 1));
        const std::vector<Symbol> update = load(args.mid(updateAt + 1));
        std::vector<Symbol> all = dictionary;
        all.insert(all.end(), update.begin(), update.end());
        // The shipped dictionary stands on its own; update pages may also point into it.
        SymbolSource::validate(dictionary, dictionary);
        SymbolSource::validate(all, all);

        const QString pageTemplate = readText(args[1]);
        QDir().mkpath(out + QStringLiteral("/dreams"));
        QString qrc = QStringLiteral("<RCC>\n<qresource prefix=\"/dreams\">\n"
                                     "<file alias=\"style.css\">dreams/style.css</file>\n");
        writeText(out + QStringLiteral("/dreams/style.css"), readText(args[2]));
        for (const Symbol &s : all) {
            const QString name = SymbolSource::slug(s.key) + QStringLiteral(".html");
            writeText(out + QStringLiteral("/dreams/") + name, PageWriter::page(pageTemplate, s));
            qrc += QStringLiteral("<file alias=\"%1\">dreams/%1</file>\n").arg(name);
        }
        qrc += QStringLiteral("</qresource>\n</RCC>\n");
        writeText(out + QStringLiteral("/dreams.qrc"), qrc);
        writeText(out + QStringLiteral("/dreams.tsv"), TsvFormat::format(rowsOf(dictionary)));
        writeText(out + QStringLiteral("/update.tsv"), TsvFormat::format(rowsOf(update)));
        std::printf("somnilex-pages: %zu dictionary symbols, %zu update symbols\n", dictionary.size(),
                    update.size());
    } catch (const SymbolSource::Error &e) {
        std::fprintf(stderr, "somnilex-pages: %s\n", e.what());
        return 1;
    }
    return 0;
}
