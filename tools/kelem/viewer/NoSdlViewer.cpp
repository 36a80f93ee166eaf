// The viewer when SDL2 was not found at build time.
#include "tools/kelem/viewer/Viewer.h"

namespace kelem {

int RunViewer(const ViewerOptions&, std::ostream& err) {
    err << "kelem view: this kelem was built without SDL2; install libsdl2-dev and build again\n";
    return 2;
}

}  // namespace kelem
