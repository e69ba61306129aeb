// Maximum-likelihood fits by Nelder-Mead: the negative log-likelihoods, their outer-product
// standard errors, and the fits with their Wald intervals.
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string>

#include "Statistics/fitting.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// The sample and the work vector of an objective's ObjConsts.
struct TLikeData {
  const TVec& x;
  TVec& w;
};

TLikeData Unpack(const TObjConsts& ObjConsts, const char* name) {
  TVec* x = ObjConsts.size() >= 2 ? dynamic_cast<TVec*>(ObjConsts[0]) : nullptr;
  TVec* w = x != nullptr ? dynamic_cast<TVec*>(ObjConsts[1]) : nullptr;
  if (w == nullptr) {
    ERaise(std::string(name) + ": ObjConsts must hold the sample and a work vector");
  }
  return {*x, *w};
}

// The density of `kind` at every x into dst, parameters read from Pars (the degrees of freedom
// of F and Student rounded to whole numbers, as their objectives define them).
void Density(TDistribution kind, const TVec& Pars, const TVec& x, TVec& dst) {
  auto p = [&Pars](int i) { return i < Pars.Length() ? Pars.Value(i) : NaN; };
  switch (kind) {
    case distBeta: BetaPDF(x, p(0), p(1), dst); return;
    case distCauchy: CauchyPDF(x, p(0), p(1), dst); return;
    case distGamma: GammaPDF(x, p(0), p(1), dst); return;
    case distWeibull: WeibullPDF(x, p(0), p(1), dst); return;
    case distF: FPDF(x, std::nearbyint(p(0)), std::nearbyint(p(1)), dst); return;
    case distStudent: StudentPDF(x, std::nearbyint(p(0)), dst); return;
    case distTriangular: TriangularPDF(x, p(0), p(1), p(2), dst); return;
    default: dst.Size(x.Length(), x); dst.SetVal(NaN); return;
  }
}

// -sum ln f(x): the densities are left in the work vector, their logarithms replacing them.
// Weibull adds 2^-52 to each density so that a point far in the tail costs a large but finite
// amount instead of +Inf.
double NegLogLike(TDistribution kind, const TVec& Pars, const TObjConsts& ObjConsts,
                  const char* name) {
  const TLikeData d = Unpack(ObjConsts, name);
  Density(kind, Pars, d.x, d.w);
  if (kind == distWeibull) Add(d.w, 2.220446049250313e-16);
  Ln(d.w);
  return -Sum(d.w);
}

// a := z(1 - Alpha/2) Wald interval of an estimate with standard error se.
TTwoElmReal Wald(double estimate, double se, double Alpha) {
  return {NormalCDFInv(0.5 * Alpha, estimate, se), NormalCDFInv(1.0 - 0.5 * Alpha, estimate, se)};
}

// The fits keep one work vector for the whole optimisation, handed to the objective.
TObjConsts Objects(const TVec& X, TVec& W) {
  return TObjConsts{const_cast<TVec*>(&X), &W};  // the objectives only read the sample
}

// Nelder-Mead on `like`, unbounded or inside [lower, upper]; returns the stop reason.
TOptStopReason Minimise(const TRealFunction& like, const TVec& X, std::span<double> pars,
                        std::span<const double> lower,
                        std::span<const double> upper, int MaxIter, double Tolerance) {
  auto W = CreateIt<TVec>();
  const TObjConsts objects = Objects(X, *W);
  double fmin = NaN;
  TOptStopReason reason = osrNone;
  if (lower.empty()) {
    Simplex(like, pars, nullptr, objects, fmin, reason, X.FloatPrecision(), MaxIter, Tolerance);
  } else {
    Simplex(like, pars, lower, upper, nullptr, objects, fmin, reason, X.FloatPrecision(),
            MaxIter, Tolerance);
  }
  return reason;
}

// The same for an objective named by its function: the overloaded likelihoods resolve to their
// three-argument form here.
using TLikeFn = double (*)(const TVec&, const TVec*, const TObjConsts&);
TOptStopReason Minimise(TLikeFn like, const TVec& X, std::span<double> pars,
                        std::span<const double> lower, std::span<const double> upper,
                        int MaxIter, double Tolerance) {
  return Minimise(TRealFunction(like), X, pars, lower, upper, MaxIter, Tolerance);
}

