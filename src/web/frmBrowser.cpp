#include "frmBrowser.h"

#include "AppConfig.h"
#include "AppState.h"
#include "LinkLabel.h"
#include "NavigationToolbar.h"
#include "OfflineNotice.h"
#include "SearchPage.h"
#include "SubWindowSize.h"
#include "TextRules.h"
#include "Version.h"
#include "WebView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace {

const QString BlankPage = QStringLiteral("about:blank");

// Design places in twips.
constexpr int DesignWidth = 11130;
constexpr int DesignHeight = 6420;
constexpr int ToolbarHeight = 540;
constexpr int AddressBandHeight = 405;

} // namespace

frmBrowser::frmBrowser(WebProfile &profile, const AppConfig &config, AppState &state,
    std::function<void()> openHomePage, QWidget *parent)
    : QWidget(parent)
    , m_config(config)
    , m_state(state)
    , m_openHomePage(std::move(openHomePage))
{
    setWindowTitle(Version::paneCaption());
    setAccessibleName(tr("Web search"));
    resize(Twips::toPixels(DesignWidth), Twips::toPixels(DesignHeight));

    buildToolbar();

    picAddress = new QWidget(this);
    picAddress->setGeometry(
        TwipsRect { 0, ToolbarHeight, DesignWidth, AddressBandHeight }.toPixels());
    lblAddress = new QLabel(tr("&Address:"), picAddress);
    lblAddress->setGeometry(TwipsRect { 90, 90, 615, 195 }.toPixels());
    // The load rule puts the address box at the label's width; in a font wider than the
    // design's, that width must still clear the label's text.
    lblAddress->resize(qMax(lblAddress->width(), lblAddress->x() + lblAddress->sizeHint().width()),
        qMax(lblAddress->height(), lblAddress->sizeHint().height()));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setEditable(true);
    // The list holds only the addresses the window has shown; typed text is never added.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setAccessibleName(tr("Address"));
    // The reader lands in the box's field, which has no label of its own.
    cboAddress->lineEdit()->setAccessibleName(tr("Address"));
    cboAddress->setGeometry(TwipsRect { 840, 30, 3795, 315 }.toPixels());
    lblAddress->setBuddy(cboAddress);

    brwWebBrowser = new WebView(profile, this);
    brwWebBrowser->setAccessibleName(tr("Search results"));
    brwWebBrowser->setGeometry(
        TwipsRect { 0, ToolbarHeight + AddressBandHeight, 5400, 3735 }.toPixels());
    brwWebBrowser->setHomePage(config.MainSiteAddress);
    brwWebBrowser->setSearchPage(config.SearchEngineAddress);
    connect(brwWebBrowser, &WebView::DocumentComplete, this,
        &frmBrowser::brwWebBrowser_DocumentComplete);
    connect(brwWebBrowser, &WebView::DownloadComplete, this,
        &frmBrowser::brwWebBrowser_DownloadComplete);

    lblCaption = new QLabel(offlineNoticeText(), this);
    lblCaption->setGeometry(TwipsRect { 240, 240, 5805, 195 }.toPixels());
    lblCaption->adjustSize();
    lblCaption->hide();
    nameControls();
}

void frmBrowser::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        { picAddress, "picAddress" },
        { lblAddress, "lblAddress" },
        { cboAddress, "cboAddress" },
        { lblCaption, "lblCaption" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

void frmBrowser::buildToolbar()
{
    tbToolBar = new NavigationToolbar(tr("Web search navigation"), this);
    tbToolBar->setGeometry(TwipsRect { 0, 0, DesignWidth, ToolbarHeight }.toPixels());
    connect(tbToolBar, &NavigationToolbar::ButtonClick, this, &frmBrowser::tbToolBar_ButtonClick);
    Label61 = tbToolBar->addStrip(tr("Visit the Somnilex home page for new dream symbols"));
    connect(Label61, &LinkLabel::clicked, this, &frmBrowser::Label61_Click);
}

void frmBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The two bands span the window, as docked bands do.
    tbToolBar->resize(width(), tbToolBar->height());
    picAddress->resize(width(), picAddress->height());
}

void frmBrowser::Form_Load(const PaneGeometry &geometry, const QString &term)
{
    auto *window = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (window)
        window->show();
    else
        show();
    tbToolBar->update();
    Form_Resize(geometry);
    if (m_state.IsOnline == 1) {
        brwWebBrowser->show();
        lblCaption->hide();
        m_searchPagePlaced = false;
        cboAddress->move(lblAddress->width(), lblAddress->y());
        QueryString.clear();
        if (!TextRules::trimSpaces(term).isEmpty())
            QueryString = term;
        brwWebBrowser->Navigate(BlankPage);
    } else {
        brwWebBrowser->hide();
        lblCaption->show();
    }
}

void frmBrowser::Form_Resize(const PaneGeometry &geometry)
{
    const TwipsRect &outer = geometry.outer;
    // Inside the main window the form sits in a frameless sub-window: place and size that.
    SubWindowSize::frameOf(this)->move(Twips::toPixels(outer.left), Twips::toPixels(outer.top));
    SubWindowSize::resize(this, outer.width, outer.height);

    QSize web = brwWebBrowser->size();
    const int webWidth = Twips::fromPixels(width()) - 100;
    if (webWidth >= 0)
        web.setWidth(Twips::toPixels(webWidth));
    if (geometry.pageHeight >= 0)
        web.setHeight(Twips::toPixels(geometry.pageHeight));
    brwWebBrowser->resize(web);
}

void frmBrowser::placeSearchPage()
{
    // Three independent steps: one that finds nothing to work on leaves the others to run. The
    // term reaches the page only as a value, never as markup or script.
    brwWebBrowser->setBodyInnerHtml(
        SearchPage::text(m_config.SearchEngineAddress, m_config.SearchPartnerId));
    brwWebBrowser->setElementSubmitValue(QStringLiteral("Q"), QueryString);
    brwWebBrowser->clickElement(QStringLiteral("sa"));
}

void frmBrowser::brwWebBrowser_DocumentComplete(const QString &url)
{
    if (!m_searchPagePlaced) {
        m_searchPagePlaced = true;
        if (url == BlankPage)
            placeSearchPage();
    }
    if (url.contains(BlankPage))
        return;
    setWindowTitle(brwWebBrowser->LocationName());
    listAddress(brwWebBrowser->LocationURL());
}

void frmBrowser::listAddress(const QString &address)
{
    const int found = cboAddress->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        cboAddress->removeItem(found);
    cboAddress->insertItem(0, address);
    cboAddress->setCurrentIndex(0);
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    // The empty page is titled after its address; it never becomes the caption.
    if (brwWebBrowser->LocationURL().contains(BlankPage))
        return;
    setWindowTitle(brwWebBrowser->LocationName());
}

void frmBrowser::Label61_Click()
{
    if (m_openHomePage)
        m_openHomePage();
}

void frmBrowser::tbToolBar_ButtonClick(const QString &key)
{
    NavigationToolbar::dispatch(key, brwWebBrowser);
}
