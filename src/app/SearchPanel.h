#pragma once
#include "LookupControls.h"

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

    // The controls as the lookup handlers reach them.
    LookupControls controls() const;

    QRadioButton *optWildCard = nullptr;
    QRadioButton *optExact = nullptr;
    QRadioButton *optGoogle = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtKey = nullptr;
    QPushButton *cmdSearch = nullptr;
    KeywordListView *lstKeys = nullptr;
    KeywordListModel *keywords = nullptr;
    QPushButton *cmdDisplay = nullptr;

    // Its width in twips.
    static constexpr int Width = 2925;

private:
    void nameControls();
};
