#pragma once
#include <QString>

// The small search form that the browser window writes into an empty page and submits, so that
// the web view itself sends the query to the search engine.
namespace SearchPage {

// The whole page, 22 lines, each ending in CR LF. engineAddress is scheme and host without a
// trailing "/"; partnerId is sent as the hidden field "client".
QString text(const QString &engineAddress, const QString &partnerId);

} // namespace SearchPage
