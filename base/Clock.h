// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QDateTime>

namespace wv {

// Where the program reads the time of day; tests put a fixed or stepping clock in its place.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime t = QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))) : t_(t) {}
    QDateTime now() const override { return t_; }
    void set(const QDateTime& t) { t_ = t; }
    void advanceSecs(qint64 s) { t_ = t_.addSecs(s); }

private:
    QDateTime t_;
};

} // namespace wv
