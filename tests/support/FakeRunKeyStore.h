// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/RunKeyStore.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace wv {

// A Run value store in memory for tests. It records every call as "<operation> <value name>"
// (and "CloseKey"), keeps the stored values as raw data like the registry does, and can refuse
// (the key cannot be opened, or the value cannot be changed) or fail with an exception.
class FakeRunKeyStore : public RunKeyStore {
public:
    // Value name -> stored text; tests may put values here to play ones written by someone else.
    std::map<std::string, std::string> values;
    std::vector<std::string> calls;

    bool refuseOpen = false;   // the key cannot be created or opened (no rights)
    bool refuseChange = false; // the key opens, but setting or deleting a value is refused
    bool throwOnNext = false;  // the next operation (not CloseKey) throws, then this clears

    bool isOpen = false;
    int closeCount = 0;
    std::string lastError; // what a refusal says

    std::string LastError() const override { return lastError; }

    bool CreateKeyAndWrite(const std::string& valueName, const std::string& text) override {
        calls.push_back("CreateKeyAndWrite " + valueName);
        maybeThrow();
        lastError.clear();
        if (refuseOpen || refuseChange)
            lastError = "access denied";
        if (refuseOpen)
            return false;
        isOpen = true;
        if (refuseChange)
            return false;
        values[valueName] = text;
        return true;
    }

    bool OpenKeyAndDelete(const std::string& valueName) override {
        calls.push_back("OpenKeyAndDelete " + valueName);
        maybeThrow();
        lastError.clear();
        if (refuseOpen || refuseChange)
            lastError = "access denied";
        if (refuseOpen)
            return false;
        isOpen = true;
        if (refuseChange)
            return false;
        return values.erase(valueName) > 0;
    }

    bool OpenKeyAndRead(const std::string& valueName, std::string& text) override {
        calls.push_back("OpenKeyAndRead " + valueName);
        maybeThrow();
        if (refuseOpen)
            return false;
        isOpen = true;
        const auto it = values.find(valueName);
        if (it == values.end())
            return false;
        text = it->second;
        return true;
    }

    void CloseKey() override {
        calls.push_back("CloseKey");
        isOpen = false;
        ++closeCount;
    }

    // The stored value's text: its data up to the first zero byte; empty when there is none.
    std::string text(const std::string& valueName) const {
        const auto it = values.find(valueName);
        if (it == values.end())
            return std::string();
        return std::string(it->second.c_str());
    }

private:
    void maybeThrow() {
        if (throwOnNext) {
            throwOnNext = false;
            throw std::runtime_error("store fault");
        }
    }
};

} // namespace wv
