// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/SleepWatch.h"

#include <QDBusUnixFileDescriptor>

namespace wv {

// systemd-logind on the system bus: the PrepareForSleep signal of org.freedesktop.login1 and
// a "delay" inhibitor lock for "sleep", held as a file descriptor. Every call is
// asynchronous: a missing bus or a missing logind costs nothing.
class LogindSleepWatch final : public SleepWatch {
    Q_OBJECT
public:
    using SleepWatch::SleepWatch;

    void Start() override;
    void ReleaseDelay() override;
    bool HoldsDelay() const { return lock_.isValid(); }

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    void takeDelay();

    QDBusUnixFileDescriptor lock_;
    bool asking_ = false;
};

} // namespace wv
