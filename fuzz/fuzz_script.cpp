// Fuzz target: the scenario script language (tools/kelem/Script.h). The input is parsed;
// what parses is run against a runner with the default skin, bounded so that one input
// stays cheap: no files written or skins loaded, windows and elements of sane size,
// limited waiting. Script errors are the expected way to refuse; anything else that
// escapes, crashes or trips a sanitizer is a finding.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/driver/ElementDriver.h"
#include "tools/kelem/Runner.h"
#include "tools/kelem/Script.h"
#include "win32/runtime_ext.h"

namespace {

const size_t kMaxCommands = 200;
const long long kMaxWaitTotal = 60000;  // ms of virtual time per input

bool IntIn(const kelem::Command& cmd, size_t i, long long lo, long long hi) {
    return i < cmd.args.size() && cmd.args[i].type == kelem::Arg::Type::Int && cmd.args[i].i >= lo &&
           cmd.args[i].i <= hi;
}

// Whether a command stays within what one fuzz input may cost.
bool Bounded(const kelem::Command& cmd, long long* waited) {
    const std::string& v = cmd.verb;
    if (v == "snapshot" || v == "skin") return false;
    if (v == "window") return IntIn(cmd, 0, 1, 1000) && IntIn(cmd, 1, 1, 1000);
    if (v == "create" || v == "place") {
        const size_t first = v == "create" ? 2 : 1;
        return IntIn(cmd, first, -4000, 4000) && IntIn(cmd, first + 1, -4000, 4000) &&
               IntIn(cmd, first + 2, -2000, 2000) && IntIn(cmd, first + 3, -2000, 2000);
    }
    if (v == "wait") {
        if (cmd.args.size() != 1 || cmd.args[0].type != kelem::Arg::Type::Int || cmd.args[0].i < 0)
            return true;  // the runner refuses it
        if (cmd.args[0].i > 10000) return false;
        *waited += cmd.args[0].i;
        return *waited <= kMaxWaitTotal;
    }
    if (v == "menu")
        for (const kelem::Arg& a : cmd.args)
            if (a.type == kelem::Arg::Type::Word && a.word == "snapshot") return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<kelem::Command> commands;
    try {
        commands = kelem::ParseScript(text);
    } catch (const kelem::ScriptError&) {
        return 0;
    }
    rt::UseVirtualClock();
    const int gdi_before = rt::GdiObjectTotal(), menus_before = rt::MenuObjectCount();
    {
        kelem::Registry registry;
        kelem::RegisterAllKinds(registry);
        kelem::RunOptions options;
        options.skinDir = kfuzz::DefaultSkinDir();
        options.outDir = "/tmp";
        std::ostringstream transcript;
        kelem::Runner runner(registry, options, transcript);
        long long waited = 0;
        size_t run = 0;
        try {
            for (const kelem::Command& cmd : commands) {
                if (cmd.verb.empty() || !Bounded(cmd, &waited)) continue;
                if (++run > kMaxCommands) break;
                runner.Execute(cmd);
            }
        } catch (const kelem::ScriptError&) {
        }
    }
    rt::PumpMessages();
    if (rt::GdiObjectTotal() != gdi_before || rt::MenuObjectCount() != menus_before) {
        std::fprintf(stderr, "a run left GDI objects %d -> %d, menus %d -> %d\n", gdi_before, rt::GdiObjectTotal(),
                     menus_before, rt::MenuObjectCount());
        std::abort();
    }
    return 0;
}
