// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The system's clocks as a test sets them: wall, monotonic and boot-time clocks move by hand,
// a sleep moves the boot-time clock alone, and the zone can change.
#include "platform/SleepWatch.h"
#include "platform/SystemClocks.h"

namespace wv {

class FakeSystemClocks final : public SystemClocks {
public:
    ClockReading Read() const override { return r_; }
    ClockReading& Reading() { return r_; }
    // Time passes while the computer is awake.
    void Pass(qint64 ms) {
        r_.wallMs += ms;
        r_.monotonicMs += ms;
        r_.boottimeMs += ms;
    }
    // The computer sleeps: the monotonic clock stands still.
    void Sleep(qint64 ms) {
        r_.wallMs += ms;
        r_.boottimeMs += ms;
    }
    void SetWall(qint64 ms) { r_.wallMs = ms; }
    void SetZone(const QByteArray& zone, int utcOffset) {
        r_.zone = zone;
        r_.utcOffset = utcOffset;
    }

private:
    ClockReading r_{1780300800000LL, 1000, 1000, 7200, "Europe/Berlin"}; // 1/6/26 10:00 Berlin
};

// A sleep manager whose word the test gives; it counts the delay locks it gave back.
class FakeSleepWatch final : public SleepWatch {
public:
    void Start() override { started = true; }
    void ReleaseDelay() override { ++released; }
    void Say(bool sleeping) {
        emit prepareForSleep(sleeping);
        if (sleeping)
            ReleaseDelay();
    }
    bool started = false;
    int released = 0;
};

} // namespace wv