// Standard errors at the fitted (A, B) through the standard-error form of a likelihood, and the
// two Wald intervals.
void WaldIntervals(double (*like)(const TVec&, const TVec*, const TObjConsts&, TTwoElmReal&),
                   const TVec& X, double A, double B, TTwoElmReal& AConfInt,
                   TTwoElmReal& BConfInt, double Alpha) {
  auto [pars, W] = CreateIt<TVec, TVec>();
  pars->Size(2, X);
  pars->SetValue(0, A);
  pars->SetValue(1, B);
  TTwoElmReal se{NaN, NaN};
  like(*pars, nullptr, Objects(X, *W), se);
  AConfInt = Wald(A, se[0], Alpha);
  BConfInt = Wald(B, se[1], Alpha);
}

// Whole-number estimate of a degree of freedom; non-finite or out-of-range values give 0.
int RoundEven(double x) {
  const double r = std::nearbyint(x);
  if (!(std::fabs(r) <= static_cast<double>(std::numeric_limits<int>::max()))) return 0;
  return static_cast<int>(r);
}

// The negative log-likelihood, with the standard errors of the parameters at Pars in StdErr.
double LikeWithStdErr(TDistribution kind, const TVec& Pars, const TVec* Consts,
                      const TObjConsts& ObjConsts, TTwoElmReal& StdErr, const char* fn) {
  const double f = NegLogLike(kind, Pars, ObjConsts, fn);
  LikeStdErr(Pars, Consts, ObjConsts, kind, StdErr);
  return f;
}

}  // namespace

// ---- Objectives ---------------------------------------------------------------------------------

double BetaLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distBeta, Pars, ObjConsts, "BetaLike");
}
double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                TTwoElmReal& StdErr) {
  return LikeWithStdErr(distBeta, Pars, Consts, ObjConsts, StdErr, "BetaLike");
}
double CauchyLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distCauchy, Pars, ObjConsts, "CauchyLike");
}
double CauchyLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                  TTwoElmReal& StdErr) {
  return LikeWithStdErr(distCauchy, Pars, Consts, ObjConsts, StdErr, "CauchyLike");
}
double GammaLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distGamma, Pars, ObjConsts, "GammaLike");
}
double GammaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                 TTwoElmReal& StdErr) {
  return LikeWithStdErr(distGamma, Pars, Consts, ObjConsts, StdErr, "GammaLike");
}
double WeibullLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distWeibull, Pars, ObjConsts, "WeibullLike");
}
double WeibullLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                   TTwoElmReal& StdErr) {
  return LikeWithStdErr(distWeibull, Pars, Consts, ObjConsts, StdErr, "WeibullLike");
}
double FLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distF, Pars, ObjConsts, "FLike");
}
double StudentLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distStudent, Pars, ObjConsts, "StudentLike");
}
double TriangularLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distTriangular, Pars, ObjConsts, "TriangularLike");
}

