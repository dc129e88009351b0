"""The launcher as editors start it: its command line, and the standard streams it may be handed."""

import os
import select
import subprocess
import sys
import tempfile
import time
import unittest

import transcript
from transcript import HANDSHAKE, INITIALIZE_RESULT

transcript.require_environment()
LAUNCHER = transcript.LAUNCHER


def launch(*arguments, stdin=subprocess.DEVNULL, timeout=60):
    return subprocess.run([LAUNCHER, *arguments], stdin=stdin, capture_output=True, timeout=timeout)


class CommandLineTest(unittest.TestCase):
    def test_version_prints_the_identification_text(self):
        sys.path.insert(0, transcript.MODULE_DIR)
        import tarnu
        done = launch("--version")
        self.assertEqual((done.returncode, done.stdout, done.stderr),
                         (0, tarnu.get_server_info().encode() + b"\n", b""))

    def test_help_says_how_to_connect_and_does_not_serve(self):
        # stdin stays open: a launcher that started serving would not end.
        with subprocess.Popen([LAUNCHER, "--help"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE) as process:
            try:
                self.assertEqual(process.wait(timeout=60), 0)
            finally:
                process.kill()
                process.stdin.close()
            out, err = process.stdout.read(), process.stderr.read()
        self.assertEqual(err, b"")
        self.assertIn(b"--stdio", out)
        self.assertIn(b".simf", out)

    def test_editor_added_options_do_not_change_the_server(self):
        for argv in ([], ["--stdio"], ["--stdio", "--clientProcessId=4242"], ["--clientProcessId", "4242", "--stdio"],
                     ["--log-level=debug", "whatever"], ["--socket=5007"], ["-h"], ["-V"]):
            with self.subTest(argv=argv):
                transcript.run(self, HANDSHAKE, argv=[LAUNCHER, *argv])


class StreamsTest(unittest.TestCase):
    def test_input_already_at_its_end(self):
        with tempfile.TemporaryFile() as empty:
            for name, stdin in [("/dev/null", subprocess.DEVNULL), ("empty file", empty)]:
                with self.subTest(name):
                    done = launch("--stdio", stdin=stdin)
                    self.assertEqual((done.returncode, done.stdout, done.stderr), (0, b"", b""))

    def test_input_from_a_regular_file(self):
        # A regular file cannot be polled for readiness; it must be read all the same. Both messages are in
        # the first read, so the hover is dispatched before the initialize reply exists.
        messages = [
            '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"processId":null,"rootUri":null,"capabilities":{}}}',
            '{"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":'
            '{"textDocument":{"uri":"file:///a.simf"},"position":{"line":0,"character":0}}}',
        ]
        with tempfile.TemporaryFile() as source:
            source.write(b"".join(transcript.frame(message) for message in messages))
            source.seek(0)
            server = transcript.start(self, stdin=source)
        server.expect('{"jsonrpc":"2.0","result":%s,"id":1}' % INITIALIZE_RESULT,
                      '{"jsonrpc":"2.0","error":{"code":-32002,"message":"Server not initialized"},"id":2}')
        transcript.finish(self, server)

    def test_reader_closing_stdout_early(self):
        # An editor that dies leaves the server writing into a pipe that nobody reads; it must wind down quietly.
        initialize = transcript.frame('{"jsonrpc":"2.0","id":1,"method":"initialize","params":'
                                      '{"processId":null,"rootUri":null,"capabilities":{}}}')
        completions = b"".join(transcript.frame(
            '{"jsonrpc":"2.0","id":%d,"method":"textDocument/completion","params":'
            '{"textDocument":{"uri":"file:///a.simf"},"position":{"line":0,"character":0}}}' % id)
            for id in range(2, 500))
        for after_first_reply in (False, True):
            with self.subTest(after_first_reply=after_first_reply):
                read_end, write_end = os.pipe()
                process = subprocess.Popen([LAUNCHER, "--stdio"], stdin=subprocess.PIPE, stdout=write_end,
                                           stderr=subprocess.PIPE)
                self.addCleanup(process.kill)
                os.close(write_end)
                if after_first_reply:
                    process.stdin.write(initialize)
                    process.stdin.flush()
                    self.assertIn(b'"id":1}', read_frame(read_end))
                os.close(read_end)
                _, err = process.communicate(completions, timeout=60)
                self.assertEqual(process.returncode, 0, "exit status")
                self.assertEqual(err, b"", "the server wrote to stderr")


def read_frame(fd, timeout=transcript.TIMEOUT):
    deadline = time.monotonic() + timeout

    def read(size):
        if not select.select([fd], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise AssertionError(f"no reply within {timeout:g} s")
        chunk = os.read(fd, size)
        if not chunk:
            raise AssertionError("the output ended inside a frame")
        return chunk

    data = b""
    while b"\r\n\r\n" not in data:
        data += read(1)
    length = int(data.split(b"Content-Length: ")[1].split(b"\r\n")[0])
    body = b""
    while len(body) < length:
        body += read(length - len(body))
    return body


if __name__ == "__main__":
    unittest.main()
