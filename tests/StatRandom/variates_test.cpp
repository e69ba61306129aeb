// Random variate generators: every law checked against its distribution function (Kolmogorov-
// Smirnov for continuous laws, Pearson's chi-square for discrete ones, at n = 10^5 and level
// 0.001) and against its mean and variance (five standard errors), reproducibility across calls
// and threads, storage kinds, the compositions between laws, the edge cases and every message.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "lumex/StatRandom.h"
#include "lumex_test.h"
#include "random_laws.h"

namespace lumex {
namespace {

constexpr int kDraws = 100000;
constexpr double kLevel = 0.001;
constexpr double kEulerGamma = 0.57721566490153286061;

using test::ChiSquareSignificance;
using test::KolmogorovSignificance;
using test::Values;

int CaseSeed(const std::string& name) {
  return static_cast<int>(test::CaseSeed(name, 7051) & 0x7fffffff);
}

// Sample mean and variance against the law's: each within five standard errors. The error of
// the variance uses the sample's fourth central moment, sqrt((m4 - s^4)/n).
void ExpectMoments(const std::vector<double>& x, double mean, double variance,
                   const std::string& name) {
  const double n = static_cast<double>(x.size());
  double m = 0.0;
  for (double v : x) m += v;
  m /= n;
  double s2 = 0.0;
  double m4 = 0.0;
  for (double v : x) {
    const double d2 = (v - m) * (v - m);
    s2 += d2;
    m4 += d2 * d2;
  }
  m4 /= n;
  s2 /= n - 1.0;
  if (!std::isnan(mean) && !std::isnan(variance)) {
    EXPECT_LE(std::fabs(m - mean), 5.0 * std::sqrt(variance / n))
        << name << ": sample mean " << m << ", law " << mean;
  }
  if (!std::isnan(variance)) {
    EXPECT_LE(std::fabs(s2 - variance), 5.0 * std::sqrt((m4 - s2 * s2) / n))
        << name << ": sample variance " << s2 << ", law " << variance;
  }
}

// ---- Continuous laws -------------------------------------------------------------------------------

struct TContinuousCase {
  std::string name;
  std::function<void(TVec&, int)> draw;
  std::function<double(double)> cdf;
  double mean;      // NaN where the law has none
  double variance;  // NaN where infinite (or the fourth moment is)
};

void PrintTo(const TContinuousCase& c, std::ostream* os) { *os << c.name; }

class ContinuousLaw : public ::testing::TestWithParam<TContinuousCase> {};

TEST_P(ContinuousLaw, FollowsItsDistributionFunctionAndMoments) {
  const TContinuousCase& c = GetParam();
  RandSeed(static_cast<std::uint64_t>(CaseSeed(c.name)));  // for the laws drawn with Seed = -1
  TVec v(kDraws);
  c.draw(v, CaseSeed(c.name));
  const std::vector<double> x = Values(v);
  const double p = KolmogorovSignificance(x, c.cdf);
  RecordProperty("significance", std::to_string(p));
  EXPECT_GT(p, kLevel) << c.name;
  ExpectMoments(x, c.mean, c.variance, c.name);
}

std::vector<TContinuousCase> ContinuousCases() {
  using std::numbers::pi;
  std::vector<TContinuousCase> cases;
  for (auto [a, b] : {std::pair{0.5, 0.5}, {2.0, 5.0}, {0.2, 3.0}}) {
    cases.push_back({"Beta(" + std::to_string(a) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomBeta(a, b, v, s); },
                     [=](double x) { return BetaCDF(x, a, b); }, a / (a + b),
                     a * b / ((a + b) * (a + b) * (a + b + 1))});
  }
  for (auto [mu, b] : {std::pair{0.0, 1.0}, {2.0, 0.5}, {-3.0, 10.0}}) {
    cases.push_back({"Cauchy(" + std::to_string(mu) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomCauchy(mu, b, v, s); },
                     [=](double x) { return CauchyCDF(x, mu, b); }, NaN, NaN});
  }
  for (int nu : {1, 5, 50}) {
    cases.push_back({"ChiSquare(" + std::to_string(nu) + ")",
                     [=](TVec& v, int s) { RandomChiSquare(nu, v, s); },
                     [=](double x) { return ChiSquareCDF(x, nu); }, double(nu), 2.0 * nu});
  }
  for (auto [k, lambda] : {std::pair{1, 2.0}, {3, 0.5}, {20, 4.0}}) {
    cases.push_back({"Erlang(" + std::to_string(k) + "," + std::to_string(lambda) + ")",
                     [=](TVec& v, int s) { RandomErlang(k, lambda, v, s); },
                     [=](double x) { return ErlangCDF(x, k, lambda); }, k / lambda,
                     k / (lambda * lambda)});
  }
  for (double mu : {1.0, 0.1, 25.0}) {
    cases.push_back({"Exponent(" + std::to_string(mu) + ")",
                     [=](TVec& v, int s) { RandomExponent(mu, v, s); },
                     [=](double x) { return ExpCDF(x, mu); }, mu, mu * mu});
  }
  // F with fresh seeds: a fixed seed would make the two chi-square draws dependent.
  for (auto [n1, n2] : {std::pair{3, 12}, {10, 30}, {50, 50}}) {
    const double d1 = n1;
    const double d2 = n2;
    cases.push_back({"F(" + std::to_string(n1) + "," + std::to_string(n2) + ")",
                     [=](TVec& v, int) { RandomF(n1, n2, v, -1); },
                     [=](double x) { return FCDF(x, d1, d2); }, d2 / (d2 - 2),
                     2 * d2 * d2 * (d1 + d2 - 2) / (d1 * (d2 - 2) * (d2 - 2) * (d2 - 4))});
  }
  for (auto [a, b] : {std::pair{0.3, 2.0}, {1.0, 1.0}, {7.5, 0.2}}) {
    cases.push_back({"Gamma(" + std::to_string(a) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomGamma(a, b, v, s); },
                     [=](double x) { return GammaCDF(x, a, b); }, a * b, a * b * b});
  }
  struct TGp {
    double k, mu, sigma;
  };
  for (TGp g : {TGp{0.1, 1.0, 2.0}, TGp{-0.5, 0.0, 1.0}, TGp{0.0, -2.0, 3.0}}) {
    cases.push_back({"GenPareto(" + std::to_string(g.k) + "," + std::to_string(g.mu) + ")",
                     [=](TVec& v, int s) { RandomGenPareto(g.k, g.mu, g.sigma, v, s); },
                     [=](double x) {
                       const double z = std::max((x - g.mu) / g.sigma, 0.0);
                       if (g.k == 0) return -std::expm1(-z);
                       const double t = 1.0 + g.k * z;
                       return t <= 0 ? 1.0 : -std::expm1(-std::log1p(g.k * z) / g.k);
                     },
                     g.mu + g.sigma / (1 - g.k),
                     g.sigma * g.sigma / ((1 - g.k) * (1 - g.k) * (1 - 2 * g.k))});
  }
  for (auto [mu, beta] : {std::pair{0.0, 1.0}, {5.0, 0.3}, {-10.0, 20.0}}) {
    cases.push_back({"Gumbel(" + std::to_string(mu) + "," + std::to_string(beta) + ")",
                     [=](TVec& v, int s) { RandomGumbel(mu, beta, v, s); },
                     [=](double x) { return GumbelCDF(x, mu, beta); }, mu + kEulerGamma * beta,
                     pi * pi * beta * beta / 6});
  }
  for (auto [mu, b] : {std::pair{0.0, 1.0}, {3.0, 0.1}, {-5.0, 4.0}}) {
    cases.push_back({"Laplace(" + std::to_string(mu) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomLaplace(mu, b, v, s); },
                     [=](double x) { return LaplaceCDF(x, mu, b); }, mu, 2 * b * b});
  }
  for (auto [mu, b] : {std::pair{0.0, 1.0}, {2.0, 0.5}, {-7.0, 3.0}}) {
    cases.push_back({"Logistic(" + std::to_string(mu) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomLogistic(mu, b, v, s); },
                     [=](double x) { return LogisticCDF(x, mu, b); }, mu, pi * pi * b * b / 3});
  }
  for (auto [mu, sigma] : {std::pair{0.0, 0.25}, {1.0, 0.5}, {-2.0, 0.1}}) {
    const double s2 = sigma * sigma;
    cases.push_back({"LogNormal(" + std::to_string(mu) + "," + std::to_string(sigma) + ")",
                     [=](TVec& v, int s) { RandomLogNormal(mu, sigma, v, s); },
                     [=](double x) { return LogNormalCDF(x, mu, sigma); },
                     std::exp(mu + s2 / 2), std::expm1(s2) * std::exp(2 * mu + s2)});
  }
  for (double a : {1.0, 0.2, 5.0}) {
    cases.push_back({"Maxwell(" + std::to_string(a) + ")",
                     [=](TVec& v, int s) { RandomMaxwell(a, v, s); },
                     [=](double x) { return MaxwellCDF(x, a); }, 2 * a * std::sqrt(2 / pi),
                     a * a * (3 * pi - 8) / pi});
  }
  for (auto [mu, sigma] : {std::pair{0.0, 1.0}, {10.0, 0.01}, {-3.0, 7.0}}) {
    cases.push_back({"Normal(" + std::to_string(mu) + "," + std::to_string(sigma) + ")",
                     [=](TVec& v, int s) { RandomNormal(mu, sigma, v, s); },
                     [=](double x) { return NormalCDF(x, mu, sigma); }, mu, sigma * sigma});
  }
  for (double sigma : {1.0, 0.3, 8.0}) {
    cases.push_back({"Rayleigh(" + std::to_string(sigma) + ")",
                     [=](TVec& v, int s) { RandomRayleigh(sigma, v, s); },
                     [=](double x) { return RayleighCDF(x, sigma); },
                     sigma * std::sqrt(pi / 2), (4 - pi) / 2 * sigma * sigma});
  }
  // One case per branch of the generator (1, 2, 3 or more degrees of freedom).
  for (int nu : {1, 2, 7, 30}) {
    cases.push_back({"Student(" + std::to_string(nu) + ")",
                     [=](TVec& v, int s) { RandomStudent(nu, v, s); },
                     [=](double x) { return StudentCDF(x, nu); }, nu > 2 ? 0.0 : NaN,
                     nu > 4 ? nu / (nu - 2.0) : NaN});
  }
  struct TTri {
    double a, b, c;
  };
  for (TTri t : {TTri{0, 1, 0.5}, TTri{-2, 5, -2}, TTri{1, 3, 2.9}}) {
    cases.push_back(
        {"Triangular(" + std::to_string(t.a) + "," + std::to_string(t.b) + "," +
             std::to_string(t.c) + ")",
         [=](TVec& v, int s) { RandomTriangular(t.a, t.b, t.c, v, s); },
         [=](double x) { return TriangularCDF(x, t.a, t.b, t.c); }, (t.a + t.b + t.c) / 3,
         (t.a * t.a + t.b * t.b + t.c * t.c - t.a * t.b - t.a * t.c - t.b * t.c) / 18});
  }
  for (auto [a, b] : {std::pair{0.0, 1.0}, {-5.0, 5.0}, {1e3, 1e3 + 1e-3}}) {
    cases.push_back({"Uniform(" + std::to_string(a) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomUniform(a, b, v, s); },
                     [=](double x) { return UniformCDF(x, a, b); }, (a + b) / 2,
                     (b - a) * (b - a) / 12});
  }
  for (auto [a, b] : {std::pair{1.0, 1.0}, {2.0, 0.7}, {0.01, 3.0}}) {
    const double scale = std::pow(a, -1 / b);
    const double g1 = std::tgamma(1 + 1 / b);
    cases.push_back({"Weibull(" + std::to_string(a) + "," + std::to_string(b) + ")",
                     [=](TVec& v, int s) { RandomWeibull(a, b, v, s); },
                     [=](double x) { return -std::expm1(-a * std::pow(std::max(x, 0.0), b)); },
                     scale * g1, scale * scale * (std::tgamma(1 + 2 / b) - g1 * g1)});
  }
  return cases;
}

