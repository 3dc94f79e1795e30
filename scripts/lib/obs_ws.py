"""A minimal obs-websocket 5 client over a plain RFC 6455 connection (no websocket library is
available here): connect, identify, send requests and wait for their answers."""

import base64
import hashlib
import json
import os
import socket
import struct
import time

_GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11"


class WebSocketError(Exception):
    pass


class WebSocket:
    """Text frames only, client side (masked), with ping answered and fragments joined."""

    def __init__(self, host, port, path="/", timeout=10.0):
        self.sock = socket.create_connection((host, port), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        request = (f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                   f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                   "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Protocol: obswebsocket.json\r\n\r\n")
        self.sock.sendall(request.encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise WebSocketError("the server closed the connection during the handshake")
            head += chunk
        head, self.buffer = head.split(b"\r\n\r\n", 1)
        lines = head.decode("latin-1").split("\r\n")
        if " 101 " not in lines[0]:
            raise WebSocketError(f"handshake refused: {lines[0]}")
        accept = base64.b64encode(hashlib.sha1((key + _GUID).encode()).digest()).decode()
        headers = {k.strip().lower(): v.strip() for k, v in
                   (line.split(":", 1) for line in lines[1:] if ":" in line)}
        if headers.get("sec-websocket-accept") != accept:
            raise WebSocketError("handshake answered with a wrong Sec-WebSocket-Accept")

    def _read(self, n):
        while len(self.buffer) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise WebSocketError("the server closed the connection")
            self.buffer += chunk
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def _send_frame(self, opcode, payload):
        header = bytes([0x80 | opcode])
        n = len(payload)
        if n < 126:
            header += bytes([0x80 | n])
        elif n < 65536:
            header += bytes([0x80 | 126]) + struct.pack("!H", n)
        else:
            header += bytes([0x80 | 127]) + struct.pack("!Q", n)
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def send_text(self, text):
        self._send_frame(0x1, text.encode())

    def receive_text(self):
        message = b""
        while True:
            b0, b1 = self._read(2)
            opcode, n = b0 & 0x0F, b1 & 0x7F
            if n == 126:
                n = struct.unpack("!H", self._read(2))[0]
            elif n == 127:
                n = struct.unpack("!Q", self._read(8))[0]
            mask = self._read(4) if b1 & 0x80 else None
            payload = self._read(n)
            if mask:
                payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
            if opcode == 0x8:
                code = struct.unpack("!H", payload[:2])[0] if len(payload) >= 2 else 0
                reason = payload[2:].decode(errors="replace")
                raise WebSocketError(f"closed by the server ({code} {reason})")
            if opcode == 0x9:
                self._send_frame(0xA, payload)
                continue
            if opcode == 0xA:
                continue
            message += payload
            if b0 & 0x80:
                return message.decode()

    def close(self):
        try:
            self._send_frame(0x8, struct.pack("!H", 1000))
        except OSError:
            pass
        self.sock.close()


class RequestFailed(Exception):
    pass


class Obs:
    """obs-websocket 5: Hello, Identify (no authentication), then requests by id."""

    def __init__(self, port=4455, host="127.0.0.1", timeout=10.0):
        self.ws = WebSocket(host, port, timeout=timeout)
        hello = json.loads(self.ws.receive_text())
        if hello.get("op") != 0:
            raise WebSocketError(f"expected Hello, got {hello}")
        if "authentication" in hello["d"]:
            raise WebSocketError("the server asks for a password")
        self.ws.send_text(json.dumps({"op": 1, "d": {"rpcVersion": 1, "eventSubscriptions": 0}}))
        identified = json.loads(self.ws.receive_text())
        if identified.get("op") != 2:
            raise WebSocketError(f"not identified: {identified}")
        self.next_id = 0

    def call(self, request_type, **data):
        """The answer's responseData (a dict); RequestFailed when OBS says the request failed."""
        self.next_id += 1
        rid = str(self.next_id)
        self.ws.send_text(json.dumps({"op": 6, "d": {"requestType": request_type,
                                                     "requestId": rid, "requestData": data}}))
        while True:
            message = json.loads(self.ws.receive_text())
            if message.get("op") == 7 and message["d"].get("requestId") == rid:
                status = message["d"]["requestStatus"]
                if not status.get("result"):
                    raise RequestFailed(f"{request_type}: {status.get('code')} "
                                        f"{status.get('comment', '')}")
                return message["d"].get("responseData", {}) or {}

    def close(self):
        self.ws.close()


def connect(port=4455, seconds=60.0):
    """Waits for OBS's server to answer (it starts once OBS has loaded)."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            return Obs(port)
        except (OSError, WebSocketError):
            if time.monotonic() > deadline:
                raise
            time.sleep(0.25)
