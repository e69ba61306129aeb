// Lumex Stats demo: runs each section on the bundled public data sets.
//
// Usage: lumex_demo [data folder]   (default: examples/data)
#include "demo.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <tuple>

namespace demo {

namespace {

struct TRegistered {
  int order;
  const char* name;
  TSectionFn run;
};

std::vector<TRegistered>& Sections() {
  static std::vector<TRegistered> sections;
  return sections;
}

std::string Unquote(std::string s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      cells.push_back(cell);
      cell.clear();
    } else if (c != '\r') {
      cell += c;
    }
  }
  cells.push_back(cell);
  return cells;
}

int ColumnIndex(const TTable& t, const std::string& column) {
  for (std::size_t i = 0; i < t.names.size(); ++i) {
    if (t.names[i] == column) return static_cast<int>(i);
  }
  throw std::runtime_error("no column " + column);
}

}  // namespace

lumex::TVec TTable::Numbers(const std::string& column) const {
  const auto c = static_cast<std::size_t>(ColumnIndex(*this, column));
  std::vector<double> v;
  for (const auto& row : rows) v.push_back(std::strtod(Unquote(row.at(c)).c_str(), nullptr));
  return lumex::TVec(v);
}

std::vector<std::string> TTable::Texts(const std::string& column) const {
  const auto c = static_cast<std::size_t>(ColumnIndex(*this, column));
  std::vector<std::string> v;
  for (const auto& row : rows) v.push_back(Unquote(row.at(c)));
  return v;
}

TTable ReadCsv(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  TTable t;
  std::string line;
  if (std::getline(in, line)) {
    for (auto& name : SplitCsvLine(line)) t.names.push_back(Unquote(name));
  }
  while (std::getline(in, line)) {
    if (!line.empty()) t.rows.push_back(SplitCsvLine(line));
  }
  return t;
}

TSection::TSection(int order, const char* name, TSectionFn run) {
  Sections().push_back({order, name, run});
}

void Heading(const std::string& title) {
  std::cout << "\n" << title << "\n" << std::string(title.size(), '=') << "\n";
}

std::string Fixed(double x, int decimals) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "+Inf" : "-Inf";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
  return buf;
}

std::string Decision(lumex::THypothesisResult h) {
  switch (h) {
    case lumex::hrReject:
      return "reject H0";
    case lumex::hrNotReject:
      return "do not reject H0";
    case lumex::hrNan:
      break;
  }
  return "no decision";
}

}  // namespace demo

int main(int argc, char** argv) {
  const std::string dataDir = argc > 1 ? argv[1] : "examples/data";
  std::cout << "Lumex Stats demo (data from " << dataDir << ")\n";
  auto sections = demo::Sections();  // a copy, sorted below
  std::stable_sort(sections.begin(), sections.end(),
                   [](const auto& a, const auto& b) { return a.order < b.order; });
  int failures = 0;
  for (const auto& section : sections) {
    try {
      section.run(dataDir);
    } catch (const std::exception& e) {
      std::cerr << "section \"" << section.name << "\" failed: " << e.what() << "\n";
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
