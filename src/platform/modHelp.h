#pragma once

class LinkOpener;
struct AppConfig;

// The maker's pages, each opened in the default browser by one routine. The opener's result is
// not looked at.
namespace modHelp {

void OpenHomePage(LinkOpener &links, const AppConfig &config);
void OpenOnlineHelp(LinkOpener &links, const AppConfig &config);
void OpenDownloadPage(LinkOpener &links, const AppConfig &config);
void OpenDonatePage(LinkOpener &links, const AppConfig &config);
void OpenFullBrandPage(LinkOpener &links, const AppConfig &config);
void OpenCoBrandPage(LinkOpener &links, const AppConfig &config);

} // namespace modHelp
