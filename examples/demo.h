// The demo program: a tour of the library on public data sets, one section per module.
#pragma once

#include <string>
#include <vector>

#include "lumex/Statistics.h"

namespace demo {

// A CSV table of the data folder: column names and the cells as text.
struct TTable {
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> rows;
  // Numeric column by name (unquoted cells read with strtod).
  lumex::TVec Numbers(const std::string& column) const;
  // Text column by name, quotes removed.
  std::vector<std::string> Texts(const std::string& column) const;
};

TTable ReadCsv(const std::string& path);

// Formatting helpers shared by the sections.
void Heading(const std::string& title);
std::string Fixed(double x, int decimals = 4);
std::string Decision(lumex::THypothesisResult h);

// Sections register themselves, one source file each:
//   static const demo::TSection kSection(30, "Parametric tests", ParametricTestsSection);
// and the demo runs them in increasing order (descriptive statistics 10, tests 30, fitting 40,
// random variates 60, regression 70, time series 90, plots 100, control charts 110).
using TSectionFn = void (*)(const std::string& dataDir);
struct TSection {
  TSection(int order, const char* name, TSectionFn run);
};

}  // namespace demo
