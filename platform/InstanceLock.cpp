// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/InstanceLock.h"

namespace wv {

InstanceLock::~InstanceLock() = default;

} // namespace wv
