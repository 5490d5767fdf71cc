// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <functional>

namespace wv {

// The application's standard error report: an error that no handler caught is shown with its
// own text, and the program carries on. The widgets layer routes it to a message box; without
// one installed the text goes to standard error.
using ErrorSink = std::function<void(const QString& text)>;

void setErrorSink(ErrorSink sink);
void reportError(const QString& text);

// Runs `fn`, reporting any exception that escapes it through reportError().
template <typename Fn> void guarded(Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
}

} // namespace wv
