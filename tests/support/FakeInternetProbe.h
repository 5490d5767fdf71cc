// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/InternetProbe.h"

#include <memory>

namespace wv {

// A probe for tests: it records each start and cancel and answers only when the test says so.
// Several makes share one record, so a test keeps it while the owner keeps the probe.
class FakeInternetProbe final : public InternetProbe {
public:
    struct Record {
        int starts = 0;
        int cancels = 0;
        QUrl url;
        QByteArray expect;
        Done pending; // the probe that is out, if any
        bool out() const { return static_cast<bool>(pending); }
        // Answers the probe that is out; false when none is.
        bool answer(ProbeAnswer::Kind kind, const QUrl& page = {}) {
            if (!pending)
                return false;
            Done done = std::move(pending);
            pending = nullptr;
            done(ProbeAnswer{kind, page, QString()});
            return true;
        }
    };

    explicit FakeInternetProbe(std::shared_ptr<Record> r) : r_(std::move(r)) {}
    ~FakeInternetProbe() override { r_->pending = nullptr; }

    void start(const QUrl& url, const QByteArray& expect, Done done) override {
        ++r_->starts;
        r_->url = url;
        r_->expect = expect;
        r_->pending = std::move(done);
    }
    void cancel() override {
        ++r_->cancels;
        r_->pending = nullptr;
    }

private:
    std::shared_ptr<Record> r_;
};

} // namespace wv
