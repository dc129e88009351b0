"""Runs Python code against the built module in a child interpreter, where a crash, a hang or a changed
process state cannot take the test runner with it."""

import os
import subprocess
import sys
import textwrap

MODULE_DIR = os.environ.get("TARNU_MODULE_DIR")
PYTHON = os.environ.get("TARNU_PYTHON") or sys.executable

if not MODULE_DIR:
    raise RuntimeError("TARNU_MODULE_DIR not set: run these tests through ctest in the build directory")


def import_tarnu():
    if MODULE_DIR not in sys.path:
        sys.path.insert(0, MODULE_DIR)
    import tarnu
    return tarnu


def command(code):
    prologue = f"import sys\nMODULE_DIR = {MODULE_DIR!r}\nsys.path.insert(0, MODULE_DIR)\n"
    return [PYTHON, "-I", "-c", prologue + textwrap.dedent(code)]


def run(code, *, stdin=subprocess.DEVNULL, timeout=60, **options):
    return subprocess.run(command(code), stdin=stdin, capture_output=True, timeout=timeout, **options)


def start(code, **options):
    return subprocess.Popen(command(code), stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            bufsize=0, **options)
