"""Frames on the wire: what the server accepts, and the one error reply that ends the connection when the
input cannot be framed or decoded."""

import unittest

import transcript
from transcript import HANDSHAKE, INVALID_REQUEST, PARSE_ERROR

# Answered the same way in every state, so it shows whether a frame before it was taken as a message.
SHUTDOWN = '{"jsonrpc":"2.0","id":1,"method":"shutdown"}'
NOT_INITIALIZED = '{"jsonrpc":"2.0","error":{"code":-32002,"message":"Server not initialized"},"id":1}'


class AcceptedFramesTest(unittest.TestCase):
    ROWS = {
        "content type with charset utf-8":
            r"Content-Type: application/vscode-jsonrpc; charset=utf-8\r\nContent-Length: {len}\r\n\r\n" + SHUTDOWN,
        "charset utf8 after other parameters":
            r"Content-Type: application/vscode-jsonrpc; a=b ;  charset=utf8\r\nContent-Length: {len}\r\n\r\n" + SHUTDOWN,
        "an unknown field is ignored": r"X-Trace: 1\r\nContent-Length: {len}\r\n\r\n" + SHUTDOWN,
        "the later of two lengths counts": r"Content-Length: 999\r\nContent-Length: {len}\r\n\r\n" + SHUTDOWN,
        "plus sign and blanks before the length": "Content-Length: \t +{len}\\r\\n\\r\\n" + SHUTDOWN,
        "bare line feeds": r"Content-Length: {len}\n\n" + SHUTDOWN,
    }

    def test_rows(self):
        for name, raw in self.ROWS.items():
            with self.subTest(name):
                transcript.run(self, f"""
                    => {raw}
                    <- {NOT_INITIALIZED}
                """)

    def test_empty_body_is_skipped(self):
        transcript.run(self, rf"""
            => Content-Length: 0\r\n\r\n
            -> {SHUTDOWN}
            <- {NOT_INITIALIZED}
        """)

    def test_frames_split_across_many_reads(self):
        # Framing must not depend on how the input is cut into reads.
        for size in (1, 7, 64):
            with self.subTest(chunk=size):
                server = transcript.start(self)
                data = b"".join(transcript.frame(body) for body in (SHUTDOWN, SHUTDOWN.replace('"id":1', '"id":2')))
                for offset in range(0, len(data), size):
                    server.write(data[offset:offset + size])
                server.expect(NOT_INITIALIZED, NOT_INITIALIZED.replace('"id":1', '"id":2'))
                transcript.finish(self, server)


class FramingErrorTest(unittest.TestCase):
    # Each row ends the connection by itself after its error reply, with the input still open.
    ENDING_ROWS = {
        "lower-case length field": r"content-length: 2\r\n\r\n{}",
        "no length field": r"Content-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}",
        "three header fields": r"Content-Length: 2\r\nX-One: 1\r\nX-Two: 2\r\n\r\n{}",
        "charset latin1": r"Content-Type: text/plain; charset=latin1\r\nContent-Length: 2\r\n\r\n{}",
        "charset in capitals": r"Content-Type: text/plain; charset=UTF-8\r\nContent-Length: 2\r\n\r\n{}",
        "media type without charset": r"Content-Type: application/vscode-jsonrpc\r\nContent-Length: 2\r\n\r\n{}",
        "length not a number": r"Content-Length: two\r\n\r\n{}",
        "negative length": r"Content-Length: -2\r\n\r\n{}",
        "length beyond 64 bits": r"Content-Length: 18446744073709551616\r\n\r\n{}",
        "length field not UTF-8": r"Content-Length: 2\xff\r\n\r\n{}",
        "body not UTF-8": r'Content-Length: {len}\r\n\r\n{"jsonrpc":"2.0","method":"\xff"}',
        "body not JSON": r'Content-Length: {len}\r\n\r\n{"jsonrpc":"2.0",',
        "JSON followed by more JSON": r'Content-Length: {len}\r\n\r\n{"jsonrpc":"2.0","method":"exit"} {}',
    }

    def test_rows_that_end_the_connection(self):
        for name, raw in self.ENDING_ROWS.items():
            with self.subTest(name):
                transcript.run(self, f"""
                    => {raw}
                    <- {PARSE_ERROR}
                    -- ends
                """)

    def test_input_ending_inside_a_message(self):
        rows = {
            "inside the header": r"Content-Length: 10",
            "inside the body": r'Content-Length: 100\r\n\r\n{"jsonrpc":"2.0"',
            # the length alone must not make the server reserve memory for the body
            "a body of 10^18 bytes announced": r'Content-Length: 1000000000000000000\r\n\r\n{"jsonrpc":"2.0"',
        }
        for name, raw in rows.items():
            with self.subTest(name):
                transcript.run(self, f"""
                    => {raw}
                    -- close
                    <- {PARSE_ERROR}
                """)

    def test_empty_line_between_frames(self):
        # The empty line ends an empty header section; the message before it is still answered.
        transcript.run(self, rf"""
            -> {SHUTDOWN}
            => \r\n
            -> {SHUTDOWN}
            <- {NOT_INITIALIZED}
            <- {PARSE_ERROR}
            -- ends
        """)

    def test_messages_already_dispatched_are_answered_before_the_end(self):
        transcript.run(self, HANDSHAKE + rf"""
            -> {{"jsonrpc":"2.0","id":3,"method":"shutdown"}}
            => content-length: 2\r\n\r\n{{}}
            <- {{"jsonrpc":"2.0","result":null,"id":3}}
            <- {PARSE_ERROR}
            -- ends
        """)


