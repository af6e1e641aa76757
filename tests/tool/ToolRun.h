// What the dictionary tool's suites share: the tool run as a user runs it, and the files
// they hand it or read back.
#pragma once

#include "DictionaryFile.h"
#include "DictionaryWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <vector>

inline const QString Tool = QStringLiteral(SOMNILEX_DICT);
inline const QByteArray Header = "Key\tLink\tNames\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

inline Run runProgram(
    const QString &program, const QStringList &arguments, const QString &standardOutput = QString())
{
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError()) };
}

inline Run runTool(const QStringList &arguments, const QString &standardOutput = QString())
{
    return runProgram(Tool, arguments, standardOutput);
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

inline std::vector<StoredRow> storedRows(const QString &path)
{
    std::vector<StoredRow> rows;
    DictionaryFile::walk(path, [&rows](const StoredRow &row) {
        rows.push_back({ QByteArray(row.key.constData(), row.key.size()),
            QByteArray(row.link.constData(), row.link.size()),
            QByteArray(row.names.constData(), row.names.size()) });
    });
    return rows;
}

inline void writeStore(const QString &path, const std::vector<StoredRow> &rows)
{
    DictionaryWriter writer(path, DictionaryWriter::Existing::Replace);
    for (const StoredRow &row : rows)
        writer.add(row);
    writer.commit();
}

// A TSV of about the given size, written without holding it.
inline void writeLargeTsv(const QString &path, qint64 bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Header);
    QByteArray chunk;
    for (qint64 row = 0; file.size() + chunk.size() < bytes; ++row) {
        chunk += "Dream symbol " + QByteArray::number(row) + " of the night\tqrc:/dreams/gen-"
            + QByteArray::number(row) + ".html\tastro\n";
        if (chunk.size() > (1 << 20)) {
            QCOMPARE(file.write(chunk), chunk.size());
            chunk.clear();
        }
    }
    QCOMPARE(file.write(chunk), chunk.size());
}

// Every entry under folder, hidden ones too, with what it holds.
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString name = QDir(folder).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            entries[name] = "link to " + info.symLinkTarget().toUtf8();
        } else if (info.isDir()) {
            entries[name] = "folder";
        } else {
            QFile file(info.filePath());
            entries[name] = file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                : QByteArray("unreadable");
        }
    }
    return entries;
}
