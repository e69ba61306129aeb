// Demo section: simulation with the random variate generators.
#include <cmath>
#include <iomanip>
#include <iostream>

#include "demo.h"
#include "lumex/StatRandom.h"

namespace demo {

namespace {

void RandomSection(const std::string& /*dataDir*/) {
  Heading("Random variates: simulation with fixed seeds");
  constexpr int n = 200000;

  // Three dice: P(sum >= 15) = 20/216 exactly.
  lumex::TVec d1(n), d2(n), d3(n);
  lumex::RandomUniformD(6, d1, 1);
  lumex::RandomUniformD(6, d2, 2);
  lumex::RandomUniformD(6, d3, 3);
  int hits = 0;
  for (int i = 0; i < n; ++i) hits += (d1[i] + d2[i] + d3[i] >= 15) ? 1 : 0;
  std::cout << "three dice, P(sum >= 15):  simulated " << Fixed(double(hits) / n)
            << ", exact " << Fixed(20.0 / 216.0) << "  (" << n << " throws)\n\n";

  // Arrivals of a Poisson process: counts per hour and the waiting time for the 5th arrival
  // (Erlang), rate 3.2 per hour.
  lumex::TVecInt counts(n);
  lumex::RandomPoisson(3.2, counts, 4);
  int empty = 0;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    empty += counts[i] == 0 ? 1 : 0;
    sum += counts[i];
  }
  std::cout << "arrivals per hour (Poisson 3.2): mean " << Fixed(sum / n) << ", empty hours "
            << Fixed(double(empty) / n) << " (law " << Fixed(std::exp(-3.2)) << ")\n";
  lumex::TVec wait(n);
  lumex::RandomErlang(5, 3.2, wait, 5);
  int late = 0;
  for (int i = 0; i < n; ++i) late += wait[i] > 2.0 ? 1 : 0;
  std::cout << "hours to the 5th arrival (Erlang 5, 3.2): mean " << Fixed(lumex::Mean(wait))
            << " (law " << Fixed(5 / 3.2) << "), P(> 2 h) " << Fixed(double(late) / n)
            << " (law " << Fixed(lumex::ErlangCDFUpper(2.0, 5, 3.2)) << ")\n\n";

  // Student's t: the 97.5% quantile of simulated t(5) values against the law's.
  lumex::TVec t(n);
  lumex::RandomStudent(5, t, 6);
  std::cout << "t with 5 degrees of freedom, 97.5% quantile: simulated "
            << Fixed(lumex::Percentile(t, 0.975, lumex::pctMethodNPlus)) << ", law "
            << Fixed(lumex::StudentCDFInv(0.975, 5)) << "\n\n";

  // Reproducibility: the same seed gives the same numbers; -1 asks for a fresh seed.
  lumex::TVec a(4), b(4);
  lumex::RandomNormal(100, 15, a, 42);
  lumex::RandomNormal(100, 15, b, 42);
  std::cout << "RandomNormal(100, 15), seed 42, twice: " << a.ToString() << "\n"
            << "                                       " << b.ToString() << "\n";
}

const TSection kSection(60, "Random variates", RandomSection);

}  // namespace

}  // namespace demo
