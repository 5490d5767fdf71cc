// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Status decision: the verdict of the chosen way (TConnectionVerdict), what the window, the
// icons and the log show for it, the captive portal's sign-in page, and the Refresh command.
#include "app/uniMain.h"

#include "app/ClockWatch.h"
#include "app/ConnectionVerdict.h"
#include "net/OnlineIP.h"
#include "shell/Application.h"
#include "shell/CheckListBox.h"
#include "shell/Colours.h"
#include "shell/TrayIcon.h"
#include "ui_uniMain.h"

#include <QAction>
#include <QDesktopServices>
#include <QEvent>

#include <cstdio>
#include <utility>

namespace wv {

namespace {
const QString kLoopback = QStringLiteral("127.0.0.1");
}

namespace {
TWay chosenWay(const Ui::TfrmMain& ui) {
    if (ui.rbList->isChecked())
        return TWay::List;
    if (ui.rbLocalIP->isChecked())
        return TWay::LocalIP;
    if (ui.rbInternet->isChecked())
        return TWay::Internet;
    return TWay::None;
}
} // namespace

bool TfrmMain::IPnotLocal() {
    return TConnectionVerdict::IPnotLocal(chosenWay(*ui_), onlineIP_->IP(),
                                          ui_->clbIP->CheckedItems(), [this] {
                                              QString primary = kLoopback;
                                              onlineIP_->GetLocalIP(primary);
                                              return primary;
                                          });
}

void TfrmMain::syncWay() {
    verdict_->SetWay(chosenWay(*ui_), onlineIP_ ? onlineIP_->IP() : QString());
}

void TfrmMain::updateInternetHint() {
    const TProbeSettings& s = verdict_->Settings();
    const QUrl url(s.url);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        const QString text = tr("ProbeURL \"%1\" in Vanewire.ini is not an http:// or https:// "
                                "address: the internet check always fails.")
                                 .arg(s.url);
        ui_->rbInternet->setToolTip(text);
        if (ui_->rbInternet->isChecked())
            std::fprintf(stderr, "wirevane: %s\n", text.toLocal8Bit().constData());
        return;
    }
    ui_->rbInternet->setToolTip(
        tr("Asks %1 every %2 s (every %3 s while not online) whether the internet answers; "
           "nothing else is sent, and nothing at all with the other two ways.\nProbeURL, "
           "ProbeExpect and ProbeInterval in Vanewire.ini change where and how often.")
            .arg(s.url)
            .arg(s.intervalSecs)
            .arg(TConnectionVerdict::kNotOnlineIntervalMs / 1000));
}

void TfrmMain::btnSignInClick() {
    const QUrl page = verdict_->SignInPage();
    if (page.isValid())
        QDesktopServices::openUrl(page);
}

void TfrmMain::showStatusWord(bool online, bool signIn) {
    statusOnline_ = online;
    statusSignIn_ = !online && signIn;
    QLabel* label = ui_->Label3;
    label->setText(online ? tr("Online") : statusSignIn_ ? tr("Sign-in required") : tr("Offline"));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText,
               ColourFor(online ? ProgramColour::StatusOnline : ProgramColour::StatusOffline,
                         ui_->GroupBox1->palette()));
    label->setPalette(p);
}

void TfrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The desktop switched between a light and a dark theme: the status word follows.
    if (event->type() == QEvent::PaletteChange)
        showStatusWord(statusOnline_, statusSignIn_);
}

void TfrmMain::setStatusIcons(const QString& resource) {
    const QIcon icon = LoadIconResource(resource);
    env_.application.SetIcon(icon);
    // Replace the picture in place; the tooltip write that follows sends both.
    trayIcon_->IconRef() = icon;
}

void TfrmMain::OnlineIP1Changed(QObject* sender) {
    // While the system goes to sleep nothing is decided; the verdict after waking is.
    if (clockWatch_ && clockWatch_->Suspended())
        return;
    // After a "Resume" the verdict is logged whether or not it changed, and the internet
    // check asks anew rather than trust an answer from before the sleep.
    const bool afterResume = std::exchange(verdictDue_, false);
    // A new reading sends the internet check's probe at once; the verdict of the other two
    // ways comes from the reading alone.
    if (sender == onlineIP_ || afterResume)
        verdict_->ReadingChanged(onlineIP_->IP());
    const TStatus status =
        verdict_->Decide(onlineIP_->IP(), onlineIP_->Online(), ui_->clbIP->CheckedItems(), [this] {
            QString primary = kLoopback;
            onlineIP_->GetLocalIP(primary);
            return primary;
        });
    if (afterResume)
        wasOnline_ = status != TStatus::Online;
    const bool signIn = status == TStatus::SignInRequired;
    ui_->btnSignIn->setVisible(signIn);
    mnuSignIn_->setVisible(signIn);
    if (status == TStatus::Online) {
        showStatusWord(true);
        ui_->Label4->setText(tr("IP: %1").arg(onlineIP_->IP()));
        // The address can be selected and copied, also from the keyboard while there is one.
        ui_->Label4->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
        if (!wasOnline_)
            logTransition(onlineIP_->IP(), QStringLiteral("Online"), true);
        wasOnline_ = true;
        setStatusIcons(QStringLiteral("MAINICON"));
        trayIcon_->SetToolTip(onlineIP_->IP());
    } else {
        // A captive portal is offline too, told apart by its words.
        showStatusWord(false, signIn);
        ui_->Label4->setText(QString());
        ui_->Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (wasOnline_) {
            logTransition(QStringLiteral("0.0.0.0"), QStringLiteral("Offline"), false);
            GetIP();
            LoadAll();
        }
        wasOnline_ = false;
        setStatusIcons(QStringLiteral("OFFLINE"));
        trayIcon_->SetToolTip(signIn ? tr("Sign-in required") : tr("Offline"));
    }
}

void TfrmMain::GetIP() {
    ui_->clbIP->ClearItems();
    QString last;
    onlineIP_->UpdateAddrList(last);
    for (int i = 0; i < onlineIP_->AddrCount(); ++i) {
        QString addr;
        onlineIP_->GetAddr(i, addr);
        ui_->clbIP->AddItem(addr);
    }
}

void TfrmMain::RefreshAll() {
    SaveAll();
    GetIP();
    LoadAll();
    OnlineIP1Changed(this);
}

void TfrmMain::mnuRefreshClick() {
    RefreshAll();
}

} // namespace wv
