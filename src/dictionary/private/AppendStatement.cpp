#include "AppendStatement.h"

#include "CipherFile.h"
#include "QuoteIdentifier.h"

#include <sqlite3.h>

#include <utility>

AppendStatement::AppendStatement(
    CipherFile &file, const QString &table, const QStringList &columns, std::vector<bool> sets)
    : m_file(file)
    , m_sets(std::move(sets))
{
    QStringList names;
    QStringList marks;
    for (int c = 0; c < columns.size(); ++c) {
        if (m_sets[size_t(c)]) {
            names << modDB::quoteIdentifier(columns[c]);
            marks << QStringLiteral("?");
        }
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(modDB::quoteIdentifier(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(modDB::quoteIdentifier(table), names.join(QLatin1Char(',')),
                  marks.join(QLatin1Char(',')));
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(file.handle(), utf8.constData(), int(utf8.size()), &m_insert, nullptr)
        != SQLITE_OK) {
        sqlite3_finalize(m_insert);
        m_insert = nullptr;
        file.fail(QStringLiteral("adding a row"));
    }
}

AppendStatement::~AppendStatement()
{
    sqlite3_finalize(m_insert);
}

void AppendStatement::run(const std::vector<QString> &row)
{
    // Every marked column is bound afresh for each row, and the texts live until the step
    // is done, so SQLite need neither copy them nor clear the bindings after.
    std::vector<QByteArray> &values = m_values;
    values.resize(row.size());
    int parameter = 1;
    for (size_t c = 0; c < row.size(); ++c) {
        if (!m_sets[c])
            continue;
        values[c] = row[c].toUtf8();
        sqlite3_bind_text(
            m_insert, parameter++, values[c].constData(), int(values[c].size()), SQLITE_STATIC);
    }
    const int step = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    if (step != SQLITE_DONE)
        m_file.fail(QStringLiteral("adding a row"));
}
