#!/usr/bin/env python3
"""A static update server on 127.0.0.1 that waits DELAY_MS before each answer,
as a distant server does: HTTP/1.1 with kept-alive connections, one thread per
connection.

    distant_server.py ROOT PORT DELAY_MS
"""
import functools
import http.server
import sys
import time


class DelayedHandler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    delay_seconds = 0.0

    def send_head(self):
        if self.delay_seconds > 0:
            time.sleep(self.delay_seconds)
        return super().send_head()

    def log_message(self, format, *args):
        pass


def main():
    root, port, delay_ms = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    DelayedHandler.delay_seconds = delay_ms / 1000.0
    handler = functools.partial(DelayedHandler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    server.serve_forever()


if __name__ == "__main__":
    main()
