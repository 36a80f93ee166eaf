// kelem_bench: Google Benchmark's flags, plus
//   --kelem_report=FILE   rewrite the results section of FILE (docs/performance.md)
//   --kelem_plots=DIR     draw the scaling plots into DIR
//   --kelem_plot_link=P   the plots' folder as FILE links it (default: DIR)
//   --kelem_out=DIR       where the scene pictures (ours and cairo's) are written
//   --kelem_command=TEXT  the command named in the report
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "Report.h"
#include "win32/runtime_ext.h"

namespace bench {
std::string& OutputDir() {
    static std::string dir;
    return dir;
}
}  // namespace bench

namespace {

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + ", " + b + ", " + c;
}

// Takes --kelem_NAME=VALUE out of argv.
std::string TakeFlag(int* argc, char** argv, const std::string& name) {
    const std::string prefix = "--kelem_" + name + "=";
    std::string value;
    int out = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
            value = argv[i] + prefix.size();
        else
            argv[out++] = argv[i];
    }
    *argc = out;
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReportInfo info;
    const std::string reportPath = TakeFlag(&argc, argv, "report");
    info.plotDir = TakeFlag(&argc, argv, "plots");
    info.plotLink = TakeFlag(&argc, argv, "plot_link");
    if (info.plotLink.empty()) info.plotLink = info.plotDir;
    bench::OutputDir() = TakeFlag(&argc, argv, "out");
    info.command = TakeFlag(&argc, argv, "command");
    if (info.command.empty()) {
        for (int i = 0; i < argc; ++i) info.command += (i ? " " : "") + std::string(argv[i]);
    }

    rt::SetScreenSize(bench::kScreenSize.cx, bench::kScreenSize.cy);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const bool picturesAgree = bench::CheckScenes(&info.sceneCheck);
    std::cout << info.sceneCheck;
    info.allocSites = bench::DescribeAllocationSites();
    std::cout << info.allocSites;
    bench::RegisterPrimitiveBenchmarks();
    bench::RegisterSceneBenchmarks();

    info.loadBefore = LoadAverage();
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    info.loadAfter = LoadAverage();

    if (!info.plotDir.empty())
        for (const std::string& file : bench::WritePlots(reporter.Results(), info))
            std::cout << "plot: " << info.plotDir << "/" << file << "\n";
    if (!reportPath.empty()) {
        std::string error;
        if (!bench::WriteReportSection(reportPath, bench::RenderReport(reporter.Results(), info), &error)) {
            std::cerr << error << "\n";
            return 1;
        }
        std::cout << "report: " << reportPath << "\n";
    }
    if (!picturesAgree) {
        std::cerr << "the cached cairo program drew another picture than the plain one\n";
        return 1;
    }
    return 0;
}
