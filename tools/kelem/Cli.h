// The kelem command line: the commands, their options and their help, apart from main()
// so that the tests can run it in-process.
#pragma once

#include <ostream>

namespace kelem {

// The tool's version, printed by `kelem --version`.
inline constexpr const char* kVersion = "0.1.0";

// Runs `kelem ARGS...`; returns the exit code: 0 done (help and version included), 1 the
// command failed, 2 a bad command line (the message names the word), 3 a run that left a
// GDI object behind.
int KelemMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kelem
