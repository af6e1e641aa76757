#include "modHelp.h"

#include "AppConfig.h"
#include "LinkOpener.h"

namespace modHelp {

void OpenHomePage(LinkOpener &links, const AppConfig &config)
{
    links.open(config.MainSiteAddress);
}

void OpenOnlineHelp(LinkOpener &links, const AppConfig &config)
{
    links.open(config.MainSiteAddress + QStringLiteral("/somnilex/somnilex-help.html"));
}

void OpenDownloadPage(LinkOpener &links, const AppConfig &config)
{
    links.open(config.MainSiteAddress + QStringLiteral("/somnilex/download-somnilex.html"));
}

void OpenDonatePage(LinkOpener &links, const AppConfig &config)
{
    links.open(config.HelpSiteAddress + QStringLiteral("/donate.html"));
}

void OpenFullBrandPage(LinkOpener &links, const AppConfig &config)
{
    links.open(config.HelpSiteAddress + QStringLiteral("/fully-branded.html"));
}

void OpenCoBrandPage(LinkOpener &links, const AppConfig &config)
{
    links.open(config.HelpSiteAddress + QStringLiteral("/co-brand.html"));
}

} // namespace modHelp
