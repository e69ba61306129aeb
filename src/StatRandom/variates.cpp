// Random variate generators of twenty-five laws. Each call settles its seed, builds a private
// one-stream generator of the core, fills the caller's object and lets the generator go. Laws the
// core streams draw directly are one call; the others transform uniform, normal, gamma or beta
// variates of this module.
#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/StatRandom.h"

namespace lumex {

namespace {

// 2^-52: the uniforms that are inverted stay in [EPS, 1 - EPS], away from the infinite ends
// of the inverse distribution functions.
constexpr double kEps = 2.220446049250313e-16;

int ResolveSeed(int Seed) { return Seed == -1 ? FreshSeed() : Seed; }

// Engine of the private generator of every call: TRandomGenerator gen(kKind, seed) is one
// stream of it for the seed, destroyed on every exit.
constexpr TBasicRandomGenerator kKind = brgXoshiro256;

void CheckComplex(const TDenseLumex& Results, const char* message) {
  if (Results.Complex()) ERaise(message);
}

// Runs `work` and raises any exception it lets out again as ELumexError, prefixed. Running out
// of memory is not the computation's error and passes as it is.
template <class F>
void WithPrefix(const char* prefix, F&& work) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    ERaise(std::string(prefix) + e.what());
  }
}

// Double-precision working storage for a real Results: Results itself when it holds doubles,
// else a leased temporary of its length whose values Store() writes into Results, rounded.
// Variates are thus transformed in double whatever the storage: a uniform rounded to float
// first could reach 1, where an inverse distribution function is infinite.
class TDoubleWork {
public:
  explicit TDoubleWork(TDenseLumex& Results) : fResults(Results) {
    if (!Results.IsDouble()) fTemp->Size(Results.Length());
  }
  TDenseLumex& Obj() { return fResults.IsDouble() ? fResults : *fTemp; }
  double* Data() { return Obj().Data<double>(); }
  int Length() const { return fResults.Length(); }
  void Store() {
    if (fResults.IsDouble()) return;
    const double* src = fTemp->Data<double>();
    float* dst = fResults.Data<float>();
    for (int i = 0; i < fResults.Length(); ++i) dst[i] = static_cast<float>(src[i]);
  }

private:
  TDenseLumex& fResults;
  TLease<TVec> fTemp;
};

// Fills Results with f(v) for v drawn by draw(object) in double precision.
template <class Draw, class F>
void DrawTransformed(TDenseLumex& Results, Draw&& draw, F&& f) {
  TDoubleWork work(Results);
  draw(work.Obj());
  double* v = work.Data();
  for (int i = 0; i < work.Length(); ++i) v[i] = f(v[i]);
  work.Store();
}

}  // namespace

// ---- Laws drawn directly by the core stream ---------------------------------------------------

