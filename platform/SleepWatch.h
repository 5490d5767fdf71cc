// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Word from the system that it is about to sleep or has woken up. While the program holds a
// delay lock, the system waits with sleeping until the lock is released (or a few seconds
// have passed), so that the program can write down the moment first.
#include <QObject>

namespace wv {

class SleepWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SleepWatch() override = default;

    // Asks for the signal and takes the delay lock; without a sleep manager nothing comes.
    virtual void Start() = 0;
    // Gives the delay lock back: the system may sleep now. It is taken again after waking.
    virtual void ReleaseDelay() = 0;

signals:
    // true: the system is about to sleep; false: it has woken up.
    void prepareForSleep(bool sleeping);
};

} // namespace wv
