// The soak: random events for each element kind through the headless host on the
// virtual clock, with a paint after every hundred. It fails (exit 1) on a broken check,
// on GDI objects or menus left once an element is released, and on steady-state growth
// of the heap. The heap in use swings with the element's state (how many tabs, how wide
// the paint buffer, an open menu), so a single reading says little; a leak shows as a
// floor that keeps rising. The second half of the run (the first is warm-up: fonts, skin
// files, caches filling) is cut into kWindows windows of kWindowSamples readings, and the
// least-squares slope of the windows' minima may not reach kMaxGrowthPerKiloEvent bytes
// per 1,000 events. Runs shorter than kMemoryCheckEvents report the slope but fail only
// on the other checks.
//
//   kelem_soak [--events N] [--kinds button,vscroll,hscroll,tabs] [--seed S] [--leak B]
//
// N is per kind (default 1,000,000). --leak B loses B bytes of heap at every paint: the
// proof that the memory gate catches a leak. Reports events per second of wall time.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "driver/ElementDriver.h"
#include "win32/runtime_ext.h"

namespace {

// Without a leak the slope stays below about 1,000 bytes per 1,000 events for the
// button and the scrollbars (the windows' minima still swing by a megabyte: the runtime
// keeps freed bitmap storage of the sizes it saw for reuse) and near 1,800 for the tab
// strip, whose text-width cache fills with the driver's random names until its limit. The
// gate sits at twice that; --leak 500 (five bytes an event) is caught for every kind.
const long long kMemoryCheckEvents = 1000000;
const double kMaxGrowthPerKiloEvent = 3500.0;  // bytes of heap per 1,000 events
const int kWindows = 20;
const int kWindowSamples = 20;

struct Options {
    long long events = 1000000;
    std::vector<kfuzz::Kind> kinds{kfuzz::Kind::Button, kfuzz::Kind::VScroll, kfuzz::Kind::HScroll, kfuzz::Kind::Tabs};
    uint64_t seed = 20261206;
    long long leakPerPaint = 0;
};

// The least-squares slope of y over x.
double Slope(const std::vector<std::pair<double, double>>& points) {
    if (points.size() < 2) return 0;
    double sx = 0, sy = 0;
    for (const auto& p : points) {
        sx += p.first;
        sy += p.second;
    }
    const double mx = sx / double(points.size()), my = sy / double(points.size());
    double sxy = 0, sxx = 0;
    for (const auto& p : points) {
        sxy += (p.first - mx) * (p.second - my);
        sxx += (p.first - mx) * (p.first - mx);
    }
    return sxx > 0 ? sxy / sxx : 0;
}

// Bytes of heap in use, mapped blocks included.
double HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

bool ParseArgs(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (arg == "--events") {
            options->events = std::atoll(value.c_str());
            if (options->events < 100) return false;
        } else if (arg == "--leak") {
            options->leakPerPaint = std::atoll(value.c_str());
            if (options->leakPerPaint < 0) return false;
        } else if (arg == "--seed") {
            options->seed = std::strtoull(value.c_str(), nullptr, 10);
        } else if (arg == "--kinds") {
            options->kinds.clear();
            std::istringstream names(value);
            for (std::string name; std::getline(names, name, ',');) {
                kfuzz::Kind kind;
                if (!kfuzz::KindFromName(name, &kind)) return false;
                options->kinds.push_back(kind);
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
    const kfuzz::ResourceCount before = kfuzz::CountResources(&host);
    const long long n = options.events;
    const long long half = n / 2;
    const long long sample_every = std::max<long long>((n - half) / (kWindows * kWindowSamples), 1);
    const long long window_events = sample_every * kWindowSamples;
    std::vector<std::pair<double, double>> floors;  // (window's middle event, its lowest heap reading)
    std::vector<void*> leaked;
    long long paints = 0;
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
                if (options.leakPerPaint > 0) {
                    leaked.push_back(std::malloc(size_t(options.leakPerPaint)));
                    std::memset(leaked.back(), 1, size_t(options.leakPerPaint));  // resident, not just reserved
                }
            }
            if (i > half && (i - half) % sample_every == 0) {
                const long long window = (i - half - 1) / window_events;
                const double heap = HeapInUse();
                if (window >= static_cast<long long>(floors.size()))
                    floors.emplace_back(double(half + window * window_events + window_events / 2), heap);
                floors.back().second = std::min(floors.back().second, heap);
            }
        }
        driver.Paint();
        violation = driver.Violation();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    host.Pump();
    const kfuzz::ResourceCount after = kfuzz::CountResources(&host);
    for (void* p : leaked) std::free(p);
    const double per_kilo_event = Slope(floors) * 1000.0;
    std::printf(
        "soak %-8s %lld events, %lld paints, %.0f events/s, GDI %d -> %d, menus %d -> %d, "
        "heap floor %+.1f bytes per 1,000 events\n",
        kfuzz::KindName(kind), n, paints, seconds > 0 ? n / seconds : 0.0, before.gdi, after.gdi, before.menus,
        after.menus, per_kilo_event);
    bool ok = true;
    if (!violation.empty()) {
        std::printf("  FAILED: %s\n", violation.c_str());
        ok = false;
    }
    if (!(after == before)) {
        std::printf("  FAILED: resources left after the element was released\n");
        ok = false;
    }
    if (per_kilo_event >= kMaxGrowthPerKiloEvent && n >= kMemoryCheckEvents) {
        std::printf("  FAILED: the heap grows %.1f bytes per 1,000 events after warm-up (limit %.0f)\n", per_kilo_event,
                    kMaxGrowthPerKiloEvent);
        ok = false;
    }
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: %s [--events N>=100] [--kinds button,vscroll,hscroll,tabs] [--seed S] [--leak BYTES]\n",
                     argv[0]);
        return 2;
    }
    bool ok = true;
    for (kfuzz::Kind kind : options.kinds) ok = SoakKind(kind, options) && ok;
    return ok ? 0 : 1;
}
