// kelem: the project's command-line tool.
//   kelem gallery [--skin DIR] [--out DIR]   every element in every state, as PNGs + index.html
//   kelem run SCRIPT [--skin DIR] [--out DIR] replay a scenario script, print its transcript
//   kelem view [--skin DIR] [--scale N] [--log FILE] [--png FILE]   the interactive desk viewer
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>

#include "Gallery.h"
#include "Runner.h"
#include "viewer/Viewer.h"

namespace {

std::string DefaultSkin() {
    const std::string dir = std::string(KELEM_SOURCE_DIR) + "/skins/default";
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 ? dir : "skins/default";
}

int Usage() {
    std::cerr << "usage: kelem gallery [--skin DIR] [--out DIR]\n"
                 "       kelem run SCRIPT [--skin DIR] [--out DIR]\n"
                 "       kelem view [--skin DIR] [--scale N] [--log FILE] [--png FILE]\n";
    return 2;
}

struct Options {
    std::string skin = DefaultSkin();
    std::string out;
    std::string script;
};

bool ParseOptions(int argc, char** argv, int first, bool wantScript, Options* o) {
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--skin" || a == "--out") && i + 1 < argc) {
            (a == "--skin" ? o->skin : o->out) = argv[++i];
        } else if (wantScript && o->script.empty() && a.rfind("--", 0) != 0) {
            o->script = a;
        } else {
            return false;
        }
    }
    return !wantScript || !o->script.empty();
}

int Gallery(const Options& o) {
    const std::string out = o.out.empty() ? "out" : o.out;
    kelem::Gallery gallery(out, o.skin);
    kelem::RenderAllGalleryPages(gallery);
    if (!gallery.WriteIndex()) {
        std::cerr << "cannot write " << out << "/index.html\n";
        return 1;
    }
    const std::vector<std::string> problems = gallery.Problems();
    for (const std::string& p : problems) std::cerr << "problem: " << p << "\n";
    std::cout << "gallery: " << gallery.ShotCount() << " pictures in " << out << "/ (open " << out
              << "/index.html); " << problems.size() << " problems\n";
    return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string cmd = argv[1];
    Options o;
    if (cmd == "gallery") {
        if (!ParseOptions(argc, argv, 2, false, &o)) return Usage();
        return Gallery(o);
    }
    if (cmd == "run") {
        if (!ParseOptions(argc, argv, 2, true, &o)) return Usage();
        kelem::RunOptions run{o.skin, o.out};
        return kelem::RunScriptFile(o.script, run, std::cout, std::cerr);
    }
    if (cmd == "view") return kelem::ViewCommand(argc, argv, 2, std::cerr);
    return Usage();
}
