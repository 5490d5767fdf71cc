// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/SystemClocks.h"

namespace wv {

// CLOCK_REALTIME, CLOCK_MONOTONIC and CLOCK_BOOTTIME, and the zone from the C library.
class LinuxSystemClocks final : public SystemClocks {
public:
    ClockReading Read() const override;
};

} // namespace wv
