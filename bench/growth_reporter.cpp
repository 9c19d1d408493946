#include "bench/growth_reporter.h"

#include <cstdio>
#include <cstdlib>

namespace quillon::bench {

void GrowthReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
    const std::string name = run.benchmark_name();
    const std::size_t slash = name.find('/');
    if (slash == std::string::npos) continue;
    const double argument = std::strtod(name.c_str() + slash + 1, nullptr);
    const double nanoseconds = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    families_[name.substr(0, slash)].emplace_back(argument, nanoseconds);
  }
}

void GrowthReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\nGrowth (time ratio against the size ratio, from each size to the next):\n");
  for (const auto& [family, points] : families_) {
    for (std::size_t i = 1; i < points.size(); ++i) {
      const auto& [fromSize, fromTime] = points[i - 1];
      const auto& [toSize, toTime] = points[i];
      std::printf("  %-28s %7.0f -> %-7.0f size x%-6.1f time x%-8.2f (%.3f ms -> %.3f ms)\n",
                  family.c_str(), fromSize, toSize, toSize / fromSize, toTime / fromTime,
                  fromTime / 1e6, toTime / 1e6);
    }
  }
  std::fflush(stdout);
}

}  // namespace quillon::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  quillon::bench::GrowthReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
