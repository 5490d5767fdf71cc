// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/DisplayLossWatch.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace wv {

namespace {

struct Watch {
    bool installed = false;
    bool ran = false;
    bool exitHookRegistered = false;
    DisplayLossWatch::Handler onLost;
    DisplayLossWatch::Ending ending;
    QtMessageHandler previous = nullptr;
};
Watch& watch() {
    static Watch w;
    return w;
}

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Says why on standard error, runs the handler once, then ends the process with exit code 0.
void endAfterLoss(const char* why) {
    Watch& w = watch();
    if (!w.installed || w.ran || !onGuiThread())
        return;
    w.ran = true;
    std::fprintf(stderr, "Wirevane: %s: ending\n", why);
    try {
        if (w.onLost)
            w.onLost();
    } catch (...) {
        // The process is ending either way.
    }
    std::fflush(nullptr);
    if (w.ending) {
        w.ending(0);
        return;
    }
    ::_exit(0);
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const QtMessageHandler previous = watch().previous;
    if (previous)
        previous(type, context, text);
    if (type == QtWarningMsg && DisplayLossWatch::IsDisplayLossMessage(text))
        endAfterLoss("the connection to the display broke");
}

extern "C" void exitHook() {
    endAfterLoss("a library ended the process (exit)");
}

} // namespace

void DisplayLossWatch::Install(Handler onLost, Ending ending) {
    Watch& w = watch();
    w.onLost = std::move(onLost);
    w.ending = std::move(ending);
    w.ran = false;
    if (!w.installed) {
        w.previous = qInstallMessageHandler(messageHandler);
        w.installed = true;
    }
    if (!w.exitHookRegistered) {
        // Registered once for the life of the process; it does nothing while uninstalled.
        w.exitHookRegistered = std::atexit(exitHook) == 0;
    }
}

void DisplayLossWatch::Uninstall() {
    Watch& w = watch();
    if (!w.installed)
        return;
    qInstallMessageHandler(w.previous);
    w.previous = nullptr;
    w.installed = false;
    w.onLost = nullptr;
    w.ending = nullptr;
}

bool DisplayLossWatch::IsInstalled() {
    return watch().installed;
}

bool DisplayLossWatch::IsDisplayLossMessage(const QString& text) {
    // The xcb plugin (event loop and Xlib's I/O error path) and the Wayland plugin.
    return text.startsWith(QLatin1String("The X11 connection broke")) ||
           text.startsWith(QLatin1String("The Wayland connection broke")) ||
           text.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

} // namespace wv
