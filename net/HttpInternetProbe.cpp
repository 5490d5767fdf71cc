// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/HttpInternetProbe.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace wv {

namespace {
// The environment's proxy settings, read afresh for every request.
class EnvironmentProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return {ProxyFromEnvironment(query.url(), [](const char* name) { return qgetenv(name); })};
    }
};
} // namespace

HttpInternetProbe::HttpInternetProbe(QObject* parent) : QObject(parent) {
    deadline_.setSingleShot(true);
    deadline_.setInterval(kTimeoutMs);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        ProbeAnswer a;
        a.reason = QStringLiteral("no answer within %1 s").arg(kTimeoutMs / 1000);
        finish(a);
    });
}

HttpInternetProbe::~HttpInternetProbe() {
    cancel();
}

void HttpInternetProbe::start(const QUrl& url, const QByteArray& expect, Done done) {
    cancel();
    url_ = url;
    expect_ = expect;
    body_.clear();
    done_ = std::move(done);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        // Answered from the event loop like any other answer, and nothing is sent.
        ProbeAnswer a;
        a.reason = QStringLiteral("not an http:// or https:// address");
        QTimer::singleShot(0, this, [this, a] {
            if (done_)
                finish(a);
        });
        return;
    }
    if (!manager_) {
        manager_ = new QNetworkAccessManager(this);
        manager_->setProxyFactory(new EnvironmentProxyFactory);
        manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // A new connection each time: a kept-alive one says nothing about the path now.
    request.setRawHeader("Connection", "close");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Wirevane"));
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, [this] {
        if (!reply_)
            return;
        const QByteArray chunk = reply_->readAll();
        body_.append(chunk.left(kBodyLimit - body_.size()));
    });
    connect(reply_, &QNetworkReply::finished, this, &HttpInternetProbe::onFinished);
    deadline_.start();
}

void HttpInternetProbe::cancel() {
    deadline_.stop();
    done_ = nullptr;
    if (QNetworkReply* r = reply_) {
        reply_ = nullptr;
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
}

void HttpInternetProbe::onFinished() {
    QNetworkReply* r = reply_;
    if (!r)
        return;
    body_.append(r->readAll().left(kBodyLimit - body_.size()));
    const QVariant status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    ProbeAnswer a;
    if (status.isValid()) {
        a = ClassifyHttpAnswer(status.toInt(), body_, expect_, url_, r->rawHeader("Location"));
    } else {
        a.reason = r->errorString();
    }
    finish(a);
}

void HttpInternetProbe::finish(const ProbeAnswer& answer) {
    Done done = std::move(done_);
    cancel(); // the reply goes, and a late signal of it finds nothing to do
    if (done)
        done(answer);
}

} // namespace wv
