// Helpers of the time-series tests: series tables and the worst-error record.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "lumex/core/containers.h"
#include "lumex_test.h"

namespace lumex::test {

inline std::map<std::string, TVec> ReadSeries(const std::string& relative) {
  const TRefTable t = ReadRefTable(relative);
  std::map<std::string, std::vector<double>> values;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    values[t.names[i]].push_back(t.rows[i][t.Col("value")]);
  }
  std::map<std::string, TVec> out;
  for (const auto& [name, v] : values) out.emplace(name, TVec(v));
  return out;
}

// The largest relative error seen against a reference, printed when the test ends: the measured
// conformance.
struct TWorst {
  const char* what;
  double rel = 0.0;
  void See(double expected, double computed) {
    if (expected != computed && std::isfinite(expected) && expected != 0.0) {
      rel = std::max(rel, std::fabs(expected - computed) / std::fabs(expected));
    }
  }
  ~TWorst() { std::printf("[ max rel. error vs reference ] %s: %.3g\n", what, rel); }
};

}  // namespace lumex::test
