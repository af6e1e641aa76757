#pragma once
#include "LookupControls.h"
#include "MainLayout.h"

#include <QWidget>

class QLabel;

// The main window's left panel: the search options, the search box with its Search button,
// the keyword list and Display, in the order Tab takes them. The controls carry their names as
// object names.
class SearchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SearchPanel(QWidget *parent = nullptr);

    // The controls as the lookup handlers and the keyboard paths reach them.
    LookupControls controls() const;

    QString searchText() const;
    void focusSearchBox();
    // Redraws the keyword list as it stands, without refilling it.
    void repaintList();
    // Sets the list's one column to the list's width, less a margin for the frame.
    void fitListColumn();
    // The places of the search box, Search, the list and Display, read into layout or set from it.
    void readPlaces(MainLayout &layout) const;
    void applyPlaces(const MainLayout &layout);

    // Its width in twips.
    static constexpr int Width = 2925;

private:
    void nameControls();

    QRadioButton *optWildCard = nullptr;
    QRadioButton *optExact = nullptr;
    QRadioButton *optGoogle = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtKey = nullptr;
    QPushButton *cmdSearch = nullptr;
    KeywordListView *lstKeys = nullptr;
    KeywordListModel *keywords = nullptr;
    QPushButton *cmdDisplay = nullptr;
};
