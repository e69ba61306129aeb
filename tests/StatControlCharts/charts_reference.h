// The data sets of the control-chart references (tests/reference/StatControlCharts), read into
// library objects, and a tracker of the largest relative error met in a reference test.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex::test {

// Subgroup matrices by set number, from "set row col value" lines.
inline std::map<int, TMtx> ReadSubgroups() {
  const TRefTable t = ReadRefTable("StatControlCharts/subgroups.txt");
  std::map<int, std::vector<std::vector<double>>> cells;
  for (const auto& r : t.rows) {
    auto& m = cells[static_cast<int>(r[0])];
    const auto i = static_cast<std::size_t>(r[1]);
    const auto j = static_cast<std::size_t>(r[2]);
    if (m.size() <= i) m.resize(i + 1);
    if (m[i].size() <= j) m[i].resize(j + 1);
    m[i][j] = r[3];
  }
  std::map<int, TMtx> sets;
  for (const auto& [set, rows] : cells) {
    TMtx m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      for (std::size_t j = 0; j < rows[i].size(); ++j) {
        m(static_cast<int>(i), static_cast<int>(j)) = rows[i][j];
      }
    }
    sets.emplace(set, std::move(m));
  }
  return sets;
}

// Vectors by set number from a file whose lines start "set i" and whose column `col` holds the
// value.
inline std::map<int, TVec> ReadSetVectors(const std::string& file, const std::string& col) {
  const TRefTable t = ReadRefTable(file);
  std::map<int, std::vector<double>> v;
  for (const auto& r : t.rows) v[static_cast<int>(r[0])].push_back(r[t.Col(col)]);
  std::map<int, TVec> sets;
  for (const auto& [set, x] : v) sets.emplace(set, TVec(x));
  return sets;
}

// Largest relative error seen by a reference test, printed with its name when the test ends.
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
