#include "NetworkConnectionProbe.h"
#include <QNetworkInformation>
#include <QNetworkInterface>

bool NetworkConnectionProbe::isOnline()
{
    if (QNetworkInformation::loadDefaultBackend()) {
        if (auto *info = QNetworkInformation::instance()) {
            switch (info->reachability()) {
            case QNetworkInformation::Reachability::Online:
                return true;
            case QNetworkInformation::Reachability::Disconnected:
            case QNetworkInformation::Reachability::Local:
            case QNetworkInformation::Reachability::Site:
                return false;
            case QNetworkInformation::Reachability::Unknown:
                break;
            }
        }
    }
    return anyInterfaceUp();
}

bool NetworkConnectionProbe::anyInterfaceUp()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp)
            || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (!iface.addressEntries().isEmpty())
            return true;
    }
    return false;
}