std::string CaseName(const std::string& text) {
  std::string s;
  for (char ch : text) s += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return s;
}

INSTANTIATE_TEST_SUITE_P(Laws, ContinuousLaw, ::testing::ValuesIn(ContinuousCases()),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---- Discrete laws --------------------------------------------------------------------------------

struct TDiscreteCase {
  std::string name;
  std::function<std::vector<double>(int)> draw;
  std::int64_t start;  // least support point
  std::function<double(double)> pmf;
  double mean;
  double variance;
};

void PrintTo(const TDiscreteCase& c, std::ostream* os) { *os << c.name; }

class DiscreteLaw : public ::testing::TestWithParam<TDiscreteCase> {};

TEST_P(DiscreteLaw, FollowsItsMassFunctionAndMoments) {
  const TDiscreteCase& c = GetParam();
  const std::vector<double> x = c.draw(CaseSeed(c.name));
  const double p = ChiSquareSignificance(x, c.start, 0.0, c.pmf);
  RecordProperty("significance", std::to_string(p));
  EXPECT_GT(p, kLevel) << c.name;
  ExpectMoments(x, c.mean, c.variance, c.name);
}

template <class Fill>
std::function<std::vector<double>(int)> IntDraws(Fill fill, int count = kDraws) {
  return [fill, count](int seed) {
    TVecInt k(count);
    fill(k, seed);
    return Values(k);
  };
}

template <class Fill>
std::function<std::vector<double>(int)> RealDraws(Fill fill, int count = kDraws) {
  return [fill, count](int seed) {
    TVec v(count);
    fill(v, seed);
    return Values(v);
  };
}

std::vector<TDiscreteCase> DiscreteCases() {
  std::vector<TDiscreteCase> cases;
  for (auto [n, p] : {std::pair{10, 0.3}, {1000, 0.02}, {60, 0.97}}) {
    cases.push_back({"Binom(" + std::to_string(n) + "," + std::to_string(p) + ")",
                     IntDraws([=](TVecInt& k, int s) { RandomBinom(n, p, k, s); }), 0,
                     [=](double k) { return BinomPDF(k, n, p); }, n * p, n * p * (1 - p)});
  }
  for (double p : {0.5, 0.05, 0.9}) {
    cases.push_back({"Geometric(" + std::to_string(p) + ")",
                     RealDraws([=](TVec& v, int s) { RandomGeometric(p, v, s); }), 0,
                     [=](double k) { return GeometricPDF(k, p); }, (1 - p) / p,
                     (1 - p) / (p * p)});
  }
  struct THyp {
    int m, k, n;
  };
  for (THyp h : {THyp{50, 20, 10}, THyp{1000, 600, 300}, THyp{20, 3, 15}}) {
    const double m = h.m, k = h.k, n = h.n;
    cases.push_back({"HypGeometric(" + std::to_string(h.m) + "," + std::to_string(h.k) + "," +
                         std::to_string(h.n) + ")",
                     IntDraws([=](TVecInt& r, int s) { RandomHypGeometric(h.m, h.k, h.n, r, s); }),
                     0, [=](double x) { return HypGeometricPDF(x, m, k, n); }, n * k / m,
                     n * k / m * (m - k) / m * (m - n) / (m - 1)});
  }
  for (auto [r, p] : {std::pair{3.0, 0.5}, {0.5, 0.2}, {20.0, 0.9}}) {
    cases.push_back({"NegBinom(" + std::to_string(r) + "," + std::to_string(p) + ")",
                     IntDraws([=](TVecInt& k, int s) { RandomNegBinom(r, p, k, s); }), 0,
                     [=](double k) { return NegBinomPDF(k, r, p); }, r * (1 - p) / p,
                     r * (1 - p) / (p * p)});
  }
  for (double lambda : {0.5, 12.0, 1000.0}) {
    cases.push_back({"Poisson(" + std::to_string(lambda) + ")",
                     IntDraws([=](TVecInt& k, int s) { RandomPoisson(lambda, k, s); }), 0,
                     [=](double k) { return PoissonPDF(k, lambda); }, lambda, lambda});
  }
  for (int n : {6, 100, 1000}) {
    const double dn = n;
    cases.push_back({"UniformD(" + std::to_string(n) + ")",
                     RealDraws([=](TVec& v, int s) { RandomUniformD(n, v, s); }), 1,
                     [=](double k) { return UniformDPDF(k, dn); }, (dn + 1) / 2,
                     (dn * dn - 1) / 12});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Laws, DiscreteLaw, ::testing::ValuesIn(DiscreteCases()),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---- Reproducibility -----------------------------------------------------------------------------

// Every generator, drawing 1000 values for a seed, its output read as doubles.
struct TGenerator {
  std::string name;
  std::function<std::vector<double>(int)> draw;
};

std::vector<TGenerator> AllGenerators() {
  auto real = [](auto fill) { return RealDraws(fill, 1000); };
  auto integer = [](auto fill) { return IntDraws(fill, 1000); };
  return {
      {"Beta", real([](TVec& v, int s) { RandomBeta(2, 3, v, s); })},
      {"Binom", integer([](TVecInt& k, int s) { RandomBinom(20, 0.4, k, s); })},
      {"Cauchy", real([](TVec& v, int s) { RandomCauchy(1, 2, v, s); })},
      {"ChiSquare", real([](TVec& v, int s) { RandomChiSquare(3, v, s); })},
      {"Erlang", real([](TVec& v, int s) { RandomErlang(2, 3, v, s); })},
      {"Exponent", real([](TVec& v, int s) { RandomExponent(2, v, s); })},
      {"F", real([](TVec& v, int s) { RandomF(3, 7, v, s); })},
      {"Gamma", real([](TVec& v, int s) { RandomGamma(0.7, 2, v, s); })},
      {"GenPareto", real([](TVec& v, int s) { RandomGenPareto(0.3, 1, 2, v, s); })},
      {"Geometric", real([](TVec& v, int s) { RandomGeometric(0.2, v, s); })},
      {"Gumbel", real([](TVec& v, int s) { RandomGumbel(1, 2, v, s); })},
      {"HypGeometric", integer([](TVecInt& k, int s) { RandomHypGeometric(40, 15, 12, k, s); })},
      {"Laplace", real([](TVec& v, int s) { RandomLaplace(1, 2, v, s); })},
      {"Logistic", real([](TVec& v, int s) { RandomLogistic(1, 2, v, s); })},
      {"LogNormal", real([](TVec& v, int s) { RandomLogNormal(1, 0.5, v, s); })},
      {"Maxwell", real([](TVec& v, int s) { RandomMaxwell(2, v, s); })},
      {"NegBinom", integer([](TVecInt& k, int s) { RandomNegBinom(2.5, 0.3, k, s); })},
      {"Normal", real([](TVec& v, int s) { RandomNormal(1, 2, v, s); })},
      {"Poisson", integer([](TVecInt& k, int s) { RandomPoisson(4.5, k, s); })},
      {"Rayleigh", real([](TVec& v, int s) { RandomRayleigh(2, v, s); })},
      {"Student1", real([](TVec& v, int s) { RandomStudent(1, v, s); })},
      {"Student2", real([](TVec& v, int s) { RandomStudent(2, v, s); })},
      {"Student5", real([](TVec& v, int s) { RandomStudent(5, v, s); })},
      {"Triangular", real([](TVec& v, int s) { RandomTriangular(0, 3, 1, v, s); })},
      {"Uniform", real([](TVec& v, int s) { RandomUniform(-1, 2, v, s); })},
      {"UniformD", real([](TVec& v, int s) { RandomUniformD(9, v, s); })},
      {"Weibull", real([](TVec& v, int s) { RandomWeibull(2, 1.5, v, s); })},
  };
}

TEST(RandomReproducibility, SameSeedSameOutputAndOtherSeedsDiffer) {
  for (const TGenerator& g : AllGenerators()) {
    const std::vector<double> a = g.draw(2024);
    EXPECT_EQ(a, g.draw(2024)) << g.name;
    EXPECT_NE(a, g.draw(2025)) << g.name;
    EXPECT_NE(a, g.draw(-2)) << g.name;  // negative seeds other than -1 are seeds too
  }
}

// Seed = -1 takes FreshSeed() from the default source, which RandSeed makes reproducible.
TEST(RandomReproducibility, FreshSeedComesFromTheDefaultSource) {
  for (const TGenerator& g : AllGenerators()) {
    if (g.name == "F") continue;  // draws two fresh seeds, checked below
    RandSeed(99);
    const int seed = FreshSeed();
    RandSeed(99);
    EXPECT_EQ(g.draw(-1), g.draw(seed)) << g.name;
    EXPECT_NE(g.draw(-1), g.draw(-1)) << g.name;
  }
  RandSeed(5);
  const int s1 = FreshSeed();
  const int s2 = FreshSeed();
  TVec x(500), y(500), f(500), expected(500);
  RandomChiSquare(4, x, s1);
  RandomChiSquare(6, y, s2);
  RandSeed(5);
  RandomF(4, 6, f, -1);
  for (int i = 0; i < f.Length(); ++i) {
    EXPECT_TRUE(test::Near((x[i] / 4) / (y[i] / 6), f[i], test::kTolExact)) << i;
  }
}

// ---- Storage kinds -----------------------------------------------------------------------------------

// A single-precision or matrix Results keeps its kind and shape and receives the double output
// (rounded for single storage).
TEST(RandomStorage, MatricesAndSinglePrecisionKeepTheirKind) {
  const std::vector<std::function<void(TDenseLumex&, int)>> fills = {
      [](TDenseLumex& r, int s) { RandomNormal(1, 2, r, s); },
      [](TDenseLumex& r, int s) { RandomGamma(0.7, 2, r, s); },
      [](TDenseLumex& r, int s) { RandomLogistic(1, 2, r, s); },
      [](TDenseLumex& r, int s) { RandomStudent(1, r, s); },
      [](TDenseLumex& r, int s) { RandomStudent(2, r, s); },
      [](TDenseLumex& r, int s) { RandomStudent(9, r, s); },
      [](TDenseLumex& r, int s) { RandomF(3, 5, r, s); },
      [](TDenseLumex& r, int s) { RandomTriangular(0, 2, 0.5, r, s); },
      [](TDenseLumex& r, int s) { RandomGeometric(0.1, r, s); },
      [](TDenseLumex& r, int s) { RandomUniformD(10, r, s); },
      [](TDenseLumex& r, int s) { RandomGenPareto(-0.2, 0, 1, r, s); },
      [](TDenseLumex& r, int s) { RandomMaxwell(1, r, s); },
      [](TDenseLumex& r, int s) { RandomLogNormal(0, 1, r, s); },
  };
  for (std::size_t j = 0; j < fills.size(); ++j) {
    TVec ref(24);
    fills[j](ref, 5);
    TMtx m(4, 6);
    fills[j](m, 5);
    TVec single;
    single.Size(24, fpSingle);
    fills[j](single, 5);
    ASSERT_EQ(m.Rows(), 4);
    ASSERT_EQ(m.Cols(), 6);
    ASSERT_EQ(single.Length(), 24);
    ASSERT_EQ(single.FloatPrecision(), fpSingle);
    for (int i = 0; i < 24; ++i) {
      EXPECT_EQ(m(i / 6, i % 6), ref[i]) << "fill " << j << " element " << i;
      EXPECT_EQ(single.Value(i), static_cast<double>(static_cast<float>(ref[i])))
          << "fill " << j << " element " << i;
    }
  }
}

// ---- Edge cases -------------------------------------------------------------------------------------

TEST(RandomEdgeCases, DegenerateParametersGiveThePointMass) {
  const std::vector<std::pair<std::function<void(TVec&, TVecInt&)>, double>> cases = {
      {[](TVec& v, TVecInt&) { RandomGeometric(1.0, v, 1); }, 0.0},
      {[](TVec&, TVecInt& k) { RandomNegBinom(3.5, 1.0, k, 1); }, 0.0},
      {[](TVec& v, TVecInt&) { RandomUniformD(0, v, 1); }, 0.0},
      {[](TVec& v, TVecInt&) { RandomNormal(2.5, 0.0, v, 1); }, 2.5},
      {[](TVec& v, TVecInt&) { RandomTriangular(1.5, 1.5, 1.5, v, 1); }, 1.5},
      {[](TVec& v, TVecInt&) { RandomLaplace(-1.0, 0.0, v, 1); }, -1.0},
      {[](TVec& v, TVecInt&) { RandomMaxwell(0.0, v, 1); }, 0.0},
      {[](TVec& v, TVecInt&) { RandomUniform(4.0, 4.0, v, 1); }, 4.0},
      {[](TVec&, TVecInt& k) { RandomBinom(0, 0.5, k, 1); }, 0.0},
  };
  for (std::size_t j = 0; j < cases.size(); ++j) {
    TVec v(100);
    TVecInt k(100);
    v.SetVal(7);
    k.SetVal(7);
    cases[j].first(v, k);
    // The call fills one of the two; the other keeps its 7s.
    const std::vector<double> x = Values(v)[0] == 7 ? Values(k) : Values(v);
    EXPECT_EQ(x, std::vector<double>(100, cases[j].second)) << "case " << j;
  }
}

TEST(RandomEdgeCases, BoundedLawsStayInTheirSupport) {
  TVec v(20000);
  // Each law with its support; the discrete uniform laws reach both ends.
  const std::vector<std::tuple<std::function<void()>, double, double, bool>> laws = {
      {[&] { RandomUniformD(1, v, 8); }, 1.0, 1.0, true},
      {[&] { RandomUniformD(3, v, 8); }, 1.0, 3.0, true},
      {[&] { RandomTriangular(-1, 2, 2, v, 8); }, -1.0, 2.0, false},  // mode on the upper limit
      {[&] { RandomGenPareto(-0.5, 1, 2, v, 8); }, 1.0, 5.0, false},
  };
  for (const auto& [draw, lo, hi, reached] : laws) {
    draw();
    EXPECT_TRUE(reached ? Min(v) == lo && Max(v) == hi : Min(v) >= lo && Max(v) <= hi)
        << "[" << Min(v) << ", " << Max(v) << "] in [" << lo << ", " << hi << "]";
  }
  RandomLogistic(0, 1, v, 8);  // uniforms kept away from 0 and 1: finite values
  EXPECT_TRUE(std::isfinite(Min(v)) && std::isfinite(Max(v)));
  TVec tiny(20000);
  RandomGeometric(1e-12, tiny, 8);  // ln(1 - P) kept exact: mean (1 - P)/P
  EXPECT_LT(std::fabs(Mean(tiny) * 1e-12 - 1.0), 0.05);
}

// ---- Messages -----------------------------------------------------------------------------------------

TEST(RandomMessages, ParameterChecksInOrderThenTheComplexCheck) {
  TVec c;
  c.Size(5, fpDouble, true);  // complex: the parameter checks come first
  TVecInt k(5);
  EXPECT_LUMEX_ERROR(RandomBeta(0, 1, c, 1), "RandomBeta: (A<=0) or (B<=)");
  EXPECT_LUMEX_ERROR(RandomBeta(1, -1, c, 1), "RandomBeta: (A<=0) or (B<=)");
  EXPECT_LUMEX_ERROR(RandomBeta(1, 1, c, 1), "RandomBeta: Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomBinom(5, -0.1, k, 1), "RandomBinom: (P < 0) or ( P > 1)");
  EXPECT_LUMEX_ERROR(RandomBinom(5, 1.1, k, 1), "RandomBinom: (P < 0) or ( P > 1)");
  EXPECT_LUMEX_ERROR(RandomCauchy(0, 1, c, 1), "RandomCauchy: Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomChiSquare(3, c, 1), "RandomChiSquare : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomErlang(0, 1, c, 1), "RandomErlang : (k<=0) or (lambda<=0)");
  EXPECT_LUMEX_ERROR(RandomErlang(2, 0, c, 1), "RandomErlang : (k<=0) or (lambda<=0)");
  EXPECT_LUMEX_ERROR(RandomErlang(2, 1, c, 1), "RandomErlang : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomExponent(0, c, 1), "RandomExponent: mu <= 0!");
  EXPECT_LUMEX_ERROR(RandomExponent(1, c, 1), "RandomExponent : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomF(0, 3, c, 1), "RandomF:(ANu1<=0) or (ANu2<=0)");
  EXPECT_LUMEX_ERROR(RandomF(3, -1, c, 1), "RandomF:(ANu1<=0) or (ANu2<=0)");
  EXPECT_LUMEX_ERROR(RandomF(3, 3, c, 1), "RandomF : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomGamma(0, 1, c, 1), "RandomGamma: A<=0 or B<=0 ");
  EXPECT_LUMEX_ERROR(RandomGamma(1, 0, c, 1), "RandomGamma: A<=0 or B<=0 ");
  EXPECT_LUMEX_ERROR(RandomGamma(1, 1, c, 1), "RandomGamma : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomGenPareto(0.1, 0, 0, c, 1), "RandomGenPareto: sigma <= 0");
  EXPECT_LUMEX_ERROR(RandomGeometric(0, c, 1), "RandomGeometric: (p <= 0 ) or (p > 1)");
  EXPECT_LUMEX_ERROR(RandomGeometric(1.5, c, 1), "RandomGeometric: (p <= 0 ) or (p > 1)");
  EXPECT_LUMEX_ERROR(RandomGeometric(0.5, c, 1), "RandomGeometric : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomGumbel(0, 0, c, 1), "RandomGumbel: beta<=0");
  EXPECT_LUMEX_ERROR(RandomGumbel(0, 1, c, 1), "RandomGumbel : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomHypGeometric(-1, 0, 0, k, 1),
                     "RandomHypGeometric: ( M < 0 ) or ( K < 0 ) or ( N < 0 )");
  EXPECT_LUMEX_ERROR(RandomHypGeometric(1, 5, -1, k, 1),
                     "RandomHypGeometric: ( M < 0 ) or ( K < 0 ) or ( N < 0 )");
  EXPECT_LUMEX_ERROR(RandomHypGeometric(10, 11, 3, k, 1), "RandomHypGeometric: M < Max(K ,N)");
  EXPECT_LUMEX_ERROR(RandomHypGeometric(10, 3, 11, k, 1), "RandomHypGeometric: M < Max(K ,N)");
  EXPECT_LUMEX_ERROR(RandomLaplace(0, -1, c, 1), "RandomLaplace: b < 0");
  EXPECT_LUMEX_ERROR(RandomLaplace(0, 0, c, 1), "RandomLaplace : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomLogistic(0, 0, c, 1), "RandomLogistic: b<=0");
  EXPECT_LUMEX_ERROR(RandomLogistic(0, 1, c, 1), "RandomLogistic: Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomLogNormal(0, 0, c, 1), "RandomLogNormal: sigma < 0");
  EXPECT_LUMEX_ERROR(RandomLogNormal(0, -1, c, 1), "RandomLogNormal: sigma < 0");
  EXPECT_LUMEX_ERROR(RandomLogNormal(0, 1, c, 1), "RandomLogNormal : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomMaxwell(-1, c, 1), "RandomMaxwell: (a < 0 )");
  EXPECT_LUMEX_ERROR(RandomMaxwell(0, c, 1), "RandomMaxwell : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomNegBinom(1, 0, k, 1),
                     "RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)");
  EXPECT_LUMEX_ERROR(RandomNegBinom(1, 1.5, k, 1),
                     "RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)");
  EXPECT_LUMEX_ERROR(RandomNegBinom(0, 0.5, k, 1),
                     "RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)");
  EXPECT_LUMEX_ERROR(RandomNormal(0, -1, c, 1), "RandomNormal: sigma < 0");
  EXPECT_LUMEX_ERROR(RandomNormal(0, 0, c, 1), "RandomNormal : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomRayleigh(1, c, 1), "RandomRayleigh : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomStudent(0, c, 1), "RandomStudent: v <= 0");
  EXPECT_LUMEX_ERROR(RandomStudent(3, c, 1), "RandomStudent : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomTriangular(2, 1, 1.5, c, 1), "RandomTriangular: a > b");
  EXPECT_LUMEX_ERROR(RandomTriangular(0, 1, 1.5, c, 1), "RandomTriangular: (c>b) or (c<a)");
  EXPECT_LUMEX_ERROR(RandomTriangular(0, 1, -0.5, c, 1), "RandomTriangular: (c>b) or (c<a)");
  EXPECT_LUMEX_ERROR(RandomTriangular(0, 1, 0.5, c, 1), "RandomTriangular : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomUniform(1, 0, c, 1), "RandomUniform: a > b");
  EXPECT_LUMEX_ERROR(RandomUniform(0, 1, c, 1), "RandomUniform : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomUniformD(-1, c, 1), "RandomUniformD: N < 0");
  EXPECT_LUMEX_ERROR(RandomUniformD(3, c, 1), "RandomUniformD : Results.Complex=true");
  EXPECT_LUMEX_ERROR(RandomWeibull(0, 1, c, 1), "RandomWeibull: (a<=0) or (b<=0)");
  EXPECT_LUMEX_ERROR(RandomWeibull(1, 0, c, 1), "RandomWeibull: (a<=0) or (b<=0)");
  EXPECT_LUMEX_ERROR(RandomWeibull(1, 1, c, 1), "RandomWeibull : Results.Complex=true");
}

// Chi-square passes its degrees of freedom to RandomGamma, whose check and message apply, after
// Results has been set to zero.
TEST(RandomMessages, ChiSquareRaisesTheGammaMessageAfterZeroing) {
  TVec v{1, 2, 3};
  EXPECT_LUMEX_ERROR(RandomChiSquare(0, v, 1), "RandomGamma: A<=0 or B<=0 ");
  EXPECT_EQ(v.ToString(), "[0, 0, 0]");
}

// Four generators raise core errors again with their own prefix; the others pass them as they
// are. A rejected call writes nothing.
TEST(RandomMessages, CoreErrorsArePrefixedOnlyWhereStated) {
  TVec v{1, 2, 3};
  TVecInt k{4, 5, 6};
  EXPECT_LUMEX_ERROR(RandomNormal(Inf, 1, v, 1),
                     "RandomNormal : RandomGaussian: mu or sigma not finite");
  EXPECT_LUMEX_ERROR(RandomUniform(0, Inf, v, 1),
                     "RandomUniform : RandomUniform: a, b or b - a not finite");
  EXPECT_LUMEX_ERROR(RandomWeibull(1e-300, 0.01, v, 1),
                     "RandomWeibull : RandomWeibull: parameters not finite");
  EXPECT_LUMEX_ERROR(RandomCauchy(0, -1, v, 1), "RandomCauchy: b < 0");
  EXPECT_LUMEX_ERROR(RandomRayleigh(-1, v, 1), "RandomRayleigh: scale < 0");
  EXPECT_LUMEX_ERROR(RandomBinom(-1, 0.5, k, 1), "RandomBinomial: n < 0");
  EXPECT_LUMEX_ERROR(RandomPoisson(-1, k, 1), "RandomPoisson: lambda < 0");
  EXPECT_LUMEX_ERROR(RandomGamma(Inf, 1, v, 1), "RandomGamma: parameters not finite");
  TVec c;
  c.Size(3, fpDouble, true);
  EXPECT_LUMEX_ERROR(RandomGenPareto(0.1, 0, 1, c, 1),
                     "RandomUniform: complex data not supported");
  EXPECT_EQ(v.ToString(), "[1, 2, 3]");
  EXPECT_EQ(k.ToString(), "[4, 5, 6]");
}

}  // namespace
}  // namespace lumex
