#include "bench/support/ratio_reporter.h"

#include <cstdio>

namespace bench_support {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
      realTimeNs_[run.benchmark_name()] =
          run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    }
  }
  ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\n%-40s %-34s %8s %6s\n", "measured", "baseline", "ratio", "goal");
  for (const Comparison& c : comparisons_) {
    auto measured = realTimeNs_.find(c.measured);
    auto baseline = realTimeNs_.find(c.baseline);
    if (measured == realTimeNs_.end() || baseline == realTimeNs_.end() || baseline->second <= 0)
      continue;
    const double ratio = measured->second / baseline->second;
    std::printf("%-40s %-34s %7.2fx %5.2fx %s\n", c.measured.c_str(), c.baseline.c_str(), ratio,
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
