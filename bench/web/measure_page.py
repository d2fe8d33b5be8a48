#!/usr/bin/env python3
"""Measures the web page in headless Chromium in real time (no virtual time): the time from
navigation to the first frame (the still loading picture) and to the first animated one, and the frame rate over a window of seconds after
the loading animation. Talks to the browser over its DevTools protocol (a websocket,
spoken here with the standard library alone).

Usage: measure_page.py BUILD_WEB_DIR [WIDTHxHEIGHT] [SECONDS]"""
import base64
import json
import os
import socket
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request


class DevTools:
    def __init__(self, url):
        host_port, path = url[len("ws://"):].split("/", 1)
        host, port = host_port.split(":")
        self.sock = socket.create_connection((host, int(port)))
        key = base64.b64encode(os.urandom(16)).decode()
        request = (f"GET /{path} HTTP/1.1\r\nHost: {host_port}\r\nUpgrade: websocket\r\n"
                   f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
        self.sock.sendall(request.encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            reply += self.sock.recv(4096)
        self.buffer = reply.split(b"\r\n\r\n", 1)[1]
        self.next_id = 0

    def _send(self, text):
        data = text.encode()
        mask = os.urandom(4)
        header = bytes([0x81])
        if len(data) < 126:
            header += bytes([0x80 | len(data)])
        else:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(data))
        self.sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def _read(self, n):
        while len(self.buffer) < n:
            self.buffer += self.sock.recv(65536)
        out, self.buffer = self.buffer[:n], self.buffer[n:]
        return out

    def _receive(self):
        first, second = self._read(2)
        length = second & 0x7F
        if length == 126:
            length = struct.unpack(">H", self._read(2))[0]
        elif length == 127:
            length = struct.unpack(">Q", self._read(8))[0]
        payload = self._read(length)
        return json.loads(payload) if first & 0x0F == 1 else None

    def call(self, method, **params):
        self.next_id += 1
        self._send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = self._receive()
            if message and message.get("id") == self.next_id:
                return message.get("result", {})

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")


def main():
    page = os.path.abspath(sys.argv[1])
    width, height = (sys.argv[2] if len(sys.argv) > 2 else "800x600").split("x")
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    http_port = probe.getsockname()[1]
    probe.close()
    server = subprocess.Popen([sys.executable, "-m", "http.server", str(http_port), "--bind", "127.0.0.1",
                               "--directory", page], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    profile = tempfile.mkdtemp()
    browser = subprocess.Popen(["chromium", "--headless", "--no-sandbox", "--use-angle=swiftshader",
                                "--enable-unsafe-swiftshader", f"--window-size={width},{height}",
                                "--remote-debugging-port=0", f"--user-data-dir={profile}", "about:blank"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        port_file = os.path.join(profile, "DevToolsActivePort")
        while not os.path.exists(port_file):
            time.sleep(0.1)
        time.sleep(0.2)
        debug_port = open(port_file).read().split()[0]
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{debug_port}/json"))
        tab = DevTools(next(t for t in targets if t["type"] == "page")["webSocketDebuggerUrl"])
        tab.call("Page.enable")
        tab.call("Page.navigate", url=f"http://127.0.0.1:{http_port}/index.html?seed=11")
        # The loading animation lasts six seconds of the show; the window starts after it.
        while (tab.evaluate("typeof stats !== 'undefined' ? stats.frames : 0") or 0) < 2:
            time.sleep(0.05)
        first, animated = tab.evaluate("[stats.firstFrameMs, stats.firstAnimatedMs]")
        time.sleep(8)
        start_frames, start_time = tab.evaluate("[stats.frames, performance.now()]")
        time.sleep(seconds)
        end_frames, end_time = tab.evaluate("[stats.frames, performance.now()]")
        errors = tab.evaluate("stats.errors")
        fps = (end_frames - start_frames) / ((end_time - start_time) / 1000)
        print(f"size={width}x{height} first_frame_ms={first:.0f} first_animated_ms={animated:.0f} fps={fps:.2f} errors={len(errors)}")
    finally:
        browser.terminate()
        server.terminate()
        browser.wait()


if __name__ == "__main__":
    main()
