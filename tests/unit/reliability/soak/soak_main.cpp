// The soak: random events for each element kind through the headless host on the
// virtual clock, with a paint after every hundred. It fails (exit 1) on a broken check,
// on GDI objects or menus left once an element is released, and on resident memory
// that grows 1% or more from the first quarter of a run to the last (the peaks of 100
// samples in each). Runs shorter than a million events are dominated by first-use
// allocations; they report the memory figures but only fail on the other checks.
//
//   kelem_soak [--events N] [--kinds button,vscroll,hscroll,tabs] [--seed S]
//
// N is per kind (default 1,000,000). Reports events per second of wall time.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/ElementDriver.h"
#include "win32/runtime_ext.h"

namespace {

const long long kMemoryCheckEvents = 1000000;

struct Options {
    long long events = 1000000;
    std::vector<kfuzz::Kind> kinds{kfuzz::Kind::Button, kfuzz::Kind::VScroll, kfuzz::Kind::HScroll, kfuzz::Kind::Tabs};
    uint64_t seed = 20261206;
};

// Resident set in KiB, from /proc/self/statm (second field, in pages). Free heap is
// handed back to the system first: a wide element's paint buffer is megabytes that
// malloc may keep for reuse, which is no growth of what the elements hold.
long long ResidentKiB() {
    ::malloc_trim(0);
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long long size = 0, resident = 0;
    const int n = std::fscanf(f, "%lld %lld", &size, &resident);
    std::fclose(f);
    return n == 2 ? resident * (::sysconf(_SC_PAGESIZE) / 1024) : 0;
}

bool ParseArgs(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (arg == "--events") {
            options->events = std::atoll(value.c_str());
            if (options->events < 100) return false;
        } else if (arg == "--seed") {
            options->seed = std::strtoull(value.c_str(), nullptr, 10);
        } else if (arg == "--kinds") {
            options->kinds.clear();
            size_t start = 0;
            while (start <= value.size()) {
                const size_t comma = value.find(',', start);
                const std::string name =
                    value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                kfuzz::Kind kind;
                if (!kfuzz::KindFromName(name, &kind)) return false;
                options->kinds.push_back(kind);
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        } else {
            return false;
        }
    }
    return true;
}

// Runs one kind; prints its line and returns false on a failure.
bool SoakKind(kfuzz::Kind kind, const Options& options) {
    CHeadlessHost& host = kfuzz::SharedHost();
    const kfuzz::ResourceCount before = kfuzz::CountResources(host);
    const long long n = options.events;
    const long long sample_every = std::max<long long>(n / 400, 1);
    // The highest resident size seen in the first and in the last quarter: the first
    // quarter's includes the warm-up (fonts, skin files, caches filling), so growth past
    // it is what the run itself keeps.
    long long first_peak = 0, last_peak = 0, paints = 0;
    std::string violation;
    const auto start = std::chrono::steady_clock::now();
    {
        kfuzz::RandomSource in(options.seed * 31 + uint64_t(kind) + 1);
        kfuzz::ElementDriver driver(host, kind);
        for (long long i = 1; i <= n && violation.empty(); ++i) {
            if (!driver.Step(in)) break;
            if (i % 100 == 0) {
                driver.Paint();
                ++paints;
            }
            if (i % sample_every == 0) {
                const long long rss = ResidentKiB();
                if (i <= n / 4) first_peak = std::max(first_peak, rss);
                if (i > n - n / 4) last_peak = std::max(last_peak, rss);
            }
        }
        driver.Paint();
        violation = driver.Violation();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    host.Pump();
    const kfuzz::ResourceCount after = kfuzz::CountResources(host);
    const double first = double(first_peak), last = double(last_peak);
    const double growth = first > 0 ? (last - first) / first * 100.0 : 0;
    std::printf(
        "soak %-8s %lld events, %lld paints, %.0f events/s, GDI %d -> %d, menus %d -> %d, "
        "RSS %.1f -> %.1f MiB (%+.2f%%)\n",
        kfuzz::KindName(kind), n, paints, seconds > 0 ? n / seconds : 0.0, before.gdi, after.gdi, before.menus,
        after.menus, first / 1024, last / 1024, growth);
    bool ok = true;
    if (!violation.empty()) {
        std::printf("  FAILED: %s\n", violation.c_str());
        ok = false;
    }
    if (!(after == before)) {
        std::printf("  FAILED: resources left after the element was released\n");
        ok = false;
    }
    if (growth >= 1.0 && n >= kMemoryCheckEvents) {
        std::printf("  FAILED: resident memory grew %.2f%%\n", growth);
        ok = false;
    }
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, &options)) {
        std::fprintf(stderr, "usage: %s [--events N>=100] [--kinds button,vscroll,hscroll,tabs] [--seed S]\n", argv[0]);
        return 2;
    }
    bool ok = true;
    for (kfuzz::Kind kind : options.kinds) ok = SoakKind(kind, options) && ok;
    return ok ? 0 : 1;
}
