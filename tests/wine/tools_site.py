#!/usr/bin/env python3
"""A stand-in for the tools web site, reached by WinINet as its proxy: answers
every GET with the bytes of BODY_FILE (read anew for each request, so a test
can change them) and appends "agent | url" of each request to LOG_FILE.
Prints the port it listens on, then serves until killed.
Usage: tools_site.py BODY_FILE LOG_FILE"""
import http.server
import sys

body_file, log_file = sys.argv[1], sys.argv[2]


class Site(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(log_file, "a") as log:
            log.write(f"{self.headers.get('User-Agent')} | {self.path}\n")
        with open(body_file, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache, no-store")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Site)
print(server.server_address[1], flush=True)
server.serve_forever()
