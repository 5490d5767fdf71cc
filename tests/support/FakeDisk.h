// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "table/FileIO.h"

#include <string>

namespace wv {

// A disk for tests that refuses to save chosen files: while `refuse` is non-zero, every atomic
// write whose target ends with `name` fails with that error number (ENOSPC for a full disk), and
// the file on disk stays as it was. Each refused write is counted.
class FakeDisk {
public:
    explicit FakeDisk(std::string name) : name_(std::move(name)) {
        setWriteFaultHook([this](const std::string& target) {
            if (refuse == 0 || target.size() < name_.size() ||
                target.compare(target.size() - name_.size(), name_.size(), name_) != 0)
                return 0;
            ++refused;
            return refuse;
        });
    }
    ~FakeDisk() { setWriteFaultHook(nullptr); }
    FakeDisk(const FakeDisk&) = delete;
    FakeDisk& operator=(const FakeDisk&) = delete;

    int refuse = 0;
    int refused = 0;

private:
    std::string name_;
};

} // namespace wv
