// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <functional>

namespace wv {

// Tells the user that the log could not be saved, once per episode. An episode starts with a
// failed save and ends with the next successful one; in between, further failures of the same
// kind open no new box, whether the first box is still open or was closed (the entries are held
// and retried meanwhile). The box never opens inside the call that failed: it is handed to
// `defer`, so that it runs from the message loop while monitoring goes on. While it is open,
// every failure only waits for it; one of a new kind is shown once the open box is closed,
// unless a save has succeeded in between. So at most one such box is open at a time.
class TLogSaveNotice {
public:
    using ShowFn = std::function<void(const QString& text)>;
    using DeferFn = std::function<void(std::function<void()> call)>;

    TLogSaveNotice(ShowFn show, DeferFn defer);

    // A save failed; `text` says why (the same text means the same kind of failure).
    void Failed(const QString& text);
    // A save reached the disk: the episode is over.
    void Saved();

    // An episode is in progress: the table holds entries that the file does not.
    bool Holding() const { return episode_; }
    bool BoxOpen() const { return boxOpen_; }

private:
    void showPending();

    ShowFn show_;
    DeferFn defer_;
    bool episode_ = false;
    bool boxOpen_ = false;
    bool scheduled_ = false;
    QString shown_;   // the kind told in this episode
    QString pending_; // a kind still to be told
};

// Why a file could not be written (fileErrorReason), in the user's language; empty without a
// reason.
QString FileErrorReasonText(int code);

} // namespace wv
