#include "app/Program.h"

#include "app/uniMain.h"
#include "base/Clock.h"
#include "base/ErrorReport.h"
#include "platform/QtTrayService.h"
#include "platform/linux/FreedesktopNotifier.h"
#include "platform/linux/LinuxHostResolver.h"
#include "platform/linux/ShutdownSignals.h"
#include "platform/linux/XdgAutostartStore.h"
#include "shell/Application.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QSessionManager>

namespace wv {

int RunProgram(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // The program lives on in the notification area with no window shown; only the close
    // request ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    InitShellResources();
    QApplication::setFont(LayoutFont());
    TApplication application;
    application.SetTitle(QStringLiteral("Wirevane"));
    setErrorSink([](const QString& text) { MessageBox::show(text); });

    QtTrayService trayService;
    LinuxHostResolver resolver;
    XdgAutostartStore runKeys;
    SystemClock clock;
    // Notifications go to the desktop's service, or to the tray icon's balloon without one.
    FreedesktopNotifier notifier(&trayService.TrayIcon());
    TfrmMain frmMain({application, trayService, resolver, runKeys, clock,
                      QCoreApplication::applicationDirPath() + QLatin1Char('/'),
                      QCoreApplication::applicationFilePath()});
    application.SetMainForm(&frmMain);
    frmMain.SetNotifier(&notifier);
    MessageBox::setParent(nullptr);

    try {
        frmMain.FormCreate();
    } catch (const std::exception& e) {
        // A start-up step failed: say why and end, rather than run with parts missing.
        MessageBox::show(QString::fromLocal8Bit(e.what()));
        return 1;
    }

    // Log-off, shut-down and termination signals all end the program through the close
    // request, once.
    ShutdownSignals shutdownSignals;
    shutdownSignals.Install();
    QObject::connect(&shutdownSignals, &ShutdownSignals::shutdownRequested, &frmMain,
                     [&frmMain] { frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION); });
    QObject::connect(
        &qapp, &QGuiApplication::commitDataRequest, &frmMain,
        [&frmMain](QSessionManager&) { frmMain.WndProc(TfrmMain::WM_QUERYENDSESSION); });

    frmMain.ShowAfterCreate();
    return QApplication::exec();
}

} // namespace wv
