// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// A small X session manager (XSMP over ICE) for end-to-end tests: it accepts one client at a
// time, and a test drives it through standard input:
//   checkpoint   a save request while the session goes on (a desktop's checkpoint)
//   shutdown     the save request of a session that ends
//   die          the session's end
// It writes what happens, one line each, to standard output: first "SESSION_MANAGER=<address>",
// then "registered", "save-done <1|0>", "phase2", "closed".
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

SmsConn g_client = nullptr;
IceConn g_connection = nullptr; // one client at a time

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

Bool acceptAnyHost(char* /*hostname*/) {
    return True;
}

Status registerClient(SmsConn conn, SmPointer /*data*/, char* previousId) {
    std::free(previousId);
    char* id = SmsGenerateClientID(conn);
    SmsRegisterClientReply(conn, id);
    std::free(id);
    g_client = conn;
    say("registered");
    // A new client gets a first save request at once, as the protocol asks of a manager.
    SmsSaveYourself(conn, SmSaveLocal, False, SmInteractStyleNone, False);
    return 1;
}

void interactRequest(SmsConn conn, SmPointer, int) {
    SmsInteract(conn);
}
void interactDone(SmsConn, SmPointer, Bool) {}
void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void saveYourselfPhase2Request(SmsConn conn, SmPointer) {
    say("phase2");
    SmsSaveYourselfPhase2(conn);
}
void saveYourselfDone(SmsConn, SmPointer, Bool success) {
    say(success ? "save-done 1" : "save-done 0");
}
// The client left (or its connection broke): the next one may come.
void dropConnection() {
    IceSetShutdownNegotiation(g_connection, False);
    IceCloseConnection(g_connection);
    g_connection = nullptr;
    g_client = nullptr;
    say("closed");
}
void closeConnection(SmsConn conn, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SmsCleanUp(conn);
    dropConnection();
}
void setProperties(SmsConn, SmPointer, int count, SmProp** props) {
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}
void deleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}
void getProperties(SmsConn conn, SmPointer) {
    SmsReturnProperties(conn, 0, nullptr);
}

Status newClient(SmsConn /*conn*/, SmPointer /*data*/, unsigned long* mask, SmsCallbacks* cb,
                 char** /*failure*/) {
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    cb->register_client.callback = registerClient;
    cb->interact_request.callback = interactRequest;
    cb->interact_done.callback = interactDone;
    cb->save_yourself_request.callback = saveYourselfRequest;
    cb->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
    cb->save_yourself_done.callback = saveYourselfDone;
    cb->close_connection.callback = closeConnection;
    cb->set_properties.callback = setProperties;
    cb->delete_properties.callback = deleteProperties;
    cb->get_properties.callback = getProperties;
    return 1;
}

void command(const std::string& line) {
    if (!g_client) {
        say("no-client");
        return;
    }
    // A desktop's checkpoint saves both the program's data and its state, as does its end.
    if (line == "checkpoint")
        SmsSaveYourself(g_client, SmSaveBoth, False, SmInteractStyleNone, False);
    else if (line == "shutdown")
        SmsSaveYourself(g_client, SmSaveBoth, True, SmInteractStyleNone, False);
    else if (line == "die")
        SmsDie(g_client);
    IceFlush(SmsGetIceConnection(g_client));
}

} // namespace

int main() {
    char error[256] = "";
    if (!SmsInitialize("wirevane-test", "1.0", newClient, nullptr, acceptAnyHost, sizeof error,
                       error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error) || count == 0) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    std::vector<IceListenObj> local;
    for (int i = 0; i < count; ++i) {
        IceSetHostBasedAuthProc(listeners[i], acceptAnyHost);
        // Only the local socket: a test never opens a TCP port.
        char* id = IceGetListenConnectionString(listeners[i]);
        if (std::strncmp(id, "local/", 6) == 0)
            local.push_back(listeners[i]);
        std::free(id);
    }
    if (local.empty()) {
        std::fprintf(stderr, "no local ICE socket\n");
        return 1;
    }
    char* address = IceComposeNetworkIdList(static_cast<int>(local.size()), local.data());
    std::printf("SESSION_MANAGER=%s\n", address);
    std::fflush(stdout);
    std::free(address);

    std::string pending;
    for (;;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        for (IceListenObj l : local)
            fds.push_back({IceGetListenConnectionNumber(l), POLLIN, 0});
        const bool watched = g_connection != nullptr; // the last entry is the client's
        if (watched)
            fds.push_back({IceConnectionNumber(g_connection), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0)
                return 0; // the test is done with us
            pending.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                command(pending.substr(0, end));
                pending.erase(0, end + 1);
            }
        }
        for (std::size_t i = 0; i < local.size(); ++i) {
            IceAcceptStatus status;
            IceConn conn = fds[1 + i].revents ? IceAcceptConnection(local[i], &status) : nullptr;
            if (!conn)
                continue;
            // Finish the connection's set-up before anything else talks on it.
            IceConnectStatus state;
            while ((state = IceConnectionStatus(conn)) == IceConnectPending)
                if (IceProcessMessages(conn, nullptr, nullptr) == IceProcessMessagesIOError)
                    break;
            if (state == IceConnectAccepted && !g_connection)
                g_connection = conn;
            else
                IceCloseConnection(conn);
        }
        if (watched && g_connection && fds.back().revents &&
            IceProcessMessages(g_connection, nullptr, nullptr) == IceProcessMessagesIOError)
            dropConnection();
    }
}
