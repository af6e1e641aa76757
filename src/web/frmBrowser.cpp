#include "frmBrowser.h"

#include "AppState.h"

frmBrowser::frmBrowser(const AppConfig &config, AppState &state,
                       std::function<QString()> searchText, QWidget *parent)
    : QWidget(parent), m_config(config), m_state(state), m_searchText(std::move(searchText))
{
    setWindowTitle(QStringLiteral("Somnilex v1.65"));
}

void frmBrowser::Form_Load(const FrameMetrics &frame)
{
    Form_Resize(frame);
    QueryString = m_searchText();
}

void frmBrowser::Form_Resize(const FrameMetrics &) { }
