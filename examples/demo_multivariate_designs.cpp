// Demo section: distances between the US states by their 1973 arrest rates, their classical
// scaling into a plane, the reliability of the three crime rates as one scale, a varimax
// rotation of the principal-component loadings, and two experimental designs.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "demo.h"

namespace demo {

namespace {

void PrintLoadings(const std::vector<std::string>& names, const lumex::TMtx& l,
                   const char* header) {
  std::cout << "            " << header << "\n";
  for (int i = 0; i < l.Rows(); ++i) {
    std::cout << "  " << std::left << std::setw(10) << names[i] << std::right << std::setw(8)
              << Fixed(l(i, 0), 3) << " " << std::setw(8) << Fixed(l(i, 1), 3) << "\n";
  }
}

void MultivariateDesignsSection(const std::string& dataDir) {
  Heading("Distances, scaling and rotation: US arrests by state, 1973 (McNeil 1977)");
  const TTable arrests = ReadCsv(dataDir + "/us_arrests.csv");
  const std::vector<std::string> states = arrests.Texts("State");
  const std::vector<std::string> vars = {"Murder", "Assault", "UrbanPop", "Rape"};
  const int n = static_cast<int>(states.size());
  const int p = static_cast<int>(vars.size());
  // Standardised columns: in raw units the assault rate (about 170 per 100,000) would decide
  // every distance alone.
  lumex::TMtx z(n, p);
  for (int j = 0; j < p; ++j) {
    lumex::TVec c = arrests.Numbers(vars[static_cast<std::size_t>(j)]);
    lumex::ZScore(c);
    lumex::SetCol(z, c, j);
  }

  lumex::TMtx d;
  lumex::PairwiseDistance(z, d, p, lumex::pwdistEuclidian);
  std::vector<std::pair<double, std::pair<int, int>>> pairs;
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) pairs.push_back({d(i, j), {i, j}});
  }
  std::sort(pairs.begin(), pairs.end());
  auto pairName = [&](const std::pair<int, int>& ij) {
    return states[static_cast<std::size_t>(ij.first)] + " - " +
           states[static_cast<std::size_t>(ij.second)];
  };
  std::cout << "Euclidean distances of the standardised rates between " << n << " states:\n";
  for (int k = 0; k < 3; ++k) {
    std::cout << "  closest   " << std::left << std::setw(34) << pairName(pairs[k].second)
              << std::right << Fixed(pairs[k].first, 3) << "\n";
  }
  std::cout << "  farthest  " << std::left << std::setw(34) << pairName(pairs.back().second)
            << std::right << Fixed(pairs.back().first, 3) << "\n";

  // Classical scaling: with all four dimensions the eigenvalues add up to the total squared
  // spread, so each one's share is the part of the configuration its axis shows.
  lumex::TMtx y;
  lumex::TVec ev;
  lumex::MDScaleMetric(d, y, ev, p);
  const double total = lumex::Sum(ev);
  lumex::TMtx y2, d2;
  lumex::MDScaleMetric(d, y2, ev, 2);
  lumex::PairwiseDistance(y2, d2, 2, lumex::pwdistEuclidian);
  std::cout << "\nClassical scaling into two dimensions: eigenvalues " << Fixed(ev[0], 1) << " and "
            << Fixed(ev[1], 1) << ", " << Fixed(100.0 * (ev[0] + ev[1]) / total, 1)
            << "% of the total; stress " << Fixed(lumex::MDScaleStress(d, d2), 3) << "\n";
  int lo = 0, hi = 0;
  for (int i = 1; i < n; ++i) {
    if (y2(i, 0) < y2(lo, 0)) lo = i;
    if (y2(i, 0) > y2(hi, 0)) hi = i;
  }
  for (const int i : {lo, hi}) {
    std::cout << "  " << std::left << std::setw(16) << states[static_cast<std::size_t>(i)]
              << std::right << " (" << Fixed(y2(i, 0), 2) << ", " << Fixed(y2(i, 1), 2)
              << ")  the end of the first axis\n";
  }

