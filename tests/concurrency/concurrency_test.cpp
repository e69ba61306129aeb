// Concurrent use of every family of exported functions.
//
// Every exported function is reentrant: calls on distinct objects may run in any number of
// threads at once. Each case below computes a result vector from objects of its own. The cases
// run first serially, which fixes the expected results, then from kThreads threads released
// together, each thread going through the whole table kRepeats times, starting at a different
// case so that different functions overlap. Deterministic cases (everything not random, and the
// generators with a fixed seed) must reproduce the serial result bit for bit. Cases that draw a
// fresh seed (Seed = -1, the default source, GOFLillieTest) are judged by their law instead, and
// no two of their calls may give the same draws (a simulated significance, which takes few
// values, need only vary).
//
// Most functions lease temporaries from the per-thread object cache, so this test also shows
// that the pools of different threads never meet. Run it under ThreadSanitizer with
// `make test-tsan`.
//
// Adding a function: add one row to the table of its family, a name and a lambda that returns
// the function's results as a vector of doubles (TOut collects scalars and objects). A row whose
// result is random gets a TLaw as its third element.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <latch>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "lumex/RegModels.h"
#include "lumex/Regress.h"
#include "lumex/StatControlCharts.h"
#include "lumex/StatProbPlots.h"
#include "lumex/StatRandom.h"
#include "lumex/StatTimeSerAnalysis.h"
#include "lumex/Statistics.h"
#include "lumex/core/core.h"

