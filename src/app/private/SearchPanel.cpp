#include "SearchPanel.h"

#include "Fonts.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

SearchPanel::SearchPanel(QWidget *parent)
    : QWidget(parent)
{
    setFixedWidth(Twips::toPixels(Width));
    setFont(Fonts::verdana());

    optWildCard = new QRadioButton(tr("Use WildCard (*)"), this);
    optWildCard->setGeometry(TwipsRect { 90, -30, 2205, 315 }.toPixels());
    optExact = new QRadioButton(tr("Exact Search"), this);
    optExact->setGeometry(TwipsRect { 90, 255, 2205, 315 }.toPixels());
    optGoogle = new QRadioButton(tr("Google Search"), this);
    optGoogle->setGeometry(TwipsRect { 90, 540, 2205, 315 }.toPixels());
    optExact->setChecked(true);

    Label1 = new QLabel(tr("Type in the Key&word to find:"), this);
    Label1->setGeometry(TwipsRect { 120, 840, 2445, 195 }.toPixels());
    Label1->adjustSize();
    txtKey = new QLineEdit(this);
    txtKey->setAccessibleName(tr("Keyword to find"));
    // A keyword copied from the list can be longer than a line edit holds by default.
    txtKey->setMaxLength(std::numeric_limits<int>::max());
    Label1->setBuddy(txtKey);

    cmdSearch = new QPushButton(tr("&Search"), this);

    keywords = new KeywordListModel(this);
    lstKeys = new KeywordListView(this);
    lstKeys->setModel(keywords);
    lstKeys->setAccessibleName(tr("Keywords"));
    // The one column is as wide as the list; a long keyword is elided, not scrolled to.
    lstKeys->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    cmdDisplay = new QPushButton(tr("&Display"), this);

    setTabOrder(optWildCard, optExact);
    setTabOrder(optExact, optGoogle);
    setTabOrder(optGoogle, txtKey);
    setTabOrder(txtKey, cmdSearch);
    setTabOrder(cmdSearch, lstKeys);
    setTabOrder(lstKeys, cmdDisplay);
    nameControls();
}

void SearchPanel::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        { this, "picLeft" },
        { optWildCard, "optWildCard" },
        { optExact, "optExact" },
        { optGoogle, "optGoogle" },
        { Label1, "Label1" },
        { txtKey, "txtKey" },
        { cmdSearch, "cmdSearch" },
        { lstKeys, "lstKeys" },
        { keywords, "keywords" },
        { cmdDisplay, "cmdDisplay" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

LookupControls SearchPanel::controls() const
{
    LookupControls controls;
    controls.txtKey = txtKey;
    controls.lstKeys = lstKeys;
    controls.keywords = keywords;
    controls.optExact = optExact;
    controls.optWildCard = optWildCard;
    controls.optGoogle = optGoogle;
    controls.cmdSearch = cmdSearch;
    controls.cmdDisplay = cmdDisplay;
    return controls;
}

QString SearchPanel::searchText() const
{
    return txtKey->text();
}

void SearchPanel::focusSearchBox()
{
    txtKey->setFocus();
}

void SearchPanel::repaintList()
{
    lstKeys->viewport()->repaint();
}

void SearchPanel::fitListColumn()
{
    const int listWidth = Twips::fromPixels(lstKeys->width());
    lstKeys->setColumnWidthPixels(Twips::toPixels(listWidth - 200));
}

void SearchPanel::readPlaces(MainLayout &layout) const
{
    layout.txtKey = TwipsRect::fromPixels(txtKey->geometry());
    layout.lstKeys = TwipsRect::fromPixels(lstKeys->geometry());
    layout.cmdSearch = TwipsRect::fromPixels(cmdSearch->geometry());
    layout.cmdDisplay = TwipsRect::fromPixels(cmdDisplay->geometry());
}

void SearchPanel::applyPlaces(const MainLayout &layout)
{
    txtKey->setGeometry(layout.txtKey.toPixels());
    lstKeys->setGeometry(layout.lstKeys.toPixels());
    cmdSearch->setGeometry(layout.cmdSearch.toPixels());
    cmdDisplay->setGeometry(layout.cmdDisplay.toPixels());
}
