// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "base/Clock.h"

namespace wv {
QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}
} // namespace wv
