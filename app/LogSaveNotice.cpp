#include "app/LogSaveNotice.h"

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

} // namespace wv
