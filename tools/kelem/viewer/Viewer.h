// `kelem view`: the interactive desk viewer. The window is SDL2's; without SDL2 at build
// time the command says so and fails.
#pragma once

#include <ostream>

#include "tools/kelem/viewer/Session.h"

namespace kelem {

// Parses the arguments from argv[first] on and runs the viewer until its window closes.
int ViewCommand(int argc, const char* const* argv, int first, std::ostream& err);

// Opens the window and runs the desk on the real clock; returns the exit code.
int RunViewer(const ViewerOptions& options, std::ostream& err);

}  // namespace kelem
