// Demo section: the bimodal waiting times of Old Faithful as a text histogram, with the
// empirical distribution function and the correlation of waiting time with eruption length.
#include <iomanip>
#include <iostream>
#include <string>

#include "demo.h"

namespace demo {

namespace {

void HistogramSection(const std::string& dataDir) {
  Heading("Histogram: waiting time between eruptions of Old Faithful (Azzalini and Bowman 1990)");
  const TTable faithful = ReadCsv(dataDir + "/faithful.csv");
  const lumex::TVec waiting = faithful.Numbers("waiting");
  const lumex::TVec eruptions = faithful.Numbers("eruptions");

  const int numBins = 12;
  lumex::TVecInt counts;
  lumex::TVec edges;
  lumex::Histogram(waiting, numBins, counts, edges, false);
  int most = 0;
  lumex::Max(counts, most);
  const double scale = 50.0 / counts[most];  // the tallest bar is 50 characters
  std::cout << waiting.Length() << " eruptions, " << numBins << " bins between "
            << Fixed(edges[0], 0) << " and " << Fixed(edges[numBins], 0) << " minutes\n\n";
  for (int k = 0; k < numBins; ++k) {
    std::cout << "[" << std::setw(6) << Fixed(edges[k], 1) << ", " << std::setw(6)
              << Fixed(edges[k + 1], 1) << (k + 1 < numBins ? ")" : "]") << std::setw(5)
              << counts[k] << "  " << std::string(static_cast<std::size_t>(counts[k] * scale + 0.5), '#')
              << "\n";
  }

  lumex::TVec sorted(waiting), x, f;
  lumex::SortAscend(sorted);
  lumex::EmpiricalCDF(sorted, x, f);
  std::cout << "\n" << x.Length() << " distinct waiting times; the empirical distribution function:\n";
  for (const double minutes : {55.0, 65.0, 75.0, 85.0}) {
    // F[j + 1] is the fraction at or below x[j]; the last x[j] <= minutes gives F(minutes).
    int j = 0;
    while (j < x.Length() && x[j] <= minutes) ++j;
    std::cout << "  F(" << Fixed(minutes, 0) << ") = " << Fixed(f[j], 3) << "\n";
  }

  lumex::TMtx r;
  double t;
  lumex::CorrCoef(eruptions, waiting, r, t);
  std::cout << "\ncorrelation of eruption length with waiting time: r = " << Fixed(r(0, 1))
            << ", t = " << Fixed(t, 2) << " on " << waiting.Length() - 2 << " degrees of freedom\n";
}

const TSection kSection(12, "Histograms", HistogramSection);

}  // namespace

}  // namespace demo
