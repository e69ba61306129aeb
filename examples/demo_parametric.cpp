// Demo section: parametric tests on the paired sleep data of Cushny and Peebles.
#include <iostream>

#include "demo.h"

namespace demo {

namespace {

void ParametricTestsSection(const std::string& dataDir) {
  Heading("One-sample t-test: extra sleep, drug 2 minus drug 1 (Student 1908)");
  const TTable sleep = ReadCsv(dataDir + "/sleep.csv");
  const lumex::TVec extra = sleep.Numbers("extra");
  const std::vector<std::string> group = sleep.Texts("group");
  std::vector<double> drug1, drug2;
  for (int i = 0; i < extra.Length(); ++i) {
    (group[static_cast<std::size_t>(i)] == "1" ? drug1 : drug2).push_back(extra[i]);
  }
  lumex::TVec diff;
  lumex::Sub(diff, lumex::TVec(drug2), lumex::TVec(drug1));

  std::cout << "patients: " << diff.Length() << ", differences " << diff.ToString() << "\n"
            << "mean difference " << Fixed(lumex::Mean(diff)) << " h, standard deviation "
            << Fixed(lumex::StdDev(diff)) << " h\n\n";

  const double alpha = 0.05;
  const struct {
    lumex::THypothesisType type;
    const char* name;
  } tails[] = {{lumex::htTwoTailed, "two-tailed  (mean <> 0)"},
               {lumex::htRightTailed, "right-tailed (mean > 0) "},
               {lumex::htLeftTailed, "left-tailed  (mean < 0) "}};
  for (const auto& tail : tails) {
    lumex::THypothesisResult hRes;
    double signif;
    lumex::TTwoElmReal ci;
    const double t = lumex::tTest(diff, 0.0, hRes, signif, ci, tail.type, alpha);
    std::cout << tail.name << "  t = " << Fixed(t) << ", p = " << Fixed(signif, 6)
              << ", 95% interval [" << Fixed(ci[0]) << ", " << Fixed(ci[1]) << "]  -> "
              << Decision(hRes) << " at level " << alpha << "\n";
  }
}

const TSection kSection(30, "Parametric tests", ParametricTestsSection);

}  // namespace

}  // namespace demo
