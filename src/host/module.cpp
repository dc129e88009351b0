// The extension module `tarnu` as Python sees it: module initialisation, the three functions, and the boundary
// that turns a C++ fault into a Python exception instead of letting it unwind into the interpreter.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "host/serve.h"
#include "server/capabilities.h"

namespace {

constexpr char module_doc[] =
    "Tarnu Language Server Protocol server for Simplicity blockchain programming language";
static_assert(sizeof module_doc - 1 == 84);

// Kept apart from the version in the initialize reply on purpose: the two are released separately.
constexpr char server_info[] =
    "Tarnu Language Server v0.1.1 - a Simplicity language server written in C++ on the CPython C API";

constexpr char fatal_error_doc[] =
    "An internal fault of the server. It derives from BaseException so that handlers for Exception let it\n"
    "pass: the server's state cannot be trusted afterwards, and the program should end.";

constexpr char generic_fault[] = "internal fault without a description";

struct PyObjectRelease {
  void operator()(PyObject* object) const noexcept { Py_XDECREF(object); }
};
using Ref = std::unique_ptr<PyObject, PyObjectRelease>;

// Process-wide: the module is single-phase and its objects belong to the interpreter that imported it first.
struct InitialisationRecord {
  std::atomic<std::int64_t> interpreter{-1};
  PyObject* module = nullptr;       // strong reference, kept for the life of the process
  PyObject* fatal_error = nullptr;  // strong reference, created on first need
};
InitialisationRecord record;

// Created lazily so that a fault inside PyInit_tarnu, before the module exists, can still be raised.
PyObject* fatal_error_type() noexcept {
  if (record.fatal_error == nullptr) {
    record.fatal_error =
        PyErr_NewExceptionWithDoc("tarnu.FatalError", fatal_error_doc, PyExc_BaseException, nullptr);
  }
  return record.fatal_error;
}

const char* base_name(const char* path) noexcept {
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

// Reports the fault and leaves FatalError(message) as the pending exception; the interpreter lock is held.
// Nothing here allocates before the report is out, so the report survives an exhausted heap.
PyObject* raise_fatal(const char* where, const char* file, unsigned line, const char* message) noexcept {
  if (message == nullptr || *message == '\0') {
    message = generic_fault;
  }
  std::fprintf(stderr, "tarnu: internal fault in %s (%s:%u): %s\n", where, base_name(file), line, message);
  std::fflush(stderr);

  PyObject* type = fatal_error_type();
  Ref text{type != nullptr ? PyUnicode_DecodeUTF8(message, static_cast<Py_ssize_t>(std::strlen(message)), "replace")
                           : nullptr};
  PyObject* exception = text ? PyObject_CallOneArg(type, text.get()) : nullptr;
  if (exception == nullptr) {
    // Returning NULL without an exception set would crash the interpreter later and far from here.
    std::fputs("tarnu: the fault could not be raised as tarnu.FatalError; aborting\n", stderr);
    std::abort();
  }
  PyErr_SetRaisedException(exception);
  return nullptr;
}

// Runs `body` so that no C++ exception crosses into the interpreter. `body` returns a new reference, or NULL
// with a Python exception set, which passes through unchanged.
template <class Body>
PyObject* guarded(const char* where, Body&& body, const char* file = __builtin_FILE(),
                  unsigned line = __builtin_LINE()) noexcept {
  try {
    return body();
  } catch (const std::exception& fault) {
    return raise_fatal(where, file, line, fault.what());
  } catch (...) {
    return raise_fatal(where, file, line, nullptr);
  }
}

// The interpreter lock stays released for the lifetime of this object, and is retaken however the scope is
// left, unwinding included: the fault is turned into a Python exception only after that.
class InterpreterLockReleased {
 public:
  InterpreterLockReleased() noexcept : thread_(PyEval_SaveThread()) {}
  ~InterpreterLockReleased() { PyEval_RestoreThread(thread_); }
  InterpreterLockReleased(const InterpreterLockReleased&) = delete;
  InterpreterLockReleased& operator=(const InterpreterLockReleased&) = delete;

 private:
  PyThreadState* thread_;
};

PyObject* get_capabilities(PyObject* Py_UNUSED(module), PyObject* Py_UNUSED(ignored)) {
  return guarded("get_capabilities()", []() -> PyObject* {
    std::string text;
    try {
      text = tarnu::server::capabilities_text();
    } catch (const std::bad_alloc&) {
      throw;  // running out of memory is a fault, not a value that JSON cannot express
    } catch (const std::exception& error) {
      PyErr_SetString(PyExc_ValueError, (std::string("Serialization error: ") + error.what()).c_str());
      return nullptr;
    }
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
  });
}

PyObject* get_server_info(PyObject* Py_UNUSED(module), PyObject* Py_UNUSED(ignored)) {
  return guarded("get_server_info()", []() -> PyObject* {
    return PyUnicode_FromStringAndSize(server_info, static_cast<Py_ssize_t>(sizeof server_info - 1));
  });
}

PyObject* serve(PyObject* Py_UNUSED(module), PyObject* Py_UNUSED(ignored)) {
  return guarded("serve()", []() -> PyObject* {
    {
      InterpreterLockReleased unlocked;
      tarnu::host::serve_stdio();
    }
    Py_RETURN_NONE;
  });
}

// The interpreter splits "name()\n--\n\n" off into __text_signature__; an empty rest leaves __doc__ None.
PyMethodDef functions[] = {
    {"get_capabilities", get_capabilities, METH_NOARGS,
     "get_capabilities()\n--\n\nGet server capabilities as JSON string"},
    {"get_server_info", get_server_info, METH_NOARGS, "get_server_info()\n--\n\n"},
    {"serve", serve, METH_NOARGS, "serve()\n--\n\n"},
};

PyModuleDef definition = {
    .m_base = PyModuleDef_HEAD_INIT,
    .m_name = "tarnu",
    .m_doc = module_doc,
    .m_size = 0,
    .m_methods = nullptr,
};

int append_to_all(PyObject* module, PyObject* name) {
  PyObject* found = nullptr;
  if (PyObject_GetOptionalAttrString(module, "__all__", &found) < 0) {
    return -1;
  }
  Ref all{found};
  if (!all) {
    all.reset(PyList_New(0));
    if (!all || PyObject_SetAttrString(module, "__all__", all.get()) < 0) {
      return -1;
    }
  }
  return PyList_Append(all.get(), name);
}

// Bound to the module like the functions of a method table would be, but added one at a time so that each
// name also lands in __all__.
int add_function(PyObject* module, PyMethodDef& function_def) {
  Ref module_name{PyModule_GetNameObject(module)};
  if (!module_name) {
    return -1;
  }
  Ref function{PyCMethod_New(&function_def, module, module_name.get(), nullptr)};
  if (!function) {
    return -1;
  }
  Ref name{PyObject_GetAttrString(function.get(), "__name__")};
  if (!name) {
    return -1;
  }
  if (append_to_all(module, name.get()) < 0) {
    return -1;
  }
  return PyObject_SetAttr(module, name.get(), function.get());
}

PyObject* create_module() {
  Ref module{PyModule_Create2(&definition, PYTHON_API_VERSION)};
  if (!module) {
    return nullptr;
  }
  for (PyMethodDef& function_def : functions) {
    if (add_function(module.get(), function_def) < 0) {
      return nullptr;  // the half-built module goes with `module`
    }
  }
  // An attribute for `except tarnu.FatalError`, but not part of what `from tarnu import *` brings in.
  PyObject* fatal_error = fatal_error_type();
  if (fatal_error == nullptr || PyObject_SetAttrString(module.get(), "FatalError", fatal_error) < 0) {
    return nullptr;
  }
  return module.release();
}

}  // namespace

PyMODINIT_FUNC PyInit_tarnu(void) {
  return guarded("PyInit_tarnu()", []() -> PyObject* {
    const std::int64_t current = PyInterpreterState_GetID(PyInterpreterState_Get());
    if (current == -1) {
      return nullptr;
    }
    std::int64_t first = -1;
    if (!record.interpreter.compare_exchange_strong(first, current) && first != current) {
      PyErr_Format(PyExc_ImportError,
                   "tarnu does not support subinterpreters: it belongs to interpreter %lld, which imported it "
                   "first, and cannot be imported in interpreter %lld",
                   static_cast<long long>(first), static_cast<long long>(current));
      return nullptr;
    }
    if (record.module == nullptr) {
      record.module = create_module();
      if (record.module == nullptr) {
        return nullptr;
      }
    }
    return Py_NewRef(record.module);
  });
}
