// Shared test helpers: named tolerances, one comparison helper that prints expected, computed
// and their distance, an exact-message assertion, and readers for reference files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lumex/core/types.h"

namespace lumex::test {

// Tolerance ladder, relative unless said otherwise.
inline constexpr double kTolExact = 4 * EPS_DOUBLE;   // a few roundings
inline constexpr double kTolRef = 1e-12;              // committed R/NumPy references
inline constexpr double kTolCertified13 = 1e-13;      // NIST certified values, 13 digits
inline constexpr double kTolSingle = 4 * EPS_SINGLE;  // single-precision paths

// Passes when computed equals expected to `rel` relative (or `abs_floor` absolute, for values
// near 0); NaN equals NaN and infinities must match exactly.
inline ::testing::AssertionResult Near(double expected, double computed, double rel,
                                       double abs_floor = 0.0) {
  if (std::isnan(expected) && std::isnan(computed)) return ::testing::AssertionSuccess();
  if (std::isinf(expected) || std::isinf(computed)) {
    if (expected == computed) return ::testing::AssertionSuccess();
  } else {
    const double dist = std::fabs(expected - computed);
    if (dist <= rel * std::fabs(expected) || dist <= abs_floor) {
      return ::testing::AssertionSuccess();
    }
  }
  std::ostringstream os;
  os.precision(17);
  os << "expected " << expected << ", computed " << computed << ", distance "
     << std::fabs(expected - computed) << " (relative "
     << std::fabs(expected - computed) / std::fabs(expected) << ", allowed " << rel << ")";
  return ::testing::AssertionFailure() << os.str();
}

// Asserts that `statement` raises ELumexError with exactly `message`.
#define EXPECT_LUMEX_ERROR(statement, message)                                        \
  do {                                                                                \
    try {                                                                             \
      statement;                                                                      \
      ADD_FAILURE() << "no exception; expected \"" << (message) << "\"";            \
    } catch (const ::lumex::ELumexError& e) {                                         \
      EXPECT_EQ(std::string(e.what()), std::string(message));                         \
    } catch (const std::exception& e) {                                               \
      ADD_FAILURE() << "wrong exception type, message \"" << e.what() << "\"";      \
    }                                                                                 \
  } while (0)

// A reference file: whitespace-separated columns with a header line naming them; lines
// starting with '#' are comments; a leading text column is kept in `names`. Values are read with strtod, so "NaN", "Inf" and "-Inf" work.
struct TRefTable {
  std::vector<std::string> columns;
  std::vector<std::string> names;  // first token of each row, for tables keyed by a name
  std::vector<std::vector<double>> rows;
  int Col(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i] == name) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no column " << name;
    return 0;
  }
};

inline std::string ReferencePath(const std::string& relative) {
  return std::string(LUMEX_REFERENCE_DIR) + "/" + relative;
}

inline TRefTable ReadRefTable(const std::string& relative) {
  TRefTable t;
  std::ifstream in(ReferencePath(relative));
  if (!in) {
    ADD_FAILURE() << "cannot open reference file " << ReferencePath(relative);
    return t;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string tok;
    if (t.columns.empty()) {
      while (ls >> tok) t.columns.push_back(tok);
      continue;
    }
    std::vector<double> row;
    while (ls >> tok) {
      if (row.empty()) t.names.push_back(tok);
      row.push_back(std::strtod(tok.c_str(), nullptr));
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

// Folder of the NIST StRD files: $LUMEX_NIST_DIR, else ../shared/data/nist beside the sources.
inline std::string NistDir() {
  const char* env = std::getenv("LUMEX_NIST_DIR");
  return env != nullptr ? std::string(env) : std::string(LUMEX_NIST_DIR_DEFAULT);
}

#define LUMEX_REQUIRE_NIST()                                                             \
  do {                                                                                   \
    if (!std::filesystem::exists(::lumex::test::NistDir())) {                            \
      GTEST_SKIP() << "NIST StRD folder not found at " << ::lumex::test::NistDir()       \
                   << " (set LUMEX_NIST_DIR)";                                           \
    }                                                                                    \
  } while (0)

// A NIST StRD univariate set: its data and certified mean, standard deviation (divisor n - 1)
// and lag-1 autocorrelation. Both file layouts of the StRD distribution are understood.
struct TNistUnivariate {
  std::vector<double> y;
  // The data less the first datum, subtracted in decimal before the one rounding to double. The
  // certified statistics other than the mean do not change under a shift, and NumAcc3/4 hold
  // ninth digits on a base of 10^6 or 10^7 that a double cannot store, but their deviations can.
  std::vector<double> yShifted;
  double mean = std::nan("");
  double sd = std::nan("");
  double lag1 = std::nan("");
};

inline TNistUnivariate ReadNistUnivariate(const std::string& name) {
  TNistUnivariate r;
  std::ifstream in(NistDir() + "/" + name + ".dat");
  std::string line;
  auto valueAfter = [&line](char sep) { return std::stod(line.substr(line.rfind(sep) + 1)); };
  // Each datum as an exact decimal: integer digits times 10^-decimals.
  std::vector<std::pair<long long, int>> decimal;
  int decimals = 0;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    double v;
    std::string rest;
    if ((ls >> v) && !(ls >> rest)) {  // a line holding one number is a datum
      r.y.push_back(v);
      std::istringstream token(line);
      std::string text;
      token >> text;
      const std::size_t point = text.find('.');
      const int places = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
      if (point != std::string::npos) text.erase(point, 1);
      decimal.emplace_back(std::stoll(text), places);
      decimals = std::max(decimals, places);
    } else if (line.find("Sample Mean") != std::string::npos) {
      r.mean = valueAfter(':');
    } else if (line.find("Sample Standard Deviation") != std::string::npos) {
      r.sd = valueAfter(':');
    } else if (line.find("Sample Autocorrelation") != std::string::npos) {
      r.lag1 = valueAfter(':');
    } else if (line.rfind("mean ", 0) == 0) {
      r.mean = valueAfter('=');
    } else if (line.rfind("standardDeviation", 0) == 0) {
      r.sd = valueAfter('=');
    } else if (line.rfind("autocorrelationCoefficient", 0) == 0) {
      r.lag1 = valueAfter('=');
    }
  }
  auto scaled = [decimals](std::pair<long long, int> d) {
    for (int k = d.second; k < decimals; ++k) d.first *= 10;
    return d.first;
  };
  const double unit = std::pow(10.0, decimals);
  for (const auto& d : decimal) {
    r.yShifted.push_back(static_cast<double>(scaled(d) - scaled(decimal.front())) / unit);
  }
  return r;
}

}  // namespace lumex::test
