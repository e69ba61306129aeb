// Demo section: principal components of the US arrests data (McNeil 1977) with their variance
// shares, and Hotelling's T^2 and Box's M comparing the more and the less urban states.
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"

namespace demo {

namespace {

const char* const kVariables[] = {"Murder", "Assault", "UrbanPop", "Rape"};

lumex::TMtx Columns(const TTable& t, const std::vector<int>& rows,
                    const std::vector<const char*>& names) {
  lumex::TMtx m(static_cast<int>(rows.size()), static_cast<int>(names.size()));
  for (std::size_t j = 0; j < names.size(); ++j) {
    const lumex::TVec v = t.Numbers(names[j]);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      m(static_cast<int>(i), static_cast<int>(j)) = v[rows[i]];
    }
  }
  return m;
}

void MultivariateSection(const std::string& dataDir) {
  const TTable arrests = ReadCsv(dataDir + "/us_arrests.csv");
  const int n = static_cast<int>(arrests.rows.size());
  std::vector<int> all(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) all[static_cast<std::size_t>(i)] = i;
  const lumex::TMtx x =
      Columns(arrests, all, std::vector<const char*>(std::begin(kVariables), std::end(kVariables)));

  Heading("Principal components: US arrests per 100,000 residents, 50 states, 1973");
  lumex::TMtx pc, scores;
  lumex::TVec values, percent;
  // The variables are on different scales (assaults are ten times as frequent as murders), so
  // the components of the correlation matrix are the informative ones; those of the covariance
  // matrix mostly restate the variance of Assault.
  lumex::PCA(x, pc, scores, values, &percent, lumex::PCACovMat);
  std::cout << "covariance matrix: the first component carries " << Fixed(percent[0], 1)
            << "% of the variance (Assault's weight " << Fixed(pc(1, 0), 3) << ")\n\n";
  lumex::PCA(x, pc, scores, values, &percent, lumex::PCACorrMat);
  std::cout << "correlation matrix:\n            ";
  for (int j = 0; j < pc.Cols(); ++j) std::cout << "     PC" << j + 1;
  std::cout << "\n";
  for (int i = 0; i < pc.Rows(); ++i) {
    std::cout << "  " << kVariables[i] << std::string(10 - std::string(kVariables[i]).size(), ' ');
    for (int j = 0; j < pc.Cols(); ++j) {
      std::cout << (pc(i, j) < 0 ? "  " : "   ") << Fixed(pc(i, j), 3);
    }
    std::cout << "\n";
  }
  std::cout << "  variance  ";
  for (int j = 0; j < values.Length(); ++j) std::cout << "   " << Fixed(values[j], 3);
  std::cout << "\n  share %   ";
  for (int j = 0; j < percent.Length(); ++j) {
    std::cout << (percent[j] < 10 ? "    " : "   ") << Fixed(percent[j], 2);
  }
  std::cout << "\n";
  int numComp = 0;
  lumex::TVec bartlett;
  lumex::BartlettTest(x, numComp, bartlett, 0.05);
  std::cout << "Bartlett's test on the covariance matrix: significances that the trailing "
               "eigenvalues are equal";
  const std::streamsize precision = std::cout.precision(2);
  for (int m = 0; m < bartlett.Length(); ++m) std::cout << (m == 0 ? " " : ", ") << bartlett[m];
  std::cout.precision(precision);
  std::cout << "; components to keep: " << (numComp < 0 ? 0 : numComp) << "\n";

  Heading("Hotelling's T^2: crime rates of the more and the less urban states");
  const lumex::TVec urban = arrests.Numbers("UrbanPop");
  std::vector<int> more, less;
  for (int i = 0; i < n; ++i) (urban[i] >= 66.0 ? more : less).push_back(i);
  const std::vector<const char*> crimes = {"Murder", "Assault", "Rape"};
  const lumex::TMtx a = Columns(arrests, more, crimes), b = Columns(arrests, less, crimes);
  std::cout << more.size() << " states with at least 66% urban population against " << less.size()
            << " others; variables Murder, Assault, Rape\n";
  lumex::THypothesisResult h;
  double signif, df;
  for (bool pooled : {true, false}) {
    const double t2 = lumex::HotellingT2Two(a, b, signif, h, df, nullptr, pooled, 0.05);
    std::cout << (pooled ? "pooled covariance    " : "separate covariances ") << " T^2 = "
              << Fixed(t2, 3) << ", df = " << Fixed(df, 2) << ", p = " << Fixed(signif, 4)
              << "  -> " << Decision(h) << " (equal mean vectors)\n";
  }
  int df1, df2;
  const double m = lumex::MBoxTest(a, b, signif, h, df1, df2, 0.05);
  std::cout << "Box's M = " << Fixed(m, 3) << " on " << df1 << " degrees of freedom, p = "
            << Fixed(signif, 4) << "  -> " << Decision(h) << " (equal covariance matrices)\n";
}

const TSection kSection(50, "Multivariate analysis", MultivariateSection);

}  // namespace

}  // namespace demo
