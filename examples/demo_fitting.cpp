// Demo section: distribution fitting and goodness of fit on the warp-break counts of Tippett.
#include <iostream>
#include <string>

#include "demo.h"

namespace demo {

namespace {

std::string Interval(const lumex::TTwoElmReal& ci) {
  return "[" + Fixed(ci[0], 3) + ", " + Fixed(ci[1], 3) + "]";
}

void FittingSection(const std::string& dataDir) {
  Heading("Distribution fitting: warp breaks per loom (Tippett 1950)");
  const TTable warp = ReadCsv(dataDir + "/warpbreaks.csv");
  const lumex::TVec breaks = warp.Numbers("breaks");
  const double alpha = 0.05;
  std::cout << breaks.Length() << " looms, breaks from " << lumex::Min(breaks) << " to "
            << lumex::Max(breaks) << "; estimates with 95% intervals\n\n";

  double mu, sigma;
  lumex::TTwoElmReal c1, c2;
  lumex::NormalFit(breaks, mu, sigma, c1, c2, alpha);
  std::cout << "normal      mu    = " << Fixed(mu, 3) << " " << Interval(c1)
            << "   sigma = " << Fixed(sigma, 3) << " " << Interval(c2) << "\n";
  lumex::LogNormalFit(breaks, mu, sigma, c1, c2, alpha);
  std::cout << "log-normal  mu    = " << Fixed(mu, 3) << " " << Interval(c1)
            << "   sigma = " << Fixed(sigma, 3) << " " << Interval(c2) << "\n";
  double a, b;
  lumex::GammaFit(breaks, a, b, c1, c2, 500, 1e-8, alpha);
  std::cout << "gamma       shape = " << Fixed(a, 3) << " " << Interval(c1)
            << "   scale = " << Fixed(b, 3) << " " << Interval(c2) << "  (Wald)\n";
  lumex::WeibullFit(breaks, a, b, c1, c2, 500, 1e-8, alpha);
  std::cout << "Weibull     scale = " << Fixed(a, 3) << " " << Interval(c1)
            << "   shape = " << Fixed(b, 3) << " " << Interval(c2) << "  (Wald)\n";
  double lambda;
  lumex::PoissonFit(breaks, lambda, c1, alpha);
  std::cout << "Poisson     lambda = " << Fixed(lambda, 3) << " " << Interval(c1)
            << "  (the counts are far more dispersed than Poisson: variance "
            << Fixed(lumex::StdDev(breaks) * lumex::StdDev(breaks), 1) << ")\n\n";

  std::cout << "goodness of fit at level " << alpha << ":\n";
  lumex::THypothesisResult h;
  double signif;
  const struct {
    lumex::TDistribution dist;
    const char* name;
  } laws[] = {{lumex::distNormal, "normal    "},
              {lumex::distLogNormal, "log-normal"},
              {lumex::distWeibull, "Weibull   "}};
  for (const auto& law : laws) {
    const double A = lumex::AndersonDarling(breaks, law.dist, h, signif, alpha);
    std::cout << "  Anderson-Darling, " << law.name << "  A2 = " << Fixed(A, 3)
              << ", p = " << Fixed(signif, 4) << "  -> " << Decision(h) << "\n";
  }
  std::cout
      << "  (the normal and log-normal p come from the law of A2 for known parameters, which\n"
         "   is conservative when they are estimated; Lilliefors below is calibrated)\n";
  lumex::GOFChi2Test(breaks, lumex::distGamma, 6, h, signif, lumex::htRightTailed, alpha);
  std::cout << "  chi-square, gamma, 6 bins                 p = " << Fixed(signif, 4) << "  -> "
            << Decision(h) << "\n";
  lumex::RandSeed(2026);  // the Lilliefors simulation draws fresh seeds from the default source
  double D = lumex::GOFLillieTest(breaks, h, signif, alpha, 1e-5);
  std::cout << "  Lilliefors (normal)           D  = " << Fixed(D, 3)
            << ", p = " << Fixed(signif, 4) << "  -> " << Decision(h) << "\n";
  const double JB = lumex::GOFBeraJarqueTest(breaks, h, signif, alpha);
  std::cout << "  Jarque-Bera (normal)          JB = " << Fixed(JB, 3)
            << ", p = " << Fixed(signif, 4) << "  -> " << Decision(h) << "\n";
  lumex::TVec logs;
  lumex::Ln(logs, breaks);
  lumex::ZScore(logs);
  D = lumex::GOFKolmogorov(logs, h, signif, nullptr, nullptr, lumex::htTwoTailed, alpha);
  std::cout << "  Kolmogorov, standardised logs D  = " << Fixed(D, 3)
            << ", p = " << Fixed(signif, 4) << "  -> " << Decision(h)
            << "\n  (estimated parameters again: this p is conservative)\n";
}

const TSection kSection(45, "Distribution fitting", FittingSection);

}  // namespace

}  // namespace demo
