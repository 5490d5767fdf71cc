// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/HostLookup.h"

namespace wv {

namespace {

// Releases the sockets layer when it was started, whichever way the lookup leaves.
class SocketsSession {
public:
    explicit SocketsSession(HostResolver& r) : r_(r), started_(r.startup()) {}
    ~SocketsSession() {
        if (started_)
            r_.cleanup();
    }
    SocketsSession(const SocketsSession&) = delete;
    SocketsSession& operator=(const SocketsSession&) = delete;
    bool started() const { return started_; }

private:
    HostResolver& r_;
    bool started_;
};

// The local host's addresses, looked up by its name; nullopt when the sockets layer did not
// start, the name cannot be read or the name has no answer.
std::optional<HostResolver::AddressList> lookupByHostName(HostResolver& r,
                                                          const SocketsSession& session) {
    if (!session.started())
        return std::nullopt;
    const std::optional<std::string> name = r.hostName();
    if (!name)
        return std::nullopt;
    return r.resolve(*name);
}

} // namespace

QString DottedText(const HostResolver::Address& a) {
    char buf[16];
    char* p = buf;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i != 0)
            *p++ = '.';
        const unsigned v = a[i];
        if (v >= 100)
            *p++ = char('0' + v / 100);
        if (v >= 10)
            *p++ = char('0' + v / 10 % 10);
        *p++ = char('0' + v % 10);
    }
    return QString::fromLatin1(buf, p - buf);
}

QString GetCurrentIP(HostResolver& resolver) {
    SocketsSession session(resolver);
    const std::optional<HostResolver::AddressList> list = lookupByHostName(resolver, session);
    // Only the last address survives the walk over the list, so only that one is formatted.
    if (!list || list->empty())
        return QString();
    return DottedText(list->back());
}

QString LookupAddressList(HostResolver& resolver, const std::function<void(const QString&)>& each) {
    SocketsSession session(resolver);
    const std::optional<HostResolver::AddressList> list = lookupByHostName(resolver, session);
    QString last;
    if (!list)
        return last;
    for (const HostResolver::Address& a : *list) {
        last = DottedText(a);
        if (each)
            each(last);
    }
    return last;
}

QString GetLocalIP(HostResolver& resolver) {
    QString result = kLoopbackAddress;
    SocketsSession session(resolver);
    if (!session.started())
        return result;
    const std::optional<HostResolver::AddressList> list = resolver.resolve(std::string());
    if (list && !list->empty())
        result = DottedText(list->front());
    return result;
}

} // namespace wv
