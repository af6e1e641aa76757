#include "AppConfig.h"

AppConfig AppConfig::builtIn(const QString &applicationDir, const QString &applicationName)
{
    AppConfig config;
    config.MainSiteAddress = QStringLiteral(SOMNILEX_MAIN_SITE);
    config.HelpSiteAddress = QStringLiteral(SOMNILEX_HELP_SITE);
    config.SearchEngineAddress = QStringLiteral(SOMNILEX_SEARCH_ENGINE);
    config.SearchPartnerId = QStringLiteral(SOMNILEX_SEARCH_PARTNER);
    config.applicationDir = applicationDir;
    config.applicationName = applicationName;
    return config;
}

QString AppConfig::dictionaryPath() const
{
    return dictionaryFile.isEmpty() ? dictionaryPathIn(applicationDir) : dictionaryFile;
}

QString dictionaryPathIn(const QString &applicationDir)
{
    // A folder that already ends in a separator (the root) still gets one: the joined path
    // "//dream.dll" names the same file.
    return applicationDir + QLatin1Char('/') + QStringLiteral("dream.dll");
}
