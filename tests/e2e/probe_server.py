#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
"""The internet check's far end for the end-to-end tests: a small HTTP server.

  probe_server.py ADDRESS PORT DIR

Every request is appended to DIR/requests (its path, one a line) and answered as DIR/mode says
at that moment: "ok" 204 No Content; "redirect" 302 to /login, as a captive portal answers;
"silent" nothing at all, the connection held open for a minute.
"""
import http.server
import os
import sys
import time


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        folder = self.server.folder
        with open(os.path.join(folder, "requests"), "a") as f:
            f.write(self.path + "\n")
        try:
            with open(os.path.join(folder, "mode")) as f:
                mode = f.read().strip()
        except OSError:
            mode = "ok"
        if mode == "silent":
            time.sleep(60)
            return
        if mode == "redirect":
            host, port = self.server.server_address[:2]
            self.send_response(302)
            self.send_header("Location", f"http://{host}:{port}/login")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def main():
    address, port, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    server = http.server.ThreadingHTTPServer((address, port), Handler)
    server.daemon_threads = True
    server.folder = folder
    open(os.path.join(folder, "ready"), "w").close()
    server.serve_forever()


if __name__ == "__main__":
    main()
