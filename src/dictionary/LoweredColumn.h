#pragma once
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// One column's values lower-cased as QString::toLower does, one after the other in a single
// buffer, with the rows in the order of their lowered values beside it. A search then walks
// one block of memory instead of a million strings, and the rows that begin with a text, or
// equal it, are one binary search away. Made once per snapshot; appending keeps both in step.
class LoweredColumn
{
public:
    explicit LoweredColumn(const QStringList &values);

    qint64 rowCount() const { return qint64(m_start.size()) - 1; }
    QStringView at(qint64 row) const
    {
        return QStringView(m_text).mid(m_start[size_t(row)], length(row));
    }

    // The rows whose lowered value begins with term, or contains it, in table order. term is
    // compared code unit by code unit, as QString::startsWith and QString::contains do. Every
    // row begins with the empty text; the empty text is contained in every non-empty value.
    std::vector<qint64> rowsBeginningWith(QStringView term) const;
    std::vector<qint64> rowsContaining(QStringView term) const;
    // The first row whose lowered value is term; -1 when none is.
    qint64 firstRowOf(QStringView term) const;

    void append(const QString &value);

private:
    qsizetype length(qint64 row) const { return m_start[size_t(row) + 1] - m_start[size_t(row)]; }
    // Where in the buffer term next occurs from position from on, or -1.
    qsizetype find(QStringView term, qsizetype from) const;
    // The first place in m_byValue whose row's value is not below term; ties go by row.
    std::vector<quint32>::const_iterator lowerBound(QStringView term) const;

    QString m_text; // every lowered value, back to back
    std::vector<quint32> m_start; // where each row's value begins, and one past the last
    std::vector<quint32> m_byValue; // rows by lowered value, equal values in table order
};
