// Shared by the example programs: the folder of the bundled data sets and a reader for one
// numeric column of their CSV files.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumex/core/containers.h"

namespace example {

// The data folder: the program's first argument, or examples/data under the current folder.
inline std::string DataDir(int argc, char** argv) {
  return argc > 1 ? argv[1] : "examples/data";
}

// The numeric column `column` of a CSV file with a header line (quoted names, no commas inside
// the numeric cells).
inline lumex::TVec ReadColumn(const std::string& path, const std::string& column) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::string line, cell;
  std::getline(in, line);
  std::istringstream header(line);
  int index = 0;
  while (std::getline(header, cell, ',') && cell != column && cell != '"' + column + '"') ++index;
  if (header.fail()) throw std::runtime_error("no column " + column + " in " + path);
  std::vector<double> values;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    for (int i = 0; i <= index; ++i) std::getline(row, cell, ',');
    values.push_back(std::stod(cell));
  }
  return lumex::TVec(values);
}

}  // namespace example
