// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/Program.h"

#include "app/CommandLine.h"
#include "app/HistoryReport.h"
#include "app/uniMain.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "platform/QtTrayService.h"
#include "platform/linux/DisplayLossWatch.h"
#include "platform/linux/FreedesktopNotifier.h"
#include "platform/linux/LinuxHostResolver.h"
#include "platform/linux/LinuxInstanceLock.h"
#include "platform/linux/LinuxSystemClocks.h"
#include "platform/linux/LogindSleepWatch.h"
#include "platform/linux/SessionManagerLink.h"
#include "platform/linux/ShutdownSignals.h"
#include "platform/linux/XdgAutostartStore.h"
#include "platform/linux/XdgFileLocations.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QSessionManager>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace wv {

namespace {
// How long `--quit` waits for the running copy: to answer, then to have ended (its settings and
// the stop entry written).
constexpr int kQuitAnswerMs = 2000;
constexpr int kQuitEndMs = 10000;

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// `wirevane --quit`: no window and no display, only the lock and the socket of the running copy.
int QuitRunningCopy(int argc, char** argv) {
    // Nothing to save here: Ctrl+C or a signal ends the wait at once.
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        std::signal(sig, SIG_DFL);
    QCoreApplication app(argc, argv);
    XdgFileLocations locations(XdgFileLocations::FromProcess());
    ProgramFiles files;
    try {
        files = locations.Locate();
    } catch (const FileLocationError& e) {
        print(stderr, QStringLiteral("wirevane: no copy is running: %1\n").arg(e.what()));
        return 1;
    }
    using Result = LinuxInstanceLock::QuitResult;
    switch (LinuxInstanceLock::AskToQuit(files.logPath, kQuitAnswerMs, kQuitEndMs)) {
    case Result::Ended:
        return 0;
    case Result::NotRunning:
        print(stderr,
              QStringLiteral("wirevane: no copy is running with the log %1\n").arg(files.logPath));
        break;
    case Result::NoAnswer:
        print(stderr, QStringLiteral("wirevane: the copy running with the log %1 did not answer "
                                     "within %2 seconds\n")
                          .arg(files.logPath)
                          .arg(kQuitAnswerMs / 1000));
        break;
    case Result::StillRunning:
        print(stderr, QStringLiteral("wirevane: the copy running with the log %1 did not end "
                                     "within %2 seconds\n")
                          .arg(files.logPath)
                          .arg(kQuitEndMs / 1000));
        break;
    }
    return 1;
}
} // namespace

int EndAtStartUp(const QString& text) {
    std::fprintf(stderr, "wirevane: %s\n", text.toLocal8Bit().constData());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        MessageBox::show(text);
    return 1;
}

