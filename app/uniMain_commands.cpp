// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Commands of the menus: About, Help, and bringing the window back from the notification area.
#include "app/uniMain.h"

#include "base/ErrorReport.h"
#include "shell/Application.h"
#include "shell/DBGrid.h"
#include "shell/MessageBox.h"
#include "shell/uniHelp.h"
#include "shell/uniabout.h"

#include "ui_uniMain.h"

#include <QLineEdit>
#include <QShortcut>

#include <memory>

namespace wv {

void TfrmMain::mnuAboutClick() {
    try {
        auto box = std::make_unique<TAboutBox>(this);
        box->exec();
    } catch (...) {
        MessageBox::show(tr("Error of creating Form of About Box"));
    }
}

void TfrmMain::mnuHelpClick() {
    try {
        auto box = std::make_unique<THelpBox>(this);
        box->exec();
    } catch (...) {
        MessageBox::show(tr("Error of creating Form of Help Box"));
    }
}

void TfrmMain::setupKeys() {
    // Enter in the address field seeks as the IP button does; F3 seeks the next match.
    connect(ui_->cboxIP->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded([this] { sbtnFindIPClick(); }); });
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    next->setObjectName(QStringLiteral("scSeekNext"));
    connect(next, &QShortcut::activated, this, [this] {
        ui_->PageControl1->setCurrentWidget(ui_->tsLog);
        ui_->cbxNext->setChecked(true);
        guarded([this] { sbtnFindIPClick(); });
    });
}

void TfrmMain::OnIconDblClick(QObject* /*sender*/) {
    placeFirstTime(); // after a minimized start the window has never been placed
    const QRect rect = geometry();
    env_.application.Restore();
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // The window is topmost (its flags say so from creation: changing them later recreates
    // the native window, which X11 then reports as minimized).
    setGeometry(rect);
    show();
    raise();
    activateWindow();
}

void TfrmMain::mnuOptionsClick() {
    OnIconDblClick(this);
}

} // namespace wv