void RandomBeta(double A, double B, TDenseLumex& Results, int Seed) {
  if (A <= 0 || B <= 0) ERaise("RandomBeta: (A<=0) or (B<=)");
  CheckComplex(Results, "RandomBeta: Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomBeta(Results, A, B, 0.0, 1.0);
}

void RandomBinom(int N, double P, TLumexInt& Results, int Seed) {
  if (P < 0 || P > 1) ERaise("RandomBinom: (P < 0) or ( P > 1)");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomBinomial(Results, N, P);
}

void RandomCauchy(double Mu, double B, TDenseLumex& Results, int Seed) {
  CheckComplex(Results, "RandomCauchy: Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomCauchy(Results, Mu, B);
}

void RandomExponent(double Mu, TDenseLumex& Results, int Seed) {
  if (Mu <= 0) ERaise("RandomExponent: mu <= 0!");
  CheckComplex(Results, "RandomExponent : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomExponential(Results, 0.0, Mu);
}

void RandomGamma(double A, double B, TDenseLumex& Results, int Seed) {
  if (A <= 0 || B <= 0) ERaise("RandomGamma: A<=0 or B<=0 ");
  CheckComplex(Results, "RandomGamma : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomGamma(Results, A, 0.0, B);
}

void RandomGumbel(double Mu, double Beta, TDenseLumex& Results, int Seed) {
  if (Beta <= 0) ERaise("RandomGumbel: beta<=0");
  CheckComplex(Results, "RandomGumbel : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomGumbel(Results, Mu, Beta);
}

void RandomHypGeometric(int M, int K, int N, TLumexInt& Results, int Seed) {
  if (M < 0 || K < 0 || N < 0) ERaise("RandomHypGeometric: ( M < 0 ) or ( K < 0 ) or ( N < 0 )");
  if (M < std::max(K, N)) ERaise("RandomHypGeometric: M < Max(K ,N)");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomHypergeometric(Results, M, K, N);
}

void RandomLaplace(double Mu, double B, TDenseLumex& Results, int Seed) {
  if (B < 0) ERaise("RandomLaplace: b < 0");
  CheckComplex(Results, "RandomLaplace : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomLaplace(Results, Mu, B);
}

void RandomNegBinom(double R, double P, TLumexInt& Results, int Seed) {
  if (P <= 0 || P > 1 || R <= 0) ERaise("RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)");
  if (P == 1) {
    // Every trial succeeds: no failures, and no seed is drawn.
    auto* k = dynamic_cast<TVecInt*>(&Results);
    if (k == nullptr) ERaise("RandomNegBinom: integer vector expected");
    k->SetZero();
    return;
  }
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomNegbinomial(Results, R, P);
}

void RandomNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed) {
  if (Sigma < 0) ERaise("RandomNormal: sigma < 0");
  CheckComplex(Results, "RandomNormal : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  WithPrefix("RandomNormal : ", [&] {
    TRandomGenerator gen(kKind, seed);
    gen.GetStream(0).RandomGaussian(Results, Mu, Sigma, grmZiggurat);
  });
}

void RandomPoisson(double Lambda, TLumexInt& Results, int Seed) {
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  gen.GetStream(0).RandomPoisson(Results, Lambda, prmPTRS);
}

void RandomRayleigh(double Sigma, TDenseLumex& Results, int Seed) {
  CheckComplex(Results, "RandomRayleigh : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  // The core's Rayleigh scale is that of exp(-(x/scale)^2): sqrt(2) sigma.
  gen.GetStream(0).RandomRayleigh(Results, 0.0, SQRT2 * Sigma);
}

void RandomUniform(double A, double B, TDenseLumex& Results, int Seed) {
  if (A > B) ERaise("RandomUniform: a > b");
  CheckComplex(Results, "RandomUniform : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  WithPrefix("RandomUniform : ", [&] {
    TRandomGenerator gen(kKind, seed);
    gen.GetStream(0).RandomUniform(Results, A, B);
  });
}

void RandomWeibull(double A, double B, TDenseLumex& Results, int Seed) {
  if (A <= 0 || B <= 0) ERaise("RandomWeibull: (a<=0) or (b<=0)");
  CheckComplex(Results, "RandomWeibull : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  WithPrefix("RandomWeibull : ", [&] {
    TRandomGenerator gen(kKind, seed);
    // 1 - exp(-A x^B) = 1 - exp(-(x/scale)^B) with scale = A^(-1/B).
    gen.GetStream(0).RandomWeibull(Results, B, 0.0, std::pow(A, -1.0 / B));
  });
}

// ---- Laws built on other laws of this module --------------------------------------------------

void RandomChiSquare(int Nu, TDenseLumex& Results, int Seed) {
  CheckComplex(Results, "RandomChiSquare : Results.Complex=true");
  Results.SetZero();
  // Chi-square(nu) is gamma of shape nu/2 and scale 2; RandomGamma settles the seed.
  RandomGamma(0.5 * Nu, 2.0, Results, Seed);
}

void RandomErlang(int K, double Lambda, TDenseLumex& Results, int Seed) {
  if (K <= 0 || Lambda <= 0) ERaise("RandomErlang : (k<=0) or (lambda<=0)");
  CheckComplex(Results, "RandomErlang : Results.Complex=true");
  RandomGamma(K, 1.0 / Lambda, Results, ResolveSeed(Seed));
}

void RandomF(int ANu1, int ANu2, TDenseLumex& Results, int Seed) {
  if (ANu1 <= 0 || ANu2 <= 0) ERaise("RandomF:(ANu1<=0) or (ANu2<=0)");
  CheckComplex(Results, "RandomF : Results.Complex=true");
  auto [x, y] = CreateIt<TVec, TVec>();
  x->Size(Results.Length());
  y->Size(Results.Length());
  // Both draws get the caller's Seed as it is: -1 gives each its own fresh seed, a fixed seed
  // gives both the same stream (see the header).
  RandomChiSquare(ANu1, *x, Seed);
  RandomChiSquare(ANu2, *y, Seed);
  const double* px = x->Data<double>();
  const double* py = y->Data<double>();
  const double n1 = ANu1;
  const double n2 = ANu2;
  detail::DispatchReal(Results, "RandomF", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    for (int i = 0; i < Results.Length(); ++i) r[i] = static_cast<T>((px[i] / n1) / (py[i] / n2));
  });
}

void RandomGenPareto(double K, double Mu, double Sigma, TDenseLumex& Results, int Seed) {
  if (Sigma <= 0) ERaise("RandomGenPareto: sigma <= 0");
  const int seed = ResolveSeed(Seed);
  TRandomGenerator gen(kKind, seed);
  if (Results.Complex()) {
    gen.GetStream(0).RandomUniform(Results, kEps, 1.0);  // the core rejects complex storage
    return;
  }
  // Inversion: Mu + (Sigma/K)(U^(-K) - 1). Written as Sigma expm1(-K ln U)/K, which keeps its
  // digits for small |K| and tends to the exponential law Mu - Sigma ln U as K -> 0, the value
  // used at K = 0 itself.
  DrawTransformed(
      Results, [&](TDenseLumex& u) { gen.GetStream(0).RandomUniform(u, kEps, 1.0); },
      [=](double u) {
        const double lnU = std::log(u);
        return K == 0 ? Mu - Sigma * lnU : Mu + Sigma * std::expm1(-K * lnU) / K;
      });
}

void RandomGeometric(double P, TDenseLumex& Results, int Seed) {
  if (P <= 0 || P > 1) ERaise("RandomGeometric: (p <= 0 ) or (p > 1)");
  CheckComplex(Results, "RandomGeometric : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  if (P == 1) {
    Results.SetZero();
    return;
  }
  // Inversion of P(X >= k) = (1 - P)^k; log1p keeps ln(1 - P) exact for small P.
  const double lnQ = std::log1p(-P);
  TRandomGenerator gen(kKind, seed);
  DrawTransformed(
      Results, [&](TDenseLumex& u) { gen.GetStream(0).RandomUniform(u, kEps, 1.0 - kEps); },
      [=](double u) { return std::trunc(std::log(u) / lnQ); });
}

void RandomLogistic(double Mu, double B, TDenseLumex& Results, int Seed) {
  if (B <= 0) ERaise("RandomLogistic: b<=0");
  CheckComplex(Results, "RandomLogistic: Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  DrawTransformed(
      Results, [&](TDenseLumex& u) { RandomUniform(kEps, 1.0 - kEps, u, seed); },
      [=](double u) { return LogisticCDFInv(u, Mu, B); });
}

void RandomLogNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed) {
  if (Sigma <= 0) ERaise("RandomLogNormal: sigma < 0");
  CheckComplex(Results, "RandomLogNormal : Results.Complex=true");
  TRandomGenerator gen(kKind, ResolveSeed(Seed));
  DrawTransformed(
      Results, [&](TDenseLumex& z) { gen.GetStream(0).RandomGaussian(z, 0.0, 1.0, grmZiggurat); },
      [=](double z) { return std::exp(z * Sigma + Mu); });
}

void RandomMaxwell(double A, TDenseLumex& Results, int Seed) {
  if (A < 0) ERaise("RandomMaxwell: (a < 0 )");
  CheckComplex(Results, "RandomMaxwell : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  DrawTransformed(
      Results, [&](TDenseLumex& u) { RandomUniform(kEps, 1.0 - kEps, u, seed); },
      [=](double u) { return MaxwellCDFInv(u, A); });
}

void RandomStudent(int Nu, TDenseLumex& Results, int Seed) {
  if (Nu <= 0) ERaise("RandomStudent: v <= 0");
  CheckComplex(Results, "RandomStudent : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  TDoubleWork work(Results);
  double* r = work.Data();
  const int n = work.Length();
  auto t1 = CreateIt<TVec>();
  t1->Size(n);
  double* u = t1->Data<double>();
  if (Nu == 1) {
    // The ratio of two independent standard normal variates is t with one degree of freedom.
    TRandomGenerator gen(kKind, seed);
    gen.GetStream(0).RandomGaussian(work.Obj(), 0.0, 1.0, grmZiggurat);
    gen.GetStream(0).RandomGaussian(*t1, 0.0, 1.0, grmZiggurat);
    for (int i = 0; i < n; ++i) r[i] /= u[i];
  } else {
    // With B ~ Beta(nu/2, nu/2), sqrt(nu) (B - 1/2) / sqrt(B (1 - B)) is t with nu degrees of
    // freedom; for nu = 2 the beta law is the uniform one.
    if (Nu == 2) {
      TRandomGenerator gen(kKind, seed);
      gen.GetStream(0).RandomUniform(*t1, 0.0, 1.0);
    } else {
      RandomBeta(0.5 * Nu, 0.5 * Nu, *t1, seed);
    }
    const double s = std::sqrt(static_cast<double>(Nu));
    for (int i = 0; i < n; ++i) r[i] = s * (u[i] - 0.5) / std::sqrt(u[i] - u[i] * u[i]);
  }
  work.Store();
}

void RandomTriangular(double A, double B, double C, TDenseLumex& Results, int Seed) {
  if (A > B) ERaise("RandomTriangular: a > b");
  if (C > B || C < A) ERaise("RandomTriangular: (c>b) or (c<a)");
  CheckComplex(Results, "RandomTriangular : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  // Inversion of the two quadratic pieces of the distribution function, which meet at the mode
  // where P(X <= C) = Fc. With A = B = C, Fc is NaN, no comparison holds and every value is B.
  const double fc = (C - A) / (B - A);
  const double k1 = (B - A) * (C - A);
  const double k2 = (B - A) * (B - C);
  DrawTransformed(
      Results, [&](TDenseLumex& u) { RandomUniform(0.0, 1.0, u, seed); },
      [=](double u) { return u <= fc ? A + std::sqrt(u * k1) : B - std::sqrt((1.0 - u) * k2); });
}

void RandomUniformD(int N, TDenseLumex& Results, int Seed) {
  if (N < 0) ERaise("RandomUniformD: N < 0");
  CheckComplex(Results, "RandomUniformD : Results.Complex=true");
  const int seed = ResolveSeed(Seed);
  const double n = N;
  WithPrefix("RandomUniformD : ", [&] {
    TRandomGenerator gen(kKind, seed);
    DrawTransformed(
        Results, [&](TDenseLumex& u) { gen.GetStream(0).RandomUniform(u, kEps, 1.0 - kEps); },
        [=](double u) { return std::ceil(u * n); });
  });
}

}  // namespace lumex
