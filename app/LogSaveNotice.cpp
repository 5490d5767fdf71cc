// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/LogSaveNotice.h"

#include "table/FileIO.h"

#include <QCoreApplication>

namespace wv {

TLogSaveNotice::TLogSaveNotice(ShowFn show, DeferFn defer)
    : show_(std::move(show)), defer_(std::move(defer)) {}

void TLogSaveNotice::Failed(const QString& text) {
    if (episode_ && (text == shown_ || text == pending_))
        return;
    episode_ = true;
    pending_ = text;
    if (boxOpen_ || scheduled_)
        return; // told when the open box closes, or by the call already on its way
    scheduled_ = true;
    defer_([this] { showPending(); });
}

void TLogSaveNotice::Saved() {
    episode_ = false;
    shown_.clear();
    pending_.clear();
}

void TLogSaveNotice::showPending() {
    scheduled_ = false;
    // Polls go on while the box is open and may call Failed or Saved from inside show_.
    while (!boxOpen_ && !pending_.isEmpty()) {
        shown_ = pending_;
        pending_.clear();
        boxOpen_ = true;
        try {
            show_(shown_);
        } catch (...) {
            boxOpen_ = false;
            throw;
        }
        boxOpen_ = false;
    }
}

QString FileErrorReasonText(int code) {
    static const char* const known[] = {
        QT_TRANSLATE_NOOP("wv::TfrmMain", "The disk is full."),
        QT_TRANSLATE_NOOP("wv::TfrmMain", "The disk quota is used up."),
        QT_TRANSLATE_NOOP("wv::TfrmMain", "The disk is read-only."),
        QT_TRANSLATE_NOOP("wv::TfrmMain", "Permission to write there is denied."),
        QT_TRANSLATE_NOOP("wv::TfrmMain", "The disk reported an input/output error."),
        QT_TRANSLATE_NOOP("wv::TfrmMain", "The file has grown too large."),
    };
    const std::string reason = fileErrorReason(code);
    for (const char* text : known)
        if (reason == text)
            return QCoreApplication::translate("wv::TfrmMain", text);
    // The system's own words (strerror) already follow the user's language.
    return QString::fromLocal8Bit(reason.c_str());
}

} // namespace wv
