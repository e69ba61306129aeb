// Series of the time-series references: tables with columns "name t value".
#pragma once

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

}  // namespace lumex::test
