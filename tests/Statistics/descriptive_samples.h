// The samples behind the descriptive-statistics references (tests/reference/Statistics/
// descriptive.R): sleep and Old Faithful data, constant, tiny, far-from-zero, heavily tied and
// log-normal samples of 1 to 3500 values, keyed by case number.
#pragma once

#include <map>
#include <vector>

#include "lumex/core/containers.h"
#include "lumex_test.h"

namespace lumex::test {

inline std::map<int, TVec> ReadDescriptiveSamples() {
  std::map<int, std::vector<double>> values;
  for (const auto& row : ReadRefTable("Statistics/descriptive_data.txt").rows) {
    values[static_cast<int>(row[0])].push_back(row[1]);
  }
  std::map<int, TVec> samples;
  for (const auto& [k, v] : values) samples.emplace(k, TVec(v));
  return samples;
}

// x in single-precision storage.
inline TVec ToSingle(const TVec& x) {
  TVec s;
  s.Size(x.Length(), fpSingle);
  for (int i = 0; i < x.Length(); ++i) s.SetValue(i, x[i]);
  return s;
}

}  // namespace lumex::test
