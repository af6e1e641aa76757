#pragma once
#include <QString>
#include <QWebEngineLoadingInfo>

// Why a page could not be shown, in the few words the error page knows.
namespace LoadFailure {

enum class Reason {
    None, // not a failure to tell: stopped, or refused by the program itself
    Unknown,
    Host,
    Refused,
    Timeout,
    Offline,
    Certificate,
    Status, // the server answered with an error status
};

Reason classify(QWebEngineLoadingInfo::ErrorDomain domain, int code);

// The reason as the error page's address names it; empty for None and Unknown.
QString name(Reason reason);

} // namespace LoadFailure
