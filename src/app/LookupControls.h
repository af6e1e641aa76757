#pragma once

class QLineEdit;
class QPushButton;
class QRadioButton;
class KeywordListView;
class KeywordListModel;

// The main window's lookup controls, as the lookup handlers reach them.
struct LookupControls
{
    QLineEdit *txtKey = nullptr;
    KeywordListView *lstKeys = nullptr;
    KeywordListModel *keywords = nullptr;
    QRadioButton *optExact = nullptr;
    QRadioButton *optWildCard = nullptr;
    QRadioButton *optGoogle = nullptr;
    QPushButton *cmdSearch = nullptr;
    QPushButton *cmdDisplay = nullptr;
};
