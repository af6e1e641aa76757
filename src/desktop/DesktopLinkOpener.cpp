#include "DesktopLinkOpener.h"
#include <QDesktopServices>
#include <QUrl>

void DesktopLinkOpener::open(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}
