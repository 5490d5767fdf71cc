#include "app/Program.h"

#include "app/uniMain.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "platform/QtTrayService.h"
#include "platform/linux/DisplayLossWatch.h"
#include "platform/linux/LinuxHostResolver.h"
#include "platform/linux/ShutdownSignals.h"
#include "platform/linux/XdgAutostartStore.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QSessionManager>

namespace wv {

int RunProgram(int argc, char** argv) {
    // Termination signals are caught before anything else exists (main() has usually done so
    // already); they wait until the close request can run.
    ShutdownSignals::CatchEarly();
    ShutdownSignals shutdownSignals;

    QApplication qapp(argc, argv);
    // The program lives on in the notification area with no window shown; only the close
    // request ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    shutdownSignals.Install();
    // Ended before start-up touched anything: nothing to save, nothing to log.
    if (ShutdownSignals::ArrivedSignal() != 0)
        return 0;

    InitShellResources();
    QApplication::setFont(LayoutFont());
    TApplication application;
    application.SetTitle(QStringLiteral("Wirevane"));
    setErrorSink([](const QString& text) { MessageBox::show(text); });

    QtTrayService trayService;
    LinuxHostResolver resolver;
    XdgAutostartStore runKeys;
    SystemClock clock;
    TfrmMain frmMain({application, trayService, resolver, runKeys, clock,
                      QCoreApplication::applicationDirPath() + QLatin1Char('/'),
                      QCoreApplication::applicationFilePath()});
    application.SetMainForm(&frmMain);
    MessageBox::setParent(nullptr);

    // Log-off, shut-down and termination signals all end the program through the close
    // request, once. One that comes while start-up is still running (a box of start-up is the
    // only place where events are handled then) ends every open box and loop and waits until
    // start-up has finished.
    bool started = false;
    bool endRequested = false;
    const auto endSession = [&] {
        if (started) {
            frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION);
            return;
        }
        endRequested = true;
        MessageBox::setSessionEnding(true);
        QCoreApplication::exit(0);
    };
    QObject::connect(&shutdownSignals, &ShutdownSignals::shutdownRequested, &frmMain, endSession);
    QObject::connect(&qapp, &QGuiApplication::commitDataRequest, &frmMain,
                     [&endSession](QSessionManager&) { endSession(); });
    // The display going away ends the session as well; no window can be touched then.
    DisplayLossWatch::Install([&frmMain] { frmMain.EndSessionWithoutDisplay(); });

    int exitCode = 0;
    try {
        frmMain.FormCreate();
        started = true;
        if (endRequested) {
            frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION);
        } else {
            frmMain.ShowAfterCreate();
            QApplication::exec();
        }
    } catch (const std::exception& e) {
        // A start-up step failed: say why and end, rather than run with parts missing.
        MessageBox::show(QString::fromLocal8Bit(e.what()));
        exitCode = 1;
    }
    DisplayLossWatch::Uninstall();
    shutdownSignals.StopListening();
    return exitCode;
}

} // namespace wv
