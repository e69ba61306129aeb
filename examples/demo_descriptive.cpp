// Demo section: descriptive statistics of the Old Faithful eruptions.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <vector>

#include "demo.h"

namespace demo {

namespace {

void DescriptiveSection(const std::string& dataDir) {
  Heading("Descriptive statistics: Old Faithful geyser (Azzalini and Bowman 1990)");
  const TTable faithful = ReadCsv(dataDir + "/faithful.csv");
  const lumex::TVec eruptions = faithful.Numbers("eruptions");
  const lumex::TVec waiting = faithful.Numbers("waiting");
  std::cout << eruptions.Length()
            << " eruptions: duration (min) and waiting time before it (min)\n\n";

  std::cout << "                 duration   waiting\n";
  auto row = [](const char* name, double a, double b) {
    std::cout << std::left << std::setw(17) << name << std::right << std::setw(8) << Fixed(a, 3)
              << "  " << std::setw(8) << Fixed(b, 3) << "\n";
  };
  row("mean", lumex::Mean(eruptions), lumex::Mean(waiting));
  row("geometric mean", lumex::MeanG(eruptions), lumex::MeanG(waiting));
  row("harmonic mean", lumex::MeanH(eruptions), lumex::MeanH(waiting));
  row("10% trimmed mean", lumex::MeanT(eruptions, 0.1), lumex::MeanT(waiting, 0.1));
  row("median", lumex::Median(eruptions), lumex::Median(waiting));
  row("mode", lumex::Mode(eruptions), lumex::Mode(waiting));
  // Shape from the central moments: both variables are bimodal (short and long eruptions), so
  // their kurtosis is well below the normal law's 3.
  auto shape = [](const lumex::TVec& x, double& skew, double& kurt) {
    const double mu = lumex::Mean(x);
    const double m2 = lumex::Moment(x, mu, 2);
    skew = lumex::Moment(x, mu, 3) / std::pow(m2, 1.5);
    kurt = lumex::Moment(x, mu, 4) / (m2 * m2);
    return m2;
  };
  double s1, k1, s2, k2;
  row("variance (n)", shape(eruptions, s1, k1), shape(waiting, s2, k2));
  row("skewness", s1, s2);
  row("kurtosis", k1, k2);
  lumex::TMtx both(eruptions.Length(), 2);
  for (int i = 0; i < eruptions.Length(); ++i) {
    both(i, 0) = eruptions[i];
    both(i, 1) = waiting[i];
  }
  lumex::TVec ranges;
  lumex::RangeCols(both, ranges);
  row("range", ranges[0], ranges[1]);

  lumex::TVec distinct;
  lumex::TVecInt counts;
  lumex::Unique(waiting, distinct, &counts);
  int at = 0;
  const int most = lumex::Max(counts, at);
  std::cout << "\nwaiting times take " << distinct.Length() << " distinct whole minutes; the most "
            << "frequent, " << distinct[at] << " min, occurs " << most << " times\n";

  std::cout << "\nquantiles of the duration by definition\n"
            << "P        NPlus  NMinus ClosestN     EDF  EDFAve\n";
  const std::vector<double> p{0.1, 0.25, 0.5, 0.75, 0.9};
  std::vector<std::vector<double>> q(5, std::vector<double>(p.size()));
  for (int m = 0; m < 5; ++m) {
    lumex::Percentile(eruptions, p, q[m], static_cast<lumex::TPercentileMethod>(m));
  }
  for (std::size_t i = 0; i < p.size(); ++i) {
    std::cout << std::left << std::setw(6) << p[i] << std::right;
    for (int m = 0; m < 5; ++m) std::cout << std::setw(8) << Fixed(q[m][i], 3);
    std::cout << "\n";
  }
  std::cout << "IQR   ";
  for (int m = 0; m < 5; ++m) {
    std::cout << std::setw(8)
              << Fixed(lumex::InterQuartile(eruptions, static_cast<lumex::TPercentileMethod>(m)),
                       3);
  }
  std::cout << "\n";

  lumex::TVec ranks;
  double tieCorrection = 0.0;
  lumex::TiedRanks(waiting, ranks, tieCorrection);
  std::cout << "\nmid-ranks of the first eight waiting times (ties averaged):\n";
  for (int i = 0; i < 8; ++i) {
    std::cout << "  " << waiting[i] << " min -> rank " << ranks[i] << "\n";
  }
  std::cout << "tie correction sum (t^3 - t)/2 over the tie groups: " << tieCorrection << "\n";
}

const TSection kSection(10, "Descriptive statistics", DescriptiveSection);

}  // namespace

}  // namespace demo
