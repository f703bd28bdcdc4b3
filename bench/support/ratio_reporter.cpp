#include "bench/support/ratio_reporter.h"

#include <algorithm>
#include <cstdio>

namespace bench_support {
namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    const std::string name = run.run_name.function_name;
    if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
      times_[name].real.push_back(run.GetAdjustedRealTime() * toNs);
      times_[name].cpu.push_back(run.GetAdjustedCPUTime() * toNs);
    } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
      // With --benchmark_report_aggregates_only the repetitions come only as aggregates.
      medians_[name] = {run.GetAdjustedRealTime() * toNs, run.GetAdjustedCPUTime() * toNs};
    }
  }
  ConsoleReporter::ReportRuns(runs);
}

std::optional<RatioReporter::Times> RatioReporter::MedianOf(const std::string& name) const {
  if (auto found = medians_.find(name); found != medians_.end()) return found->second;
  auto found = times_.find(name);
  if (found == times_.end() || found->second.real.empty()) return std::nullopt;
  return Times{Median(found->second.real), Median(found->second.cpu)};
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\nmedians over the repetitions; ratio of real time (and of CPU time)\n");
  std::printf("%-34s %-30s %10s %10s %8s %8s %6s\n", "measured", "baseline", "real ms", "base ms",
              "ratio", "cpu", "goal");
  for (const Comparison& c : comparisons_) {
    const std::optional<Times> measured = MedianOf(c.measured);
    const std::optional<Times> baseline = MedianOf(c.baseline);
    if (!measured || !baseline || baseline->realNs <= 0 || baseline->cpuNs <= 0) continue;
    const double ratio = measured->realNs / baseline->realNs;
    const double cpuRatio = measured->cpuNs / baseline->cpuNs;
    std::printf("%-34s %-30s %10.2f %10.2f %7.2fx %7.2fx %5.2fx %s\n", c.measured.c_str(),
                c.baseline.c_str(), measured->realNs / 1e6, baseline->realNs / 1e6, ratio, cpuRatio,
                c.goal, ratio <= c.goal ? "met" : "NOT MET");
  }
}

int RunWithRatios(int argc, char** argv, std::vector<RatioReporter::Comparison> comparisons) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(comparisons));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench_support
