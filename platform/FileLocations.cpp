// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/FileLocations.h"

namespace wv {

// Out of line, so the class's type information lives in one object file.
FileLocations::~FileLocations() = default;

} // namespace wv
