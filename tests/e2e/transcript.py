"""Drives a real server process over its standard streams and checks what it writes back.

A transcript is text, one step per line (leading blanks and lines starting with "#" are ignored):

    -> BODY       send BODY (any text, sent as is) framed with a computed Content-Length header
    => BYTES      send raw BYTES; Python escapes work (\\r, \\n, \\xff), and {len} in the header section
                  becomes the byte length of what follows the first empty line
    <- BODY       expect a frame with exactly this body; consecutive "<-" lines arrive in any order
    -- close      close the server's standard input now
    -- ends       the server closes its output and exits by itself, with its input still open

Consecutive sends go out in one write, so the server finds them in one read. Before each "<-" group the
pending sends are written; a frame that the group does not expect fails the test at once. When the transcript
is over, the server's input is closed and it must end: no further frame, exit status 0, nothing on stderr.
"""

import codecs
import collections
import json
import os
import queue
import re
import subprocess
import threading
import time

LAUNCHER = os.environ.get("TARNU_LAUNCHER")
MODULE_DIR = os.environ.get("TARNU_MODULE_DIR")

TIMEOUT = 20.0  # seconds to wait for an expected frame; generous for a loaded two-core machine

INITIALIZE_RESULT = (
    '{"capabilities":{"completionProvider":{"resolveProvider":false,"triggerCharacters":["."]},'
    '"hoverProvider":true,"textDocumentSync":1},'
    '"serverInfo":{"name":"Tarnu Language Server","version":"0.1.0"}}'
)
GREETING = (
    '{"jsonrpc":"2.0","method":"window/logMessage",'
    '"params":{"message":"Tarnu Language Server initialized!","type":3}}'
)

HANDSHAKE = f"""
    -> {{"jsonrpc":"2.0","id":1,"method":"initialize","params":{{"processId":null,"rootUri":null,"capabilities":{{}}}}}}
    <- {{"jsonrpc":"2.0","result":{INITIALIZE_RESULT},"id":1}}
    -> {{"jsonrpc":"2.0","method":"initialized","params":{{}}}}
    <- {GREETING}
"""


def require_environment():
    missing = [name for name in ("TARNU_LAUNCHER", "TARNU_MODULE_DIR") if not os.environ.get(name)]
    if missing:
        raise RuntimeError(f"{', '.join(missing)} not set: run these tests through ctest in the build directory")


def frame(body):
    if isinstance(body, str):
        body = body.encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def error_reply(id_json, code, message):
    return f'{{"jsonrpc":"2.0","error":{{"code":{code},"message":{json.dumps(message)}}},"id":{id_json}}}'


PARSE_ERROR = error_reply("null", -32700, "Parse error")
INVALID_REQUEST = error_reply("null", -32600, "Invalid request")


def _raw(text):
    data = codecs.escape_decode(text.encode())[0]
    if b"{len}" in data:
        end_of_headers = re.search(rb"\r?\n\r?\n", data)
        body_length = len(data) - end_of_headers.end() if end_of_headers else 0
        data = data.replace(b"{len}", str(body_length).encode())
    return data


Step = collections.namedtuple("Step", "kind payload line")


def parse(text):
    steps = []
    for number, line in enumerate(text.splitlines(), 1):
        line = line.lstrip()
        if not line or line.startswith("#"):
            continue
        marker, rest = line[:2], line[3:]
        if marker == "->":
            steps.append(Step("send", frame(rest), number))
        elif marker == "=>":
            steps.append(Step("send", _raw(rest), number))
        elif marker == "<-":
            json.loads(rest)  # a typo in an expectation should fail here, not as a mismatch later
            steps.append(Step("expect", rest.encode(), number))
        elif line in ("-- close", "-- ends"):
            steps.append(Step(line[3:], None, number))
        else:
            raise ValueError(f"transcript line {number}: cannot read {line!r}")
    return steps


_FIELD = b"Content-Length: "
_HEADER = re.compile(rb"Content-Length: (0|[1-9][0-9]*)\r\n\r\n")


def _shorten(data, limit=400):
    return data if len(data) <= limit else data[:limit] + b"...(%d bytes)" % len(data)


