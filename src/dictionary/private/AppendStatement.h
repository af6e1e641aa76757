#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class CipherFile;
struct sqlite3_stmt;

// An INSERT into one table of the columns a row sets, prepared once and run for every row that
// sets the same ones: an update appends thousands of rows alike.
class AppendStatement
{
public:
    // Prepares the INSERT of the columns marked in sets; throws DictionaryError.
    AppendStatement(
        CipherFile &file, const QString &table, const QStringList &columns, std::vector<bool> sets);
    ~AppendStatement();
    AppendStatement(const AppendStatement &) = delete;
    AppendStatement &operator=(const AppendStatement &) = delete;

    const std::vector<bool> &sets() const { return m_sets; }
    // Appends row (one value per column; the unmarked ones are left to the table's defaults)
    // and commits it unless a transaction is open. Throws DictionaryError.
    void run(const std::vector<QString> &row);

private:
    CipherFile &m_file;
    std::vector<bool> m_sets;
    sqlite3_stmt *m_insert = nullptr;
    std::vector<QByteArray> m_values; // the texts bound for the row being appended
};
