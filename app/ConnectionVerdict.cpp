// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/ConnectionVerdict.h"

#include <QElapsedTimer>

#include <algorithm>

namespace wv {

TConnectionVerdict::TConnectionVerdict(ProbeFactory makeProbe, QObject* parent)
    : QObject(parent), makeProbe_(std::move(makeProbe)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { RunTimer(); });
    nowMs_ = [] {
        static QElapsedTimer since;
        if (!since.isValid())
            since.start();
        return since.elapsed();
    };
}

TConnectionVerdict::~TConnectionVerdict() {
    stop();
}

bool TConnectionVerdict::IPnotLocal(TWay way, const QString& ip, const QStringList& local,
                                    const std::function<QString()>& primary) {
    switch (way) {
    case TWay::List:
        return !local.contains(ip); // exact text, every entry
    case TWay::LocalIP:
        return ip != primary();
    case TWay::Internet:
    case TWay::None:
        break;
    }
    // With no rule to call an address local, every address counts as internet, as an empty
    // list would.
    return true;
}

bool TConnectionVerdict::hasAddress(const QString& ip) {
    return !ip.isEmpty() && !ip.startsWith(QLatin1String("127."));
}

TStatus TConnectionVerdict::Decide(const QString& ip, bool monitorOnline, const QStringList& local,
                                   const std::function<QString()>& primary) const {
    if (way_ != TWay::Internet)
        return monitorOnline && IPnotLocal(way_, ip, local, primary) ? TStatus::Online
                                                                     : TStatus::Offline;
    if (!hasAddress(ip))
        return TStatus::Offline;
    switch (state_) {
    case ProbeAnswer::Kind::Internet:
        return TStatus::Online;
    case ProbeAnswer::Kind::CaptivePortal:
        return TStatus::SignInRequired;
    case ProbeAnswer::Kind::NoInternet:
        break;
    }
    return TStatus::Offline;
}

void TConnectionVerdict::SetWay(TWay way, const QString& ip) {
    if (way == way_)
        return;
    stop();
    way_ = way;
    address_ = hasAddress(ip);
    if (way_ == TWay::Internet && address_)
        probeNow();
}

void TConnectionVerdict::SetSettings(const TProbeSettings& settings) {
    TProbeSettings s = settings;
    s.intervalSecs = std::max(s.intervalSecs, TProbeSettings::kMinIntervalSecs);
    if (s == settings_)
        return;
    settings_ = s;
    if (way_ == TWay::Internet && address_)
        probeNow();
}

void TConnectionVerdict::ReadingChanged(const QString& ip) {
    if (way_ != TWay::Internet)
        return;
    address_ = hasAddress(ip);
    if (address_) {
        probeNow(); // what the last probe said was about the path before this change
        return;
    }
    // No address: offline at once (Decide says so); the answers so far are forgotten, and the
    // next address is probed when it comes.
    stop();
}

void TConnectionVerdict::RunTimer() {
    timer_.stop();
    if (way_ == TWay::Internet && address_)
        probeNow();
}

void TConnectionVerdict::stop() {
    timer_.stop();
    if (probe_)
        probe_->cancel();
    probing_ = false;
    confirming_ = false;
    state_ = ProbeAnswer::Kind::NoInternet;
    signInPage_.clear();
    told_ = false;
}

void TConnectionVerdict::probeNow() {
    timer_.stop();
    if (!probe_)
        probe_ = makeProbe_();
    probing_ = true;
    startedAt_ = nowMs_();
    probe_->start(QUrl(settings_.url), settings_.expect.toUtf8(),
                  [this](const ProbeAnswer& a) { answered(a); });
}

void TConnectionVerdict::schedule(qint64 delayMs) {
    timer_.start(static_cast<int>(std::clamp<qint64>(delayMs, 0, 24 * 3600 * 1000)));
}

void TConnectionVerdict::answered(const ProbeAnswer& answer) {
    probing_ = false;
    const ProbeAnswer::Kind before = state_;
    const QUrl pageBefore = signInPage_;
    const qint64 sinceStart = nowMs_() - startedAt_;
    using Kind = ProbeAnswer::Kind;
    if (answer.kind == Kind::NoInternet && state_ == Kind::Internet && !confirming_) {
        // One lost answer is no outage: ask once more before it counts.
        confirming_ = true;
        schedule(kConfirmDelayMs);
        return;
    }
    confirming_ = false;
    state_ = answer.kind;
    signInPage_ = answer.kind == Kind::CaptivePortal ? answer.signInPage : QUrl();
    const qint64 period = state_ == Kind::Internet ? qint64(settings_.intervalSecs) * 1000
                                                   : qint64(kNotOnlineIntervalMs);
    schedule(period - sinceStart);
    // The first answer after a start is always told: what the window shows may have come from
    // another way.
    if ((state_ != before || signInPage_ != pageBefore || !told_) && OnChanged) {
        told_ = true;
        OnChanged();
    }
}

} // namespace wv