class Server:
    """One server process on pipes; its frames are collected on a thread as they arrive."""

    def __init__(self, argv=None, *, stdin=subprocess.PIPE, pass_fds=()):
        require_environment()
        self.process = subprocess.Popen(
            argv or [LAUNCHER, "--stdio"], stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            bufsize=0, pass_fds=pass_fds)
        self._items = queue.Queue()
        self._stderr = bytearray()
        self._stderr_changed = threading.Condition()
        self._readers = [threading.Thread(target=self._read_frames, daemon=True),
                         threading.Thread(target=self._read_stderr, daemon=True)]
        for reader in self._readers:
            reader.start()

    # What the server writes. Every frame must have exactly the one header line that the server writes.
    def _read_frames(self):
        buffer = b""
        stream = self.process.stdout
        while True:
            chunk = stream.read(65536)
            if not chunk:
                break
            buffer += chunk
            while True:
                match = _HEADER.match(buffer)
                if not match:
                    could_grow = buffer.startswith(_FIELD) or _FIELD.startswith(buffer)
                    if not could_grow or b"\r\n\r\n" in buffer or len(buffer) >= 64:
                        self._items.put(("malformed", buffer))
                        return
                    break
                end = match.end() + int(match.group(1))
                if len(buffer) < end:
                    break
                self._items.put(("frame", buffer[match.end():end]))
                buffer = buffer[end:]
        self._items.put(("malformed", buffer) if buffer else ("end", b""))

    def _read_stderr(self):
        while True:
            chunk = self.process.stderr.read(4096)
            with self._stderr_changed:
                if not chunk:
                    self._stderr_changed.notify_all()
                    return
                self._stderr += chunk
                self._stderr_changed.notify_all()

    def stderr(self):
        self._readers[1].join(TIMEOUT)
        return bytes(self._stderr)

    def wait_for_stderr(self, text, timeout=TIMEOUT):
        """Waits until `text` (bytes) has appeared on the server's standard error."""
        deadline = time.monotonic() + timeout
        with self._stderr_changed:
            while text not in self._stderr:
                left = deadline - time.monotonic()
                if left <= 0 or not self._readers[1].is_alive():
                    raise AssertionError(f"waited for {text!r} on stderr, got {bytes(self._stderr)!r}")
                self._stderr_changed.wait(left)

    # What the test sends.
    def write(self, data):
        try:
            self.process.stdin.write(data)
        except BrokenPipeError:
            pass  # the server has stopped reading; what it wrote before decides the test

    def send(self, *bodies):
        self.write(b"".join(frame(body) for body in bodies))

    def close_input(self):
        if self.process.stdin and not self.process.stdin.closed:
            try:
                self.process.stdin.close()
            except BrokenPipeError:
                pass

    def next_item(self, timeout=TIMEOUT):
        try:
            return self._items.get(timeout=timeout)
        except queue.Empty:
            return ("timeout", b"")

    def expect(self, *bodies, timeout=TIMEOUT):
        """Waits for frames with exactly these bodies, in any order; any other frame fails at once."""
        remaining = [body.encode() if isinstance(body, str) else body for body in bodies]
        received = []
        deadline = time.monotonic() + timeout
        while remaining:
            kind, data = self.next_item(max(0.0, deadline - time.monotonic()))
            if kind == "frame" and data in remaining:
                remaining.remove(data)
                received.append(data)
                continue
            expected = "\n  ".join(_shorten(body).decode(errors="replace") for body in remaining)
            if kind == "frame":
                problem = f"unexpected frame {_shorten(data)!r}"
            elif kind == "malformed":
                problem = f"malformed output {_shorten(data)!r}"
            elif kind == "end":
                problem = "the server closed its output"
            else:
                problem = f"nothing arrived within {timeout:g} s"
            raise AssertionError(f"{problem}\nstill expected:\n  {expected}\nstderr: {self.stderr_so_far()!r}")
        return received

    def receive(self, timeout=TIMEOUT):
        """The body of the next frame, whatever it holds."""
        kind, data = self.next_item(timeout)
        if kind != "frame":
            raise AssertionError(f"expected a frame, got {kind} {_shorten(data)!r}; stderr {self.stderr_so_far()!r}")
        return data

    def expect_end(self, timeout=TIMEOUT):
        """The server's output ends with no further frame and the process exits; returns its status."""
        kind, data = self.next_item(timeout)
        if kind != "end":
            raise AssertionError(f"expected the output to end, got {kind} {_shorten(data)!r}")
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the output ended but the process did not exit") from None

    def stderr_so_far(self):
        with self._stderr_changed:
            return bytes(self._stderr)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.close_input()
        for stream in (self.process.stdout, self.process.stderr):
            stream.close()


def start(testcase, argv=None, **options):
    server = Server(argv, **options)
    testcase.addCleanup(server.kill)
    return server


def finish(testcase, server, *, ended=False):
    """Closes the input, expects the server to end cleanly and silently."""
    server.close_input()
    if not ended:
        testcase.assertEqual(server.expect_end(), 0, "exit status")
    testcase.assertEqual(server.process.wait(TIMEOUT), 0, "exit status")
    testcase.assertEqual(server.stderr(), b"", "the server wrote to stderr")


def play(testcase, server, text):
    """Plays a transcript against a running server; returns whether the server has ended by itself."""
    pending = []
    ended = False
    steps = parse(text)
    index = 0
    while index < len(steps):
        step = steps[index]
        if step.kind == "send":
            pending.append(step.payload)
            index += 1
            continue
        if pending:
            server.write(b"".join(pending))
            pending = []
        try:
            if step.kind == "expect":
                group = []
                while index < len(steps) and steps[index].kind == "expect":
                    group.append(steps[index].payload)
                    index += 1
                server.expect(*group)
                continue
            if step.kind == "close":
                server.close_input()
            elif step.kind == "ends":
                testcase.assertEqual(server.expect_end(), 0, "exit status")
                ended = True
        except AssertionError as failure:
            raise AssertionError(f"at transcript line {step.line}: {failure}") from None
        index += 1
    if pending:
        server.write(b"".join(pending))
    return ended


def run(testcase, text, argv=None):
    """Runs one transcript against a fresh server, which must then end cleanly and silently."""
    server = start(testcase, argv)
    finish(testcase, server, ended=play(testcase, server, text))
    return server
