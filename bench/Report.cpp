// The results section: machine, scenes against cairo and the floor, primitives against
// pixman and cairo, scaling runs, targets met or missed, and the plots.
//
// Index
//   1. Collecting the runs
//   2. Formatting helpers
//   3. Tables
//   4. The section in the markdown file
//   5. Plots
#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "BenchCommon.h"
#include "Plot.h"

namespace bench {

// ---- 1. Collecting the runs --------------------------------------------------------------------
bool CollectingReporter::ReportContext(const Context& context) {
    return ConsoleReporter::ReportContext(context);
}

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool aggregate = run.run_type == Run::RT_Aggregate;
        if (aggregate && run.aggregate_name != "median") continue;
        if (!aggregate && run.repetitions > 1) continue;  // the median stands for them
        if (run.repetitions > m_repetitions) m_repetitions = int(run.repetitions);
        Result r;
        // Nanoseconds (the default unit) of the thread's CPU time: other processes sharing
        // the cores stretch the wall-clock time, not this.
        r.ns = run.GetAdjustedCPUTime();
        r.realNs = run.GetAdjustedRealTime();
        for (const auto& [name, counter] : run.counters) r.counters[name] = counter.value;
        m_results[run.run_name.str()] = r;
    }
}

namespace {

// ---- 2. Formatting helpers -----------------------------------------------------------------------
std::string Time(double ns) {
    char buf[32];
    if (ns < 0) return "–";
    if (ns < 10)
        std::snprintf(buf, sizeof buf, "%.1f ns", ns);
    else if (ns < 1e3)
        std::snprintf(buf, sizeof buf, "%.0f ns", ns);
    else if (ns < 1e6)
        std::snprintf(buf, sizeof buf, ns < 1e4 ? "%.2f µs" : ns < 1e5 ? "%.1f µs" : "%.0f µs", ns / 1e3);
    else
        std::snprintf(buf, sizeof buf, "%.2f ms", ns / 1e6);
    return buf;
}

std::string Ratio(double a, double b) {
    if (a <= 0 || b <= 0) return "–";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2fx", a / b);
    return buf;
}

std::string Fixed(double v, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

std::string Verdict(bool met) {
    return met ? "met" : "**missed**";
}

using Results = std::map<std::string, Result>;

double Ns(const Results& r, const std::string& name) {
    auto it = r.find(name);
    return it == r.end() ? -1 : it->second.ns;
}

double Counter(const Results& r, const std::string& name, const std::string& counter) {
    auto it = r.find(name);
    if (it == r.end()) return -1;
    auto c = it->second.counters.find(counter);
    return c == it->second.counters.end() ? -1 : c->second;
}

std::string Allocs(double v) {
    return v < 0 ? "–" : Fixed(v, v == std::floor(v) ? 0 : 2);
}

std::string ReadFirstLine(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (key.empty()) return line;
        if (line.compare(0, key.size(), key) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown";
}

// ---- 3. Tables -------------------------------------------------------------------------------------
// The faster of two peers (a missing one, -1, never wins).
double Best(double a, double b) {
    if (a <= 0) return b;
    if (b <= 0) return a;
    return std::min(a, b);
}

void SceneTable(const Results& r, std::ostringstream& md) {
    md << "### Scene paints\n\n"
       << "cairo: the picture drawn as in a program that measures and shapes its texts and builds its image "
          "sources at every paint; cairo, cached: glyphs, text extents and patterns prepared once, as a cairo "
          "program would keep them (the same pixels, checked below). Ours is compared with the faster of "
          "the two.\n\n"
       << "| scene | ours | cairo | cairo, cached | floor | ours / best cairo (≤ 0.5x) | ours / floor (≤ 6x) | "
          "heap allocations per paint, ours (0) | cairo's (plain, cached) |\n"
       << "|---|---:|---:|---:|---:|---|---|---|---:|\n";
    for (SceneId id : {SceneId::Tabs, SceneId::Scrollbar, SceneId::Button}) {
        const std::string n = SceneName(id);
        const SIZE size = SceneSize(id);
        const double ours = Ns(r, "scene/" + n + "/ours"), cairo = Ns(r, "scene/" + n + "/cairo");
        const double cached = Ns(r, "scene/" + n + "/cairo_cached");
        const double best = Best(cairo, cached);
        const double floor = Ns(r, "floor/" + n);
        const double allocs = Counter(r, "scene/" + n + "/ours", "allocs");
        md << "| " << n << " " << size.cx << "x" << size.cy << " | " << Time(ours) << " | " << Time(cairo) << " | "
           << Time(cached) << " | " << Time(floor) << " | " << Ratio(ours, best) << " "
           << Verdict(ours <= 0.5 * best) << " | " << Ratio(ours, floor) << " " << Verdict(ours <= 6 * floor)
           << " | " << Allocs(allocs) << " " << Verdict(allocs == 0) << " | "
           << Allocs(Counter(r, "scene/" + n + "/cairo", "allocs")) << ", "
           << Allocs(Counter(r, "scene/" + n + "/cairo_cached", "allocs")) << " |\n";
    }
    md << "\n";
}

void PrimitiveTable(const Results& r, std::ostringstream& md) {
    md << "### Primitives\n\n"
       << "Stretches are nearest-neighbour everywhere (COLORONCOLOR for ours). TransparentBlt's colour key is, for "
          "pixman and cairo, an ARGB source with alpha 0 on the key colour composited OVER. pixman: "
          "`pixman_image_composite32`, except for fills (`pixman_fill`) and text (`pixman_composite_glyphs`); "
          "pixman_blt: pixman's own copy, for `BitBlt`. Small operations (12x3) must take at most the time of "
          "the faster pixman call.\n\n"
       << "| operation | size | ours | pixman | pixman_blt | cairo | ours / best pixman | ours / cairo | allocations "
          "per call, ours |\n"
       << "|---|---|---:|---:|---:|---:|---|---|---:|\n";
    struct Row {
        std::string op, size;
    };
    std::vector<Row> rows;
    for (const char* op : {"bitblt", "stretch_enlarge", "stretch_shrink", "transparentblt", "fill"})
        for (const char* size : {"12x3", "512x512"}) rows.push_back(Row{op, size});
    rows.push_back(Row{"drawtext", "10chars"});
    for (const Row& row : rows) {
        const std::string base = "prim/" + row.op + "/" + row.size + "/";
        const double ours = Ns(r, base + "ours"), pixman = Ns(r, base + "pixman"), cairo = Ns(r, base + "cairo");
        const double blt = Ns(r, base + "pixman_blt");
        const double best = Best(pixman, blt);
        const bool small = row.size == "12x3";
        std::string size = row.size;
        if (row.op == "stretch_enlarge") size += small ? " from 4x1" : " from 256x256";
        if (row.op == "stretch_shrink") size += small ? " from 36x9" : " from 1024x1024";
        if (row.op == "drawtext") size = "\"Instrument\" in 120x24";
        md << "| " << row.op << " | " << size << " | " << Time(ours) << " | " << Time(pixman) << " | " << Time(blt)
           << " | " << Time(cairo) << " | " << Ratio(ours, best)
           << (small && row.op != "drawtext" ? " " + Verdict(ours <= best) : "") << " | " << Ratio(ours, cairo)
           << " | " << Allocs(Counter(r, base + "ours", "allocs")) << " |\n";
    }
    md << "\n";
}

const int kTabCounts[] = {10, 100, 1000, 10000};
const char* const kTabRuns[] = {"tab_layout", "tab_limit_max_width", "tab_hit_test"};

double PerTab(const Results& r, const std::string& run, int n) {
    const double ns = Ns(r, "scale/" + run + "/" + std::to_string(n));
    return ns < 0 ? -1 : ns / n;
}

void ScalingTable(const Results& r, std::ostringstream& md) {
    md << "### Scaling with the number of tabs\n\n"
       << "One tab in ten hidden, one in five with a menu, every name different. Time per tab (the call's time "
          "divided by the number of tabs); the target is a spread of at most 1.5x from 100 to 10,000 tabs.\n\n"
       << "| tabs | SetTabAndTextbtnRect | SetLimitMaxWidth (shrink + grow) | hit test (OnMouseMove on the last tab) "
          "|\n"
       << "|---:|---:|---:|---:|\n";
    for (int n : kTabCounts) {
        md << "| " << n;
        for (const char* run : kTabRuns)
            md << " | " << Time(PerTab(r, run, n)) << " per tab ("
               << Time(Ns(r, "scale/" + std::string(run) + "/" + std::to_string(n))) << ")";
        md << " |\n";
    }
    md << "| spread 100 → 10,000";
    for (const char* run : kTabRuns) {
        double lo = 1e300, hi = 0;
        for (int n : {100, 1000, 10000}) {
            const double v = PerTab(r, run, n);
            if (v <= 0) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        md << " | " << (hi > 0 ? Fixed(hi / lo, 2) + "x " + Verdict(hi / lo <= 1.5) : "–");
    }
    md << " |\n\n";

    md << "The strip's paint (one 1280x24 picture of the first tabs, the rest beyond its right edge): the time "
          "per paint, per pixel of the strip, and against 100 tabs (target: at most 1.5x at 10,000 tabs).\n\n"
       << "| tabs | paint | per strip pixel | against 100 tabs |\n|---:|---:|---:|---|\n";
    const double base = Ns(r, "scale/tab_paint/100");
    for (int n : kTabCounts) {
        const double ns = Ns(r, "scale/tab_paint/" + std::to_string(n));
        const double pixels = Counter(r, "scale/tab_paint/" + std::to_string(n), "pixels");
        md << "| " << n << " | " << Time(ns) << " | " << (ns > 0 && pixels > 0 ? Fixed(ns / pixels, 2) + " ns" : "–")
           << " | " << Ratio(ns, base) << (n == 10000 && ns > 0 && base > 0 ? " " + Verdict(ns <= 1.5 * base) : "")
           << " |\n";
    }
    md << "\n";
}

// Adding tabs one Add at a time, up to a million: the time per tab, flat when adding is linear.
void TabAddTable(const Results& r, std::ostringstream& md) {
    md << "Adding N tabs to an empty strip (one `Add` each, the duplicate-ID check included; one run of each N "
          "repeated three times): time per tab, and against 1,000 tabs.\n\n"
       << "| tabs | adding all | per tab | against 1,000 tabs |\n|---:|---:|---:|---|\n";
    // Its own repetition count is part of the run's name.
    auto name = [](int n) { return "scale/tab_add/" + std::to_string(n) + "/repeats:3"; };
    const double base = Ns(r, name(1000)) / 1000;
    for (int n : {1000, 10000, 100000, 1000000}) {
        const double ns = Ns(r, name(n)), per = ns > 0 ? ns / n : -1;
        md << "| " << n << " | " << Time(ns) << " | " << Time(per) << " | " << Ratio(per, base) << " |\n";
    }
    md << "\n";
}

// Least-squares line through (length, time); the worst point's distance from it.
struct LineFit {
    double slope = 0, intercept = 0, worst = 0;  // worst: relative residual
};
LineFit Fit(const std::vector<std::pair<double, double>>& pts) {
    LineFit f;
    if (pts.size() < 2) return f;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& [x, y] : pts) sx += x, sy += y, sxx += x * x, sxy += x * y;
    const double n = double(pts.size());
    f.slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    f.intercept = (sy - f.slope * sx) / n;
    for (const auto& [x, y] : pts) f.worst = std::max(f.worst, std::fabs(y - (f.intercept + f.slope * x)) / y);
    return f;
}

std::vector<std::pair<double, double>> ThumbPoints(const Results& r, const std::string& lib) {
    std::vector<std::pair<double, double>> pts;
    for (int len : kThumbLengths) {
        const double ns = Ns(r, "scale/thumb/" + lib + "/" + std::to_string(len));
        if (ns > 0) pts.emplace_back(len, ns);
    }
    return pts;
}

void ThumbTable(const Results& r, std::ostringstream& md) {
    md << "### Scrollbar paint against thumb length\n\n"
       << "One " << 16 << "x" << kLongBarHeight << " bar (set 0), the thumb at the top.\n\n"
       << "| thumb | ours | cairo | ours / cairo |\n|---:|---:|---:|---|\n";
    for (int len : kThumbLengths) {
        const double ours = Ns(r, "scale/thumb/ours/" + std::to_string(len));
        const double cairo = Ns(r, "scale/thumb/cairo/" + std::to_string(len));
        md << "| " << len << " | " << Time(ours) << " | " << Time(cairo) << " | " << Ratio(ours, cairo) << " |\n";
    }
    const LineFit f = Fit(ThumbPoints(r, "ours"));
    md << "\nOurs fits time = " << Time(f.intercept) << " + " << Fixed(f.slope, 1)
       << " ns per thumb pixel; the worst point lies " << Fixed(100 * f.worst, 1)
       << "% off that line (linear growth).\n\n";
}

}  // namespace

std::string RenderReport(const Results& r, const ReportInfo& info) {
    std::ostringstream md;
    md << "## Results\n\n"
       << "Produced by `" << info.command
       << "`. Times are medians of the repetitions: CPU time of the benchmark thread per call (wall-clock time only "
          "differs by the time other processes took the core).\n\n"
       << "- Machine: " << std::thread::hardware_concurrency() << " CPUs (nproc), "
       << ReadFirstLine("/proc/cpuinfo", "model name") << "\n"
       << "- Load average (1, 5, 15 min) at the start: " << info.loadBefore << "; at the end: " << info.loadAfter
       << "\n\n";
    SceneTable(r, md);
    md << "Picture check (both pictures of each scene are written to the `--kelem_out` folder, `build/bench/pictures` "
          "for `./run.sh bench`):\n\n```\n"
       << info.sceneCheck << "```\n\n";
    md << "Heap allocations per paint by call site (the first frames outside the C and C++ libraries; "
          "warm caches, 10 paints recorded):\n\n```\n"
       << info.allocSites << "```\n\n";
    PrimitiveTable(r, md);
    ScalingTable(r, md);
    TabAddTable(r, md);
    ThumbTable(r, md);
    if (!info.plotDir.empty())
        md << "### Plots\n\n![time per tab against the number of tabs](" << info.plotLink << "/scaling_tabs.png)\n\n"
           << "![scrollbar paint against thumb length](" << info.plotLink << "/scaling_thumb.png)\n\n";
    return md.str();
}

// ---- 4. The section in the markdown file --------------------------------------------------------------
namespace {
const char kBegin[] = "<!-- bench:results:begin (written by kelem_bench; edit outside these markers) -->";
const char kEnd[] = "<!-- bench:results:end -->";
}  // namespace

bool WriteReportSection(const std::string& path, const std::string& section, std::string* error) {
    std::string text;
    {
        std::ifstream in(path);
        std::ostringstream ss;
        ss << in.rdbuf();
        text = ss.str();
    }
    const std::string block = std::string(kBegin) + "\n" + section + kEnd;
    const size_t b = text.find(kBegin), e = text.find(kEnd);
    if (b != std::string::npos && e != std::string::npos && e > b)
        text.replace(b, e + std::string(kEnd).size() - b, block);
    else
        text += (text.empty() ? "" : "\n") + block + "\n";
    std::ofstream out(path);
    out << text;
    if (!out) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

// ---- 5. Plots ----------------------------------------------------------------------------------------------
std::vector<std::string> WritePlots(const Results& r, const ReportInfo& info) {
    std::vector<std::string> written;
    if (info.plotDir.empty()) return written;
    const COLORREF colors[] = {RGB(31, 119, 180), RGB(214, 39, 40), RGB(44, 160, 44)};
    const char* const labels[] = {"layout", "limit width", "hit test"};

    PlotSpec tabs;
    tabs.title = "Tab layout and hit testing: time per tab";
    tabs.xLabel = "tabs (log scale)";
    tabs.yLabel = "ns per tab (log scale)";
    tabs.logX = true;
    tabs.logY = true;
    for (int i = 0; i < 3; ++i) {
        PlotSeries s{labels[i], colors[i], {}};
        for (int n : kTabCounts) {
            const double v = PerTab(r, kTabRuns[i], n);
            if (v > 0) s.points.emplace_back(n, v);
        }
        tabs.series.push_back(s);
    }
    std::string error;
    if (DrawPlot(tabs, info.plotDir + "/scaling_tabs.png", &error)) written.push_back("scaling_tabs.png");

    PlotSpec thumb;
    thumb.title = "Vertical scrollbar paint against thumb length";
    thumb.xLabel = "thumb length (pixels)";
    thumb.yLabel = "µs per paint";
    PlotSeries ours{"ours", colors[0], {}}, cairo{"cairo", colors[1], {}};
    for (const auto& [x, y] : ThumbPoints(r, "ours")) ours.points.emplace_back(x, y / 1e3);
    for (const auto& [x, y] : ThumbPoints(r, "cairo")) cairo.points.emplace_back(x, y / 1e3);
    thumb.series = {ours, cairo};
    if (DrawPlot(thumb, info.plotDir + "/scaling_thumb.png", &error)) written.push_back("scaling_thumb.png");
    return written;
}

}  // namespace bench
