// The error page's own script. The query string names the address that failed and why:
//   error.html?url=ADDRESS&reason=host|refused|timeout|offline|certificate|status[&status=N]
// Both come from whatever the failed page was, so they are shown as text only, and Retry
// goes only to a web address.
(function () {
    'use strict';

    var STATUS_NAMES = {
        400: 'Bad Request', 401: 'Unauthorized', 403: 'Forbidden', 404: 'Not Found',
        405: 'Method Not Allowed', 408: 'Request Timeout', 410: 'Gone', 429: 'Too Many Requests',
        500: 'Internal Server Error', 501: 'Not Implemented', 502: 'Bad Gateway',
        503: 'Service Unavailable', 504: 'Gateway Timeout'
    };

    // The address as a web address, or null when it is anything else (javascript:, data:,
    // a file, our own pages, no address at all).
    function webAddress(text) {
        try {
            var url = new URL(text);
            return url.protocol === 'http:' || url.protocol === 'https:' ? url : null;
        } catch (e) {
            return null;
        }
    }

    function describe(reason, status, url) {
        var site = url ? 'The site ' + url.hostname : 'The site';
        switch (reason) {
        case 'host':
            return (url ? 'No computer answers to the name ' + url.hostname
                        : 'No computer answers to the site\u2019s name')
                + ' (no such host). The name may be mistyped, or the site may no longer exist.';
        case 'refused':
            return site + ' refused the connection. It may be down for now.';
        case 'timeout':
            return site + ' took too long to answer (timed out). It may be busy, or the '
                + 'connection slow.';
        case 'offline':
            return 'This computer is not connected to the internet (no connection).';
        case 'certificate':
            return site + ' showed a security certificate that could not be trusted, so the '
                + 'page was not opened.';
        case 'status':
            var code = /^[1-5][0-9][0-9]$/.test(status) ? Number(status) : 0;
            if (code)
                return site + ' answered with an error: status ' + code
                    + (STATUS_NAMES[code] ? ' (' + STATUS_NAMES[code] + ')' : '') + '.';
            return site + ' answered with an error.';
        default:
            return 'The page could not be loaded.';
        }
    }

    function start() {
        var params = new URLSearchParams(location.search);
        var address = params.get('url') || '';
        var url = webAddress(address);
        if (address) {
            document.getElementById('address').textContent = address;
            document.getElementById('address-line').hidden = false;
        }
        document.getElementById('reason').textContent =
            describe(params.get('reason') || '', params.get('status') || '', url);
        if (url) {
            var retry = document.getElementById('retry');
            retry.hidden = false;
            // In place of this page, so that Back leads to the page before the failure.
            retry.addEventListener('click', function () {
                location.replace(url.href);
            });
        }
    }

    if (document.readyState === 'loading')
        document.addEventListener('DOMContentLoaded', start);
    else
        start();
})();