  // Murder, assault and rape as three items of one "violent crime" scale.
  lumex::TMtx crime(n, 3);
  for (int i = 0; i < n; ++i) {
    crime(i, 0) = z(i, 0);
    crime(i, 1) = z(i, 1);
    crime(i, 2) = z(i, 3);
  }
  std::cout << "\nCronbach's alpha of murder, assault and rape as one scale: "
            << Fixed(lumex::CronbachAlpha(crime), 3) << "\n";

  // Loadings of the first two principal components of the correlation matrix (eigenvectors
  // times the square roots of their eigenvalues), then their varimax rotation.
  lumex::TMtx r, vectors;
  lumex::TVec values;
  lumex::CorrCoef(z, r);
  lumex::EigSym(r, values, &vectors);  // ascending
  lumex::TMtx loadings(p, 2);
  for (int c = 0; c < 2; ++c) {
    const int k = p - 1 - c;
    // Signed so that the crime rates load positively.
    const double sign = vectors(0, k) + vectors(1, k) + vectors(3, k) < 0 ? -1 : 1;
    for (int i = 0; i < p; ++i) loadings(i, c) = sign * vectors(i, k) * std::sqrt(values[k]);
  }
  const double share = 100.0 * (values[p - 1] + values[p - 2]) / p;
  std::cout << "\nLoadings of the first two principal components (" << Fixed(share, 1)
            << "% of the variance):\n";
  PrintLoadings(vars, loadings, "     PC1      PC2");
  lumex::TMtx rotated, rotation;
  const bool converged =
      lumex::OrthogonalRotation(loadings, rotated, rotation, 1.0, true, 1e-10, 100);
  std::cout << "Varimax rotation (Kaiser normalisation" << (converged ? ", converged" : "")
            << ", "
            << Fixed(std::acos(std::clamp(rotation(0, 0), -1.0, 1.0)) * 180.0 / std::numbers::pi, 1)
            << " degrees): crime on one axis, urbanisation on the other\n";
  PrintLoadings(vars, rotated, "     RC1      RC2");

  Heading("Designs: a 2^3 full factorial and a Latin hypercube");
  lumex::TMtx ff;
  lumex::FullFactDesign(3, ff, lumex::fpDouble, nullptr);
  std::cout << "run   A B C\n";
  for (int i = 0; i < ff.Rows(); ++i) {
    std::cout << std::setw(3) << i + 1 << "   " << ff(i, 0) << " " << ff(i, 1) << " " << ff(i, 2)
              << "\n";
  }

  // The same seed gives the same first sample, so the maximin design can be set beside it.
  auto minDistance = [](const lumex::TMtx& m) {
    lumex::TMtx dm;
    lumex::PairwiseDistance(m, dm, m.Cols(), lumex::pwdistEuclidian);
    double best = INFINITY;
    for (int i = 0; i < dm.Rows(); ++i) {
      for (int j = i + 1; j < dm.Cols(); ++j) best = std::min(best, dm(i, j));
    }
    return best;
  };
  lumex::TMtx first, lhc;
  lumex::RandSeed(2026);
  lumex::LatinHyperCubeDesign(first, 8, 2, lumex::fpDouble, true, lumex::lhcImproveNone, 1);
  lumex::RandSeed(2026);
  lumex::LatinHyperCubeDesign(lhc, 8, 2, lumex::fpDouble, true, lumex::lhcImproveMinDist, 200);
  std::cout << "\nLatin hypercube of 8 points in 2 variables, the best of 200 by their smallest "
               "distance\n(" << Fixed(minDistance(lhc), 3) << ", against "
            << Fixed(minDistance(first), 3) << " for the first sample); one point per eighth of "
                                               "each axis:\n";
  for (int i = 0; i < lhc.Rows(); ++i) {
    std::cout << "  (" << Fixed(lhc(i, 0), 3) << ", " << Fixed(lhc(i, 1), 3) << ")\n";
  }
}

const TSection kSection(55, "Distances, scaling, rotation and designs", MultivariateDesignsSection);

}  // namespace

}  // namespace demo
