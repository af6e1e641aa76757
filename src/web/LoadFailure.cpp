#include "LoadFailure.h"

namespace LoadFailure {

namespace {

// The engine's network error codes that matter here.
enum NetError {
    Aborted = -3,
    TimedOut = -7,
    BlockedByClient = -20,
    NetworkChanged = -21,
    ConnectionClosed = -100,
    ConnectionReset = -101,
    ConnectionRefused = -102,
    ConnectionAborted = -103,
    ConnectionFailed = -104,
    NameNotResolved = -105,
    InternetDisconnected = -106,
    AddressUnreachable = -109,
    ConnectionTimedOut = -118,
    NameResolutionFailed = -137,
    FirstCertificateError = -299,
    LastCertificateError = -200,
    EmptyResponse = -324,
};

} // namespace

Reason classify(QWebEngineLoadingInfo::ErrorDomain domain, int code)
{
    switch (domain) {
    case QWebEngineLoadingInfo::NoErrorDomain:
        return Reason::None;
    case QWebEngineLoadingInfo::HttpStatusCodeDomain:
        return code >= 400 ? Reason::Status : Reason::None;
    case QWebEngineLoadingInfo::CertificateErrorDomain:
        return Reason::Certificate;
    case QWebEngineLoadingInfo::DnsErrorDomain:
        return Reason::Host;
    default:
        break;
    }
    switch (code) {
    // A stopped load, a download turned away, or an address the program refused: the pane
    // stays where it was and there is nothing to tell.
    case Aborted:
    case BlockedByClient:
        return Reason::None;
    case NameNotResolved:
    case NameResolutionFailed:
        return Reason::Host;
    case ConnectionRefused:
    case ConnectionClosed:
    case ConnectionReset:
    case ConnectionAborted:
    case ConnectionFailed:
    case EmptyResponse:
        return Reason::Refused;
    case TimedOut:
    case ConnectionTimedOut:
        return Reason::Timeout;
    case InternetDisconnected:
    case AddressUnreachable:
    case NetworkChanged:
        return Reason::Offline;
    default:
        break;
    }
    if (code >= FirstCertificateError && code <= LastCertificateError)
        return Reason::Certificate;
    return Reason::Unknown;
}

QString name(Reason reason)
{
    switch (reason) {
    case Reason::Host:
        return QStringLiteral("host");
    case Reason::Refused:
        return QStringLiteral("refused");
    case Reason::Timeout:
        return QStringLiteral("timeout");
    case Reason::Offline:
        return QStringLiteral("offline");
    case Reason::Certificate:
        return QStringLiteral("certificate");
    case Reason::Status:
        return QStringLiteral("status");
    case Reason::None:
    case Reason::Unknown:
        break;
    }
    return {};
}

} // namespace LoadFailure
