// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/ShutdownSignals.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace wv {

namespace {

// The write end of the pipe, read by the signal handler; -1 while nothing is installed.
volatile sig_atomic_t g_writeFd = -1;
// The first signal caught since catching began, and the process that sent it (0: the kernel or
// unknown).
volatile sig_atomic_t g_firstSignal = 0;
volatile sig_atomic_t g_firstSender = 0;

// What CatchEarly() set up, until Install() takes it over.
constexpr int kCaughtCount = 3;
const int kCaught[kCaughtCount] = {SIGTERM, SIGHUP, SIGINT};
int g_earlyReadFd = -1;
struct sigaction g_earlyPrevious[kCaughtCount];

extern "C" void onShutdownSignal(int sig, siginfo_t* info, void* /*context*/) {
    const int savedErrno = errno;
    if (g_firstSignal == 0) {
        // Only a signal sent by a process (kill, tgkill, sigqueue) names its sender.
        if (info &&
            (info->si_code == SI_USER || info->si_code == SI_TKILL || info->si_code == SI_QUEUE))
            g_firstSender = static_cast<sig_atomic_t>(info->si_pid);
        g_firstSignal = sig;
    }
    const int fd = g_writeFd;
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(sig);
        // The pipe does not block: when it is full, a signal is already waiting to be read.
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

// Catches SIG with onShutdownSignal, keeping what was there in OLD. A hang-up or interrupt that
// the starting process chose to ignore (nohup, a background job of a script) stays ignored: that
// process wants the program to outlive its terminal. Async-signal-safe.
bool catchSignal(int sig, struct sigaction* old) {
    if (::sigaction(sig, nullptr, old) != 0)
        return false;
    if (sig != SIGTERM && old->sa_handler == SIG_IGN)
        return true;
    struct sigaction action {};
    action.sa_sigaction = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    return ::sigaction(sig, &action, nullptr) == 0;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {}

ShutdownSignals::~ShutdownSignals() {
    Uninstall();
}

const std::vector<int>& ShutdownSignals::CaughtSignals() {
    static const std::vector<int> caught(kCaught, kCaught + kCaughtCount);
    return caught;
}

bool ShutdownSignals::CatchEarly() {
    if (g_writeFd >= 0)
        return true;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    g_firstSignal = 0;
    g_firstSender = 0;
    g_earlyReadFd = fds[0];
    g_writeFd = fds[1];

    for (int i = 0; i < kCaughtCount; ++i) {
        if (!catchSignal(kCaught[i], &g_earlyPrevious[i])) {
            for (int j = 0; j < i; ++j)
                ::sigaction(kCaught[j], &g_earlyPrevious[j], nullptr);
            g_writeFd = -1;
            ::close(fds[1]);
            ::close(fds[0]);
            g_earlyReadFd = -1;
            return false;
        }
    }
    return true;
}

int ShutdownSignals::ArrivedSignal() {
    return g_firstSignal;
}

QString ShutdownSignals::SenderOf(int pid) {
    if (pid <= 0)
        return QString();
    if (pid == ::getpid())
        return QStringLiteral("this process");
    // The sender's name as the kernel keeps it; a sender that is gone already keeps its number.
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    QString name;
    if (comm.open(QIODevice::ReadOnly))
        name = QString::fromLocal8Bit(comm.readLine(64)).trimmed();
    return name.isEmpty() ? QStringLiteral("process %1").arg(pid)
                          : QStringLiteral("process %1 (%2)").arg(pid).arg(name);
}

bool ShutdownSignals::Install() {
    if (installed_)
        return true;
    if (g_earlyReadFd >= 0) {
        // Take over what CatchEarly() set up; signals already caught wait in the pipe.
        readFd_ = g_earlyReadFd;
        g_earlyReadFd = -1;
        previous_.assign(g_earlyPrevious, g_earlyPrevious + kCaughtCount);
    } else {
        if (g_writeFd >= 0)
            return false; // another instance owns the handlers

        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
            return false;
        readFd_ = fds[0];
        g_writeFd = fds[1];
        g_firstSignal = 0;
        g_firstSender = 0;

        previous_.clear();
        for (const int sig : CaughtSignals()) {
            struct sigaction old {};
            if (!catchSignal(sig, &old)) {
                restoreAndClose(); // put back what was changed so far
                return false;
            }
            previous_.push_back(old);
        }
    }

    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::readPipe);
    fired_ = false;
    installed_ = true;
    return true;
}

void ShutdownSignals::Uninstall() {
    if (!installed_)
        return;
    delete notifier_;
    notifier_ = nullptr;
    restoreAndClose();
    installed_ = false;
}

void ShutdownSignals::StopListening() {
    delete notifier_;
    notifier_ = nullptr;
}

void ShutdownSignals::restoreAndClose() {
    for (size_t i = 0; i < previous_.size(); ++i)
        ::sigaction(CaughtSignals()[i], &previous_[i], nullptr);
    previous_.clear();
    const int writeFd = g_writeFd;
    g_writeFd = -1;
    ::close(writeFd);
    ::close(readFd_);
    readFd_ = -1;
}

void ShutdownSignals::readPipe() {
    int first = 0;
    unsigned char bytes[64];
    for (;;) {
        const ssize_t n = ::read(readFd_, bytes, sizeof bytes);
        if (n > 0) {
            if (first == 0)
                first = bytes[0];
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // empty (EAGAIN) or closed
    }
    if (first == 0 || fired_)
        return;
    fired_ = true;
    sender_ = first == g_firstSignal ? SenderOf(g_firstSender) : QString();
    emit shutdownRequested(first);
}

} // namespace wv
