// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The verdict of the three ways of deciding whether the computer is online, without widgets:
// the window tells it which way is chosen and what the monitor read, and shows what it answers.

#include "net/InternetProbe.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

namespace wv {

enum class TWay {
    List,     // "IP's List": online unless the address is one the user marked as local
    LocalIP,  // "Local IP": online when the host's last address differs from its first
    Internet, // "Internet check": an address, and the latest probe got the expected answer
    None,     // no way chosen (only a hand-edited settings file gives that)
};

enum class TStatus { Online, Offline, SignInRequired };

// Where and how often the internet check asks, as the settings file holds it.
struct TProbeSettings {
    // What NetworkManager asks on Debian (network-manager-config-connectivity-debian), and
    // NetworkManager's answer when its configuration names none.
    static constexpr const char* kDefaultUrl = "http://network-test.debian.org/nm";
    static constexpr const char* kDefaultExpect = "NetworkManager is online";
    static constexpr int kDefaultIntervalSecs = 30;
    static constexpr int kMinIntervalSecs = 5;

    QString url = QString::fromLatin1(kDefaultUrl);
    QString expect = QString::fromLatin1(kDefaultExpect); // empty: an HTTP 204 is required
    int intervalSecs = kDefaultIntervalSecs;              // while online; at least kMin...

    bool operator==(const TProbeSettings&) const = default;
};

// Decides the status by the chosen way. The internet check runs its own probes: at once when
// it is chosen and whenever the host's address reading changes, then every intervalSecs while
// the answer is the internet and every kNotOnlineIntervalMs otherwise, counted from the start
// of the previous probe. A failure after a good answer is confirmed by one more probe
// kConfirmDelayMs later before it counts. Without an address (none, or only 127.x.x.x) nothing
// is probed and the verdict is offline at once. With another way chosen nothing is probed.
class TConnectionVerdict final : public QObject {
    Q_OBJECT
public:
    static constexpr int kNotOnlineIntervalMs = 5000;
    static constexpr int kConfirmDelayMs = 2000;

    using ProbeFactory = std::function<std::unique_ptr<InternetProbe>()>;

    // The probe is made by `makeProbe` at the first probe, so a program that never chooses the
    // internet check never makes one.
    explicit TConnectionVerdict(ProbeFactory makeProbe, QObject* parent = nullptr);
    ~TConnectionVerdict() override;

    // The rule of the two address ways: whether `ip` counts as internet. `local`: the addresses
    // marked as local; `primary`: the host's first address, asked for by "Local IP" only.
    static bool IPnotLocal(TWay way, const QString& ip, const QStringList& local,
                           const std::function<QString()>& primary);

    // The status for the monitor's reading (`ip`, and its online flag) by the chosen way.
    TStatus Decide(const QString& ip, bool monitorOnline, const QStringList& local,
                   const std::function<QString()>& primary) const;

    TWay Way() const { return way_; }
    // Choosing the internet check starts its probes (the first at once when `ip` is an address);
    // choosing another way stops them and forgets their answers. Choosing the same way again
    // changes nothing.
    void SetWay(TWay way, const QString& ip);
    const TProbeSettings& Settings() const { return settings_; }
    // New settings while the internet check runs: a probe at once with them.
    void SetSettings(const TProbeSettings& settings);

    // The monitor's address reading changed to `ip`.
    void ReadingChanged(const QString& ip);

    // The page that a captive portal's sign-in happens on (valid while SignInRequired).
    QUrl SignInPage() const { return signInPage_; }
    // A probe is out now.
    bool Probing() const { return probing_; }

    // Called from the event loop when a probe's answer changed what Decide gives.
    std::function<void()> OnChanged;

    // For tests: when the next probe is due (ms from when it was armed; -1 when none is), and
    // running it now as the timer would; the monotonic clock in milliseconds.
    int PendingDelayMs() const { return timer_.isActive() ? timer_.interval() : -1; }
    void RunTimer();
    void SetMonotonicClock(std::function<qint64()> nowMs) { nowMs_ = std::move(nowMs); }

private:
    static bool hasAddress(const QString& ip);
    void stop();
    void probeNow();
    void answered(const ProbeAnswer& answer);
    void schedule(qint64 delayMs);

    ProbeFactory makeProbe_;
    std::unique_ptr<InternetProbe> probe_;
    TWay way_ = TWay::List;
    TProbeSettings settings_;
    bool address_ = false; // the latest reading has an address to probe from
    ProbeAnswer::Kind state_ = ProbeAnswer::Kind::NoInternet;
    QUrl signInPage_;
    bool probing_ = false;
    bool confirming_ = false; // the probe out or due is the confirmation of a failure
    bool told_ = false;       // an answer since the last start was told
    qint64 startedAt_ = 0;
    QTimer timer_;
    std::function<qint64()> nowMs_;
};

} // namespace wv
