#pragma once
#include <QString>
#include <QUrl>

// Which addresses the program's panes may show. A dictionary row's link comes from a file the
// user picked, so every address is untrusted: web pages, the blank page and the program's own
// bundled pages are shown, and nothing else (no local files, no inline documents, no browser
// internals, no script).
namespace LinkPolicy {

// http and https with a host, about:blank, and the bundled pages under qrc:/dreams/.
bool isShowable(const QUrl &url);

// A link as a dictionary row holds it: a whole address, scheme and all, that isShowable takes.
// A relative or empty link is refused, since what it would open is a guess.
bool isShowableLink(const QString &link);

} // namespace LinkPolicy
