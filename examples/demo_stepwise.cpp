// Demo section: best-subset selection for the fuel consumption of the Motor Trend cars, every
// subset of ten candidate variables fitted and ranked by the standard error of the regression,
// with the forward search for comparison.
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/Regress.h"

namespace demo {

namespace {

void StepwiseSection(const std::string& dataDir) {
  Heading("Stepwise selection: miles per gallon of 32 cars on ten candidates (Motor Trend 1974)");
  const TTable cars = ReadCsv(dataDir + "/mtcars.csv");
  const std::vector<std::string> names{"cyl", "disp", "hp", "drat", "wt",
                                       "qsec", "vs",   "am", "gear", "carb"};
  const int m = static_cast<int>(names.size());
  lumex::TVecList list;
  list.SetCount(m + 1);
  lumex::TVec sd(m + 1);
  for (int j = 0; j <= m; ++j) {
    list[j] = cars.Numbers(j < m ? names[j] : "mpg");
    sd[j] = lumex::StdDev(list[j]);
  }

  lumex::TVecInt mask;
  lumex::TMtx results, details;
  lumex::StepwiseRegression(list, sd, lumex::swExhaustive, mask, results, details, 0, false,
                            nullptr, nullptr);
  const auto models = results.Rows();
  std::cout << models << " models fitted; the best eight by the standard error of the "
               "regression:\n"
            << std::left << std::setw(34) << "variables" << std::right << std::setw(10) << "s"
            << std::setw(10) << "R^2" << std::setw(10) << "adj. R^2\n";
  for (int r = 0; r < 8; ++r) {
    std::string vars;
    for (int j = 0; j < m; ++j) {
      if (results(r, 1 + j) != 0.0) vars += (vars.empty() ? "" : " ") + names[j];
    }
    std::cout << std::left << std::setw(34) << vars << std::right << std::setw(10)
              << Fixed(results(r, m + 1), 4) << std::setw(10) << Fixed(results(r, m + 5), 4)
              << std::setw(10) << Fixed(results(r, m + 6), 4) << "\n";
  }

  lumex::StepwiseRegression(list, sd, lumex::swForward, mask, results, details, 100, true,
                            nullptr, nullptr);
  std::cout << "forward search from the intercept alone, one variable a step:\n";
  for (int r = 0; r < results.Rows(); ++r) {
    std::string vars;
    for (int j = 0; j < m; ++j) {
      if (results(r, 1 + j) != 0.0) vars += (vars.empty() ? "" : " ") + names[j];
    }
    std::cout << "  " << std::left << std::setw(32) << (vars.empty() ? "(intercept)" : vars)
              << std::right << std::setw(10) << Fixed(results(r, m + 1), 4) << "\n";
  }
  std::cout << "(the greedy search stops at a local best; the exhaustive ranking shows the "
               "subsets it passes by)\n";
}

}  // namespace

const TSection kSection(74, "Stepwise selection", StepwiseSection);

}  // namespace demo
