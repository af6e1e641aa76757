#pragma once
#include <QString>

// What both web panes show instead of pages when the program started offline.
inline QString offlineNoticeText()
{
    return QStringLiteral("You must be connected to the internet in order to use this software.");
}
