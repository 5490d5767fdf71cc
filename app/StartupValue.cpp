// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/StartupValue.h"
#include "base/Bytes.h"
#include <QCoreApplication>

#include "app/Formats.h"
#include "base/ErrorReport.h"

#include <QFile>

#include <algorithm>
#include <memory>

namespace wv {

namespace {

// Closes the store's key when the operation ends, however it ends.
class KeyCloser {
public:
    explicit KeyCloser(RunKeyStore& store) : store_(store) {}
    ~KeyCloser() {
        try {
            store_.CloseKey();
        } catch (...) {
        }
    }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    RunKeyStore& store_;
};

} // namespace

std::string RunValueText(const QString& exePath) {
    return QFile::encodeName(exePath).toStdString();
}

QString LoadAtStartup(RunKeyStore& store, const QString& exePath, bool value) {
    try {
        KeyCloser closer(store);
        const bool done = value ? store.CreateKeyAndWrite(RunValueName, RunValueText(exePath))
                                : store.OpenKeyAndDelete(RunValueName);
        if (!done)
            return QString::fromStdString(store.LastError());
    } catch (...) {
        reportError(QCoreApplication::translate("wv::TfrmMain", "Error in LoadAtStartup"));
    }
    return QString();
}

bool CheckLoadAtStartup(RunKeyStore& store) {
    try {
        KeyCloser closer(store);
        std::string text;
        return store.OpenKeyAndRead(RunValueName, text);
    } catch (...) {
        reportError(QCoreApplication::translate("wv::TfrmMain", "Error in CheckLoadAtStartup"));
        return false;
    }
}

} // namespace wv
