// Status decision: whether the monitor's address counts as internet, what the window, the
// icons and the log show for it, and the Refresh command.
#include "app/uniMain.h"

#include "net/OnlineIP.h"
#include "shell/Application.h"
#include "shell/CheckListBox.h"
#include "shell/Colours.h"
#include "shell/TrayIcon.h"
#include "ui_uniMain.h"

#include <QEvent>

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

void TfrmMain::showStatusWord(bool online) {
    statusOnline_ = online;
    QLabel* label = ui_->Label3;
    label->setText(online ? tr("Online") : tr("Offline"));
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
        showStatusWord(statusOnline_);
}

void TfrmMain::setStatusIcons(const QString& resource) {
    const QIcon icon = LoadIconResource(resource);
    env_.application.SetIcon(icon);
    // Replace the picture in place; the tooltip write that follows sends both.
    trayIcon_->IconRef() = icon;
}

void TfrmMain::OnlineIP1Changed(QObject* /*sender*/) {
    const bool online = onlineIP_->Online() && IPnotLocal();
    if (online) {
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
        showStatusWord(false);
        ui_->Label4->setText(QString());
        ui_->Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (wasOnline_) {
            logTransition(QStringLiteral("0.0.0.0"), QStringLiteral("Offline"), false);
            GetIP();
            LoadAll();
        }
        wasOnline_ = false;
        setStatusIcons(QStringLiteral("OFFLINE"));
        trayIcon_->SetToolTip(tr("Offline"));
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