// Row i of the score matrix is the forward difference (ln f(x; theta) - ln f(x; theta + h e_i))/h
// of -ln f, with an absolute step h = sqrt(eps): the scores of all N observations. The
// outer-product covariance (J^T J)^-1 is formed as R^-1 R^-T from the thin QR factor of J (N x p),
// which keeps the digits that forming J^T J would square away.
void LikeStdErr(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts, TDistribution Kind,
                TTwoElmReal& StdErr) {
  StdErr = {NaN, NaN};
  const TLikeData d = Unpack(ObjConsts, "LikeStdErr");
  const int p = Pars.Length();
  const int N = d.x.Length();
  if (p < 2 || N < p) return;  // fewer observations than parameters: no covariance
  auto [theta, f0, f1, J, Q, R] = CreateIt<TVec, TVec, TVec, TMtx, TMtx, TMtx>();
  Copy(*theta, Pars);
  const double h = PrecisionSqrtEPS(Pars);
  Density(Kind, *theta, d.x, *f0);
  Ln(*f0);
  J->Size(N, p);
  for (int i = 0; i < p; ++i) {
    const double v = theta->Value(i);
    theta->SetValue(i, v + h);
    Density(Kind, *theta, d.x, *f1);
    theta->SetValue(i, v);
    Ln(*f1);
    for (int k = 0; k < N; ++k) (*J)(k, i) = (f0->Value(k) - f1->Value(k)) / h;
  }
  LQR(*J, *Q, *R);
  // C = R^-1 (upper triangular, by back substitution: a zero pivot gives Inf or NaN, no raise);
  // V = C C^T, of which only the first two diagonal elements are wanted.
  auto C = CreateIt<TMtx>();
  C->Size(p, p);
  for (int col = 0; col < p; ++col) {
    for (int row = p - 1; row >= 0; --row) {
      double s = (row == col) ? 1.0 : 0.0;
      for (int k = row + 1; k < p; ++k) s -= (*R)(row, k) * (*C)(k, col);
      (*C)(row, col) = s / (*R)(row, row);
    }
  }
  for (int i = 0; i < 2; ++i) {
    double v = 0.0;
    for (int k = 0; k < p; ++k) v += (*C)(i, k) * (*C)(i, k);
    StdErr[static_cast<std::size_t>(i)] = std::sqrt(v);
  }
}

// ---- Fits ---------------------------------------------------------------------------------------

// Start from the geometric means of x and 1 - x (the moment-like start of the beta law's
// sufficient statistics).
void BetaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("BetaFit: X.Complex=True");
  const double n = X.Length();
  auto W = CreateIt<TVec>();
  Copy(*W, X);
  Normalize(*W, 1.0, -1.0);
  Power(*W, 1.0 / n);
  const double G2 = Product(*W);
  Copy(*W, X);
  Power(*W, 1.0 / n);
  const double G1 = Product(*W);
  const double d = 1.0 - G1 - G2;
  std::array<double, 2> pars{0.5 * (1.0 - G2) / d, 0.5 * (1.0 - G1) / d};
  Minimise(BetaLike, X, pars, {}, {}, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
}

void BetaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
             int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("BetaFit: X.Complex = True");
  BetaFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(BetaLike, X, A, B, AConfInt, BConfInt, Alpha);
}

namespace {

// True when every element of a double-precision X is finite and positive: the gamma
// log-likelihood then depends on the sample only through n, sum ln x and sum x.
bool PositiveDoubleSample(const TVec& X, double& sumLn, double& sum) {
  if (!X.IsDouble()) return false;
  const double* x = X.Data<double>();
  const int n = X.Length();
  // sum ln x = ln prod x: four running products (independent, so they pipeline), each brought
  // back into [0.5, 1) by frexp when it leaves [2^-400, 2^400], with the binary exponents
  // counted apart; a factor outside [2^-500, 2^500] is split the same way first, so no product
  // can overflow or underflow. One multiplication per value instead of a logarithm; the
  // product's relative error of about n eps is an absolute error of n eps in the sum, as
  // summing n logarithms has.
  double m[4] = {1.0, 1.0, 1.0, 1.0};
  long long e = 0;
  double s = 0.0;
  auto split = [&e](double& v) {
    int k = 0;
    v = std::frexp(v, &k);
    e += k;
  };
  auto factor = [&split](double v) {
    if (!(v < 0x1p500 && v > 0x1p-500)) split(v);
    return v;
  };
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    for (int j = 0; j < 4; ++j) {
      const double v = x[i + j];
      if (!(v > 0.0 && v < Inf)) return false;  // a NaN fails v > 0
      m[j] *= factor(v);
      s += v;
      if (!(m[j] < 0x1p400 && m[j] > 0x1p-400)) split(m[j]);
    }
  }
  for (; i < n; ++i) {
    const double v = x[i];
    if (!(v > 0.0 && v < Inf)) return false;
    m[0] *= factor(v);
    s += v;
    if (!(m[0] < 0x1p400 && m[0] > 0x1p-400)) split(m[0]);
  }
  for (double& mj : m) split(mj);
  sumLn = std::log(m[0] * m[1] * m[2] * m[3]) + static_cast<double>(e) * LN2;
  sum = s;
  return true;
}

}  // namespace

