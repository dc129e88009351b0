// One run of the language server on the process's standard input and output.
#pragma once

namespace tarnu::host {

// Builds the scheduler, runs one connection on file descriptors 0 and 1 until it ends, and tears everything
// down again. Call it without the interpreter lock: it touches no Python object. Throws std::exception
// (std::system_error when the operating system refuses a thread) on an internal fault.
void serve_stdio();

}  // namespace tarnu::host
