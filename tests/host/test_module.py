"""The module as Python code sees it: names, documentation, calling convention, results, and how importing
behaves when it is repeated or done from another interpreter."""

import glob
import importlib
import json
import os
import shutil
import subprocess
import sys
import types
import unittest

import child

tarnu = child.import_tarnu()

CAPABILITIES = """\
{
  "textDocumentSync": 1,
  "hoverProvider": true,
  "completionProvider": {
    "resolveProvider": false,
    "triggerCharacters": [
      "."
    ]
  }
}"""


class SurfaceTest(unittest.TestCase):
    def test_module_documentation(self):
        self.assertEqual(tarnu.__name__, "tarnu")
        self.assertEqual(tarnu.__doc__,
                         "Tarnu Language Server Protocol server for Simplicity blockchain programming language")

    def test_functions(self):
        rows = [
            ("get_capabilities", "Get server capabilities as JSON string"),
            ("get_server_info", None),
            ("serve", None),
        ]
        self.assertEqual(tarnu.__all__, [name for name, _ in rows])
        for name, doc in rows:
            with self.subTest(name):
                function = getattr(tarnu, name)
                self.assertIsInstance(function, types.BuiltinFunctionType)
                self.assertEqual(function.__name__, name)
                self.assertIs(function.__self__, tarnu)
                self.assertEqual(function.__module__, "tarnu")
                self.assertEqual(function.__text_signature__, "()")
                self.assertEqual(function.__doc__, doc)

    def test_star_import_brings_the_functions_only(self):
        namespace = {}
        exec("from tarnu import *", namespace)
        self.assertEqual(sorted(set(namespace) - {"__builtins__"}), ["get_capabilities", "get_server_info", "serve"])

    def test_arguments_are_refused(self):
        calls = [
            ("get_server_info", (1,), {}),
            ("get_server_info", (), {"verbose": True}),
            ("get_capabilities", (None,), {}),
            ("get_capabilities", (), {"pretty": False}),
        ]
        for name, args, kwargs in calls:
            with self.subTest(name, args=args, kwargs=kwargs), self.assertRaises(TypeError):
                getattr(tarnu, name)(*args, **kwargs)

    def test_serve_with_arguments_does_not_run(self):
        # The frame on stdin would be consumed by a run; it must still be there afterwards.
        pending = b'Content-Length: 2\r\n\r\n{}'
        done = child.run("""
            import json, tarnu
            outcomes = []
            for args, kwargs in [((1,), {}), ((), {"stdio": True})]:
                try:
                    tarnu.serve(*args, **kwargs)
                    outcomes.append("returned")
                except TypeError:
                    outcomes.append("TypeError")
            sys.stderr.write(json.dumps({"outcomes": outcomes, "unread": sys.stdin.buffer.read().decode()}))
        """, stdin=None, input=pending)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, b"")
        self.assertEqual(json.loads(done.stderr), {"outcomes": ["TypeError", "TypeError"], "unread": pending.decode()})

    def test_server_info(self):
        info = tarnu.get_server_info()
        self.assertIsInstance(info, str)
        self.assertEqual(tarnu.get_server_info(), info)
        self.assertTrue(info.startswith("Tarnu Language Server v0.1.1 - "), info)
        self.assertNotIn("\n", info)
        self.assertNotIn("0.1.0", info, "the initialize reply's version is a different constant")
        tagline = info.removeprefix("Tarnu Language Server v0.1.1 - ")
        for named in ("language server", "CPython", "C++"):
            self.assertIn(named, tagline)

    def test_capabilities_text(self):
        text = tarnu.get_capabilities()
        self.assertEqual(text, CAPABILITIES)
        self.assertEqual(tarnu.get_capabilities(), text)
        self.assertEqual(json.loads(text), {
            "textDocumentSync": 1, "hoverProvider": True,
            "completionProvider": {"resolveProvider": False, "triggerCharacters": ["."]}})

    def test_fatal_error_is_not_an_exception(self):
        fatal = tarnu.FatalError
        self.assertEqual(fatal.__bases__, (BaseException,))
        self.assertFalse(issubclass(fatal, Exception))
        self.assertEqual(fatal.__module__, "tarnu")
        self.assertNotIn("FatalError", tarnu.__all__)
        self.assertEqual(fatal("scheduler refused").args, ("scheduler refused",))

    def test_only_the_initialisation_function_is_exported(self):
        nm = shutil.which("nm")
        if nm is None:
            self.skipTest("nm is not installed")
        (library,) = glob.glob(os.path.join(child.MODULE_DIR, "tarnu*.so"))
        listing = subprocess.run([nm, "-D", "--defined-only", library], capture_output=True, text=True, check=True)
        self.assertEqual([line.split()[-1] for line in listing.stdout.splitlines()], ["PyInit_tarnu"])


class ImportTest(unittest.TestCase):
    def test_import_again_gives_the_same_module(self):
        before = list(tarnu.__all__)
        del sys.modules["tarnu"]
        try:
            again = importlib.import_module("tarnu")
        finally:
            sys.modules["tarnu"] = tarnu
        self.assertIs(again, tarnu)
        self.assertEqual(tarnu.__all__, before, "the initialiser ran twice")

    def test_subinterpreters_are_refused(self):
        # "legacy" admits single-phase modules, so the module's own refusal is what answers there;
        # "isolated" is refused by the interpreter before the module is asked.
        done = child.run("""
            import importlib, json, tarnu
            try:
                import _interpreters
            except ImportError:
                print(json.dumps({"skip": "this interpreter has no _interpreters module"}))
                raise SystemExit
            outcome = {}
            code = f"import sys; sys.path.insert(0, {MODULE_DIR!r}); import tarnu"
            for config in ("legacy", "isolated"):
                interpreter = _interpreters.create(config)
                try:
                    failure = _interpreters.exec(interpreter, code)
                finally:
                    _interpreters.destroy(interpreter)
                outcome[config] = failure and [failure.type.__name__, failure.msg]
            del sys.modules["tarnu"]
            outcome["main interpreter again"] = importlib.import_module("tarnu") is tarnu
            print(json.dumps(outcome))
        """)
        self.assertEqual(done.returncode, 0, done.stderr)
        outcome = json.loads(done.stdout)
        if "skip" in outcome:
            self.skipTest(outcome["skip"])
        self.assertIs(outcome.pop("main interpreter again"), True)
        for config, failure in outcome.items():
            with self.subTest(config):
                self.assertIsNotNone(failure, "the import succeeded")
                self.assertEqual(failure[0], "ImportError")
                self.assertIn("subinterpreters", failure[1])


if __name__ == "__main__":
    unittest.main()
