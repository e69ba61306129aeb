// The StatRandom module: random variates of named distributions, reproducible from a seed.
#include <cstdio>

#include "lumex/StatRandom.h"

namespace {

void ContinuousLaws() {
  std::printf("== Continuous laws: normal and Weibull variates\n");
  // [continuous]
  lumex::TVec x(100000);  // the generators fill the vector as it is sized
  lumex::RandomNormal(100.0, 15.0, x, 1);  // mean 100, standard deviation 15, seed 1
  std::printf("normal(100, 15): sample mean %.3f, standard deviation %.3f\n", lumex::Mean(x),
              lumex::StdDev(x));
  // RandomWeibull(A, B) has P(X <= x) = 1 - exp(-A x^B): A is a rate, the scale is A^(-1/B).
  lumex::RandomWeibull(0.25, 2.0, x, 2);
  std::printf("Weibull(rate 0.25, shape 2): sample median %.3f, law's median %.3f\n",
              lumex::Median(x), lumex::WeibullCDFInv(0.5, 2.0, 2.0));
  // [continuous]
}

void DiscreteLaws() {
  std::printf("\n== Discrete laws: Poisson and binomial counts\n");
  // [discrete]
  lumex::TVecInt k(100000);  // integer-valued laws fill a TVecInt
  lumex::RandomPoisson(3.2, k, 3);
  double sum = 0.0;
  int zeros = 0;
  for (int i = 0; i < k.Length(); ++i) {
    sum += k[i];
    zeros += k[i] == 0;
  }
  std::printf("Poisson(3.2): mean %.3f, fraction of zeros %.4f (law %.4f)\n", sum / k.Length(),
              double(zeros) / k.Length(), lumex::PoissonPDF(0, 3.2));
  lumex::RandomBinom(20, 0.3, k, 4);  // successes in 20 trials of probability 0.3
  sum = 0.0;
  for (int i = 0; i < k.Length(); ++i) sum += k[i];
  std::printf("binomial(20, 0.3): mean %.3f (law 6)\n", sum / k.Length());
  // [discrete]
}

void Reproducibility() {
  std::printf("\n== Seeds: the same seed gives the same numbers\n");
  // [seeds]
  lumex::TVec a(3), b(3);
  lumex::RandomUniform(0.0, 1.0, a, 42);
  lumex::RandomUniform(0.0, 1.0, b, 42);
  std::printf("seed 42: %.6f %.6f %.6f\n", a[0], a[1], a[2]);
  std::printf("seed 42: %.6f %.6f %.6f\n", b[0], b[1], b[2]);
  // [seeds]
}

}  // namespace

int main() {
  ContinuousLaws();
  DiscreteLaws();
  Reproducibility();
}