class InvalidMessageTest(unittest.TestCase):
    ROWS = {
        "batch": '[{"jsonrpc":"2.0","id":1,"method":"shutdown"}]',
        "empty batch": "[]",
        "jsonrpc 1.0": '{"jsonrpc":"1.0","id":1,"method":"shutdown"}',
        "jsonrpc missing": '{"id":1,"method":"shutdown"}',
        "jsonrpc a number": '{"jsonrpc":2.0,"id":1,"method":"shutdown"}',
        "repeated member": '{"jsonrpc":"2.0","id":1,"id":2,"method":"shutdown"}',
        "fractional id": '{"jsonrpc":"2.0","id":1.5,"method":"shutdown"}',
        "id with exponent": '{"jsonrpc":"2.0","id":1e3,"method":"shutdown"}',
        "id beyond 64 bits": '{"jsonrpc":"2.0","id":9223372036854775808,"method":"shutdown"}',
        "boolean id": '{"jsonrpc":"2.0","id":true,"method":"shutdown"}',
        "object id": '{"jsonrpc":"2.0","id":{},"method":"shutdown"}',
        "method not a string": '{"jsonrpc":"2.0","id":1,"method":5}',
        "a string, not an object": '"shutdown"',
    }

    def test_rows(self):
        for name, body in self.ROWS.items():
            with self.subTest(name):
                transcript.run(self, f"""
                    -> {body}
                    <- {INVALID_REQUEST}
                    -- ends
                """)


class DeepNestingTest(unittest.TestCase):
    DEPTH = 100_000

    def test_deeply_nested_params(self):
        arrays = "[" * self.DEPTH + "]" * self.DEPTH
        objects = '{"a":' * self.DEPTH + "{}" + "}" * self.DEPTH
        rows = [
            # Initialized: refused, and the params come back in the error message, nesting and all; the
            # connection is shut down all the same.
            ("arrays after initialize", HANDSHAKE, arrays,
             '{"jsonrpc":"2.0","error":{"code":-32602,"message":"Unexpected params: ' + arrays + '"},"id":2}',
             '{"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid request"},"id":3}'),
            # Uninitialized: refused before the params are looked at, but they were parsed and must be released.
            ("objects before initialize", "", objects,
             '{"jsonrpc":"2.0","error":{"code":-32002,"message":"Server not initialized"},"id":2}',
             '{"jsonrpc":"2.0","error":{"code":-32002,"message":"Server not initialized"},"id":3}'),
        ]
        for name, before, params, reply, next_reply in rows:
            with self.subTest(name):
                server = transcript.start(self)
                transcript.play(self, server, before)
                server.send('{"jsonrpc":"2.0","id":2,"method":"shutdown","params":' + params + "}")
                server.expect(reply, timeout=120)
                server.send('{"jsonrpc":"2.0","id":3,"method":"shutdown"}')
                server.expect(next_reply)
                transcript.finish(self, server)


if __name__ == "__main__":
    unittest.main()
