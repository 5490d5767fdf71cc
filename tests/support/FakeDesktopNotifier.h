// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/DesktopNotifier.h"

#include <QStringList>

namespace wv {

// Records every notification; `available` says whether the desktop could show them.
class FakeDesktopNotifier : public DesktopNotifier {
public:
    bool Notify(const QString& summary, const QString& body) override {
        shown << summary + QStringLiteral(": ") + body;
        return available;
    }
    void Click() {
        if (OnClicked)
            OnClicked();
    }

    QStringList shown;
    bool available = true;
};

} // namespace wv
