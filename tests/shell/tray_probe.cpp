// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// A small program for the real notification-area test: shows the tray icon through
// QtTrayService and reports on standard output what reaches it.
#include "platform/QtTrayService.h"
#include "shell/Application.h"
#include "shell/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tray_probe"));
    QApplication::setQuitOnLastWindowClosed(false);

    wv::TApplication app;
    app.SetTitle(QStringLiteral("Wirevane"));
    QWidget mainForm;
    app.SetMainForm(&mainForm);

    wv::QtTrayService service;
    service.SetPollInterval(300);
    QObject owner;
    auto* tray = new wv::TTrayIcon(&owner, app, service);

    QMenu menu;
    menu.addAction(QStringLiteral("Options"));
    QObject::connect(&menu, &QMenu::aboutToShow, [] { say(QStringLiteral("MENU_SHOWN")); });
    QObject::connect(&menu, &QMenu::aboutToHide, [] { say(QStringLiteral("MENU_HIDDEN")); });

    tray->SetPopupMenu(&menu);
    tray->OnClick = [](QObject*) { say(QStringLiteral("CLICK")); };
    tray->OnDblClick = [](QObject*) { say(QStringLiteral("DBLCLICK")); };
    tray->OnRightClick = [](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        say(QStringLiteral("RIGHTCLICK %1 %2 %3").arg(b == Qt::RightButton).arg(x).arg(y));
    };
    tray->SetIcon(wv::LoadIconResource(QStringLiteral("MAINICON")));
    tray->SetToolTip(QStringLiteral("probe tip"));
    tray->SetActive(true);
    say(QStringLiteral("ACTIVE %1").arg(service.IsAvailable() ? 1 : 0));

    // A safety net: the test ends the probe long before this.
    QTimer::singleShot(90000, &qapp, &QCoreApplication::quit);
    const int rc = QApplication::exec();
    delete tray;
    return rc;
}