namespace lumex {
namespace {

constexpr int kThreads = 8;
constexpr int kRepeats = 3;

using TResult = std::vector<double>;

// Collects a case's outputs, scalars and objects alike, into one vector of doubles.
struct TOut {
  TResult v;
  template <class T>
  TOut& operator<<(const T& x) {
    if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
      v.push_back(static_cast<double>(x));
    } else if constexpr (std::is_base_of_v<TDenseLumex, T>) {
      v.push_back(x.Length());
      for (int i = 0; i < x.Length(); ++i) {
        if (!x.Complex()) {
          v.push_back(x.Value(i));
          continue;
        }
        const std::complex<double> z =
            x.IsDouble() ? x.template Data<std::complex<double>>()[i]
                         : std::complex<double>(x.template Data<std::complex<float>>()[i]);
        *this << z.real() << z.imag();
      }
    } else if constexpr (std::is_same_v<T, TVecInt>) {
      v.push_back(x.Length());
      for (int i = 0; i < x.Length(); ++i) v.push_back(x[i]);
    } else if constexpr (std::is_pointer_v<T>) {
      if (x != nullptr) *this << *x;
    } else if constexpr (std::is_same_v<T, TTwoElmReal> || std::is_same_v<T, std::vector<double>>) {
      v.insert(v.end(), x.begin(), x.end());
    } else {  // what is no output: null pointers, callbacks, object constants
      static_assert(std::is_same_v<T, std::nullptr_t> || std::is_same_v<T, TObjConsts> ||
                    std::is_invocable_v<T, const TVec&, const TVec*, const TObjConsts&> ||
                    std::is_function_v<std::remove_pointer_t<T>>);
    }
    return *this;
  }
  // Calls `f` and records its result, then every argument: the outputs are among them.
  template <class F, class... A>
  TOut& Call(F&& f, A&&... a) {
    if constexpr (std::is_void_v<decltype(f(std::forward<A>(a)...))>) {
      f(std::forward<A>(a)...);
    } else {
      *this << f(std::forward<A>(a)...);
    }
    (*this << ... << a);
    return *this;
  }
};

// out.Call for a function name that may be overloaded.
#define LUMEX_CALL(out, fn, ...) \
  (out).Call([&](auto&&... arg) -> decltype(auto) {                   \
    return fn(std::forward<decltype(arg)>(arg)...);                     \
  }, __VA_ARGS__)

// Checks a result of a random case; returns what is wrong, or an empty string.
using TLaw = std::function<std::string(const TResult& got, const TResult& serial)>;

struct TCase {
  std::string name;
  std::function<TResult()> run;
  TLaw law;  // empty: the result is deterministic
  // With a law: no two calls may give the same result. A result with few possible values (a
  // simulated proportion) need only vary between calls.
  bool allDistinct = true;
};

// ---- Inputs: built afresh by every call, so that no two threads share an object -------------

// `x` filled by `fill` from stream 0 of a Xoshiro generator seeded with `seed`.
template <class T, class F>
T Drawn(T x, int seed, F fill) {
  TRandomGenerator g;
  g.Init(brgXoshiro256, seed);
  fill(g.GetStream(0), x);
  return x;
}

TVec Normal(int n, int seed, double mu = 0.0, double sigma = 1.0) {
  return Drawn(TVec(n), seed, [=](TRngStream& s, TVec& x) { s.RandomGaussian(x, mu, sigma); });
}

TVec Uniform(int n, int seed, double a, double b) {
  return Drawn(TVec(n), seed, [=](TRngStream& s, TVec& x) { s.RandomUniform(x, a, b); });
}

TVec Positive(int n, int seed, double shape = 2.0, double scale = 1.5) {
  return Drawn(TVec(n), seed,
               [=](TRngStream& s, TVec& x) { s.RandomGamma(x, shape, 0.0, scale); });
}

TVec Counts(int n, int seed, double lambda) {
  const TVecInt k =
      Drawn(TVecInt(n), seed, [=](TRngStream& s, TVecInt& x) { s.RandomPoisson(x, lambda); });
  TVec x(n);
  for (int i = 0; i < n; ++i) x[i] = k[i];
  return x;
}

TMtx NormalMtx(int rows, int cols, int seed, double mu = 0.0, double sigma = 1.0) {
  return Drawn(TMtx(rows, cols), seed,
               [=](TRngStream& s, TMtx& x) { s.RandomGaussian(x, mu, sigma); });
}

// A well-conditioned symmetric positive definite matrix.
TMtx Spd(int n, int seed) {
  const TMtx a = NormalMtx(n, n, seed);
  TMtx m;
  Mul(m, a, a, opTrans, opNone);
  for (int i = 0; i < n; ++i) m(i, i) += n;
  return m;
}

// Rosenbrock's valley in two parameters, with its gradient and Gauss-Newton pair.
double Rosenbrock(const TVec& p, const TVec*, const TObjConsts&) {
  const double a = p.Value(0), b = p.Value(1);
  return 100.0 * (b - a * a) * (b - a * a) + (1.0 - a) * (1.0 - a);
}
void RosenbrockGrad(const TRealFunction&, const TVec& p, const TVec*, const TObjConsts&,
                    TVec& g) {
  const double a = p.Value(0), b = p.Value(1);
  g.SetValue(0, -400.0 * a * (b - a * a) - 2.0 * (1.0 - a));
  g.SetValue(1, 200.0 * (b - a * a));
}
void RosenbrockCurv(const TRealFunction&, const TVec& p, const TVec*, const TObjConsts&, TVec& g,
                    TMtx& m) {
  const double a = p.Value(0), b = p.Value(1);
  const double r1 = 10.0 * (b - a * a), r2 = 1.0 - a, ja = -20.0 * a, jb = 10.0;
  g.SetValue(0, r1 * ja - r2);
  g.SetValue(1, r1 * jb);
  m.SetValue(0, ja * ja + 1.0);
  m.SetValue(1, ja * jb);
  m.SetValue(2, ja * jb);
  m.SetValue(3, jb * jb);
}

// ---- Laws of the random cases ---------------------------------------------------------------

// All values in [lo, hi] and their mean within 6 standard errors of `mean`; `sd` is the law's
// standard deviation. Only the first `count` values of the result are draws (0: all).
TLaw MeanLaw(double mean, double sd, double lo, double hi, std::size_t count = 0) {
  return [=](const TResult& got, const TResult&) -> std::string {
    const std::size_t n = count == 0 ? got.size() - 1 : count;  // got[0] is the length
    double sum = 0.0;
    for (std::size_t i = 1; i <= n; ++i) {
      const double x = got[i];
      if (!(x >= lo && x <= hi)) return "value " + std::to_string(x) + " out of range";
      sum += x;
    }
    const double m = sum / static_cast<double>(n);
    if (std::fabs(m - mean) > 6.0 * sd / std::sqrt(static_cast<double>(n))) {
      return "mean " + std::to_string(m) + ", expected " + std::to_string(mean);
    }
    return {};
  };
}

// ---- The table ----------------------------------------------------------------------------------

std::vector<TCase> CoreCases() {
  return {
      {"containers", [] {
         TVec a = Normal(300, 1);
         TVec b(a), c;
         b.Resize(350);
         Concat(c, a, b);
         TMtx m{{1, 2, 3}, {4, 5, 6}};
         TVecInt k{5, -3, 8};
         TVecInt bits, packed;
         bits.BitUnpack(k);
         packed.BitPack(bits);
         TVecList list;
         list.Add() = a;
         list.Add() = c;
         TVec single;
         Convert(single, a, fpSingle);
         return (TOut() << c << m << packed << bits.BitCount() << list[1] << single).v;
       }},
      {"ops elementwise", [] {
         TVec x = Normal(400, 2), y = Uniform(400, 3, 0.5, 2.0), d, e;
         Sqr(d, x);
         Sqrt(d);
         Ln(e, y);
         Exp(e);
         Power(y, 1.5);
         AddScaled(y, x, -0.25);
         MulElem(d, e, y);
         Divide(d, y);
         TVec z(x);
         ZScore(z);
         Normalize(x, 1.0, 2.0);
         ThreshBottom(x, 1.2);
         return (TOut() << d << e << x << z).v;
       }},
      {"ops reductions", [] {
         TVec x = Normal(1000, 4, 3.0, 2.0), f;
         Convert(f, x, fpSingle);
         int imax = 0, imin = 0;
         double mx = 0, mn = 0;
         MaxMin(x, 10, 500, mx, mn);
         return (TOut() << Sum(x) << Mean(x) << StdDev(x) << StdDev(f) << SumOfSquares(x)
                        << DotProd(x, x) << Max(x, imax) << imax << Min(x, imin) << imin << mx
                        << mn << Median(x) << Median(f) << NormL1(x) << NormL2(x) << NormC(f))
             .v;
       }},
      {"ops sort and find", [] {
         TVec x = Normal(700, 5), y, g;
         TVecInt perm, idx, mask;
         TVec s(x);
         SortAscend(s, perm);
         TVec t(x);
         SortDescend(t);
         TMtx m = NormalMtx(50, 3, 6);
         SortAscend(m, 1);
         FindIndexes(idx, x, ">=", 0.5);
         FindMask(mask, x, "<", -1.0);
         FindAndGather(g, x, "<>", 0.0);
         CumSum(y, x);
         TVec d;
         Difference(d, x, 2);
         return (TOut() << s << perm << t << m << idx << mask << g << y << d
                        << Find(x, x[123]))
             .v;
       }},
      {"ops copies and shapes", [] {
         const TVec x = Normal(120, 34);
         TVec a, b, c(x), g;
         Copy(a, x);
         b.Size(200);
         b.SetZero();
         Copy(b, x, 10, 30, 60);
         Rotate(c, 17);
         Reverse(c);
         TVec r(50);
         Ramp(r, 1.0, 0.25);
         TVecInt k, idx{3, 1, 4, 1, 5, 9, 2, 6};
         CopyTo(k, r);
         CopyFrom(g, k, fpSingle);
         TVec e;
         GatherByIndex(e, x, idx);
         Replace(c, c[5], -7.0);
         TMtx m = NormalMtx(6, 6, 35), eye, dm, in(m);
         Eye(eye, 4);
         Diag(dm, TVec{1, 2, 3});
         TVec col, row, dg;
         GetCol(col, m, 2);
         GetRow(row, m, 4);
         SetCol(m, row, 0);
         Diag(dg, m);
         Inv(in);
         Transp(m);
         return (TOut() << a << b << c << r << k << g << e << eye << dm << col << row << dg << in
                        << m << PrecisionEPS(b) << CSum(x).real())
             .v;
       }},
      {"large buffers", [] {
         // Objects of 2 MiB and more take the huge-page allocation path.
         TVec x(270000), y;
         Ramp(x, -1.0, 1e-5);
         Copy(y, x);
         Sqr(y);
         return (TOut() << Sum(y) << y[123456]).v;
       }},
      {"error paths", [] {
         // Errors raised while temporaries are leased: the message, character by character.
         TOut out;
         const auto message = [&out](const std::function<void()>& call) {
           try {
             call();
             out << -1.0;
           } catch (const ELumexError& e) {
             for (const char ch : std::string(e.what())) out << static_cast<double>(ch);
           }
         };
         THypothesisResult h = hrNan;
         double sig = 0.0;
         message([&] { GOFLillieTest(TVec{1, 2, 3}, h, sig, 0.05, 0.01); });
         message([&] { TVec v(10); RandomBeta(-1.0, 2.0, v, 5); });
         message([&] { TMtx m(3, 4); Inv(m); });
         message([&] { TVec phi; double s2 = 0; ARYuleWalkerFit(TVec{}, phi, s2); });
         return out.v;
       }},
      {"ops columns", [] {
         TMtx m = NormalMtx(200, 7, 7);
         TVec mean;
         MeanCols(mean, m);
         return (TOut() << mean).v;
       }},
      {"linalg products and factorisations", [] {
         const TMtx a = NormalMtx(30, 20, 8), s = Spd(20, 9);
         TMtx p, t, l, inv, q, r;
         Mul(p, a, a, opTrans, opNone);
         Transp(t, a);
         Cholesky(l, s);
         Inv(inv, s);
         LQR(a, q, r);
         TVec x;
         TensorProd(x, a, Normal(20, 10));
         return (TOut() << p << t << l << inv << q << r << x << Determinant(s) << Trace(s)).v;
       }},
      {"linalg solves", [] {
         const TMtx a = NormalMtx(25, 25, 11), b = NormalMtx(40, 6, 12);
         const TVec rhs = Normal(25, 13), rhs40 = Normal(40, 14);
         TVec x1, x2, x3;
         LUSolve(x1, a, rhs);
         LQRSolve(x2, b, rhs40);
         SVDSolve(x3, b, rhs40);
         return (TOut() << x1 << x2 << x3).v;
       }},
      {"linalg SVD and eigen", [] {
         const TMtx a = NormalMtx(30, 12, 15), s = Spd(12, 16), g = NormalMtx(10, 10, 17);
         TMtx u, v, ev;
         TVec sv, sv2, val, valg;
         SVD(a, u, sv, v);
         SVD(a, sv2);
         EigSym(s, val, &ev);
         Eig(g, valg);
         TMtx tz, vm;
         Toeplitz(tz, Normal(8, 18));
         VanderMonde(vm, Normal(6, 19), 4);
         return (TOut() << u << sv << v << sv2 << val << ev << valg << tz << vm).v;
       }},
      {"series", [] {
         const TVec y = Normal(500, 20), z = Normal(500, 21);
         TVec ac, cc, cv, in;
         AutoCorrBiased(ac, y, 20);
         CrossCorr(cc, y, z, 15);
         Convolve(cv, y, Normal(9, 22));
         Integrate(in, y, TVec{0.5});
         return (TOut() << ac << cc << cv << in).v;
       }},
      {"polynomials", [] {
         TVec roots;
         PolyRoots(roots, Normal(9, 23));
         TVec x = Uniform(50, 24, 0.0, 10.0), y = Normal(50, 25), at, val;
         SortAscend(x);
         TPiecePoly pp;
         Linear1D(x, y, pp);
         at = Uniform(200, 26, 0.0, 10.0);
         pp.Evaluate(at, val);
         return (TOut() << roots << val << pp.Evaluate(3.3)).v;
       }},
      {"histogram kernels", [] {
         const TVec x = Normal(2000, 27);
         TVec f;
         Convert(f, x, fpSingle);
         TVecInt c(20), cs(20);
         c.SetZero();
         cs.SetZero();
         HistogramCount_Idx(x.Data<double>(), 0, 20.0 / 6.0, -3.0, c.Data(), 0, 20, x.Length());
         sHistogramCount_Idx(f.Data<float>(), 0, 20.0f / 6.0f, -3.0f, cs.Data(), 0, 20,
                             f.Length());
         return (TOut() << c << cs).v;
       }},
      {"probability vector forms", [] {
         const TVec x = Uniform(300, 28, -4.0, 6.0), p = Uniform(300, 29, 0.0, 1.0);
         const TVec k = Counts(300, 30, 6.0);
         TVec ax(x);
         Abs(ax);
         TVecInt nu1(300), nu2(300);
         for (int i = 0; i < 300; ++i) {
           nu1[i] = 1 + i % 7;
           nu2[i] = 2 + i % 11;
         }
         TVec d[12];
         NormalCDF(x, 1.0, 2.0, d[0]);
         NormalCDFInv(p, 0.0, 1.0, d[1]);
         StudentCDFInv(p, 4.5, d[2]);
         ChiSquareCDFUpper(ax, 3.0, d[3]);
         FCDF(ax, nu1, nu2, d[4]);
         FCDFInv(TVec{0.001, 0.2, 0.5, 0.7, 0.99}, 3.0, 17.0, d[5]);
         GammaCDFInv(p, 0.7, 2.0, d[6]);
         BetaCDFInv(p, 2.5, 0.5, d[7]);
         WeibullPDF(ax, 1.5, 2.0, d[8]);
         PoissonCDF(k, 6.0, d[9]);
         BinomCDFInv(p, 40.0, 0.3, d[10]);
         HypGeometricCDF(k, 50.0, 20.0, 15.0, d[11]);
         TOut out;
         for (const TVec& v : d) out << v;
         return (out << Gamma(4.5) << LnGamma(123.4) << trigamma(0.3) << ErfInv(0.7)).v;
       }},
      {"probability, every law", [] {
         // Density, both tails and quantile of every law, on 20 points each.
         const TVec x = Uniform(20, 31, 0.05, 0.95), k = Counts(20, 32, 3.0);
         const TVec p = Uniform(20, 33, 0.01, 0.99);
         TOut out;
         TVec d;
#define LUMEX_LAW(Law, at, ...)              \
  Law##PDF(at, __VA_ARGS__, d);              \
  out << d;                                  \
  Law##CDF(at, __VA_ARGS__, d);              \
  out << d;                                  \
  Law##CDFUpper(at, __VA_ARGS__, d);         \
  out << d;                                  \
  Law##CDFInv(p, __VA_ARGS__, d);            \
  out << d
         LUMEX_LAW(Normal, x, 0.5, 2.0);
         LUMEX_LAW(Student, x, 3.5);
         LUMEX_LAW(ChiSquare, x, 2.5);
         LUMEX_LAW(F, x, 4.0, 9.0);
         LUMEX_LAW(Gamma, x, 1.7, 0.8);
         LUMEX_LAW(Erlang, x, 3.0, 2.0);
         LUMEX_LAW(Exp, x, 0.7);
         LUMEX_LAW(Beta, x, 0.6, 1.9);
         LUMEX_LAW(Weibull, x, 1.2, 0.9);
         LUMEX_LAW(Maxwell, x, 0.8);
         LUMEX_LAW(Rayleigh, x, 0.6);
         LUMEX_LAW(LogNormal, x, -0.2, 0.7);
         LUMEX_LAW(InverseGaussian, x, 0.9, 2.5);
         LUMEX_LAW(Cauchy, x, 0.3, 0.4);
         LUMEX_LAW(Laplace, x, 0.5, 0.3);
         LUMEX_LAW(Logistic, x, 0.5, 0.2);
         LUMEX_LAW(Gumbel, x, 0.4, 0.3);
         LUMEX_LAW(Uniform, x, 0.0, 1.5);
         LUMEX_LAW(Triangular, x, 0.0, 1.0, 0.3);
         LUMEX_LAW(Binom, k, 12.0, 0.25);
         LUMEX_LAW(Poisson, k, 3.2);
         LUMEX_LAW(Geometric, k, 0.3);
         LUMEX_LAW(NegBinom, k, 2.5, 0.4);
         LUMEX_LAW(HypGeometric, k, 40.0, 15.0, 10.0);
         LUMEX_LAW(UniformD, k, 9.0);
#undef LUMEX_LAW
         return out.v;
       }},
      {"optimisers", [] {
         TOut out;
         std::vector<double> x{-1.2, 1.0};
         double fmin = 0.0;
         TOptStopReason reason = osrNone;
         out << Simplex(Rosenbrock, x, nullptr, {}, fmin, reason, fpDouble, 2000, 1e-10) << x
             << fmin << reason;
         std::vector<double> lo{-2.0, -2.0}, hi{0.9, 2.0};
         x = {-1.2, 1.0};
         out << Simplex(Rosenbrock, x, lo, hi, nullptr, {}, fmin, reason, fpDouble, 2000, 1e-10)
             << x << fmin << reason;
         x = {-1.2, 1.0};
         TMtx cov;
         out << Marquardt(Rosenbrock, RosenbrockCurv, x, nullptr, {}, fmin, &cov, reason,
                          fpDouble, 200, 1e-12, 1e-12, 1e-3)
             << x << fmin << reason << cov;
         x = {-1.2, 1.0};
         TMtx ih;
         out << BFGS(Rosenbrock, RosenbrockGrad, x, nullptr, {}, fmin, &ih, reason, fpDouble,
                     false, true, 500, 1e-12, 1e-10)
             << x << fmin << reason << ih;
         x = {-1.2, 1.0};
         out << ConjGrad(Rosenbrock, RosenbrockGrad, x, nullptr, {}, fmin, reason, fpDouble,
                         false, true, 2000, 1e-12, 1e-10)
             << x << fmin << reason;
         TVec grad;
         NumericGradient(Rosenbrock, TVec{0.3, 0.7}, nullptr, {}, grad);
         return (out << grad).v;
       }},
      {"random streams, seeded", [] {
         TOut out;
         for (TBasicRandomGenerator kind :
              {brgMersenneTwister, brgMersenneTwister64, brgXoshiro256}) {
           TRandomGenerator g;
           g.SetStreamCount(3);
           g.Init(kind, 20260);
           TVec u(100), n(100), bm(100), ga(100), be(100), w(100);
           TMtx e(10, 10);
           TVecInt po(100), pi(100), bi(100), hg(100), nb(100);
           TRngStream& s = g.GetStream(2);
           s.RandomUniform(u, -1.0, 3.0);
           s.RandomGaussian(n, 1.0, 2.0);
           s.RandomGaussian(bm, 0.0, 1.0, grmBoxMuller);
           s.RandomExponential(e, 0.5, 2.0);
           s.RandomGamma(ga, 0.4, 0.0, 1.0);
           s.RandomBeta(be, 0.5, 3.0, 0.0, 1.0);
           s.RandomWeibull(w, 1.7, 0.0, 2.0);
           s.RandomPoisson(po, 35.0);
           s.RandomPoisson(pi, 7.5, prmInversion);
           s.RandomBinomial(bi, 60, 0.35);
           s.RandomHypergeometric(hg, 80, 30, 25);
           s.RandomNegbinomial(nb, 2.5, 0.4);
           out << u << n << bm << e << ga << be << w << po << pi << bi << hg << nb
               << static_cast<double>(g.GetStream(0).NextRaw());
         }
         return out.v;
       }},
      {"default source, uniform", [] {
         TVec u(2000);
         RandUniform(u, 2.0, 5.0);
         return (TOut() << u).v;
       }, MeanLaw(3.5, 3.0 / std::sqrt(12.0), 2.0, 5.0)},
      {"default source, normal", [] {
         TVec z(2000);
         RandGauss(z, -1.0, 0.5);
         return (TOut() << z).v;
       }, MeanLaw(-1.0, 0.5, -1e300, 1e300)},
      {"default source, scalar and fresh seeds", [] {
         TOut out;
         out << 400.0;
         for (int i = 0; i < 400; ++i) out << RandUniform();
         for (int i = 0; i < 8; ++i) out << FreshSeed();
         return out.v;
       }, MeanLaw(0.5, std::sqrt(1.0 / 12.0), 0.0, 1.0, 400)},
  };
}

std::vector<TCase> StatisticsCases() {
  return {
      {"descriptive", [] {
         const TVec x = Positive(301, 40), c = Counts(301, 41, 3.0);
         double p[] = {0.05, 0.25, 0.5, 0.9}, q[4];
         Percentile(x, p, q, pctMethodEDFAve);
         TVec s(x);
         SortAscend(s);
         return (TOut() << MeanG(x) << MeanH(x) << MeanT(x, 0.1) << Mode(c) << Mode(c, 20, 100)
                        << Moment(x, Mean(x), 3) << Percentile(x, 0.3, pctMethodNPlus)
                        << std::vector<double>(q, q + 4)
                        << SortedPercentile(s, 0.77, pctMethodClosestN)
                        << InterQuartile(x, pctMethodEDF))
             .v;
       }},
      {"ranks and unique", [] {
         TVec x = Counts(200, 42, 5.0), r, tr, rr, rc, u;
         TVecInt counts;
         double tie = 0.0;
         TVec xx(x);
         Ranks(xx, r);
         TiedRanks(x, tr, tie);
         const TMtx m = NormalMtx(20, 9, 43);
         RangeRows(m, rr);
         RangeCols(m, rc);
         Unique(x, u, &counts);
         return (TOut() << xx << r << tr << tie << rr << rc << u << counts).v;
       }},
      {"histograms", [] {
         const TVec x = Normal(800, 44);
         TVecInt counts;
         TVec bins, res, bins2, res2, res3, cum, cbins, ex, ef;
         Histogram(x, 15, counts, bins, true, 3.0, -3.0);
         Histogram(x, 12, res, bins2, false);
         Histogram(x, TVec{-2, -1, 0, 0.5, 1, 2}, res2);
         CumulativeHist(x, 10, cum, cbins, true);
         CumulativeHist(x, TVec{-1, 0, 1}, res3);
         EmpiricalCDF(x, ex, ef);
         return (TOut() << counts << bins << res << bins2 << res2 << cum << cbins << res3 << ex
                        << ef)
             .v;
       }},
      {"covariance", [] {
         const TVec x = Normal(300, 45), y = Normal(300, 46);
         const TMtx m = NormalMtx(100, 5, 47);
         double var = 0.0, t = 0.0;
         TMtx c1, c2, r1, r2, r3;
         Covariance(x, var, false);
         Covariance(x, y, c1, true);
         Covariance(m, c2, false);
         CorrCoef(x, y, r1);
         CorrCoef(x, y, r2, t);
         CorrCoef(m, r3);
         return (TOut() << var << c1 << c2 << r1 << r2 << t << r3).v;
       }},
      {"parametric tests", [] {
         const TVec x = Normal(40, 48, 0.3), y = Normal(35, 49, 0.0, 1.5), z = Normal(40, 50);
         TOut out;
         THypothesisResult h = hrNan;
         double sig = 0.0;
         TTwoElmReal ci{};
         for (THypothesisType ht : {htTwoTailed, htRightTailed, htLeftTailed}) {
           out << tTest(x, 0.0, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << tTest(x, y, h, sig, ci, false, ht, 0.05) << h << sig << ci;
           out << tTest(x, z, h, sig, ci, true, ht, 0.05) << h << sig << ci;
           out << ZTest(x, 0.1, 1.0, h, sig, ci, ht, 0.05) << h << sig << ci;
           LUMEX_CALL(out, ChiSquareTest, y, 1.2, h, sig, ci, ht, 0.05);
           out << FTest(x, y, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << GrubbsTest(y, h, sig, ci, ht, 0.05) << h << sig << ci;
         }
         return out.v;
       }},
      {"rank tests", [] {
         const TVec x = Normal(15, 51, 0.4), y = Normal(12, 52), z = Normal(15, 53);
         const TVec bx = Normal(80, 54, 0.2), by = Normal(70, 55);
         TOut out;
         THypothesisResult h = hrNan;
         double sig = 0.0, rho = 0.0;
         TTwoElmReal ci{};
         for (THypothesisType ht : {htTwoTailed, htRightTailed, htLeftTailed}) {
           out << SignTest(x, 0.0, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << SignTest(x, z, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << WilcoxonSign(x, 0.1, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << WilcoxonSign(bx, 0.0, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << WilcoxonSign(x, z, h, sig, ci, ht, 0.05) << h << sig << ci;
           out << MannWhitneyTest(x, y, h, sig, ci, ht, 0.05, false) << h << sig << ci;
           out << MannWhitneyTest(bx, by, h, sig, ci, ht, 0.05, true) << h << sig << ci;
           LUMEX_CALL(out, SpearmanRankCorr, x, z, rho, h, sig, ci, ht, 0.05);
         }
         return (out << MannWCDF1(9, 11, 30.0)).v;
       }},
      {"normality tests", [] {
         TOut out;
         THypothesisResult h = hrNan;
         double sig = 0.0;
         for (int n : {3, 9, 30, 400}) {
           const TVec x = Positive(n, 56 + n);
           out << ShapiroWilks(x, h, sig, htTwoTailed, 0.05) << h << sig;
           out << ShapiroFrancia(x, h, sig, htRightTailed, 0.05) << h << sig;
         }
         return out.v;
       }},
      {"closed-form fits", [] {
         const TVec x = Positive(150, 60), c = Counts(150, 61, 4.0), u = Uniform(150, 62, 1, 9);
         TOut out;
         double a = 0, b = 0;
         int k = 0;
         TTwoElmReal ca{}, cb{};
         LUMEX_CALL(out, NormalFit, x, a, b, ca, cb, 0.05);
         LUMEX_CALL(out, LogNormalFit, x, a, b, ca, cb, 0.1);
         LUMEX_CALL(out, ExponentFit, x, a, ca, 0.05);
         LUMEX_CALL(out, PoissonFit, c, a, ca, 0.05);
         LUMEX_CALL(out, UniformFit, u, a, b, ca, cb, 0.05);
         LUMEX_CALL(out, UniformDFit, c, k, ca, 0.05);
         LUMEX_CALL(out, GeometricFit, c, a, ca, 0.05);
         LUMEX_CALL(out, RayleighFit, x, a, ca, 0.05);
         LUMEX_CALL(out, InverseGaussianFit, x, a, b, ca, cb, 0.05);
         LUMEX_CALL(out, MaxwellFit, x, a);
         LUMEX_CALL(out, LaplaceFit, x, a, b);
         LUMEX_CALL(out, LogisticFit, x, a, b);
         LUMEX_CALL(out, ChiSquareFit, x, k);
         LUMEX_CALL(out, ErlangFit, x, k, a);
         LUMEX_CALL(out, BinomFit, c, k, a);
         TVec p, lo, hi;
         return LUMEX_CALL(out, BinomFit, c, 12.0, p, lo, hi, 0.05).v;
       }},
      {"likelihood fits", [] {
         const TVec x = Positive(120, 63), u = Uniform(120, 64, 0.05, 0.95);
         const TVec cau = Normal(120, 65, 2.0, 1.0), c = Counts(120, 66, 3.0);
         TOut out;
         double a = 0, b = 0, cc = 0;
         int n1 = 0, n2 = 0;
         TTwoElmReal ca{}, cb{};
         LUMEX_CALL(out, BetaFit, u, a, b, ca, cb, 500, 1e-8, 0.05);
         LUMEX_CALL(out, GammaFit, x, a, b, ca, cb, 500, 1e-8, 0.05);
         LUMEX_CALL(out, WeibullFit, x, a, b, ca, cb, 500, 1e-8, 0.05);
         LUMEX_CALL(out, CauchyFit, cau, a, b, ca, cb, 500, 1e-8, 0.05);
         LUMEX_CALL(out, NegBinomFit, c, a, b);
         // The F and Student fits search integer degrees of freedom: small samples keep them
         // quick.
         TVec f = Positive(30, 71);
         Mul(f, 0.6);
         LUMEX_CALL(out, FFit, f, n1, n2, 100, 1e-5);
         LUMEX_CALL(out, StudentFit, Normal(30, 72), n1, 100, 1e-5);
         LUMEX_CALL(out, TriangularFit, u, a, b, cc, 300, 1e-8);
         TVec dens, uu(u);
         const TObjConsts objs{&uu, &dens};
         TTwoElmReal se{};
         LUMEX_CALL(out, BetaLike, TVec{2.0, 3.0}, nullptr, objs);
         return LUMEX_CALL(out, BetaLike, TVec{2.0, 3.0}, nullptr, objs, se).v;
       }},
      {"goodness of fit", [] {
         const TVec x = Normal(60, 67), y = Normal(45, 68, 0.3), p = Positive(60, 69);
         TOut out;
         THypothesisResult h = hrNan;
         double sig = 0.0;
         for (THypothesisType ht : {htTwoTailed, htRightTailed, htLeftTailed}) {
           LUMEX_CALL(out, GOFKolmogorov, x, h, sig, nullptr, nullptr, ht, 0.05);
           LUMEX_CALL(out, GOFKolmogorov, x, y, h, sig, ht, 0.05);
         }
         TVec sx(x), fx;
         SortAscend(sx);
         NormalCDF(sx, 0.1, 1.1, fx);
         LUMEX_CALL(out, GOFKolmogorov, x, h, sig, &sx, &fx, htTwoTailed, 0.05);
         LUMEX_CALL(out, GOFChi2Test, TVec{18, 22, 30, 30}, TVec{25, 25, 25, 25}, 100, 3, h, sig,
                    htRightTailed, 0.05);
         for (TDistribution d : {distNormal, distGamma, distWeibull, distExponential}) {
           LUMEX_CALL(out, GOFChi2Test, d == distNormal ? x : p, d, 8, h, sig, htRightTailed, 0.05);
           LUMEX_CALL(out, AndersonDarling, d == distNormal ? x : p, d, h, sig, 0.05);
         }
         LUMEX_CALL(out, GOFBeraJarqueTest, p, h, sig, 0.05);
         return LUMEX_CALL(out, GOFLillieTest, x, h, sig, 0.05, 1.0).v;  // no simulation
       }},
      {"Lilliefors, simulated", [] {
         const TVec x = Normal(25, 70);
         THypothesisResult h = hrNan;
         double sig = 0.0;
         const double d = GOFLillieTest(x, h, sig, 0.05, 1e-3);
         return (TOut() << d << sig).v;
       }, [](const TResult& got, const TResult& serial) -> std::string {
         // D is a function of the data alone; its significance is a proportion of 1000
         // simulations (the first batch already has a variance below 1e-3).
         if (got[0] != serial[0]) return "D differs from the serial run";
         if (!(got[1] >= 0.0 && got[1] <= 1.0)) return "significance outside [0, 1]";
         const double p = serial[1], se = std::sqrt(2.0 * std::max(p * (1 - p), 1e-4) / 1000.0);
         if (std::fabs(got[1] - p) > 6.0 * se) {
           return "significance " + std::to_string(got[1]) + " far from " + std::to_string(p);
         }
         return {};
       }, false},
  };
}

// StatRandom: every generator with a fixed seed (bit for bit), and a few with a fresh one.
std::vector<TCase> StatRandomCases() {
  constexpr int n = 256;
  std::vector<TCase> cases = {
      {"StatRandom, seeded", [] {
         TOut out;
         int seed = 97;
         auto real = [&](auto gen) {
           TVec v(n);
           gen(v, ++seed);
           out << v;
         };
         auto whole = [&](auto gen) {
           TVecInt v(n);
           gen(v, ++seed);
           out << v;
         };
         real([](TVec& v, int s) { RandomBeta(0.5, 2.0, v, s); });
         whole([](TVecInt& v, int s) { RandomBinom(30, 0.2, v, s); });
         real([](TVec& v, int s) { RandomCauchy(1.0, 2.0, v, s); });
         real([](TVec& v, int s) { RandomChiSquare(3, v, s); });
         real([](TVec& v, int s) { RandomErlang(3, 2.0, v, s); });
         real([](TVec& v, int s) { RandomExponent(2.0, v, s); });
         real([](TVec& v, int s) { RandomF(4, 9, v, s); });
         real([](TVec& v, int s) { RandomGamma(0.7, 2.0, v, s); });
         real([](TVec& v, int s) { RandomGenPareto(0.2, 1.0, 2.0, v, s); });
         real([](TVec& v, int s) { RandomGeometric(0.3, v, s); });
         real([](TVec& v, int s) { RandomGumbel(1.0, 2.0, v, s); });
         whole([](TVecInt& v, int s) { RandomHypGeometric(60, 20, 15, v, s); });
         real([](TVec& v, int s) { RandomLaplace(1.0, 2.0, v, s); });
         real([](TVec& v, int s) { RandomLogistic(1.0, 2.0, v, s); });
         real([](TVec& v, int s) { RandomLogNormal(0.5, 0.7, v, s); });
         real([](TVec& v, int s) { RandomMaxwell(1.5, v, s); });
         whole([](TVecInt& v, int s) { RandomNegBinom(2.5, 0.3, v, s); });
         real([](TVec& v, int s) { RandomNormal(1.0, 2.0, v, s); });
         whole([](TVecInt& v, int s) { RandomPoisson(12.5, v, s); });
         real([](TVec& v, int s) { RandomRayleigh(1.5, v, s); });
         real([](TVec& v, int s) { RandomStudent(5, v, s); });
         real([](TVec& v, int s) { RandomTriangular(0.0, 3.0, 1.0, v, s); });
         real([](TVec& v, int s) { RandomUniform(-2.0, 3.0, v, s); });
         real([](TVec& v, int s) { RandomUniformD(9, v, s); });
         real([](TVec& v, int s) { RandomWeibull(1.5, 2.0, v, s); });
         TMtx m(16, 16);
         RandomNormal(0.0, 1.0, m, 12345);
         return (out << m).v;
       }},
  };
  // Fresh seeds: 2000 draws each, judged by the mean of the law.
  auto fresh = [&cases](std::string name, std::function<void(TVec&)> gen, double mean, double sd,
                        double lo, double hi) {
    cases.push_back({std::move(name),
                     [gen] {
                       TVec v(2000);
                       gen(v);
                       return (TOut() << v).v;
                     },
                     MeanLaw(mean, sd, lo, hi)});
  };
  fresh("RandomNormal, fresh seed", [](TVec& v) { RandomNormal(1.0, 2.0, v); }, 1.0, 2.0, -1e300,
        1e300);
  fresh("RandomUniform, fresh seed", [](TVec& v) { RandomUniform(-1.0, 1.0, v, -1); }, 0.0,
        1.0 / std::sqrt(3.0), -1.0, 1.0);
  fresh("RandomGamma, fresh seed", [](TVec& v) { RandomGamma(0.7, 2.0, v, -1); }, 1.4,
        std::sqrt(0.7) * 2.0, 0.0, 1e300);
  cases.push_back({"RandomPoisson, fresh seed", [] {
                     TVecInt k(2000);
                     RandomPoisson(4.0, k, -1);
                     return (TOut() << k).v;
                   },
                   MeanLaw(4.0, 2.0, 0.0, 1e9)});
  return cases;
}

std::vector<TCase> RegressCases() {
  return {
      {"regression statistics", [] {
         const TVec x = Uniform(80, 80, 0.0, 10.0), e = Normal(80, 81, 0.0, 0.5);
         TVec y(x);
         Mul(y, 1.7);
         Add(y, 0.4);
         Add(y, e);
         TVec b, ycalc, w = Uniform(80, 82, 0.5, 1.5), b2, res, se;
         TMtx v;
         LinRegress(x, y, b, true, nullptr, &ycalc, &v);
         LinRegress(x, y, b2, false, &w, nullptr, nullptr);
         TRegStats s{}, s2{};
         RegressTest(y, ycalc, 2, s, true, nullptr);
         RegressTest(y, ycalc, v, s2, res, se, true, &w);
         TOut out;
         for (const TRegStats* r : {&s, &s2}) {
           out << r->SSE << r->SST << r->SSR << r->ResidualVar << r->R2 << r->AdjustedR2
               << r->dfE << r->dfT << r->StdError << r->FStats.F << r->FStats.Signif;
         }
         return (out << b << ycalc << v << b2 << res << se << R2(y, ycalc)).v;
       }},
      {"analysis of variance", [] {
         const TMtx g = NormalMtx(12, 4, 83), t = NormalMtx(12, 3, 84);
         const TVec d = Normal(60, 85);
         TVecInt gi(60);
         for (int i = 0; i < 60; ++i) gi[i] = i % 5;
         double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
         const TANOVA1Result a = ANOVA1(g, s1, 0.05), b = ANOVA1(d, gi, s2, 0.01);
         const TANOVA2Result c = ANOVA2(t, s3, s4, s1, 3, 0.05);
         TOut out;
         for (const TANOVA1Result* r : {&a, &b}) {
           out << r->SS1 << r->SS2 << r->SSTotal << r->Deg1 << r->Deg2 << r->MS1 << r->MS2
               << r->FDist << r->FCrit;
         }
         return (out << c.SS1 << c.SS2 << c.SS3 << c.SS4 << c.FDist1 << c.FDist2 << c.FDist3
                     << c.FCrit1 << c.FCrit3 << s1 << s2 << s3 << s4)
             .v;
       }},
  };
}

std::vector<TCase> TimeSeriesCases() {
  return {
      {"autocorrelation and AR fits", [] {
         // An AR(2) series x_t = 0.6 x_{t-1} - 0.3 x_{t-2} + e_t.
         const TVec e = Normal(400, 90);
         TVec x(400);
         for (int t = 0; t < 400; ++t) {
           x[t] = e[t] + (t > 0 ? 0.6 * x[t - 1] : 0.0) - (t > 1 ? 0.3 * x[t - 2] : 0.0);
         }
         TVec ac, rho, phi, pacf, var, pacf2, dphi, dvar, yw, ywse, bu, buse;
         double s2 = 0, s2yw = 0, s2bu = 0;
         AutoCov(x, ac, 12);
         ACF(x, rho, 12);
         PACF(rho, phi, pacf, var);
         PACF(rho, pacf2);
         dphi.Size(4);
         DurbinLevinson(ac, dphi, s2, 5, &dvar);
         yw.Size(2);
         ARYuleWalkerFit(x, yw, s2yw, &ywse);
         bu.Size(2);
         ARBurgFit(x, bu, s2bu, buse);
         return (TOut() << ac << rho << phi << pacf << var << pacf2 << dphi << s2 << dvar << yw
                        << s2yw << ywse << bu << s2bu << buse << BoxLjung(x, 10))
             .v;
       }},
      {"exponential smoothing", [] {
         TVec y = Normal(48, 91, 0.0, 0.3);
         for (int t = 0; t < 48; ++t) y[t] += 10.0 + 0.1 * t + 2.0 * std::sin(t * PI / 6.0);
         TVec l, tr, se, f, ma;
         double mse = 0;
         int lag = 0;
         TOut out;
         // Fixed constants, and constants searched from the previous call's result.
         double a = 0.3, b = 0.1, g = 0.2;
         LUMEX_CALL(out, SingleExpSmooth, y, l, 0.4, mse, 1);
         LUMEX_CALL(out, SingleExpSmooth, y, l, a, 0);
         LUMEX_CALL(out, SingleExpForecast, y, f, 0.4, 6, 1);
         LUMEX_CALL(out, SingleExpForecast, y, f, a, 6, mse, 0);
         LUMEX_CALL(out, DoubleExpSmooth, y, l, tr, 0.4, 0.2, mse, 1);
         LUMEX_CALL(out, DoubleExpSmooth, y, l, tr, a, b, 0);
         LUMEX_CALL(out, DoubleExpForecast, y, f, 0.4, 0.2, 6, 1);
         LUMEX_CALL(out, DoubleExpForecast, y, f, a, b, 6, mse, 0);
         LUMEX_CALL(out, TripleExpSmooth, y, l, tr, se, 0.3, 0.1, 0.2, mse, 12);
         LUMEX_CALL(out, TripleExpSmooth, y, l, tr, se, a, b, g, 12);
         LUMEX_CALL(out, TripleExpForecast, y, f, 0.3, 0.1, 0.2, 12, 12);
         LUMEX_CALL(out, TripleExpForecast, y, f, a, b, g, 12, mse, 12);
         LUMEX_CALL(out, MovingAverage, y, 5, ma, lag, true);
         return LUMEX_CALL(out, MovingAverage, y, 4, ma, lag, false).v;
       }},
  };
}

std::vector<TCase> ProbPlotCases() {
  return {
      {"probability plots", [] {
         const TVec x = Positive(90, 100), y = Normal(90, 101);
         TVec xd, yd, band;
         double mnx = 0, mxx = 0, mny = 0, mxy = 0;
         TOut out;
         LUMEX_CALL(out, StatNormalPlot, y, xd, yd, mnx, mxx, mny, mxy, &band, false);
         LUMEX_CALL(out, StatQQPlot, x, y, xd, yd, mnx, mxx, mny, mxy, false, false);
         LUMEX_CALL(out, StatQQPlot, y, xd, yd, mnx, mxx, mny, mxy, false);
         LUMEX_CALL(out, StatWeibullPlot, x, xd, yd, mnx, mxx, mny, mxy, false);
         return LUMEX_CALL(out, StatExpPlot, x, xd, yd, mnx, mxx, mny, mxy, false).v;
       }},
  };
}

std::vector<TCase> ControlChartCases() {
  return {
      {"Shewhart charts", [] {
         const TMtx sub = NormalMtx(25, 5, 110, 10.0, 0.5);
         const TVec ind = Normal(40, 111, 10.0, 0.5), def = Counts(30, 112, 4.0);
         TVec sizes(30);
         for (int i = 0; i < 30; ++i) sizes[i] = 40 + i % 7;
         TVec dv, ucl, lcl, clv;
         double cl = 0, u = 0, l = 0;
         TOut out;
         LUMEX_CALL(out, QCXChart, sub, dv, cl, u, l, 0.9973);
         LUMEX_CALL(out, QCSChart, sub, dv, cl, u, l, 0.99);
         LUMEX_CALL(out, QCRChart, sub, dv, cl, u, l, 0.95);
         LUMEX_CALL(out, QCMRChart, ind, cl, u, l, 0.9973);
         LUMEX_CALL(out, QCPChart, def, 50, dv, cl, u, l, 0.99);
         LUMEX_CALL(out, QCPChart, def, sizes, dv, cl, ucl, lcl, 0.99);
         LUMEX_CALL(out, QCNPChart, def, 50, dv, cl, u, l, 0.99);
         LUMEX_CALL(out, QCNPChart, def, sizes, dv, clv, ucl, lcl, 0.99);
         LUMEX_CALL(out, QCUChart, def, 5, dv, cl, u, l, 0.99);
         LUMEX_CALL(out, QCUChart, def, sizes, dv, cl, ucl, lcl, 0.99);
         LUMEX_CALL(out, QCCChart, def, dv, cl, u, l, 0.99);
         double oos = 0, cp = 0, cpk = 0;
         TTwoElmReal cpci{}, cpkci{};
         return LUMEX_CALL(out, QCCapIndexes, ind, 8.5, 11.2, oos, cp, cpk, cpci, cpkci, 0.05).v;
       }},
      {"EWMA, CUSUM and Westgard", [] {
         const TMtx sub = NormalMtx(30, 4, 113, 5.0, 1.0), one = NormalMtx(40, 1, 114, 5.0, 1.0);
         TVec dv, ucl, lcl, cp, cm, w;
         double cl = 0, u = 0, l = 0;
         TOut out;
         LUMEX_CALL(out, EWMAChart, sub, dv, cl, u, l, 0.2, 0.9973);
         LUMEX_CALL(out, EWMAChart, sub, dv, cl, ucl, lcl, 0.3, 0.99);
         LUMEX_CALL(out, QCCumSumChart, one, dv, 0.5, 5.0, 5.0, 1.0, &cp, &cm, 0.9973);
         return LUMEX_CALL(out, QCWestgardRules, Normal(60, 115, 0.5, 1.2), w, 0.0, 1.0).v;
       }},
  };
}

// ---- Multivariate analysis: principal components and multivariate tests ------------------------
// A block of its own, so that it can move as a whole: one case per family.

std::vector<TCase> MultivariateCases() {
  return {
      {"principal components", [] {
         const TMtx m = NormalMtx(60, 5, 120, 2.0, 1.5);
         TMtx cov, pc, scores, residuals;
         TVec values, percent;
         TOut out;
         Covariance(m, cov, false);
         PCA(cov, pc, values, &percent);
         out << pc << values << percent;
         PCA(m, pc, scores, values, &percent, PCACovMat);
         out << pc << scores << values << percent;
         PCA(m, pc, scores, values, nullptr, PCACorrMat);
         out << pc << scores << values;
         PCAResiduals(m, 2, residuals);
         return (out << residuals).v;
       }},
      {"multivariate tests", [] {
         const TMtx a = NormalMtx(30, 3, 121), b = NormalMtx(18, 3, 122, 0.3, 1.2);
         TOut out;
         THypothesisResult h = hrNan;
         double sig = 0.0, df = 0.0;
         int df1 = 0, df2 = 0, numComp = 0;
         TVec sigs;
         const TVec means{0.1, 0.0, -0.1};
         out << HotellingT2One(a, &means, sig, h, 0.05) << h << sig;
         out << HotellingT2One(b, nullptr, sig, h, 0.05) << h << sig;
         for (bool pooled : {true, false}) {
           out << HotellingT2Two(a, b, sig, h, df, nullptr, pooled, 0.05) << h << sig << df;
         }
         out << MBoxTest(a, b, sig, h, df1, df2, 0.05) << h << sig << df1 << df2;
         BartlettTest(a, numComp, sigs, 0.05);
         return (out << numComp << sigs).v;
       }},
  };
}

// ---- Distances, scaling, reliability, rotation and designs (one case per family) ----------------

// Every column of an n-point Latin hypercube holds one value in each stratum ((k-1)/n, k/n].
TLaw LatinLaw(int n, int p) {
  return [=](const TResult& got, const TResult&) -> std::string {
    if (got.size() != static_cast<std::size_t>(n * p + 1)) return "wrong size";
    for (int c = 0; c < p; ++c) {
      std::vector<int> seen(n + 1, 0);
      for (int i = 0; i < n; ++i) {
        const double v = got[1 + i * p + c];
        if (!(v > 0.0 && v <= 1.0)) return "value " + std::to_string(v) + " outside (0, 1]";
        if (++seen[static_cast<int>(std::ceil(v * n))] > 1) return "two values in one stratum";
      }
    }
    return {};
  };
}

std::vector<TCase> MultivariateDesignCases() {
  return {
      {"distances, scaling and reliability", [] {
         const TMtx x = NormalMtx(60, 4, 120, 5.0, 2.0);
         TOut out;
         TMtx d, y, dy;
         TVec ev;
         for (TPWDistMethod m : {pwdistEuclidian, pwdistCityBlock, pwdistChebychev}) {
           PairwiseDistance(x, d, 4, m);
           out << d;
         }
         PairwiseDistance(x, d, 4, pwdistEuclidian);
         MDScaleMetric(d, y, ev, 2);
         PairwiseDistance(y, dy, 2, pwdistEuclidian);
         return (out << y << ev << MDScaleStress(d, dy) << CronbachAlpha(x)).v;
       }},
      {"factor rotation", [] {
         const TMtx x = NormalMtx(12, 3, 121, 0.0, 0.5);
         TOut out;
         TMtx rotated, rotation;
         for (double gamma : {1.0, 0.0, 1.5}) {
           out << OrthogonalRotation(x, rotated, rotation, gamma, true, 1e-10, 200) << rotated
               << rotation;
         }
         return out.v;
       }},
      {"factorial designs and removal", [] {
         const TVec mul{2, 3, 4, 5};
         TMtx f2, fm, r, c;
         FullFactDesign(4, f2, fpDouble, &mul);
         FullFactDesign(TVec{3, 2, 4}, fm);
         RemoveRow(f2, r, 5);
         RemoveColumn(fm, c, 1);
         return (TOut() << f2 << fm << r << c).v;
       }},
      {"Latin hypercube", [] {
         TMtx d;
         LatinHyperCubeDesign(d, 20, 4, fpDouble, true, lhcImproveMinDist, 5);
         return (TOut() << d).v;
       }, LatinLaw(20, 4)},
  };
}

std::vector<TCase> AllCases() {
  std::vector<TCase> all;
  for (auto family : {CoreCases, StatisticsCases, StatRandomCases, RegressCases,
                      TimeSeriesCases, ProbPlotCases, ControlChartCases, MultivariateCases,
                      MultivariateDesignCases}) {
    for (TCase& c : family()) all.push_back(std::move(c));
  }
  return all;
}

// ---- The comparison -----------------------------------------------------------------------------

// Equal bit for bit, NaN payloads included.
bool SameBits(const TResult& a, const TResult& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

struct TCall {
  std::size_t index;
  TResult result;
  std::string error;  // an exception's message
};

TCall RunCase(const std::vector<TCase>& cases, std::size_t i) {
  TCall call{i, {}, {}};
  try {
    call.result = cases[i].run();
  } catch (const std::exception& e) {
    call.error = e.what();
  }
  return call;
}

TEST(Concurrency, EveryFamilyGivesItsSerialResultsFromEightThreads) {
  const std::vector<TCase> cases = AllCases();
  std::vector<TResult> serial(cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const TCall call = RunCase(cases, i);
    ASSERT_TRUE(call.error.empty()) << cases[i].name << ": " << call.error;
    ASSERT_FALSE(call.result.empty()) << cases[i].name;
    if (cases[i].law) {
      const std::string why = cases[i].law(call.result, call.result);
      ASSERT_TRUE(why.empty()) << cases[i].name << " (serial): " << why;
    }
    serial[i] = call.result;
  }

  // Every thread goes through the whole table kRepeats times, thread t starting at case
  // t * size / kThreads, so that at any moment the threads are in different families.
  std::vector<std::vector<TCall>> calls(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      const std::size_t offset = static_cast<std::size_t>(t) * cases.size() / kThreads;
      for (int r = 0; r < kRepeats; ++r) {
        for (std::size_t k = 0; k < cases.size(); ++k) {
          calls[t].push_back(RunCase(cases, (offset + k) % cases.size()));
        }
      }
    });
  }
  for (std::thread& th : threads) th.join();

  std::vector<std::vector<const TResult*>> fresh(cases.size());
  for (const auto& perThread : calls) {
    ASSERT_EQ(perThread.size(), cases.size() * kRepeats);
    for (const TCall& call : perThread) {
      const TCase& c = cases[call.index];
      ASSERT_TRUE(call.error.empty()) << c.name << ": " << call.error;
      if (c.law) {
        const std::string why = c.law(call.result, serial[call.index]);
        EXPECT_TRUE(why.empty()) << c.name << ": " << why;
        fresh[call.index].push_back(&call.result);
      } else {
        EXPECT_TRUE(SameBits(call.result, serial[call.index]))
            << c.name << ": the concurrent result differs from the serial one";
      }
    }
  }
  // Fresh seeds: calls in different threads draw different numbers.
  for (std::size_t i = 0; i < cases.size(); ++i) {
    if (!cases[i].law) continue;
    std::set<TResult> distinct{serial[i]};
    for (const TResult* r : fresh[i]) distinct.insert(*r);
    if (cases[i].allDistinct) {
      EXPECT_EQ(distinct.size(), fresh[i].size() + 1) << cases[i].name << ": repeated draws";
    } else {
      EXPECT_GT(distinct.size(), 1u) << cases[i].name << ": the same result on every call";
    }
  }
}

// Reseeding the default source while other threads draw from it: the draws stay in range and
// every thread that comes to draw after the last reseed gets a stream of its own.
TEST(Concurrency, ReseedingTheDefaultSourceWhileThreadsDraw) {
  std::latch start(kThreads + 1);
  std::atomic<bool> bad{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      start.arrive_and_wait();
      TVec u(64);
      for (int r = 0; r < 200; ++r) {
        RandUniform(u, 0.0, 1.0);
        if (Min(u) < 0.0 || Max(u) >= 1.0) bad = true;
        if (RandUniform() >= 1.0) bad = true;
      }
    });
  }
  start.arrive_and_wait();
  for (int r = 0; r < 50; ++r) RandSeed(static_cast<std::uint64_t>(r));
  for (std::thread& th : threads) th.join();
  EXPECT_FALSE(bad);

  // After a reseed, threads that start drawing get distinct streams of the new seed.
  RandSeed(4242);
  std::vector<double> first(kThreads);
  std::latch go(kThreads);
  threads.clear();
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      go.arrive_and_wait();
      first[t] = RandUniform();
    });
  }
  for (std::thread& th : threads) th.join();
  EXPECT_EQ(std::set<double>(first.begin(), first.end()).size(), first.size());
}

}  // namespace
}  // namespace lumex
