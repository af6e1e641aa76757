#include "frmMain.h"

#include "AppConfig.h"
#include "AppState.h"
#include "BundledPages.h"
#include "OfflineNotice.h"
#include "SubWindowSize.h"
#include "TextRules.h"
#include "Version.h"
#include "WebView.h"

#include <QLabel>
#include <QMdiSubWindow>

frmMain::frmMain(WebProfile &profile, const AppConfig &config, AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_config(config)
    , m_state(state)
{
    setWindowTitle(Version::paneCaption());
    setAccessibleName(tr("Meaning"));
    resize(QSize(Twips::toPixels(7965), Twips::toPixels(6420)));

    WB = new WebView(profile, this);
    WB->setAccessibleName(tr("Meaning page"));
    WB->setGeometry(0, 0, Twips::toPixels(4995), Twips::toPixels(4005));
    // Home goes where start-up went.
    WB->setHomePage(BundledPages::isPlaceholderSite(config.MainSiteAddress)
            ? BundledPages::startPage().toString()
            : config.MainSiteAddress);
    WB->setSearchPage(config.SearchEngineAddress);

    lblCaption = new QLabel(offlineNoticeText(), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setGeometry(TwipsRect { 240, 0, 5805, 195 }.toPixels());
    lblCaption->adjustSize();
    lblCaption->hide();

    connect(WB, &WebView::NetworkNeeded, this, &frmMain::showNotice);
    connect(WB, &WebView::DocumentComplete, this, &frmMain::showPage);
}

void frmMain::showPage()
{
    WB->show();
    lblCaption->hide();
}

void frmMain::showNotice()
{
    WB->hide();
    lblCaption->show();
}

void frmMain::Form_Resize(const PaneGeometry &geometry)
{
    // Inside the main window the pane sits in a frameless sub-window: size that.
    SubWindowSize::resize(this, geometry.outer.width, geometry.outer.height);
    QSize web = WB->size();
    web.setWidth(width());
    if (geometry.pageHeight >= 0)
        web.setHeight(Twips::toPixels(geometry.pageHeight));
    WB->resize(web);
}

void frmMain::Form_Load(const PaneGeometry &geometry, const QString &searchText)
{
    Form_Resize(geometry);
    const bool online = m_state.IsOnline == 1;
    WB->setOffline(!online);
    showPage();
    if (m_state.CurrentTerm.isEmpty()) {
        // A placeholder site is never tried: its failure is certain and would greet every new
        // user with an error.
        if (online && !BundledPages::isPlaceholderSite(m_config.MainSiteAddress)) {
            m_state.CurrentTerm = m_config.MainSiteAddress;
            WB->NavigateWithFallback(m_state.CurrentTerm, BundledPages::startPage());
        } else {
            WB->Navigate(BundledPages::startPage().toString());
        }
    } else if (m_state.CurrentTerm == m_config.SearchEngineAddress) {
        WB->Navigate(TextRules::trimSpaces(searchText));
    } else {
        WB->Navigate(m_state.CurrentTerm);
    }
    m_state.CurrentTerm.clear();
}

void frmMain::Navigate(const QString &address)
{
    WB->Navigate(address);
}
