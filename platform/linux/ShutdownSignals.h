// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QObject>
#include <QString>

#include <csignal>
#include <vector>

class QSocketNotifier;

namespace wv {

// Turns SIGTERM, SIGHUP and SIGINT into one Qt signal on the thread that owns this object (the
// GUI thread). SIGHUP and SIGINT stay ignored when the process was started with them ignored
// (`nohup`, a background job of a script), as command-line programs do. The signal handler only
// writes the signal's number into a pipe; a QSocketNotifier reads it in the event loop, so nothing
// unsafe runs inside the handler.
//
// shutdownRequested() is emitted once per installation: signals arriving while or after the
// first is handled are read and dropped, so a second Ctrl+C or a SIGTERM following a SIGHUP can
// never start a second close. Only one instance can be installed at a time in the process.
//
// CatchEarly() sets up the pipe and the handlers at the very start of the process, before any Qt
// object exists; signals caught then wait in the pipe, and the first Install() takes them over
// and reports them once the event loop runs.
class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    // Sets up the pipe and the handlers. False when another instance is installed or the pipe or
    // a handler cannot be set up (then nothing stays installed). Installing again after
    // Uninstall() starts afresh: the next signal is reported again.
    bool Install();
    // Puts back the handlers that were there before Install() and closes the pipe.
    void Uninstall();
    // Stops reporting (the notifier goes, for instance before the application object does) but
    // keeps catching: later signals are read by nobody and end nothing.
    void StopListening();
    bool IsInstalled() const { return installed_; }
    // Whether shutdownRequested() has been emitted since Install().
    bool HasFired() const { return fired_; }

    // The signals that are caught.
    static const std::vector<int>& CaughtSignals();

    // Catches the signals from now on, for the next Install() to take over. Async-signal-safe
    // calls only, allocates nothing: fit for the first moments of the process. True when the
    // signals are caught (also when they already were).
    static bool CatchEarly();
    // The first signal caught since catching began (early or by Install()), 0 for none.
    static int ArrivedSignal();
    // Who sent the reported signal: "process 1234 (bash)", empty when the kernel sent it or it
    // is not known. Read when the signal is reported, while the sender most likely still runs.
    QString Sender() const { return sender_; }
    // "process PID (NAME)" for a process id, "this process", or empty for 0.
    static QString SenderOf(int pid);

signals:
    void shutdownRequested(int signal);

private:
    void readPipe();
    // Puts back the previous handlers and closes the pipe.
    void restoreAndClose();

    QSocketNotifier* notifier_ = nullptr;
    int readFd_ = -1;
    bool installed_ = false;
    bool fired_ = false;
    QString sender_;
    std::vector<struct sigaction> previous_;
};

} // namespace wv
