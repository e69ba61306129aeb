// Demo section: two-sample, rank and normality tests on the sleep, plant growth and Old Faithful
// data.
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"

namespace demo {

namespace {

// Values of `values` whose label in `labels` equals `label`.
lumex::TVec Select(const lumex::TVec& values, const std::vector<std::string>& labels,
                   const std::string& label) {
  std::vector<double> out;
  for (int i = 0; i < values.Length(); ++i) {
    if (labels[static_cast<std::size_t>(i)] == label) out.push_back(values[i]);
  }
  return lumex::TVec(out);
}

void Line(const char* name, double stat, double signif, lumex::THypothesisResult hRes,
          const std::string& extra = "") {
  std::cout << std::left << std::setw(34) << name << std::right << std::setw(10) << Fixed(stat)
            << "   p = " << std::setw(10) << Fixed(signif, 6) << "  " << Decision(hRes) << extra
            << "\n";
}

void HypothesisTestsSection(const std::string& dataDir) {
  const double alpha = 0.05;
  lumex::THypothesisResult h;
  double p;
  lumex::TTwoElmReal ci;

  Heading("Paired tests: extra sleep under drug 2 against drug 1 (Student 1908)");
  const TTable sleep = ReadCsv(dataDir + "/sleep.csv");
  const lumex::TVec extra = sleep.Numbers("extra");
  const lumex::TVec drug1 = Select(extra, sleep.Texts("group"), "1");
  const lumex::TVec drug2 = Select(extra, sleep.Texts("group"), "2");
  std::cout << "two-tailed tests at level " << alpha << "       statistic\n";
  // Each test is called before its line is printed: the line reads its outputs.
  double stat = lumex::tTest(drug2, drug1, h, p, ci, true, lumex::htTwoTailed, alpha);
  Line("paired t-test", stat, p, h, "  95% interval [" + Fixed(ci[0]) + ", " + Fixed(ci[1]) + "] h");
  stat = lumex::SignTest(drug2, drug1, h, p, ci, lumex::htTwoTailed, alpha);
  Line("sign test (M)", stat, p, h);
  stat = lumex::WilcoxonSign(drug2, drug1, h, p, ci, lumex::htTwoTailed, alpha);
  Line("Wilcoxon signed rank (T)", stat, p, h,
       "  rank-sum acceptance range [" + Fixed(ci[0], 0) + ", " + Fixed(ci[1], 0) + "]");

  Heading("Two independent samples: dried plant weight, control against treatment 2 (Dobson 1983)");
  const TTable plants = ReadCsv(dataDir + "/plant_growth.csv");
  const lumex::TVec weight = plants.Numbers("weight");
  const std::vector<std::string> group = plants.Texts("group");
  const lumex::TVec ctrl = Select(weight, group, "ctrl");
  const lumex::TVec trt2 = Select(weight, group, "trt2");
  std::cout << "control mean " << Fixed(lumex::Mean(ctrl)) << ", treatment 2 mean "
            << Fixed(lumex::Mean(trt2)) << " (n = " << ctrl.Length() << " and " << trt2.Length()
            << ")\n";
  stat = lumex::tTest(ctrl, trt2, h, p, ci, false, lumex::htTwoTailed, alpha);
  Line("pooled t-test", stat, p, h,
       "  95% interval for the difference [" + Fixed(ci[0]) + ", " + Fixed(ci[1]) + "]");
  stat = lumex::FTest(ctrl, trt2, h, p, ci, lumex::htTwoTailed, alpha);
  Line("F-test var(trt2)/var(ctrl)", stat, p, h);
  stat = lumex::MannWhitneyTest(ctrl, trt2, h, p, ci, lumex::htTwoTailed, alpha, false);
  Line("Mann-Whitney U, exact", stat, p, h);
  stat = lumex::MannWhitneyTest(ctrl, trt2, h, p, ci, lumex::htTwoTailed, alpha, true);
  Line("Mann-Whitney U, normal approx.", stat, p, h);
  stat = lumex::GrubbsTest(ctrl, h, p, ci, lumex::htTwoTailed, alpha);
  Line("Grubbs outlier test, control (G)", stat, p, h);
  lumex::ChiSquareTest(ctrl, 0.5, h, p, ci, lumex::htTwoTailed, alpha);
  std::cout << "chi-square test sd(control) = 0.5: p = " << Fixed(p, 6) << "  " << Decision(h)
            << ", 95% interval for the sd [" << Fixed(ci[0]) << ", " << Fixed(ci[1]) << "]\n";

  Heading("Normality and rank correlation: Old Faithful (Azzalini and Bowman 1990)");
  const TTable faithful = ReadCsv(dataDir + "/faithful.csv");
  const lumex::TVec eruptions = faithful.Numbers("eruptions");
  const lumex::TVec waiting = faithful.Numbers("waiting");
  std::cout << "normality of the waiting times (n = " << waiting.Length()
            << "); the significance is the upper tail of Royston's z\n";
  stat = lumex::ShapiroWilks(waiting, h, p, lumex::htRightTailed, alpha);
  Line("Shapiro-Wilk W", stat, p, h);
  stat = lumex::ShapiroFrancia(waiting, h, p, lumex::htRightTailed, alpha);
  Line("Shapiro-Francia W'", stat, p, h);
  double rho;
  lumex::SpearmanRankCorr(eruptions, waiting, rho, h, p, ci, lumex::htTwoTailed, alpha);
  Line("Spearman rho, duration ~ waiting", rho, p, h,
       "  interval [" + Fixed(ci[0]) + ", " + Fixed(ci[1]) + "]");
}

const TSection kSection(35, "Hypothesis tests", HypothesisTestsSection);

}  // namespace

}  // namespace demo
