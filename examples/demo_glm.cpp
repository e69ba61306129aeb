// Demo section: generalised linear models. Oesophageal cancer cases against controls by age and
// alcohol consumption (binomial logistic regression), insect counts by insecticide (Poisson
// regression) and Copenhagen tenants' housing satisfaction by their influence on management
// (ordinal, proportional-odds logistic regression).
#include <array>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/Regress.h"

namespace demo {

namespace {

// Treatment coding: the distinct labels in order of first appearance, and one 0/1 column per
// label after the first (the reference level), written into A from column `col` on.
std::vector<std::string> Dummies(const std::vector<std::string>& labels, lumex::TMtx& A,
                                 int col) {
  std::vector<std::string> levels;
  for (const std::string& l : labels) {
    bool seen = false;
    for (const std::string& v : levels) seen = seen || v == l;
    if (!seen) levels.push_back(l);
  }
  for (std::size_t i = 0; i < labels.size(); ++i) {
    for (std::size_t k = 1; k < levels.size(); ++k) {
      A(static_cast<int>(i), col + static_cast<int>(k) - 1) = labels[i] == levels[k] ? 1.0 : 0.0;
    }
  }
  return levels;
}

void TermRow(const std::string& term, double b, double se, const char* ratio) {
  std::cout << std::left << std::setw(22) << term << std::right << std::setw(10) << Fixed(b)
            << std::setw(10) << Fixed(se) << std::setw(9) << Fixed(b / se, 2);
  if (ratio != nullptr) std::cout << std::setw(12) << Fixed(std::exp(b), 3);
  std::cout << "\n";
}

void TermHeader(const char* ratio) {
  std::cout << std::left << std::setw(22) << "term" << std::right << std::setw(10) << "estimate"
            << std::setw(10) << "std.err" << std::setw(9) << "z";
  if (ratio != nullptr) std::cout << std::setw(12) << ratio;
  std::cout << "\n";
}

void Logistic(const std::string& dataDir) {
  Heading("Logistic regression: oesophageal cancer cases against controls by age and alcohol "
          "(Breslow and Day 1980)");
  const TTable t = ReadCsv(dataDir + "/esoph.csv");
  const lumex::TVec cases = t.Numbers("ncases");
  const lumex::TVec controls = t.Numbers("ncontrols");
  const int n = cases.Length();
  lumex::TVec trials(n);
  for (int i = 0; i < n; ++i) trials[i] = cases[i] + controls[i];
  lumex::TMtx A(n, 1 + 5 + 3);
  for (int i = 0; i < n; ++i) A(i, 0) = 1.0;
  const auto ages = Dummies(t.Texts("agegp"), A, 1);
  const auto alcohol = Dummies(t.Texts("alcgp"), A, 6);
  lumex::TVec b, mu, se;
  lumex::LogisticRegress(cases, trials, b, &A, 0.0, &mu, &se, 1e-10);
  double deviance = 0.0;
  for (int i = 0; i < n; ++i) {
    const double y = cases[i];
    const double f = trials[i] - y;
    deviance += (y > 0 ? y * std::log(y / mu[i]) : 0.0) +
                (f > 0 ? f * std::log(f / (trials[i] - mu[i])) : 0.0);
  }
  std::cout << "88 strata, " << Fixed(lumex::Sum(cases), 0) << " cases and "
            << Fixed(lumex::Sum(controls), 0) << " controls; reference: age " << ages[0]
            << ", alcohol " << alcohol[0] << "\n";
  TermHeader("odds ratio");
  TermRow("(Intercept)", b[0], se[0], nullptr);
  for (int k = 1; k < 6; ++k) TermRow("age " + ages[k], b[k], se[k], "");
  for (int k = 1; k < 4; ++k) TermRow("alcohol " + alcohol[k], b[5 + k], se[5 + k], "");
  std::cout << "residual deviance " << Fixed(2 * deviance, 3) << " on " << n - A.Cols()
            << " df (R's glm: 105.881)\n"
            << "(the odds of cancer rise steeply with alcohol: 120+ g/day against under 40 "
               "multiplies them by about "
            << Fixed(std::exp(b[8]), 0) << " at any age)\n";
}

void Poisson(const std::string& dataDir) {
  Heading("Poisson regression: insects on 72 plots by insecticide (Beall 1942)");
  const TTable t = ReadCsv(dataDir + "/insect_sprays.csv");
  const lumex::TVec count = t.Numbers("count");
  const int n = count.Length();
  lumex::TMtx A(n, 6);
  for (int i = 0; i < n; ++i) A(i, 0) = 1.0;
  const auto sprays = Dummies(t.Texts("spray"), A, 1);
  lumex::TVec b, se;
  double deviance = 0.0;
  int dfE = 0;
  const int passes = lumex::PoissonRegress(count, A, b, se, deviance, dfE, 0.0, nullptr, 1e-10, 0);
  TermHeader("rate ratio");
  TermRow("(Intercept) spray " + sprays[0], b[0], se[0], nullptr);
  for (int k = 1; k < 6; ++k) TermRow("spray " + sprays[k], b[k], se[k], "");
  std::cout << "residual deviance " << Fixed(deviance, 3) << " on " << dfE << " df after "
            << passes << " IRLS passes (R's glm: 98.329 on 66)\n"
            << "(sprays C, D and E leave a fraction of the insects of A, B and F; the deviance, "
               "half again the degrees of freedom, shows overdispersion)\n";
}

void Ordinal(const std::string& dataDir) {
  Heading("Ordinal logistic regression: housing satisfaction by influence on management "
          "(Madsen 1976)");
  const TTable t = ReadCsv(dataDir + "/housing.csv");
  const std::vector<std::string> sat = t.Texts("Sat");
  const std::vector<std::string> infl = t.Texts("Infl");
  const lumex::TVec freq = t.Numbers("Freq");
  const std::vector<std::string> order{"Low", "Medium", "High"};
  const auto level = [&order](const std::string& s) {
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (order[k] == s) return static_cast<double>(k + 1);
    }
    return 0.0;
  };
  // One row per tenant: satisfaction 1-3, and influence Medium and High against Low.
  std::vector<double> y;
  std::vector<std::array<double, 2>> x;
  for (int i = 0; i < freq.Length(); ++i) {
    const double in = level(infl[static_cast<std::size_t>(i)]);
    for (int k = 0; k < static_cast<int>(freq[i]); ++k) {
      y.push_back(level(sat[static_cast<std::size_t>(i)]));
      x.push_back({in == 2 ? 1.0 : 0.0, in == 3 ? 1.0 : 0.0});
    }
  }
  lumex::TMtx A(static_cast<int>(y.size()), 2);
  for (int i = 0; i < A.Rows(); ++i) {
    A(i, 0) = x[static_cast<std::size_t>(i)][0];
    A(i, 1) = x[static_cast<std::size_t>(i)][1];
  }
  lumex::TVec b, theta, se;
  double deviance = 0.0;
  lumex::TOptStopReason stop = lumex::osrNone;
  const int steps = lumex::LogisticRegress(lumex::TVec(y), A, b, theta, se, deviance, stop, 100,
                                           1e-6, true);
  std::cout << A.Rows() << " tenants; P(satisfaction <= c) = logistic(theta_c - x b)\n";
  TermHeader("odds ratio");
  TermRow("theta Low|Medium", theta[0], se[0], nullptr);
  TermRow("theta Medium|High", theta[1], se[1], nullptr);
  TermRow("influence Medium", b[0], se[2], "");
  TermRow("influence High", b[1], se[3], "");
  std::cout << "deviance " << Fixed(deviance, 3) << " after " << steps << " Marquardt steps ("
            << lumex::OptStopReasonText(stop) << "; MASS::polr: 3543.416)\n"
            << "(tenants with high influence have about " << Fixed(std::exp(b[1]), 1)
            << " times the odds of being more satisfied)\n";
}

void GlmSection(const std::string& dataDir) {
  Logistic(dataDir);
  Poisson(dataDir);
  Ordinal(dataDir);
}

}  // namespace

const TSection kSection(77, "Logistic and Poisson regression", GlmSection);

}  // namespace demo
