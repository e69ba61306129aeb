// Shared test helpers: named tolerances, one comparison helper that prints expected, computed
// and their distance, an exact-message assertion, the worst-error record, and readers for
// reference files and the samples behind them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lumex/core/containers.h"
#include "lumex/core/types.h"

namespace lumex::test {

// Tolerance ladder, relative unless said otherwise. Each rung names where the error comes from.
inline constexpr double kTolExact = 4 * EPS_DOUBLE;   // a few roundings
inline constexpr double kTolRounding = 1e-15;         // a short formula: a handful of roundings
inline constexpr double kTolSummed = 1e-14;           // sums, recurrences and series of many terms
inline constexpr double kTolCertified13 = 1e-13;      // NIST certified values, 13 digits
inline constexpr double kTolRef = 1e-12;              // committed R/NumPy references
inline constexpr double kTolIterated = 1e-10;         // the result of an iteration stopped at 1e-12
inline constexpr double kTolSingle = 4 * EPS_SINGLE;  // single-precision paths
inline constexpr double kTolConverged = 1e-6;         // an optimum found to its stopping tolerance
inline constexpr double kTiny = 1e-300;               // absolute floor: "both are zero"

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

// Expected and computed values, each with a name that a failure prints.
struct TExpected {
  const char* what;
  double expected, computed;
};

// Every listed value to `rel` relative (or `absFloor` absolute).
inline void ExpectAllNear(std::initializer_list<TExpected> values, double rel,
                          double absFloor = 0.0) {
  for (const TExpected& v : values) {
    EXPECT_TRUE(Near(v.expected, v.computed, rel, absFloor)) << v.what;
  }
}

// Every listed value exactly (NaN equals NaN).
inline void ExpectAllEqual(std::initializer_list<TExpected> values) {
  for (const TExpected& v : values) EXPECT_TRUE(Near(v.expected, v.computed, 0.0)) << v.what;
}

// A table entry of ExpectAllNear / ExpectAllEqual named by the expression computed.
#define LUMEX_VALUE(expected, computed) \
  ::lumex::test::TExpected {                                                   \
    #computed, static_cast<double>(expected), static_cast<double>(computed)    \
  }

// n zeros in the given storage, for the checks of storage kinds.
inline TVec Zeros(int n, TMtxFloatPrecision precision = fpDouble, bool complex = false) {
  TVec v;
  v.Size(n, precision, complex);
  v.SetZero();
  return v;
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

// The largest relative error seen against a reference, printed with its name when the test
// ends: the measured conformance.
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

// Samples by set number from a reference file whose rows start with the set number; the value is
// in column `col` (by default the second).
inline std::map<int, TVec> ReadSamples(const std::string& relative, const std::string& col = "") {
  const TRefTable t = ReadRefTable(relative);
  const int c = col.empty() ? 1 : t.Col(col);
  std::map<int, std::vector<double>> values;
  for (const auto& r : t.rows) {
    values[static_cast<int>(r[0])].push_back(r[static_cast<std::size_t>(c)]);
  }
  std::map<int, TVec> samples;
  for (const auto& [k, v] : values) samples.emplace(k, TVec(v));
  return samples;
}

// Matrices by set number from rows "set row col value".
inline std::map<int, TMtx> ReadSampleMatrices(const std::string& relative) {
  const TRefTable t = ReadRefTable(relative);
  std::map<int, std::pair<int, int>> shape;
  for (const auto& r : t.rows) {
    auto& s = shape[static_cast<int>(r[0])];
    s = {std::max(s.first, static_cast<int>(r[1]) + 1),
         std::max(s.second, static_cast<int>(r[2]) + 1)};
  }
  std::map<int, TMtx> sets;
  for (const auto& [k, s] : shape) sets.emplace(k, TMtx(s.first, s.second));
  for (const auto& r : t.rows) {
    sets.at(static_cast<int>(r[0]))(static_cast<int>(r[1]), static_cast<int>(r[2])) = r[3];
  }
  return sets;
}

// Series by name from rows "name ... value".
inline std::map<std::string, TVec> ReadSeries(const std::string& relative) {
  const TRefTable t = ReadRefTable(relative);
  std::map<std::string, std::vector<double>> values;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    values[t.names[i]].push_back(t.rows[i][static_cast<std::size_t>(t.Col("value"))]);
  }
  std::map<std::string, TVec> out;
  for (const auto& [name, v] : values) out.emplace(name, TVec(v));
  return out;
}

// x in single-precision storage.
inline TVec ToSingle(const TVec& x) {
  TVec s;
  s.Size(x.Length(), fpSingle);
  for (int i = 0; i < x.Length(); ++i) s.SetValue(i, x[i]);
  return s;
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

struct TNistRegression {
  std::vector<double> x, y, start1, start2, certified, certifiedSD;
  double rss = NaN;
  int observations = 0;
};

// A NIST StRD regression file: the parameter lines "b1 = start1 start2 certified sd" of the
// nonlinear problems, the residual sum of squares, the number of observations, and the data lines
// "y x" that follow the header (the linear files, Norris, have the same data lines).
inline TNistRegression ReadNistRegression(const std::string& name) {
  TNistRegression t;
  std::ifstream in(NistDir() + "/" + name + ".dat");
  std::string line;
  bool inData = false;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string first;
    ls >> first;
    if (first.size() >= 2 && first[0] == 'b' &&
        std::isdigit(static_cast<unsigned char>(first[1]))) {
      std::string eq;
      double s1, s2, c, sd;
      if (ls >> eq >> s1 >> s2 >> c >> sd) {
        t.start1.push_back(s1);
        t.start2.push_back(s2);
        t.certified.push_back(c);
        t.certifiedSD.push_back(sd);
      }
    } else if (line.find("Residual Sum of Squares:") != std::string::npos) {
      t.rss = std::stod(line.substr(line.find(':') + 1));
    } else if (line.find("Number of Observations:") != std::string::npos) {
      t.observations = std::stoi(line.substr(line.find(':') + 1));
    } else if (first == "Data:" && line.find('y') != std::string::npos &&
               line.find("Response") == std::string::npos) {
      inData = true;
    } else if (inData) {
      std::istringstream ds(line);
      double y, x;
      if (ds >> y >> x) {
        t.y.push_back(y);
        t.x.push_back(x);
      }
    }
  }
  return t;
}

// ---- Misuse tables ------------------------------------------------------------------------------

// A call and the exact message it must raise: one row of a table of misuses.
using TMisuse = std::pair<std::function<void()>, std::string>;

inline void ExpectMessages(const std::vector<TMisuse>& table) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_LUMEX_ERROR(table[i].first(), table[i].second);
  }
}

// Lowers the allocation limit for a scope, so that a size test does not depend on the memory
// of the machine it runs on (1 GiB unless given).
class TAllocationLimit {
public:
  explicit TAllocationLimit(std::size_t bytes = std::size_t{1} << 30) {
    SetAllocationLimit(bytes);
  }
  ~TAllocationLimit() { SetAllocationLimit(0); }
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;
};

}  // namespace lumex::test
