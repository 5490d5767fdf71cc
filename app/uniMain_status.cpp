// Status decision: whether the monitor's address counts as internet, what the window, the
// icons and the log show for it, and the Refresh command.
#include "app/uniMain.h"

#include "app/ClockWatch.h"
#include "net/OnlineIP.h"
#include "shell/Application.h"
#include "shell/CheckListBox.h"
#include "shell/TrayIcon.h"
#include "ui_uniMain.h"

#include <utility>

namespace wv {

namespace {
const QString kLoopback = QStringLiteral("127.0.0.1");
}

bool TfrmMain::IPnotLocal() {
    const QString ip = onlineIP_->IP();
    if (ui_->rbList->isChecked()) {
        for (const QString& local : ui_->clbIP->CheckedItems())
            if (local == ip)
                return false;
        return true;
    }
    if (ui_->rbLocalIP->isChecked()) {
        QString primary = kLoopback;
        onlineIP_->GetLocalIP(primary);
        return ip != primary;
    }
    // Neither way chosen (only a hand-edited settings file can do that): with no rule to
    // call an address local, every address counts as internet, as an empty list would.
    return true;
}

namespace {
void setLabelColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}
} // namespace

void TfrmMain::setStatusIcons(const QString& resource) {
    const QIcon icon = LoadIconResource(resource);
    env_.application.SetIcon(icon);
    // Replace the picture in place; the tooltip write that follows sends both.
    trayIcon_->IconRef() = icon;
}

void TfrmMain::OnlineIP1Changed(QObject* /*sender*/) {
    // While the system goes to sleep nothing is decided; the verdict after waking is.
    if (clockWatch_ && clockWatch_->Suspended())
        return;
    // After a "Resume" the verdict is logged whether or not it changed.
    if (std::exchange(verdictDue_, false))
        wasOnline_ = !(onlineIP_->Online() && IPnotLocal());
    const bool online = onlineIP_->Online() && IPnotLocal();
    if (online) {
        setLabelColour(ui_->Label3, QColor(0, 128, 0)); // clGreen
        ui_->Label3->setText(QStringLiteral("Online"));
        ui_->Label4->setText(QStringLiteral("IP: ") + onlineIP_->IP());
        if (!wasOnline_)
            logTransition(onlineIP_->IP(), QStringLiteral("Online"), true);
        wasOnline_ = true;
        setStatusIcons(QStringLiteral("MAINICON"));
        trayIcon_->SetToolTip(onlineIP_->IP());
    } else {
        setLabelColour(ui_->Label3, QColor(128, 0, 0)); // clMaroon
        ui_->Label3->setText(QStringLiteral("Offline"));
        ui_->Label4->setText(QString());
        if (wasOnline_) {
            logTransition(QStringLiteral("0.0.0.0"), QStringLiteral("Offline"), false);
            GetIP();
            LoadAll();
        }
        wasOnline_ = false;
        setStatusIcons(QStringLiteral("OFFLINE"));
        trayIcon_->SetToolTip(QStringLiteral("Offline"));
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
