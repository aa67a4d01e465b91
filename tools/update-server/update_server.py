#!/usr/bin/env python3
"""A loopback HTTP server for versync.dll and TVUpdater.exe: for tests and for trying an update
by hand.

    update_server.py ROOT [--port 4040]

serves ROOT's files on 127.0.0.1: a request for /update/tvcm/manifest answers with
ROOT/update/tvcm/manifest (query strings are recorded and otherwise ignored). Tests import the
module and use UpdateServer, which can also make a path hang, cut its body short, pause in its
body or send its body or its head a byte at a time.
"""

import argparse
import http.server
import os
import threading
import urllib.parse


class UpdateServer:
    """Serves files from a folder and in-memory bodies on a free loopback port."""

    def __init__(self, root=None, port=0):
        self.root = root
        self.bodies = {}      # path -> bytes, served before files
        self.hanging = set()  # paths whose requests are never answered
        self.truncated = {}   # path -> bytes actually sent of the announced length
        self.paused = {}      # path -> (bytes sent at once, seconds before the rest)
        self.dripping = {}    # path -> seconds between the body's bytes (the head comes at once)
        # path -> seconds between the bytes of a head that never ends (a header line that keeps
        # growing)
        self.dripping_head = {}
        self.requests = []    # (path, query dict, headers dict) of every request
        self._release = threading.Event()
        self._lock = threading.Lock()
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", port), self._handler())
        self._server.daemon_threads = True
        self._thread = None

    @property
    def port(self):
        return self._server.server_address[1]

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def start(self):
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        self._release.set()
        self._server.shutdown()
        self._server.server_close()
        self._thread.join(timeout=5)

    def __enter__(self):
        return self.start()

    def __exit__(self, *_):
        self.stop()

    def requested(self, path):
        with self._lock:
            return [r for r in self.requests if r[0] == path]

    def _body(self, path):
        if path in self.bodies:
            return self.bodies[path]
        if self.root is None:
            return None
        local = os.path.normpath(os.path.join(self.root, path.lstrip("/")))
        if not local.startswith(os.path.normpath(self.root) + os.sep) or not os.path.isfile(local):
            return None
        with open(local, "rb") as f:
            return f.read()

    def _handler(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                parts = urllib.parse.urlsplit(self.path)
                path = parts.path
                with server._lock:
                    server.requests.append((path, dict(urllib.parse.parse_qsl(parts.query)),
                                            dict(self.headers.items())))
                if path in server.hanging:
                    server._release.wait(120)
                    self.close_connection = True
                    return
                if path in server.dripping_head:
                    self.close_connection = True
                    self._drip(b"HTTP/1.1 200 OK\r\nX-Slow: " + b"a" * 100000,
                               server.dripping_head[path])
                    return
                body = server._body(path)
                if body is None:
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                if path in server.truncated:
                    self.wfile.write(body[:server.truncated[path]])
                    self.close_connection = True
                elif path in server.dripping:
                    self.close_connection = True
                    self._drip(body, server.dripping[path])
                elif path in server.paused:
                    first, seconds = server.paused[path]
                    self.wfile.write(body[:first])
                    self.wfile.flush()
                    server._release.wait(seconds)
                    self.wfile.write(body[first:])
                else:
                    self.wfile.write(body)

            def _drip(self, data, seconds):
                """Sends data a byte at a time until the client or the server goes away."""
                self.wfile.flush()
                for i in range(len(data)):
                    if server._release.wait(seconds):
                        return
                    try:
                        self.wfile.write(data[i:i + 1])
                        self.wfile.flush()
                    except OSError:
                        return

            def log_message(self, *_):
                pass

        return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root")
    parser.add_argument("--port", type=int, default=4040)
    args = parser.parse_args()
    server = UpdateServer(os.path.abspath(args.root), args.port).start()
    print("serving %s on http://127.0.0.1:%d/ (Ctrl+C ends)" % (args.root, server.port))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        server.stop()


if __name__ == "__main__":
    main()
