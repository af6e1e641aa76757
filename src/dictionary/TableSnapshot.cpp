#include "TableSnapshot.h"

#include "CipherFile.h"
#include "DictionaryError.h"
#include "LoweredColumn.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace {

class Query
{
public:
    ~Query() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

QString TableSnapshot::foldColumnName(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

TableSnapshot TableSnapshot::read(CipherFile &file, const QString &source, const QString &tableName)
{
    TableSnapshot table;
    Query query;
    const QByteArray sql = source.toUtf8();
    if (sqlite3_prepare_v2(file.handle(), sql.constData(), int(sql.size()), &query.m_stmt, nullptr)
        != SQLITE_OK) {
        if (QString::fromUtf8(sqlite3_errmsg(file.handle()))
                .startsWith(QLatin1String("no such table")))
            throw DictionaryError(QStringLiteral("The file %1 has no table %2: it is not a "
                                                 "Somnilex dictionary.")
                                      .arg(file.path(), tableName));
        file.fail(source);
    }

    const int columns = sqlite3_column_count(query.m_stmt);
    for (int c = 0; c < columns; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query.m_stmt, c));
        table.m_columns << name;
        // Of two like-named columns (a join, say) the first answers.
        if (!table.m_columnIndex.contains(name))
            table.m_columnIndex.insert(name, c);
        const QString folded = foldColumnName(name);
        if (!table.m_foldedColumnIndex.contains(folded))
            table.m_foldedColumnIndex.insert(folded, c);
    }
    table.m_cells.resize(size_t(columns));
    table.m_lowered.resize(size_t(columns));

    // The cells come row after row into blocks of a fixed size per column, and each column's
    // list is made to its size at once from them: a list grown as the rows come costs more in
    // the allocator than the copy, and one block for all cells would, while it grows, hold
    // every cell twice. A cell the same as the one above it shares its text (a column that
    // repeats one marker costs one string).
    constexpr size_t Block = 1 << 16;
    const auto width = size_t(columns);
    std::vector<std::vector<std::vector<QString>>> blocks(width);
    std::vector<QString> lastCell(width); // null while the cell above is NULL
    std::vector<std::string> lastBytes(width);
    int step;
    while ((step = sqlite3_step(query.m_stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            std::vector<std::vector<QString>> &column = blocks[size_t(c)];
            if (column.empty() || column.back().size() == Block) {
                column.emplace_back();
                column.back().reserve(Block);
            }
            const auto *text
                = reinterpret_cast<const char *>(sqlite3_column_text(query.m_stmt, c));
            QString &last = lastCell[size_t(c)];
            if (!text) {
                last = QString();
            } else {
                const std::string_view bytes(text, size_t(sqlite3_column_bytes(query.m_stmt, c)));
                if (last.isNull() || bytes != lastBytes[size_t(c)]) {
                    last = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
                    lastBytes[size_t(c)].assign(bytes);
                }
            }
            column.back().push_back(last);
        }
        ++table.m_rowCount;
    }
    if (step != SQLITE_DONE)
        file.fail(source);
    for (int c = 0; c < columns; ++c) {
        QStringList &column = table.m_cells[size_t(c)];
        column.reserve(table.m_rowCount);
        for (std::vector<QString> &block : blocks[size_t(c)]) {
            for (QString &cell : block)
                column.append(std::move(cell));
            block = std::vector<QString>();
        }
    }
    return table;
}

TableSnapshot TableSnapshot::withLowered(int column) const
{
    TableSnapshot table = *this;
    std::shared_ptr<LoweredColumn> &lowered = table.m_lowered[size_t(column)];
    if (!lowered)
        lowered = std::make_shared<LoweredColumn>(m_cells[size_t(column)]);
    return table;
}

TableSnapshot::~TableSnapshot()
{
    // The texts are let go row after row, in the order they were made: freed column by column
    // they leave the allocator merging scattered blocks, a tenth of a cold read's time.
    std::vector<QString *> owned;
    for (QStringList &column : m_cells) {
        if (column.isDetached())
            owned.push_back(column.data());
    }
    if (owned.empty() || owned.size() != m_cells.size())
        return;
    for (qint64 row = 0; row < m_rowCount; ++row) {
        for (QString *column : owned)
            column[row] = QString();
    }
}

int TableSnapshot::indexOf(const QString &name) const
{
    const auto exact = m_columnIndex.constFind(name);
    if (exact != m_columnIndex.constEnd())
        return exact.value();
    return m_foldedColumnIndex.value(foldColumnName(name), -1);
}

void TableSnapshot::append(std::vector<QString> row)
{
    for (size_t c = 0; c < m_cells.size(); ++c) {
        if (std::shared_ptr<LoweredColumn> &lowered = m_lowered[c]) {
            if (lowered.use_count() > 1)
                lowered = std::make_shared<LoweredColumn>(*lowered);
            lowered->append(row[c]);
        }
        m_cells[c].append(std::move(row[c]));
    }
    ++m_rowCount;
}
