#pragma once
#include <QTableView>

// The keyword list as the user sees it: one column headed "Keywords", one row per keyword,
// whole-row selection, no editing. A table view with fixed row heights lays out 100,000 rows
// without visiting them, where a tree view walks every row on each refill.
class KeywordListView : public QTableView
{
    Q_OBJECT
public:
    explicit KeywordListView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    // The one column's width in pixels.
    void setColumnWidthPixels(int width);
    int columnWidthPixels() const;

signals:
    // A left click or double-click anywhere on the list, also where there is no item, sent once
    // the view has settled its selection. Other buttons neither click nor double-click.
    void leftClicked();
    void leftDoubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
