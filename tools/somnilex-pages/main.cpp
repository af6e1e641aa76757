// somnilex-pages: builds the shipped dictionary's pages and row lists from its source text.
//
//   somnilex-pages OUT TEMPLATE STYLE [--start START] [--assets FILE...]
//                  --dictionary FILE... --update FILE...
//
// writes OUT/dreams/<page>.html and OUT/dreams/style.css; with --start also the start page
// OUT/dreams/index.html and its search index OUT/dreams/symbols.js, made from the dictionary's
// symbols; the assets (the pages' scripts, the error page) copied as they are; OUT/dreams.qrc
// bundling all of them; and OUT/dreams.tsv and OUT/update.tsv, the rows of dream.dll and of
// the sample update file.
#include "DreamsTable.h"
#include "PageWriter.h"
#include "StartPage.h"
#include "SymbolSource.h"
#include "TsvFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SymbolSource::Error(
            QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw SymbolSource::Error(
            QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
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
    rows.reserve(symbols.size());
    for (const Symbol &s : symbols)
        rows.push_back({ s.key, PageWriter::link(s), DreamsTable::Marker });
    return rows;
}

// The arguments after OUT TEMPLATE STYLE, by option; empty when something is amiss.
QHash<QString, QStringList> options(const QStringList &args)
{
    static const QStringList known = { QStringLiteral("--start"), QStringLiteral("--assets"),
        QStringLiteral("--dictionary"), QStringLiteral("--update") };
    QHash<QString, QStringList> found;
    QString current;
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1String("--"))) {
            if (!known.contains(arg) || found.contains(arg))
                return {};
            current = arg;
            found.insert(current, {});
        } else if (current.isEmpty()) {
            return {};
        } else {
            found[current] << arg;
        }
    }
    if (!found.contains(QStringLiteral("--dictionary"))
        || !found.contains(QStringLiteral("--update"))
        || (found.contains(QStringLiteral("--start"))
            && found.value(QStringLiteral("--start")).size() != 1))
        return {};
    return found;
}

// The pages and files bundled into the program: each written under OUT/dreams and listed in
// OUT/dreams.qrc once finished.
class Bundle
{
public:
    explicit Bundle(QString out)
        : m_out(std::move(out))
    {
        QDir().mkpath(m_out + QStringLiteral("/dreams"));
    }

    void add(const QString &name, const QString &text)
    {
        // A symbol called "Index" or "Error" would otherwise overwrite one of our own pages.
        if (m_names.contains(name))
            throw SymbolSource::Error(
                QStringLiteral("%1 is made twice: rename the symbol or the asset")
                    .arg(name)
                    .toStdString());
        m_names.insert(name);
        writeText(m_out + QStringLiteral("/dreams/") + name, text);
        m_qrc += QStringLiteral("<file alias=\"%1\">dreams/%1</file>\n").arg(name);
    }

    void finish()
    {
        writeText(m_out + QStringLiteral("/dreams.qrc"),
            QStringLiteral("<RCC>\n<qresource prefix=\"/dreams\">\n") + m_qrc
                + QStringLiteral("</qresource>\n</RCC>\n"));
    }

private:
    QString m_out;
    QSet<QString> m_names;
    QString m_qrc;
};

void build(const QStringList &args, const QHash<QString, QStringList> &given)
{
    const QString &out = args[0];
    const std::vector<Symbol> dictionary = load(given.value(QStringLiteral("--dictionary")));
    const std::vector<Symbol> update = load(given.value(QStringLiteral("--update")));
    std::vector<Symbol> all = dictionary;
    all.insert(all.end(), update.begin(), update.end());
    // The shipped dictionary stands on its own; update pages may also point into it.
    SymbolSource::validate(dictionary, dictionary);
    SymbolSource::validate(all, all);

    const QString pageTemplate = readText(args[1]);
    Bundle bundle(out);
    bundle.add(QStringLiteral("style.css"), readText(args[2]));
    // The start page is made once for the shipped dictionary; the sample update's symbols
    // have pages but are not part of what every user has.
    if (given.contains(QStringLiteral("--start"))) {
        bundle.add(QStringLiteral("index.html"),
            StartPage::indexPage(
                readText(given.value(QStringLiteral("--start")).first()), dictionary));
        bundle.add(QStringLiteral("symbols.js"), StartPage::searchIndex(dictionary));
    }
    for (const QString &asset : given.value(QStringLiteral("--assets")))
        bundle.add(QFileInfo(asset).fileName(), readText(asset));
    for (const Symbol &s : all)
        bundle.add(
            SymbolSource::slug(s.key) + QStringLiteral(".html"), PageWriter::page(pageTemplate, s));
    bundle.finish();
    writeText(out + QStringLiteral("/dreams.tsv"), TsvFormat::format(rowsOf(dictionary)));
    writeText(out + QStringLiteral("/update.tsv"), TsvFormat::format(rowsOf(update)));
    std::printf("somnilex-pages: %zu dictionary symbols, %zu update symbols\n", dictionary.size(),
        update.size());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QHash<QString, QStringList> given
        = args.size() > 3 ? options(args.mid(3)) : QHash<QString, QStringList>();
    if (given.isEmpty()) {
        std::fputs("usage: somnilex-pages OUT TEMPLATE STYLE [--start START] [--assets FILE...]\n"
                   "                      --dictionary FILE... --update FILE...\n",
            stderr);
        return 2;
    }
    try {
        build(args, given);
    } catch (const SymbolSource::Error &e) {
        std::fprintf(stderr, "somnilex-pages: %s\n", e.what());
        return 1;
    }
    return 0;
}
