#pragma once
#include <QUrl>

// Which addresses the panes may show. Every page is untrusted (a Link comes from a file the user
// picked), so the panes load only the web, the empty page and the program's own bundled pages,
// and the web never reaches the bundled pages or the disk.
namespace NavigationPolicy {

// Whether a pane may open target. from is the page that asks for it; empty when the program
// itself asks (a lookup, a toolbar command, a step through the history).
bool allows(const QUrl &target, const QUrl &from);

// Whether the page at from may fetch target as a part of itself (an image, a style sheet, a
// script, a frame): anything the web offers, but nothing from the disk, and the bundled pages
// only to themselves.
bool allowsResource(const QUrl &target, const QUrl &from);

// An http or https address with a host.
bool isWebAddress(const QUrl &url);
// One of the pages bundled with the program, qrc:/dreams/...
bool isBundledPage(const QUrl &url);

} // namespace NavigationPolicy
