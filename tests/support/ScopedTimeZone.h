// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

namespace wv::test {

// Sets the process's time zone (TZ) for as long as it lives, then gives the previous one back.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) : saved_(qgetenv("TZ")) { Set(zone); }
    ~ScopedTimeZone() {
        if (saved_.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", saved_);
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

    void Set(const char* zone) {
        qputenv("TZ", zone);
        tzset();
    }

private:
    QByteArray saved_;
};

} // namespace wv::test
