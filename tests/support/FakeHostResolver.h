// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/HostResolver.h"

#include <charconv>
#include <deque>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wv {

// A resolver for tests: the local host's answer is set per test (as dotted texts), failures can
// be switched on, and every call is counted. Answers queued with queueAnswer() are used one per
// resolve() call before the standing answer, so a test can change the reading between polls.
class FakeHostResolver final : public HostResolver {
public:
    using Answer = std::optional<AddressList>;

    // --- what the fake answers
    std::string name = "wv-test-host";
    bool startupFails = false;   // startup() returns false
    bool hostNameFails = false;  // hostName() gives nullopt
    bool throwOnResolve = false; // resolve() throws std::runtime_error("resolver failure")

    // The standing answer for the local host: these addresses, in this order.
    void setAddresses(std::initializer_list<std::string_view> dotted) {
        answer_ = parseAll(dotted);
    }
    // The standing answer becomes "no answer".
    void setNoAnswer() { answer_.reset(); }
    // Answers for the next resolve() calls, one each, before the standing answer again.
    void queueAnswer(std::initializer_list<std::string_view> dotted) {
        queued_.push_back(parseAll(dotted));
    }
    void queueNoAnswer() { queued_.push_back(std::nullopt); }

    // --- what the fake saw
    int startups = 0; // startup() calls, failed ones included
    int cleanups = 0; // cleanup() calls
    int hostNameCalls = 0;
    int resolveCalls = 0;
    int callsWhileStopped = 0; // hostName()/resolve()/cleanup() while the layer was not started
    std::string lastResolvedName;

    bool started() const { return depth_ > 0; }
    // Every successful startup() was released again.
    bool balanced() const { return depth_ == 0 && successfulStartups_ == cleanups; }

    bool startup() override {
        ++startups;
        if (startupFails)
            return false;
        ++depth_;
        ++successfulStartups_;
        return true;
    }

    void cleanup() override {
        ++cleanups;
        if (depth_ == 0)
            ++callsWhileStopped;
        else
            --depth_;
    }

    std::optional<std::string> hostName() override {
        ++hostNameCalls;
        if (!started())
            ++callsWhileStopped;
        if (hostNameFails)
            return std::nullopt;
        return name.substr(0, kHostNameBufferSize - 1);
    }

    Answer resolve(const std::string& n) override {
        ++resolveCalls;
        lastResolvedName = n;
        if (!started())
            ++callsWhileStopped;
        if (throwOnResolve)
            throw std::runtime_error("resolver failure");
        Answer a = answer_;
        if (!queued_.empty()) {
            a = queued_.front();
            queued_.pop_front();
        }
        if (!n.empty() && n != name.substr(0, kHostNameBufferSize - 1))
            return std::nullopt;
        return a;
    }

    static Address parse(std::string_view dotted) {
        Address a{};
        const char* p = dotted.data();
        const char* end = p + dotted.size();
        for (std::size_t i = 0; i < a.size(); ++i) {
            unsigned v = 0;
            auto [next, ec] = std::from_chars(p, end, v);
            if (ec != std::errc() || v > 255 || (i < 3 && (next == end || *next != '.')))
                throw std::invalid_argument("not a dotted IPv4 address: " + std::string(dotted));
            a[i] = static_cast<std::uint8_t>(v);
            p = next + (i < 3 ? 1 : 0);
        }
        if (p != end)
            throw std::invalid_argument("not a dotted IPv4 address: " + std::string(dotted));
        return a;
    }

private:
    static AddressList parseAll(std::initializer_list<std::string_view> dotted) {
        AddressList out;
        for (std::string_view d : dotted)
            out.push_back(parse(d));
        return out;
    }

    Answer answer_ = AddressList{};
    std::deque<Answer> queued_;
    int depth_ = 0;
    int successfulStartups_ = 0;
};

} // namespace wv
