#include "KeywordListModel.h"

int KeywordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

QVariant KeywordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_keys.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_keys.at(index.row());
    return {};
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tr("Keywords");
    return {};
}

void KeywordListModel::clear()
{
    if (m_keys.isEmpty())
        return;
    beginResetModel();
    m_keys.clear();
    endResetModel();
}

void KeywordListModel::setKeys(QStringList keys)
{
    beginResetModel();
    m_keys = std::move(keys);
    endResetModel();
}

void KeywordListModel::append(const QString &key)
{
    const int row = int(m_keys.size());
    beginInsertRows({}, row, row);
    m_keys.append(key);
    endInsertRows();
}
