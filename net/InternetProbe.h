// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QString>
#include <QUrl>

#include <functional>

namespace wv {

// What one probe of the internet found.
struct ProbeAnswer {
    enum class Kind {
        Internet,      // the expected answer came
        CaptivePortal, // something in the way answered instead: a sign-in page
        NoInternet,    // no answer, an error, or a status that means nothing here
    };
    Kind kind = Kind::NoInternet;
    QUrl signInPage; // CaptivePortal only: the redirect's target, else the probe's own address
    QString reason;  // a few words for the curious: "HTTP 204", "timed out", ...
};

// One HTTP GET that tells whether the internet answers. start() returns at once; the answer
// comes later from the event loop, through `done`, exactly once per start unless cancel() (or
// another start(), or the probe's destruction) comes first, in which case it never comes.
class InternetProbe {
public:
    using Done = std::function<void(const ProbeAnswer&)>;

    virtual ~InternetProbe() = default;

    // `expect`: the body the answer must begin with; empty means an HTTP 204 is required.
    virtual void start(const QUrl& url, const QByteArray& expect, Done done) = 0;
    virtual void cancel() = 0;
};

// The rule that turns an HTTP answer into a verdict, as NetworkManager's connectivity check
// does: 204, or 200 whose body begins with `expect` (not empty), is the internet; any 3xx, 511
// or another 200 is a captive portal, whose sign-in page is `location` (resolved against `url`)
// or else `url`; any other status is no internet.
ProbeAnswer ClassifyHttpAnswer(int status, const QByteArray& bodyStart, const QByteArray& expect,
                               const QUrl& url, const QByteArray& location);

// The proxy the environment names for `url` (http_proxy / HTTP_PROXY for http, https_proxy /
// HTTPS_PROXY for https, the lower-case name first; no_proxy / NO_PROXY lists hosts or domain
// suffixes that go direct, "*" for all), or none. `env` looks a variable up.
QNetworkProxy ProxyFromEnvironment(const QUrl& url,
                                   const std::function<QByteArray(const char*)>& env);

} // namespace wv
