// A console reporter that also prints, at the end of the run, each
// benchmark's time as a ratio to its baseline measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench_support {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Pairs of (benchmark name, baseline name) with the goal ratio.
  struct Comparison {
    std::string measured;
    std::string baseline;
    double goal;
  };
  explicit RatioReporter(std::vector<Comparison> comparisons)
      : comparisons_(std::move(comparisons)) {}

  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  std::vector<Comparison> comparisons_;
  std::map<std::string, double> realTimeNs_;
};

// Runs the registered benchmarks with a RatioReporter.
int RunWithRatios(int argc, char** argv, std::vector<RatioReporter::Comparison> comparisons);

}  // namespace bench_support
