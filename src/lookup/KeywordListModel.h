#pragma once
#include <QAbstractListModel>
#include <QStringList>

// The keyword list's items: each is a row's Key exactly as stored, in table order. The list is
// only ever cleared, refilled, or appended to; it is never sorted or edited.
class KeywordListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // Replaces every item in one step.
    void setKeys(QStringList keys);
    void append(const QString &key);
    const QStringList &keys() const { return m_keys; }
    qsizetype count() const { return m_keys.size(); }

private:
    QStringList m_keys;
};
