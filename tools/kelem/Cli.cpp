#include "Cli.h"

#include <sys/stat.h>

#include <iostream>
#include <string>
#include <vector>

#include "Gallery.h"
#include "Runner.h"
#include "viewer/Viewer.h"

namespace kelem {
namespace {

std::string DefaultSkin() {
    const std::string dir = std::string(KELEM_SOURCE_DIR) + "/skins/default";
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 ? dir : "skins/default";
}

struct CommandHelp {
    const char* name;
    const char* usage;  // after "kelem "
    const char* text;
};

const CommandHelp kCommands[] = {
    {"gallery", "gallery [--skin DIR] [--out DIR]",
     "Renders every element in every state as PNG pictures, with an index.html, into DIR\n"
     "(default: out).\n"
     "  --skin DIR   the skin folder (default: skins/default)\n"
     "  --out DIR    where the pictures go\n"},
    {"run", "run SCRIPT [--skin DIR] [--out DIR]",
     "Replays a scenario script on the headless host and prints its transcript.\n"
     "The language and the transcript are described in docs/scenarios.md.\n"
     "  --skin DIR   the skin loaded before the first command (default: skins/default)\n"
     "  --out DIR    where snapshots go (default: the current folder)\n"
     "Exit codes: 0 done, 1 a script error (named with its line), 2 a bad command line\n"
     "or an unreadable script, 3 a paint left a GDI object behind.\n"},
    {"view", "view [--skin DIR] [--scale N] [--log FILE] [--png FILE]",
     "The interactive desk viewer: every element live, with an inspector.\n"
     "  --skin DIR   the skin folder (default: skins/default)\n"
     "  --scale N    integer zoom of the window and its screenshots, 1 to 8\n"
     "  --log FILE   writes the events and the viewer's notes as they happen\n"
     "  --png FILE   where Ctrl+S writes a picture (default: kelem-view-N.png)\n"},
};

const CommandHelp* FindCommand(const std::string& name) {
    for (const CommandHelp& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

void Usage(std::ostream& os) {
    os << "usage: kelem COMMAND [OPTIONS]\n";
    for (const CommandHelp& c : kCommands) os << "       kelem " << c.usage << "\n";
    os << "       kelem --help | kelem COMMAND --help | kelem --version\n";
}

bool IsHelp(const std::string& a) {
    return a == "--help" || a == "-h";
}

// Options of gallery and run.
struct Options {
    std::string skin = DefaultSkin();
    std::string out;
    std::string script;
};

// A message naming the word that is wrong, or "" when the line is good.
std::string ParseOptions(const std::vector<std::string>& args, bool wantScript, Options* o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--skin" || a == "--out") {
            if (i + 1 >= args.size()) return a + " needs a value";
            (a == "--skin" ? o->skin : o->out) = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option " + a;
        } else if (!wantScript) {
            return "unexpected argument " + a;
        } else if (!o->script.empty()) {
            return "one script at a time, not also " + a;
        } else {
            o->script = a;
        }
    }
    if (wantScript && o->script.empty()) return "a script file is needed";
    return "";
}

int RunGallery(const Options& o, std::ostream& out, std::ostream& err) {
    const std::string dir = o.out.empty() ? "out" : o.out;
    kelem::Gallery gallery(dir, o.skin);
    kelem::RenderAllGalleryPages(gallery);
    if (!gallery.WriteIndex()) {
        err << "cannot write " << dir << "/index.html\n";
        return 1;
    }
    const std::vector<std::string> problems = gallery.Problems();
    for (const std::string& p : problems) err << "problem: " << p << "\n";
    out << "gallery: " << gallery.ShotCount() << " pictures in " << dir << "/ (open " << dir << "/index.html); "
        << problems.size() << " problems\n";
    return problems.empty() ? 0 : 1;
}

}  // namespace

int KelemMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) {
        Usage(err);
        return 2;
    }
    const std::string cmd = argv[1];
    if (IsHelp(cmd)) {
        Usage(out);
        return 0;
    }
    if (cmd == "--version") {
        out << "kelem " << kVersion << "\n";
        return 0;
    }
    const CommandHelp* help = FindCommand(cmd);
    if (!help) {
        err << "kelem: unknown command " << cmd << "\n";
        Usage(err);
        return 2;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& a : args)
        if (IsHelp(a)) {
            out << "usage: kelem " << help->usage << "\n\n" << help->text;
            return 0;
        }
    if (cmd == "view") return ViewCommand(argc, argv, 2, err);
    Options o;
    const std::string error = ParseOptions(args, cmd == "run", &o);
    if (!error.empty()) {
        err << "kelem " << cmd << ": " << error << "\nusage: kelem " << help->usage << "\n";
        return 2;
    }
    if (cmd == "gallery") return RunGallery(o, out, err);
    return RunScriptFile(o.script, RunOptions{o.skin, o.out}, out, err);
}

}  // namespace kelem
