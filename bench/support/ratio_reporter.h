// A console reporter that also prints, at the end of the run, each
// benchmark's time as a ratio to its baseline measured in the same run:
// the medians over the repetitions (--benchmark_repetitions), real time
// and CPU time, since other work on the machine stretches real time.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
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
  struct Times {
    double realNs = 0;
    double cpuNs = 0;
  };
  struct Repetitions {
    std::vector<double> real;
    std::vector<double> cpu;
  };
  std::optional<Times> MedianOf(const std::string& name) const;

  std::vector<Comparison> comparisons_;
  std::map<std::string, Repetitions> times_;
  std::map<std::string, Times> medians_;
};

// Runs the registered benchmarks with a RatioReporter.
int RunWithRatios(int argc, char** argv, std::vector<RatioReporter::Comparison> comparisons);

}  // namespace bench_support
