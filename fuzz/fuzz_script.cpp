// Fuzz target: the scenario script language (tools/kelem/Script.h). The input is parsed;
// what parses is run against a runner with the default skin. The risky commands are run,
// not skipped: coordinates and sizes anywhere in the int range, long waits, `skin` and
// `snapshot`. What the filter keeps bounded is what one input may cost the machine: the
// window's area, the virtual time waited in all, the number of commands, and where files
// go: skins and snapshots are plain names inside a private folder (a path leading out of
// it is the runner's to refuse, and is not tried here). Script errors are the expected way
// to refuse; anything else that escapes, crashes or trips a sanitizer is a finding.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/driver/ElementDriver.h"
#include "utf8.h"
#include "tools/kelem/Runner.h"
#include "tools/kelem/Script.h"
#include "win32/runtime_ext.h"

namespace {

const size_t kMaxCommands = 200;
const long long kMaxWaitTotal = 10 * 60 * 1000;  // ms of virtual time per input, in one wait or many
const long long kMaxWindowArea = 4096LL * 4096;  // pixels: a window's surfaces are allocated whole

// The private folder of the file-system verbs, made once per process:
//   out/       snapshots, emptied after every input
//   default    the default skin (a link to it)
//   empty/     a skin folder with nothing in it
//   corrupt/   a skin whose palette and bitmap are junk
struct Sandbox {
    std::string root;
    std::string out;
};

const Sandbox& TheSandbox() {
    static const Sandbox box = [] {
        const std::string made = kfuzz::ScratchFolder("script");
        Sandbox b{made, made + "/out"};
        const bool ok = ::mkdir(b.out.c_str(), 0700) == 0 && ::mkdir((b.root + "/empty").c_str(), 0700) == 0 &&
                        ::mkdir((b.root + "/corrupt").c_str(), 0700) == 0 &&
                        ::symlink(kfuzz::DefaultSkinDir().c_str(), (b.root + "/default").c_str()) == 0;
        if (!ok) std::abort();
        std::ofstream(b.root + "/corrupt/palette.ini") << "[Colors]\nButton.Text = #12\n= \n[\nx.bmp = nope.bmp\n";
        std::ofstream(b.root + "/corrupt/normal.bmp") << "BM not a bitmap";
        return b;
    }();
    return box;
}

void EmptyOutFolder() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(TheSandbox().out, ec))
        std::filesystem::remove(entry.path(), ec);
}

// A file name that stays in its folder: no separator, no "..", no NUL.
bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool PlainNameArg(const kelem::Arg& a) {
    if (a.type == kelem::Arg::Type::Word) return PlainName(a.word);
    if (a.type == kelem::Arg::Type::String) return a.s.find(L'\0') == std::wstring::npos && PlainName(rt::WideToUtf8(a.s));
    return false;
}

bool IntArg(const kelem::Command& cmd, size_t i, long long* value) {
    if (i >= cmd.args.size() || cmd.args[i].type != kelem::Arg::Type::Int) return false;
    *value = cmd.args[i].i;
    return true;
}

// Whether a command stays within what one fuzz input may cost; `skin` gets its folder
// inside the sandbox.
bool Bounded(kelem::Command* cmd, long long* waited) {
    const std::string& v = cmd->verb;
    if (v == "snapshot") return cmd->args.size() != 1 || PlainNameArg(cmd->args[0]);
    if (v == "skin") {
        if (cmd->args.size() != 1) return true;  // the runner refuses it
        if (!PlainNameArg(cmd->args[0])) return false;
        kelem::Arg& a = cmd->args[0];
        const std::string name = a.type == kelem::Arg::Type::Word ? a.word : rt::WideToUtf8(a.s);
        a.type = kelem::Arg::Type::String;
        a.s = rt::Utf8ToWide(TheSandbox().root + "/" + name);
        return true;
    }
    if (v == "window") {
        long long w = 0, h = 0;
        if (!IntArg(*cmd, 0, &w) || !IntArg(*cmd, 1, &h) || w <= 0 || h <= 0) return true;  // refused
        return w <= kMaxWindowArea && h <= kMaxWindowArea && w * h <= kMaxWindowArea;
    }
    if (v == "wait") {
        long long ms = 0;
        if (cmd->args.size() != 1 || !IntArg(*cmd, 0, &ms) || ms < 0) return true;  // the runner refuses it
        if (ms > kMaxWaitTotal - *waited) return false;
        *waited += ms;
        return true;
    }
    if (v == "menu")
        for (size_t i = 0; i + 1 < cmd->args.size(); ++i)
            if (cmd->args[i].type == kelem::Arg::Type::Word && cmd->args[i].word == "snapshot")
                return PlainNameArg(cmd->args[i + 1]);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    rt::UseVirtualClock();
    kfuzz::RunParserInput("a run", [&](std::string* error) {
        std::vector<kelem::Command> commands;
        try {
            commands = kelem::ParseScript(text);
        } catch (const kelem::ScriptError& e) {
            *error = e.what();
            return false;
        }
        {
            kelem::Registry registry;
            kelem::RegisterAllKinds(registry);
            kelem::RunOptions options;
            options.skinDir = kfuzz::DefaultSkinDir();
            options.outDir = TheSandbox().out;
            std::ostringstream transcript;
            kelem::Runner runner(registry, options, transcript);
            long long waited = 0;
            size_t run = 0;
            try {
                for (kelem::Command& cmd : commands) {
                    if (cmd.verb.empty() || !Bounded(&cmd, &waited)) continue;
                    if (++run > kMaxCommands) break;
                    runner.Execute(cmd);
                }
            } catch (const kelem::ScriptError&) {
            }
        }
        rt::PumpMessages();
        EmptyOutFolder();
        return true;
    });
    return 0;
}
