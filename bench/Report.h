// Collects the benchmark results of one run and writes them as the results section of
// docs/performance.md (tables, targets, machine) and as scaling plots.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Result {
    double ns = 0;      // CPU time per iteration: the median when the run has repetitions
    double realNs = 0;  // wall-clock time per iteration
    std::map<std::string, double> counters;
};

// Passes everything to the console reporter and keeps one Result per benchmark: the
// median aggregate when there are repetitions, else the single run.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    const std::map<std::string, Result>& Results() const { return m_results; }
    int Repetitions() const { return m_repetitions; }

private:
    std::map<std::string, Result> m_results;
    int m_repetitions = 1;
};

struct ReportInfo {
    std::string command;     // how the numbers were produced
    std::string loadBefore;  // /proc/loadavg at the start and the end
    std::string loadAfter;
    std::string sceneCheck;  // how far our pictures and cairo's agree
    std::string allocSites;  // heap allocations per paint by call site
    std::string plotDir;     // where the PNG plots go ("" for none)
    std::string plotLink;    // the plots' folder as the markdown file links it
};

// The results section as markdown.
std::string RenderReport(const std::map<std::string, Result>& results, const ReportInfo& info);
// Replaces the text between the results markers of the file (appends it when they are missing).
bool WriteReportSection(const std::string& path, const std::string& section, std::string* error);
// Draws the scaling plots into info.plotDir; returns the file names written.
std::vector<std::string> WritePlots(const std::map<std::string, Result>& results, const ReportInfo& info);

}  // namespace bench