// Start from the moments (shape mean^2/var, scale var/mean). On a positive double sample the
// objective is GammaLike written through the sufficient statistics,
//   -l(a, b) = n ln Gamma(a) + n a ln b - (a - 1) sum ln x + sum x / b,
// which equals -sum ln GammaPDF(x; a, b) to rounding at the cost of one ln Gamma per
// evaluation instead of n densities; otherwise (zeros, negative or non-finite values, single
// precision) GammaLike itself is minimised.
void GammaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("GammaFit: X.Complex=True");
  const double mean = Mean(X);
  const double sd = StdDev(X, mean);
  const double scale = sd * sd / mean;
  std::array<double, 2> pars{mean / scale, scale};
  double sumLn = 0.0, sum = 0.0;
  if (PositiveDoubleSample(X, sumLn, sum)) {
    const double n = X.Length();
    const TRealFunction like = [n, sumLn, sum](const TVec& p, const TVec*, const TObjConsts&) {
      const double a = p.Value(0), b = p.Value(1);
      if (!(a > 0.0 && b > 0.0 && a < Inf && b < Inf)) return NaN;
      return n * LnGamma(a) + n * a * std::log(b) - (a - 1.0) * sumLn + sum / b;
    };
    Minimise(like, X, pars, {}, {}, MaxIter, Tolerance);
  } else {
    Minimise(GammaLike, X, pars, {}, {}, MaxIter, Tolerance);
  }
  A = pars[0];
  B = pars[1];
}

void GammaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
              int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("GammaFit : X.Complex = True");
  GammaFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(GammaLike, X, A, B, AConfInt, BConfInt, Alpha);
}

// Start from the Weibull plot: with plotting positions p_i = (i + 0.5)/n, the points
// (ln x(i), ln(-ln(1 - p_i))) lie near the line y = b (u - ln a). Its least-squares slope is the
// shape and exp(-intercept/slope) the scale. The line is fitted in closed form, so a constant
// sample gives a NaN start (and NaN estimates) instead of a rank-deficiency error.
void WeibullFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("WeibullFit: X.Complex=True");
  const int n = X.Length();
  auto u = CreateIt<TVec>();
  Ln(*u, X);
  SortAscend(*u);
  double su = 0.0, sy = 0.0;
  for (int i = 0; i < n; ++i) {
    su += u->Value(i);
    sy += std::log(-std::log1p(-(i + 0.5) / n));
  }
  const double ubar = su / n, ybar = sy / n;
  double suu = 0.0, suy = 0.0;
  for (int i = 0; i < n; ++i) {
    const double du = u->Value(i) - ubar;
    suu += du * du;
    suy += du * (std::log(-std::log1p(-(i + 0.5) / n)) - ybar);
  }
  const double c0 = suy / suu;
  const double c1 = ybar - c0 * ubar;
  std::array<double, 2> pars{std::exp(-c1 / c0), c0};
  double sumLn = 0.0, sum = 0.0;
  if (PositiveDoubleSample(X, sumLn, sum)) {
    // WeibullLike on a positive double sample, written through u = ln x. With d = u - ln A:
    // z = (x/A)^B = exp(B d) and ln f = ln B - ln A + (B - 1) d - z, one exponential per
    // value. The 2^-52 that WeibullLike adds changes ln f by log1p(2^-52 / f) < 2e-12 where
    // f > e^-9, below the rounding of the sum; below that the density is formed and the 2^-52
    // added exactly.
    const double* lnx = u->Data<double>();
    const TRealFunction like = [n, lnx](const TVec& p, const TVec*, const TObjConsts&) {
      const double scale = p.Value(0), shape = p.Value(1);
      if (!(scale > 0.0 && shape > 0.0 && scale < Inf && shape < Inf)) return NaN;
      const double lnA = std::log(scale);
      const double c = std::log(shape) - lnA;
      double total = 0.0;
      for (int i = 0; i < n; ++i) {
        const double d = lnx[i] - lnA;
        const double lnf = c + (shape - 1.0) * d - std::exp(shape * d);
        total += lnf > -9.0 ? lnf : std::log(std::exp(lnf) + 2.220446049250313e-16);
      }
      return -total;
    };
    Minimise(like, X, pars, {}, {}, MaxIter, Tolerance);
  } else {
    Minimise(WeibullLike, X, pars, {}, {}, MaxIter, Tolerance);
  }
  A = pars[0];
  B = pars[1];
}

void WeibullFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("WeibullFit: X.Complex=True");
  WeibullFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(WeibullLike, X, A, B, AConfInt, BConfInt, Alpha);
}

void CauchyFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("CauchyFit: X.Complex=True");
  const double sd = StdDev(X);
  std::array<double, 2> pars{Median(X), 0.1 * sd > 0.2 ? 0.1 * sd : 0.2};
  const std::array<double, 2> lower{-Inf, PrecisionEPS(X)};
  const std::array<double, 2> upper{Inf, Inf};
  Minimise(CauchyLike, X, pars, lower, upper, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
}

void CauchyFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
               int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("CauchyFit: X.Complex = True");
  CauchyFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(CauchyLike, X, A, B, AConfInt, BConfInt, Alpha);
}

// Moment start: the F mean nu2/(nu2 - 2) gives nu2, then the variance
// 2 nu2^2 (nu1 + nu2 - 2) / (nu1 (nu2 - 2)^2 (nu2 - 4)) gives nu1. The optimised degrees of
// freedom replace the start only when Simplex converged.
void FFit(const TVec& X, int& Nu1, int& Nu2, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("FFit: X.Complex = True");
  const double m = Mean(X);
  const double r2 = 2.0 * m / (m - 1.0);
  const double d2 = r2 > 2.0 ? r2 : 2.0;
  Nu2 = RoundEven(d2);
  const double sd = StdDev(X, m);
  const double nu2 = Nu2;
  const double t = sd * sd * (nu2 - 4.0) * (nu2 - 2.0) * (nu2 - 2.0) * 0.5 / (nu2 * nu2);
  const double r1 = (nu2 - 2.0) / (t - 1.0);
  const double d1 = r1 > 4.0 ? r1 : 4.0;
  Nu1 = RoundEven(d1);
  std::array<double, 2> pars{d1, d2};
  const std::array<double, 2> lower{1.0, 1.0};
  const std::array<double, 2> upper{Nu1 + 2.0, Nu2 + 2.0};
  if (Minimise(FLike, X, pars, lower, upper, MaxIter, Tolerance) == osrConverged) {
    Nu1 = RoundEven(pars[0]);
    Nu2 = RoundEven(pars[1]);
  }
}

// Start from the variance nu/(nu - 2) of the t law, at least 2; the truncation is made in double
// and capped, so a variance just above 1 cannot overflow the integer.
void StudentFit(const TVec& X, int& Nu, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("StudentFit: X.Complex=True");
  const double sd = StdDev(X);
  const double v = sd * sd;
  double start = std::trunc(2.0 * v / (v - 1.0));
  if (!(start > 2.0)) start = 2.0;
  if (start > 1e8) start = 1e8;
  Nu = static_cast<int>(start);
  std::array<double, 1> pars{start};
  const std::array<double, 1> lower{1.0};
  const std::array<double, 1> upper{2.0 * start};
  if (Minimise(StudentLike, X, pars, lower, upper, MaxIter, Tolerance) == osrConverged) {
    Nu = RoundEven(pars[0]);
  }
}

// Every parameter is held between the sample's extremes. The maximum-likelihood limits of the
// triangular law lie outside the sample range, and a limit on a sample extreme makes the
// density there 0: the objective is then +Inf at most trial points and Simplex keeps the start.
void TriangularFit(const TVec& X, double& A, double& B, double& C, int MaxIter,
                   double Tolerance) {
  if (X.Complex()) ERaise("TriangularFit: X.Complex=True");
  const double lo = Min(X);
  const double hi = Max(X);
  std::array<double, 3> pars{lo, hi, 3.0 * Mean(X) - lo - hi};
  const std::array<double, 3> lower{lo, lo, lo};
  const std::array<double, 3> upper{hi, hi, hi};
  // An empty or NaN box cannot be searched: the start is the answer.
  if (lo <= hi) Minimise(TriangularLike, X, pars, lower, upper, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
  C = pars[2];
}

}  // namespace lumex
