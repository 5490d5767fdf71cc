// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The probe's rules: how an HTTP answer reads, and which proxy the environment names.
#include "net/InternetProbe.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace wv {
namespace {

using Kind = ProbeAnswer::Kind;
const QUrl kUrl("http://198.51.100.1:8080/nm");

TEST(ClassifyHttpAnswer, StatusBodyAndExpectedText) {
    struct Case {
        int status;
        const char* body;
        const char* expect;
        const char* location;
        Kind want;
        const char* page; // the sign-in page for a portal
    };
    const Case cases[] = {
        {204, "", "NetworkManager is online", "", Kind::Internet, ""},
        {200, "NetworkManager is online\n", "NetworkManager is online", "", Kind::Internet, ""},
        {200, "NetworkManager is", "NetworkManager is online", "", Kind::CaptivePortal,
         "http://198.51.100.1:8080/nm"},
        {200, "", "", "", Kind::CaptivePortal, "http://198.51.100.1:8080/nm"}, // 204 required
        {302, "", "x", "http://198.51.100.1/login?x=1", Kind::CaptivePortal,
         "http://198.51.100.1/login?x=1"},
        {307, "", "x", "/portal", Kind::CaptivePortal, "http://198.51.100.1:8080/portal"},
        {301, "", "x", "javascript:alert(1)", Kind::CaptivePortal, "http://198.51.100.1:8080/nm"},
        {511, "", "x", "", Kind::CaptivePortal, "http://198.51.100.1:8080/nm"},
        {404, "NetworkManager is online", "NetworkManager is online", "", Kind::NoInternet, ""},
        {500, "", "", "", Kind::NoInternet, ""},
    };
    for (const Case& c : cases) {
        const ProbeAnswer a = ClassifyHttpAnswer(c.status, c.body, c.expect, kUrl, c.location);
        EXPECT_EQ(a.kind, c.want) << c.status << " " << c.body;
        EXPECT_EQ(a.signInPage, QUrl(QString::fromLatin1(c.page))) << c.status << c.location;
    }
}

TEST(ProxyFromEnvironment, NamedProxyUnlessTheHostIsExempt) {
    struct Case {
        std::map<std::string, QByteArray> env;
        const char* url;
        QNetworkProxy::ProxyType type;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {{}, "http://198.51.100.1/", QNetworkProxy::NoProxy, "", 0},
        {{{"http_proxy", "http://192.0.2.9:3128/"}},
         "http://198.51.100.1/",
         QNetworkProxy::HttpProxy,
         "192.0.2.9",
         3128},
        {{{"HTTP_PROXY", "192.0.2.9"}},
         "http://198.51.100.1/",
         QNetworkProxy::HttpProxy,
         "192.0.2.9",
         8080},
        {{{"http_proxy", "socks5://192.0.2.9"}},
         "http://198.51.100.1/",
         QNetworkProxy::Socks5Proxy,
         "192.0.2.9",
         1080},
        {{{"http_proxy", "192.0.2.9:3128"}},
         "https://198.51.100.1/",
         QNetworkProxy::NoProxy,
         "",
         0},
        {{{"https_proxy", "192.0.2.9:3128"}},
         "https://198.51.100.1/",
         QNetworkProxy::HttpProxy,
         "192.0.2.9",
         3128},
        {{{"http_proxy", "192.0.2.9:3128"}, {"no_proxy", "localhost, .example.org"}},
         "http://check.example.org/",
         QNetworkProxy::NoProxy,
         "",
         0},
        {{{"http_proxy", "192.0.2.9:3128"}, {"no_proxy", "example.org"}},
         "http://badexample.org/",
         QNetworkProxy::HttpProxy,
         "192.0.2.9",
         3128},
        {{{"http_proxy", "192.0.2.9:3128"}, {"NO_PROXY", "*"}},
         "http://198.51.100.1/",
         QNetworkProxy::NoProxy,
         "",
         0},
        {{{"http_proxy", "ftp://192.0.2.9"}},
         "http://198.51.100.1/",
         QNetworkProxy::NoProxy,
         "",
         0},
    };
    for (const Case& c : cases) {
        const QNetworkProxy p = ProxyFromEnvironment(QUrl(c.url), [&](const char* name) {
            const auto it = c.env.find(name);
            return it == c.env.end() ? QByteArray() : it->second;
        });
        EXPECT_EQ(p.type(), c.type) << c.url;
        if (c.type != QNetworkProxy::NoProxy) {
            EXPECT_EQ(p.hostName(), c.host) << c.url;
            EXPECT_EQ(p.port(), c.port) << c.url;
        }
    }
}

} // namespace
} // namespace wv
