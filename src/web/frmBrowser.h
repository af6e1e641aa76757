#pragma once
#include "Twips.h"
#include <QWidget>
#include <functional>

struct AppConfig;
struct AppState;

// The browser window in which web searches run. Every web search closes it and opens a new one.
class frmBrowser : public QWidget
{
    Q_OBJECT
public:
    // searchText reads the main window's search box.
    frmBrowser(const AppConfig &config, AppState &state, std::function<QString()> searchText,
               QWidget *parent = nullptr);

    void Form_Load(const FrameMetrics &frame);
    void Form_Resize(const FrameMetrics &frame);

    // The term the search page submits.
    QString QueryString;

private:
    const AppConfig &m_config;
    AppState &m_state;
    std::function<QString()> m_searchText;
};
