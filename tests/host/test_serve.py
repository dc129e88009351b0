"""serve(): what one call does with the process's streams, the interpreter lock, and faults."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

import child

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import transcript  # noqa: E402  (the protocol client of the end-to-end tests)
from transcript import HANDSHAKE, INITIALIZE_RESULT  # noqa: E402

INITIALIZE = ('{"jsonrpc":"2.0","id":1,"method":"initialize","params":'
              '{"processId":null,"rootUri":null,"capabilities":{}}}')


class EndOfInputTest(unittest.TestCase):
    def test_input_already_at_its_end(self):
        code = """
            import tarnu
            sys.stderr.write(repr(tarnu.serve()))
        """
        with tempfile.TemporaryFile() as empty:
            read_end, write_end = os.pipe()
            os.close(write_end)
            self.addCleanup(os.close, read_end)
            for name, stdin in [("/dev/null", subprocess.DEVNULL), ("empty file", empty), ("closed pipe", read_end)]:
                with self.subTest(name):
                    done = child.run(code, stdin=stdin)
                    self.assertEqual((done.returncode, done.stdout, done.stderr), (0, b"", b"None"))


class InterpreterLockTest(unittest.TestCase):
    def test_other_threads_run_while_serving(self):
        # serve() runs in a thread; once it has answered a request (so it is surely inside the run), the main
        # thread is woken through fd 3 and needs the interpreter lock to call into the module again.
        read_end, write_end = os.pipe()
        server = transcript.start(self, child.command(f"""
            import os, threading, tarnu
            thread = threading.Thread(target=tarnu.serve)
            thread.start()
            os.read({read_end}, 1)
            tarnu.get_capabilities()
            os.write(2, b"ran while serving\\n")
            thread.join()
            os.write(2, b"serve returned\\n")
        """), pass_fds=(read_end,))
        os.close(read_end)
        self.addCleanup(os.close, write_end)
        server.send(INITIALIZE)
        server.expect('{"jsonrpc":"2.0","result":%s,"id":1}' % INITIALIZE_RESULT)
        os.write(write_end, b"!")
        server.wait_for_stderr(b"ran while serving\n")
        server.close_input()
        self.assertEqual(server.expect_end(), 0)
        self.assertEqual(server.stderr(), b"ran while serving\nserve returned\n")


class RepeatedServeTest(unittest.TestCase):
    def test_each_call_starts_a_fresh_connection(self):
        server = transcript.start(self, child.command("""
            import tarnu
            tarnu.serve()
            sys.stderr.write("between calls\\n")
            tarnu.serve()
        """))
        uri = "file:///tmp/remembered.simf"
        hover = ('{"jsonrpc":"2.0","id":%d,"method":"textDocument/hover","params":'
                 '{"textDocument":{"uri":"' + uri + '"},"position":{"line":0,"character":0}}}')
        did_open = json.dumps({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
            "uri": uri, "languageId": "simplicity", "version": 1, "text": "fn main() {}"}}})
        transcript.play(self, server, HANDSHAKE + f"""
            -> {did_open}
            <- {{"jsonrpc":"2.0","method":"window/logMessage","params":{{"message":"File opened: {uri}","type":3}}}}
        """)
        server.send(hover % 2)
        self.assertNotEqual(json.loads(server.receive()), {"jsonrpc": "2.0", "result": None, "id": 2},
                            "the open document should have a page")
        # exit, then one more message, which ends the first connection unread
        server.send('{"jsonrpc":"2.0","method":"exit"}', '{"jsonrpc":"2.0","method":"exit"}')
        server.wait_for_stderr(b"between calls\n")
        transcript.play(self, server, f"""
            -> {hover % 3}
            <- {{"jsonrpc":"2.0","error":{{"code":-32002,"message":"Server not initialized"}},"id":3}}
            {HANDSHAKE}
            -> {hover % 4}
            <- {{"jsonrpc":"2.0","result":null,"id":4}}
        """)
        server.close_input()
        self.assertEqual(server.expect_end(), 0)
        self.assertEqual(server.stderr(), b"between calls\n")


class FaultTest(unittest.TestCase):
    def test_scheduler_that_cannot_start_raises_fatal_error(self):
        # A process limit of zero makes every new thread fail, so the scheduler cannot be built. Root is
        # exempt from the limit, so the child first becomes an unprivileged user; everything it needs later
        # is imported before, since the interpreter's files may not be readable to that user.
        done = child.run("""
            import json, os, resource, threading, traceback, tarnu
            try:
                if os.getuid() == 0:
                    os.setgroups([])
                    os.setgid(65534)
                    os.setuid(65534)
                resource.setrlimit(resource.RLIMIT_NPROC, (0, 0))
                threading.Thread(target=lambda: None).start()
            except RuntimeError:
                pass  # the limit holds
            except OSError as error:
                print(json.dumps({"skip": f"cannot drop privileges here: {error}"}))
                raise SystemExit
            else:
                print(json.dumps({"skip": "the process limit is not enforced here"}))
                raise SystemExit
            outcome = {}
            try:
                tarnu.serve()
                outcome["returned"] = True
            except Exception as error:
                outcome["caught by except Exception"] = repr(error)
            except BaseException as error:
                outcome["FatalError"] = type(error) is tarnu.FatalError
                outcome["args"] = error.args
            print(json.dumps(outcome))
        """)
        self.assertEqual(done.returncode, 0, done.stderr)
        outcome = json.loads(done.stdout)
        if "skip" in outcome:
            self.skipTest(outcome["skip"])
        self.assertEqual(list(outcome), ["FatalError", "args"], outcome)
        self.assertIs(outcome["FatalError"], True)
        (message,) = outcome["args"]
        self.assertIsInstance(message, str)
        self.assertTrue(message.strip())
        report = done.stderr.decode()
        self.assertIn(message, report)
        self.assertIn("serve", report)


if __name__ == "__main__":
    unittest.main()
