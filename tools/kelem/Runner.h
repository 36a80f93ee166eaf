// Replays a scenario script against the headless host on the virtual clock and writes
// a transcript, one line per event, each starting with the virtual time.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Reflect.h"
#include "host/HeadlessHost.h"
#include "win32/runtime_ext.h"

namespace kelem {

struct RunOptions {
    std::string skinDir;  // loaded before the first command; "skin DIR" replaces it
    std::string outDir;   // where snapshots go
};

class Runner {
public:
    // The longest `wait`: virtual time costs real time only through the timers that fire,
    // at most one per timer every 10 ms (the platform's shortest interval).
    static constexpr int kMaxWaitMs = 600000;

    Runner(Registry& registry, RunOptions options, std::ostream& out);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Runs every command; a script error stops the run and is rethrown.
    void Run(const std::vector<Command>& commands);
    void Execute(const Command& cmd);
    CHeadlessHost& Host();
    // Problems of the run: what its skins could not load or lacked, a paint that leaked
    // GDI objects, ...
    std::vector<std::string> Problems() const;

private:
    CElementContainer* Element(const Args& args, size_t i) const;
    void Line(const std::string& text);
    void NoteCursor();
    static RECT RectFrom(const Args& args, size_t first);
    void LoadSkin(const std::string& dir);  // prints and keeps its problems

    Registry& registry_;
    RunOptions options_;
    std::ostream& out_;
    RunState state_;
    std::unique_ptr<CHeadlessHost> host_;
    SIZE windowSize_{640, 480};
    int lastCursor_ = -1;
    std::vector<std::string> skinProblems_;
    // Transcript times count from the start of the run: the runtime's virtual clock
    // never goes back, and a process may run several scripts.
    DWORD start_ = rt::ClockNow();
};

// Reads and runs a script file; returns the process exit code and prints errors to err.
int RunScriptFile(const std::string& path, const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kelem
