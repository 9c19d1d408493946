// A console reporter that also prints, for every benchmark family run with
// growing arguments, how its time grows from one argument to the next.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace quillon::bench {

class GrowthReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  // family name -> (argument, real time per iteration in ns), in run order.
  std::map<std::string, std::vector<std::pair<double, double>>> families_;
};

}  // namespace quillon::bench