std::optional<ProgramFiles> LocateFiles(FileLocations& locations) {
    try {
        return locations.Locate();
    } catch (const FileLocationError& e) {
        EndAtStartUp(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

int RunProgram(int argc, char** argv) {
    // Termination signals are caught before anything else exists (main() has usually done so
    // already); they wait until the close request can run.
    ShutdownSignals::CatchEarly();

    // The command line first: --help and --version answer without a display and touch no file.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = ParseCommandLine(arguments);
    switch (command.action) {
    case CommandLine::Action::Help:
        print(stdout, CommandLineHelp());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, CommandLineVersion());
        return 0;
    case CommandLine::Action::Usage:
        print(stderr, QStringLiteral("wirevane: %1\n\n").arg(command.error) + CommandLineHelp());
        return CommandLine::kUsageExitCode;
    case CommandLine::Action::History: {
        // No display and no window: the application object only gives the executable's folder.
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runHistoryReport(command.historyPeriod, command.logFile, out, err);
    }
    case CommandLine::Action::Quit:
        return QuitRunningCopy(argc, argv);
    case CommandLine::Action::Run:
    case CommandLine::Action::Show:
        break;
    }

    ShutdownSignals shutdownSignals;
    // A session manager that goes away while the session goes on does not take the program along.
    SessionManagerLink::KeepRunningWhenBroken();

    QApplication qapp(argc, argv);
    // The program lives on in the notification area with no window shown; only the close
    // request ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    shutdownSignals.Install();
    // Ended before start-up touched anything: nothing to save, nothing to log.
    if (ShutdownSignals::ArrivedSignal() != 0)
        return 0;

    InitShellResources();
    InstallTranslations();
    TApplication application;
    application.SetTitle(QStringLiteral("Wirevane"));
    setErrorSink([](const QString& text) { MessageBox::show(text); });

    // The settings file and the log: beside a portable copy, in the user's folders for an
    // installed one.
    XdgFileLocations locations(XdgFileLocations::FromProcess());
    const std::optional<ProgramFiles> files = LocateFiles(locations);
    if (!files)
        return 1;

    QtTrayService trayService;
    LinuxHostResolver resolver;
    XdgAutostartStore runKeys;
    SystemClock clock;
    // Made before the window and gone after it, so the log stays locked until its last write. A
    // termination signal that the GUI thread has yet to handle already counts as ending.
    LinuxInstanceLock instanceLock([] { return ShutdownSignals::ArrivedSignal() != 0; });
    // Notifications go to the desktop's service, or to the tray icon's balloon without one.
    FreedesktopNotifier notifier([&trayService]() -> QSystemTrayIcon* {
        return trayService.HasTrayIcon() ? &trayService.TrayIcon() : nullptr;
    });
    LinuxSystemClocks clocks;
    LogindSleepWatch sleepWatch;
    TfrmMain frmMain({application, trayService, resolver, runKeys, clock, *files,
                      QCoreApplication::applicationFilePath(), &instanceLock, &clocks,
                      &sleepWatch});
    application.SetMainForm(&frmMain);
    frmMain.SetNotifier(&notifier);
    if (command.action == CommandLine::Action::Show)
        frmMain.RequestShowAtStart();
    MessageBox::setParent(nullptr);

    // Log-off, shut-down and termination signals all end the program through the close
    // request, once, and say so on standard error. One that comes while start-up is still
    // running (a box of start-up is the only place where events are handled then) ends every
    // open box and loop and waits until start-up has finished.
    bool started = false;
    bool endRequested = false;
    const auto endSession = [&](const QString& why) {
        if (!endRequested && !frmMain.ExitAllowed())
            std::fprintf(stderr, "wirevane: %s: ending\n", why.toLocal8Bit().constData());
        if (started) {
            frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION);
            return;
        }
        endRequested = true;
        MessageBox::setSessionEnding(true);
        QCoreApplication::exit(0);
    };
    QObject::connect(&shutdownSignals, &ShutdownSignals::shutdownRequested, &frmMain,
                     [&endSession, &shutdownSignals](int signal) {
                         QString why = QStringLiteral("signal %1 (%2)")
                                           .arg(signal)
                                           .arg(QString::fromLocal8Bit(::strsignal(signal)));
                         // Who sent it tells a stray signal from the session's own.
                         if (const QString from = shutdownSignals.Sender(); !from.isEmpty())
                             why += QStringLiteral(" from ") + from;
                         endSession(why);
                     });
    // `wirevane --quit` from another process ends this one the same way.
    instanceLock.SetOnQuit([&endSession] { endSession(QStringLiteral("wirevane --quit")); });
    // The session manager's save request comes at every checkpoint too, while the session goes
    // on: it only saves. Its "die" arrives as the platform's quit request.
    QObject::connect(&qapp, &QGuiApplication::commitDataRequest, &frmMain,
                     [&frmMain](QSessionManager&) { frmMain.CommitSessionData(); });
    application.SetOnQuitRequest(
        [&endSession] { endSession(QStringLiteral("the desktop session asked to quit")); });
    // The display going away ends the session as well; no window can be touched then.
    DisplayLossWatch::Install([&frmMain] { frmMain.EndSessionWithoutDisplay(); });

    int exitCode = 0;
    try {
        frmMain.FormCreate();
        // Another copy runs on this log and was asked to show its window.
        if (const std::optional<int> code = frmMain.ExitAtStart()) {
            exitCode = *code;
        } else {
            started = true;
            if (endRequested) {
                frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION);
            } else {
                frmMain.ShowAfterCreate();
                QApplication::exec();
                // Only the close request ends the loop; should anything else have ended it,
                // monitoring goes on. Should that keep happening, the program says so on
                // standard error and in a box, then ends the way a log-off does.
                for (int restarts = 0; !application.QuitAllowed() && !frmMain.ExitAllowed();
                     ++restarts) {
                    const QString why = QStringLiteral(
                        "The message loop ended although neither Exit nor the session's end "
                        "asked for it.");
                    if (restarts == 3) {
                        std::fprintf(stderr, "wirevane: %s Ending.\n",
                                     why.toLocal8Bit().constData());
                        MessageBox::show(why + QStringLiteral(" Wirevane ends now."));
                        frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION);
                        break;
                    }
                    std::fprintf(stderr, "wirevane: %s Monitoring goes on.\n",
                                 why.toLocal8Bit().constData());
                    QApplication::exec();
                }
            }
        }
    } catch (const std::exception& e) {
        // A start-up step failed: say why and end, rather than run with parts missing.
        exitCode = EndAtStartUp(QString::fromLocal8Bit(e.what()));
    }
    DisplayLossWatch::Uninstall();
    shutdownSignals.StopListening();
    return exitCode;
}

} // namespace wv
