// What the start page's suites share: the page's address, the dictionary's source text and the
// shipped file to check it against, and the page's links as the engine lays them out.
#pragma once

#include "DictionaryFile.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <vector>

inline const QString StartPage = QStringLiteral("qrc:/dreams/index.html");

// One symbol of the dictionary's source text, read here on its own terms rather than through
// the build's reader: the keyword, and the meaning with its variations as one text.
struct SourceSymbol
{
    QString key;
    QString text;
};

inline QList<SourceSymbol> sourceSymbols()
{
    QList<SourceSymbol> symbols;
    const QDir dir(QStringLiteral(SOMNILEX_SYMBOLS_DIR));
    for (const QString &name : dir.entryList({ "*.txt" }, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        for (const QString &raw : QString::fromUtf8(file.readAll()).split('\n')) {
            const QString line = raw.trimmed();
            if (line.startsWith("## "))
                symbols.append({ line.mid(3).trimmed(), QString() });
            else if (!line.isEmpty() && !line.startsWith("See also:") && !symbols.isEmpty())
                symbols.last().text += ' ' + (line.startsWith("- ") ? line.mid(2) : line);
        }
    }
    return symbols;
}

inline QString json(const QString &value)
{
    const QString array
        = QString::fromUtf8(QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// [text, href] of every element that selector finds.
inline QList<QStringList> links(WebView &view, const QString &selector)
{
    const QVariant found = WebWait::evaluate(view.page(),
        QStringLiteral("Array.from(document.querySelectorAll(%1))"
                       ".map(function (a) { return [a.textContent, a.href]; })")
            .arg(json(selector)));
    QList<QStringList> result;
    for (const QVariant &pair : found.toList())
        result << pair.toStringList();
    return result;
}

inline std::vector<DictionaryRow> shippedRows()
{
    return DictionaryFile::read(qEnvironmentVariable("SOMNILEX_BUILD_DIR") + "/dream.dll");
}

inline QString resourceOf(const QString &link)
{
    return QString(link).replace(QLatin1String("qrc:"), QLatin1String(":"));
}

// The start page's suites: a shown view of their own, and for those that hold the page to the
// dictionary, the shipped rows and the source text beside it.
class StartPageFixture
{
protected:
    void showView()
    {
        m_view.resize(900, 700);
        m_view.show();
    }
    void readSymbols()
    {
        m_rows = shippedRows();
        m_sources = sourceSymbols();
        QVERIFY(m_rows.size() > 1000);
        QCOMPARE(qsizetype(m_rows.size()), m_sources.size());
    }
    void open(const QString &address) { QCOMPARE(WebWait::navigate(m_view, address), address); }

    WebProfile m_profile;
    WebView m_view { m_profile };
    std::vector<DictionaryRow> m_rows;
    QList<SourceSymbol> m_sources;
};
