#include "tools/kelem/viewer/Viewer.h"

namespace kelem {

int ViewCommand(int argc, const char* const* argv, int first, std::ostream& err) {
    ViewerOptions options;
    std::string error;
    if (!ParseViewArgs(argc, argv, first, &options, &error)) {
        err << "kelem view: " << error << "\n";
        return 2;
    }
    return RunViewer(options, err);
}

}  // namespace kelem
