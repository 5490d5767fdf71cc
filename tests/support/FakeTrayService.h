// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "shell/TrayService.h"

#include <stdexcept>
#include <vector>

namespace wv {

// A notification area that records every request. Clicks are delivered to the receiver named
// in the last record, as the real area does; availability can be switched to simulate a desktop
// without a notification area or one that appears later.
class FakeTrayService : public TrayService {
public:
    enum class Kind { Add, Modify, Delete };
    struct Request {
        Kind kind;
        NotifyIconData data;
    };

    bool Add(const NotifyIconData& data) override { return Record(Kind::Add, data); }
    bool Modify(const NotifyIconData& data) override { return Record(Kind::Modify, data); }
    bool Delete(const NotifyIconData& data) override { return Record(Kind::Delete, data); }
    bool IsAvailable() const override { return available; }

    void SetMenu(QMenu* value) override {
        menu = value;
        ++menuHandovers;
    }
    bool OpensMenuOnRightClick() const override { return opensMenu && menu != nullptr; }
    bool ActivatesOnSingleClick() const override { return singleClick; }
    bool KnowsPointerPosition() const override { return pointerKnown; }

    // Changes availability and tells the handler, as a desktop's panel coming or going would.
    void SetAvailable(bool value) {
        available = value;
        NotifyAvailability(value);
    }

    // A mouse action on the icon: 514, 515 or 517.
    qintptr Click(int mouseMessage) {
        if (requests.empty())
            return 0;
        return SendCallback(requests.back().data, mouseMessage);
    }

    int Count(Kind kind) const {
        int n = 0;
        for (const Request& r : requests)
            n += r.kind == kind ? 1 : 0;
        return n;
    }
    const Request& Last() const { return requests.back(); }

    std::vector<Request> requests;
    bool available = true;
    bool answer = true;      // what the area answers
    int throwOnRequests = 0; // the next this many requests throw

    // The kind of area: an XEmbed tray opens a menu it was given itself (opensMenu); a D-Bus
    // panel activates with a single click (singleClick); on Wayland the cursor is unknown.
    QMenu* menu = nullptr; // the menu as last handed over
    int menuHandovers = 0;
    bool opensMenu = false;
    bool singleClick = false;
    bool pointerKnown = true;

private:
    bool Record(Kind kind, const NotifyIconData& data) {
        requests.push_back({kind, data});
        if (throwOnRequests > 0) {
            --throwOnRequests;
            throw std::runtime_error("notification area failed");
        }
        return answer;
    }
};

} // namespace wv
