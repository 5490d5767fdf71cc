// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "base/ErrorReport.h"

#include <cstdio>

namespace wv {

namespace {
ErrorSink& sink() {
    static ErrorSink s;
    return s;
}
} // namespace

void setErrorSink(ErrorSink s) {
    sink() = std::move(s);
}

void reportError(const QString& text) {
    if (sink()) {
        sink()(text);
        return;
    }
    std::fprintf(stderr, "Wirevane: %s\n", text.toLocal8Bit().constData());
}

} // namespace wv
