#include "KeywordListView.h"

#include <QHeaderView>

KeywordListView::KeywordListView(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
}

void KeywordListView::setModel(QAbstractItemModel *model)
{
    const int width = columnWidthPixels();
    QTableView::setModel(model);
    if (width > 0)
        setColumnWidthPixels(width);
}

void KeywordListView::setColumnWidthPixels(int width)
{
    horizontalHeader()->resizeSection(0, width);
}

int KeywordListView::columnWidthPixels() const
{
    return horizontalHeader()->sectionSize(0);
}
