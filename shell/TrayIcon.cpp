// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/TrayIcon.h"

#include "shell/MessageBox.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMetaObject>
#include <QWidget>

#include <memory>
#include <stdexcept>

namespace wv {

namespace {

// The hidden receiver: turns the notification area's messages into calls of the handler.
class TrayReceiver : public QObject {
public:
    explicit TrayReceiver(TTrayIcon* tray) : QObject(tray), tray_(tray) {}

    bool event(QEvent* e) override {
        if (e->type() == TrayMessageEvent::EventType()) {
            auto* m = static_cast<TrayMessageEvent*>(e);
            m->result = tray_->HandleMessage(m->message, m->wParam, m->lParam);
            return true;
        }
        return QObject::event(e);
    }

private:
    TTrayIcon* tray_;
};

// The first `max` characters of `text`, never splitting a surrogate pair.
QString leftCodePoints(const QString& text, int max) {
    qsizetype pos = 0;
    int count = 0;
    while (pos < text.size() && count < max) {
        pos += (text.at(pos).isHighSurrogate() && pos + 1 < text.size() &&
                text.at(pos + 1).isLowSurrogate())
                   ? 2
                   : 1;
        ++count;
    }
    return text.left(pos);
}

} // namespace

TTrayIcon::TTrayIcon(QObject* owner, TApplication& app, TrayService& service)
    : QObject(owner), app_(app), service_(service) {
    receiver_ = new TrayReceiver(this);
    app_.SetOnMinimize([this] { HandleMinimize(); }, this);
    app_.SetOnRestore([this] { HandleRestore(); }, this);
    service_.SetAvailabilityHandler([this](bool available) { OnAvailabilityChanged(available); },
                                    this);
}

TTrayIcon::~TTrayIcon() {
    // Whatever happens below, nothing may reach this object any more.
    app_.ClearOnMinimize(this);
    app_.ClearOnRestore(this);
    service_.ClearAvailabilityHandler(this);
    try {
        if (popupMenu_)
            service_.SetMenu(nullptr);
        if ((active_ && !designing_) || (showDesigning_ && designing_))
            DeleteIcon();
        icon_ = QIcon();
        delete receiver_;
        receiver_ = nullptr;
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.destroy"));
    }
}

void TTrayIcon::SetActive(bool value) {
    if (value == active_)
        return;
    try {
        active_ = value;
        if (designing_)
            return;
        if (value)
            AddIcon();
        else
            DeleteIcon();
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.SetActive"));
    }
}

void TTrayIcon::SetShowDesigning(bool value) {
    if (!designing_ || value == showDesigning_)
        return;
    showDesigning_ = value;
    if (value)
        AddIcon();
    else
        DeleteIcon();
}

void TTrayIcon::SetPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    service_.SetMenu(menu);
}

void TTrayIcon::SetIcon(const QIcon& icon) {
    if (&icon == &icon_)
        return;
    icon_ = icon;
    ModifyIcon();
}

void TTrayIcon::SetToolTip(const QString& tip) {
    toolTip_ = leftCodePoints(tip, kMaxTipLength);
    ModifyIcon();
}

void TTrayIcon::FillDataStructure() {
    try {
        int filled = 0;
        const auto step = [&] {
            if (failFillAfter_ >= 0 && filled == failFillAfter_) {
                failFillAfter_ = -1;
                throw std::runtime_error("fill failed");
            }
            ++filled;
        };
        step();
        data_.cbSize = NotifyIconData::kRecordSize;
        step();
        data_.hWnd = receiver_;
        step();
        data_.uID = 0;
        step();
        data_.uFlags = traymsg::kFlagMessage | traymsg::kFlagIcon | traymsg::kFlagTip;
        step();
        data_.uCallbackMessage = traymsg::kCallback;
        step();
        data_.hIcon = icon_;
        step();
        data_.SetTip(toolTip_);
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.FillDataStructure"));
    }
}

