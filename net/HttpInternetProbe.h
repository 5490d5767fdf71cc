// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/InternetProbe.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

namespace wv {

// The probe over Qt Network: one GET at a time, no cache, no cookies, redirects not followed
// (a redirect is what a captive portal answers), the proxy named by the environment's
// http_proxy/https_proxy (no automatic proxy discovery, which would send requests of its own),
// and at most kTimeoutMs for the whole answer. The network access manager is made at the first
// start, so a program that never probes never has one.
class HttpInternetProbe final : public QObject, public InternetProbe {
public:
    static constexpr int kTimeoutMs = 5000;
    // No more of the body is kept than this; the expected text is compared with its start.
    static constexpr qint64 kBodyLimit = 4096;

    explicit HttpInternetProbe(QObject* parent = nullptr);
    ~HttpInternetProbe() override;

    void start(const QUrl& url, const QByteArray& expect, Done done) override;
    void cancel() override;

private:
    void finish(const ProbeAnswer& answer);
    void onFinished();

    QNetworkAccessManager* manager_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    QUrl url_;
    QByteArray expect_;
    QByteArray body_;
    Done done_;
};

} // namespace wv
