// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

class QMenu;

namespace wv {

// Message numbers of the notification area's conversation with an icon's hidden receiver.
namespace traymsg {
constexpr unsigned kUser = 1024;            // first private message number
constexpr unsigned kCallback = kUser + 1;   // 1025: mouse action on the icon
constexpr unsigned kTipRefresh = kUser + 2; // 1026: re-send the tip after an add
constexpr int kLeftButtonUp = 514;          // carried in the callback's second parameter
constexpr int kLeftButtonDoubleClick = 515;
constexpr int kRightButtonUp = 517;

constexpr std::uint32_t kFlagMessage = 1; // uCallbackMessage is valid
constexpr std::uint32_t kFlagIcon = 2;    // hIcon is valid
constexpr std::uint32_t kFlagTip = 4;     // szTip is valid
} // namespace traymsg

// The record handed to the notification area with every request. The tip is kept as UTF-8
// bytes: at most kMaxTipBytes of them, cut on a character boundary, always zero-terminated.
struct NotifyIconData {
    static constexpr std::uint32_t kRecordSize = 88;
    static constexpr int kTipBufferSize = 64;
    static constexpr int kMaxTipBytes = 62;

    std::uint32_t cbSize = 0;
    QObject* hWnd = nullptr; // hidden receiver of the callback messages
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    char szTip[kTipBufferSize] = {};

    // The tip as text.
    QString Tip() const { return QString::fromUtf8(szTip); }
    // Stores `tip` in szTip: UTF-8, cut to at most kMaxTipBytes on a character boundary.
    void SetTip(const QString& tip) {
        const QByteArray bytes = tip.toUtf8();
        int n = std::min<int>(static_cast<int>(bytes.size()), kMaxTipBytes);
        // Step back over continuation bytes (10xxxxxx) so no character is split.
        if (n < bytes.size())
            while (n > 0 && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80)
                --n;
        std::memcpy(szTip, bytes.constData(), static_cast<std::size_t>(n));
        std::memset(szTip + n, 0, static_cast<std::size_t>(kTipBufferSize - n));
    }
};

// A message for a hidden receiver, the counterpart of a window message with two parameters.
class TrayMessageEvent : public QEvent {
public:
    TrayMessageEvent(unsigned message, quintptr wParam, qintptr lParam)
        : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam) {}

    static QEvent::Type EventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    unsigned message;
    quintptr wParam;
    qintptr lParam;
    qintptr result = 0;
};

// The desktop's notification area as seen by one icon: add, modify and delete the icon with
// its tip, and report mouse actions on it to the receiver named in the record (hWnd) as the
// record's callback message with the mouse message (514, 515, 517) as second parameter.
class TrayService {
public:
    using AvailabilityHandler = std::function<void(bool available)>;

    virtual ~TrayService() = default;

    // Each answers whether the notification area accepted the request.
    virtual bool Add(const NotifyIconData& data) = 0;
    virtual bool Modify(const NotifyIconData& data) = 0;
    virtual bool Delete(const NotifyIconData& data) = 0;

    // Whether the desktop has a notification area now.
    virtual bool IsAvailable() const = 0;

    // Hands the icon's menu to the notification area too, for areas that draw it themselves
    // (DBusMenu) or open it on a right click; nullptr takes it back.
    virtual void SetMenu(QMenu* /*menu*/) {}
    // Whether the area has already opened that menu when it reports a right click, so the
    // receiver must not open it a second time.
    virtual bool OpensMenuOnRightClick() const { return false; }
    // Whether the area reports no double click but a single activation instead (a
    // StatusNotifierItem panel's Activate, sent as a left click).
    virtual bool ActivatesOnSingleClick() const { return false; }
    // Whether the cursor's position on the screen is known to the program (not on Wayland),
    // so that a menu can be opened there.
    virtual bool KnowsPointerPosition() const { return true; }

    // Called when a notification area appears or disappears. One handler; setting one replaces
    // the previous; ClearAvailabilityHandler removes it only when `owner` installed it.
    void SetAvailabilityHandler(AvailabilityHandler handler, const void* owner = nullptr) {
        availabilityHandler_ = std::move(handler);
        availabilityOwner_ = owner;
    }
    void ClearAvailabilityHandler(const void* owner) {
        if (availabilityOwner_ == owner) {
            availabilityHandler_ = nullptr;
            availabilityOwner_ = nullptr;
        }
    }
    bool HasAvailabilityHandler() const { return static_cast<bool>(availabilityHandler_); }

    // Sends the callback message of `data` with `mouseMessage` to its receiver, if it still
    // exists. Returns the receiver's answer (0 when there is none).
    static qintptr SendCallback(const NotifyIconData& data, int mouseMessage) {
        if (data.hWnd == nullptr)
            return 0;
        TrayMessageEvent event(data.uCallbackMessage, data.uID, mouseMessage);
        QCoreApplication::sendEvent(data.hWnd, &event);
        return event.result;
    }

protected:
    void NotifyAvailability(bool available) {
        if (availabilityHandler_)
            availabilityHandler_(available);
    }

private:
    AvailabilityHandler availabilityHandler_;
    const void* availabilityOwner_ = nullptr;
};

} // namespace wv
