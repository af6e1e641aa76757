#pragma once
#include "LoadFailure.h"

#include <QString>
#include <QUrl>

// The pages that come with the program and the addresses by which the panes open them.
namespace BundledPages {

// The start page: what Somnilex is, and every shipped symbol.
QUrl startPage();

// The page shown in place of failed, saying why it could not be shown; status is the server's
// answer when reason is Status.
QUrl errorPage(const QUrl &failed, LoadFailure::Reason reason, int status = 0);

// The address that the error page at shown stands for; empty for any other page.
QUrl failedAddress(const QUrl &shown);

// Whether address names no real site: nothing usable, or a host under the reserved "example"
// domain, which is what a build that configured no site of its own carries.
bool isPlaceholderSite(const QString &address);

} // namespace BundledPages
