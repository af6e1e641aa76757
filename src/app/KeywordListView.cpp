#include "KeywordListView.h"

#include <QHeaderView>
#include <QMouseEvent>

KeywordListView::KeywordListView(QWidget *parent)
    : QTableView(parent)
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

void KeywordListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftClicked();
}

void KeywordListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    // Not handed on: when the click before has copied a blank keyword, the list has been
    // restored under the pointer, and the table view would drop the double-click and take it
    // for a fresh press on whatever keyword now lies there.
    event->accept();
    emit leftDoubleClicked();
}