bool TTrayIcon::AddIcon() {
    FillDataStructure();
    const bool ok = service_.Add(data_);
    if (toolTip_.isEmpty()) {
        // The tip is sent again once the add has been handled.
        QPointer<QObject> receiver = receiver_;
        QMetaObject::invokeMethod(
            receiver_,
            [receiver] {
                TrayMessageEvent refresh(traymsg::kTipRefresh, 0, 0);
                if (receiver)
                    QCoreApplication::sendEvent(receiver, &refresh);
            },
            Qt::QueuedConnection);
    }
    return ok;
}

bool TTrayIcon::ModifyIcon() {
    try {
        FillDataStructure();
        if (active_)
            return service_.Modify(data_);
        return true;
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.ModifyIcon"));
        return false;
    }
}

bool TTrayIcon::DeleteIcon() {
    return service_.Delete(data_);
}

qintptr TTrayIcon::HandleMessage(unsigned message, quintptr /*wParam*/, qintptr lParam) {
    if (message == traymsg::kTipRefresh) {
        SetToolTip(ToolTip());
        return 0;
    }
    if (message == traymsg::kCallback) {
        switch (lParam) {
        case traymsg::kLeftButtonUp: {
            QPointer<TTrayIcon> self(this);
            if (OnClick)
                OnClick(this);
            // The panel's only activation stands for the double click too.
            if (self && OnDblClick && service_.ActivatesOnSingleClick())
                OnDblClick(this);
            break;
        }
        case traymsg::kLeftButtonDoubleClick:
            if (OnDblClick)
                OnDblClick(this);
            break;
        case traymsg::kRightButtonUp:
            HandleRightClick();
            break;
        default:
            break;
        }
        return 0;
    }
    return 0; // any other message: nothing to do, as the default handling does
}

void TTrayIcon::HandleRightClick() {
    const bool pointerKnown = service_.KnowsPointerPosition();
    QPoint pos = pointerKnown ? QCursor::pos() : QPoint();
    QPointer<TTrayIcon> self(this);
    if (popupMenu_ && service_.OpensMenuOnRightClick()) {
        // The notification area opened the menu already: OnRightClick still follows its close.
        if (popupMenu_->isVisible() && OnRightClick) {
            auto once = std::make_shared<QMetaObject::Connection>();
            *once = connect(
                popupMenu_, &QMenu::aboutToHide, this,
                [this, once, pos] {
                    disconnect(*once);
                    if (OnRightClick)
                        OnRightClick(this, Qt::RightButton, Qt::NoModifier, pos.x(), pos.y());
                },
                Qt::QueuedConnection);
            return;
        }
    } else if (popupMenu_) {
        if (!pointerKnown) {
            // Without a known cursor position a menu could land anywhere, or nowhere: show the
            // main window (its menu bar holds the same commands) and open the menu over it.
            app_.Restore();
        }
        app_.BringToFront();
        QCoreApplication::processEvents();
        // Waiting events may have removed the menu or this object.
        if (self && popupMenu_) {
            QWidget* form = app_.MainForm();
            if (!pointerKnown && form != nullptr)
                pos = form->mapToGlobal(QPoint(0, 0));
            popupMenu_->exec(pos);
        }
    }
    if (self && OnRightClick)
        OnRightClick(this, Qt::RightButton, Qt::NoModifier, pos.x(), pos.y());
}

void TTrayIcon::HandleMinimize() {
    try {
        // Without a notification area the taskbar entry is the only way back: keep it.
        if (active_ && service_.IsAvailable())
            app_.HideMainForm();
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.HandleMinimize"));
    }
}

void TTrayIcon::HandleRestore() {
    try {
        if (active_)
            app_.ShowMainFormNormal();
    } catch (...) {
        MessageBox::show(tr("Error in TTrayIcon.HandleRestore"));
    }
}

void TTrayIcon::OnAvailabilityChanged(bool available) {
    if (!active_ || designing_)
        return;
    if (available) {
        AddIcon();
    } else if (app_.IsMinimized() && app_.MainForm() && !app_.MainForm()->isVisible()) {
        // The notification area went away while the program was hidden in it: bring the
        // program back as a minimized taskbar entry.
        app_.MainForm()->showMinimized();
    }
}

} // namespace wv
