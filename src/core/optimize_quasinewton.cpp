// Gradient methods: quasi-Newton (BFGS and DFP updates of an inverse-Hessian approximation) and
// nonlinear conjugate gradients (Fletcher-Reeves, Polak-Ribiere), with the line searches they
// share.
//
// The line search only ever asks for a gradient at a point it has just evaluated, and never
// returns a point without its value and gradient, so the outer loops need no extra calls.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/optimize_internal.h"
#include "lumex/core/types.h"

namespace lumex {

namespace {

using detail::Norm2;
using detail::NormInf;
using detail::Progress;
using detail::TEvaluator;

constexpr double kSufficientDecrease = 1e-4;  // Armijo constant c1
// Curvature constants c2 of the strong Wolfe conditions. The accurate search comes close to the
// minimum along the line. Of the economical ones, 0.9 lets BFGS take its unit step at once; DFP
// corrects a poor approximation only slowly and, on the 10-dimensional chained Rosenbrock
// function, needs 0.5 or less to converge at all; conjugate gradients need c2 < 1/2 for
// Fletcher-Reeves directions to stay descent directions.
constexpr double kAccurateCurvature = 0.1;
constexpr double kEconomicalCurvatureQN = 0.9;
constexpr double kEconomicalCurvatureDFP = 0.5;
constexpr double kEconomicalCurvatureCG = 0.4;
constexpr int kMaxLineEvals = 40;

double Dot(std::span<const double> a, std::span<const double> b) {
  double s = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
  return s;
}

enum class TSearch { ok, noDecrease, precision, unbounded, derivNotFinite };

TOptStopReason ReasonOf(TSearch s) {
  switch (s) {
    case TSearch::noDecrease: return osrNoDecrease;
    case TSearch::precision: return osrPrecisionLimit;
    case TSearch::unbounded: return osrUnbounded;
    case TSearch::derivNotFinite: return osrDerivNotFinite;
    case TSearch::ok: break;
  }
  return osrConverged;  // not reached: ok is never turned into a stop reason
}

// The line search from x along p. On return other than noDecrease and precision, (xNew, fNew)
// is the point reached, and gNew its gradient unless the status is unbounded.
class TLineSearch {
public:
  TLineSearch(TEvaluator& eval, const TGradientFunction& grad, int n)
      : fEval(eval), fGrad(grad) {
    fLoX->Size(n);
    fLoG->Size(n);
  }

  // Strong Wolfe conditions f(a) <= f0 + c1 a d0 and |f'(a)| <= c2 |d0| by bracketing and
  // safeguarded interpolation (Nocedal and Wright, algorithms 3.5 and 3.6). Ends early with the
  // best point of sufficient decrease when the evaluations run out or the bracket falls below
  // the precision.
  TSearch Wolfe(std::span<const double> x, double f0, std::span<const double> g,
                std::span<const double> p, double d0, double alpha0, double c2,
                std::span<double> xNew, double& fNew, std::span<double> gNew);

private:
  // xt := x + a p rounded; false when it equals `same` (the step is below the precision).
  bool Point(std::span<const double> x, std::span<const double> p, double a, std::span<double> xt,
             std::span<const double> same) {
    for (std::size_t j = 0; j < x.size(); ++j) xt[j] = x[j] + a * p[j];
    fEval.Round(xt);
    return !std::equal(xt.begin(), xt.end(), same.begin());
  }

  TEvaluator& fEval;
  const TGradientFunction& fGrad;
  TLease<TVec> fLoX;  // best point of sufficient decrease so far
  TLease<TVec> fLoG;
};

// The minimiser of the cubic through (a, fa, da) and (b, fb, db), or NaN when it has none.
double CubicMin(double a, double fa, double da, double b, double fb, double db) {
  const double d1 = da + db - 3.0 * (fa - fb) / (a - b);
  const double disc = d1 * d1 - da * db;
  if (!(disc >= 0.0)) return NaN;
  const double d2 = std::copysign(std::sqrt(disc), b - a);
  const double denom = db - da + 2.0 * d2;
  if (denom == 0.0) return NaN;
  return b - (b - a) * (db + d2 - d1) / denom;
}

// The minimiser of the quadratic through (a, fa) with slope da and (b, fb), or NaN.
double QuadMin(double a, double fa, double da, double b, double fb) {
  const double h = b - a;
  const double curv = fb - fa - da * h;
  if (!(curv > 0.0)) return NaN;
  return a - da * h * h / (2.0 * curv);
}

TSearch TLineSearch::Wolfe(std::span<const double> x, double f0, std::span<const double> g,
                           std::span<const double> p, double d0, double alpha0, double c2,
                           std::span<double> xNew, double& fNew, std::span<double> gNew) {
  const std::span<double> loX = fLoX->Span<double>(), loG = fLoG->Span<double>();
  std::copy(x.begin(), x.end(), loX.begin());
  std::copy(g.begin(), g.end(), loG.begin());
  double aLo = 0.0, fLo = f0, dLo = d0;
  double aHi = NaN, fHi = NaN, dHi = NaN;
  int evals = 0;
  auto acceptLo = [&]() {
    std::copy(loX.begin(), loX.end(), xNew.begin());
    std::copy(loG.begin(), loG.end(), gNew.begin());
    fNew = fLo;
    return TSearch::ok;
  };
  // The gradient at xNew and the slope d along p there; false (status set) when not finite.
  TSearch status = TSearch::ok;
  auto gradientAt = [&](double& d) {
    if (!fEval.Gradient(fGrad, gNew)) {
      status = TSearch::derivNotFinite;
      return false;
    }
    d = Dot(gNew, p);
    return true;
  };

  // Bracketing: grow the step until it overshoots the minimum along p.
  double a = alpha0;
  bool bracketed = false;
  while (!bracketed) {
    if (evals == kMaxLineEvals) return aLo > 0.0 ? acceptLo() : TSearch::noDecrease;
    if (!Point(x, p, a, xNew, x)) return aLo > 0.0 ? acceptLo() : TSearch::precision;
    fNew = fEval.Eval(xNew);
    ++evals;
    if (fNew == -Inf) return TSearch::unbounded;
    if (!(fNew <= f0 + kSufficientDecrease * a * d0) || fNew >= fLo) {
      aHi = a;
      fHi = fNew;
      bracketed = true;
      break;
    }
    double d = 0.0;
    if (!gradientAt(d)) return status;
    if (std::fabs(d) <= -c2 * d0) return TSearch::ok;
    if (d >= 0.0) {
      // Past the minimum with a lower value: the new point becomes the low end.
      aHi = aLo;
      fHi = fLo;
      dHi = dLo;
      aLo = a;
      fLo = fNew;
      dLo = d;
      std::copy(xNew.begin(), xNew.end(), loX.begin());
      std::copy(gNew.begin(), gNew.end(), loG.begin());
      bracketed = true;
      break;
    }
    aLo = a;
    fLo = fNew;
    dLo = d;
    std::copy(xNew.begin(), xNew.end(), loX.begin());
    std::copy(gNew.begin(), gNew.end(), loG.begin());
    a *= 4.0;
  }

  // Zoom: shrink [aLo, aHi] (in either order) around a point of the strong Wolfe conditions;
  // aLo always has sufficient decrease and the lowest value so far.
  for (;;) {
    if (evals == kMaxLineEvals) return aLo > 0.0 ? acceptLo() : TSearch::noDecrease;
    const double lo = std::min(aLo, aHi), hi = std::max(aLo, aHi), width = hi - lo;
    double t = std::isfinite(fHi) && std::isfinite(dHi) ? CubicMin(aLo, fLo, dLo, aHi, fHi, dHi)
                                                        : NaN;
    if (std::isnan(t) && std::isfinite(fHi)) t = QuadMin(aLo, fLo, dLo, aHi, fHi);
    // Safeguard: stay clear of the ends, or the bracket may shrink by almost nothing.
    if (!(t >= lo + 0.1 * width && t <= hi - 0.1 * width)) t = 0.5 * (aLo + aHi);
    if (!Point(x, p, t, xNew, loX)) return aLo > 0.0 ? acceptLo() : TSearch::precision;
    fNew = fEval.Eval(xNew);
    ++evals;
    if (fNew == -Inf) return TSearch::unbounded;
    if (!(fNew <= f0 + kSufficientDecrease * t * d0) || fNew >= fLo) {
      aHi = t;
      fHi = fNew;
      dHi = NaN;
      continue;
    }
    double d = 0.0;
    if (!gradientAt(d)) return status;
    if (std::fabs(d) <= -c2 * d0) return TSearch::ok;
    if (d * (aHi - aLo) >= 0.0) {
      aHi = aLo;
      fHi = fLo;
      dHi = dLo;
    }
    aLo = t;
    fLo = fNew;
    dLo = d;
    std::copy(xNew.begin(), xNew.end(), loX.begin());
    std::copy(gNew.begin(), gNew.end(), loG.begin());
  }
}

// Euclidean distance of two points, scaled against overflow as Norm2 is.
double Distance(std::span<const double> a, std::span<const double> b) {
  double m = 0.0;
  for (std::size_t j = 0; j < a.size(); ++j) m = std::max(m, std::fabs(a[j] - b[j]));
  if (m == 0.0 || !std::isfinite(m)) return m;
  double s = 0.0;
  for (std::size_t j = 0; j < a.size(); ++j) s += ((a[j] - b[j]) / m) * ((a[j] - b[j]) / m);
  return m * std::sqrt(s);
}

// A first trial step that moves no parameter by more than 1: the scale of the problem is not
// known before the first step.
double FirstStep(std::span<const double> p) {
  const double m = NormInf(p);
  return m > 1.0 ? 1.0 / m : 1.0;
}

// The state both gradient methods carry from one iteration to the next.
struct TGradientRun {
  TGradientRun(TEvaluator& eval, const TGradientFunction& grad, int n) : search(eval, grad, n) {
    for (TVec* v : {x.get(), g.get(), p.get(), xNew.get(), gNew.get()}) v->Size(n);
  }
  std::span<double> X() { return x->Span<double>(); }
  std::span<double> G() { return g->Span<double>(); }
  std::span<double> P() { return p->Span<double>(); }
  std::span<double> XNew() { return xNew->Span<double>(); }
  std::span<double> GNew() { return gNew->Span<double>(); }

  // One line search along p for the strong Wolfe conditions with curvature constant c2.
  TSearch Search(double c2, double d0, double alpha0) {
    return search.Wolfe(X(), f, G(), P(), d0, alpha0, c2, XNew(), fNew, GNew());
  }
  // Evaluates the start; false (with `reason`) when the run cannot begin.
  bool Start(TEvaluator& eval, const TGradientFunction& grad, std::span<const double> pars) {
    std::copy(pars.begin(), pars.end(), X().begin());
    f = eval.Eval(X());
    if (f == -Inf) {
      reason = osrUnbounded;
      return false;
    }
    if (!std::isfinite(f)) {
      reason = osrNotFinite;
      return false;
    }
    if (!eval.Gradient(grad, G())) {
      reason = osrDerivNotFinite;
      return false;
    }
    return true;
  }
  // Moves to the point the search returned; true when a criterion ends the run there.
  bool Arrive(double gradTol, double tol) {
    const double step = Distance(X(), XNew());
    const double decrease = f - fNew;
    std::swap(x, xNew);
    std::swap(g, gNew);
    f = fNew;
    if (NormInf(G()) <= gradTol) {
      reason = osrGradTol;
      return true;
    }
    if (step <= tol * (Norm2(X()) + tol) && decrease <= tol * (std::fabs(f) + tol)) {
      reason = osrConverged;
      return true;
    }
    return false;
  }

  TLineSearch search;
  TLease<TVec> x, g, p, xNew, gNew;
  double f = NaN, fNew = NaN;
  TOptStopReason reason = osrMaxIter;
};

// Ends a run of a gradient method after a failed search: the search's point where it has one.
void TakeSearchEnd(TGradientRun& run, TSearch s) {
  run.reason = ReasonOf(s);
  if (s == TSearch::unbounded || s == TSearch::derivNotFinite) {
    std::swap(run.x, run.xNew);
    run.f = run.fNew;
  }
}

}  // namespace

int BFGS(const TRealFunction& Fun, const TGradientFunction& GradFun, std::span<double> Pars,
         const TVec* Consts, const TObjConsts& ObjConsts, double& FMin, TMtx* InvHess,
         TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision, bool DFPUpdate,
         bool SearchFlag, int MaxIter, double Tolerance, double GradTolerance,
         std::vector<std::string>* Verbose) {
  if (!Fun) ERaise("BFGS: Fun is null");
  if (!GradFun) ERaise("BFGS: GradFun is null");
  const int n = static_cast<int>(Pars.size());
  const char* name = DFPUpdate ? "DFP" : "BFGS";
  TEvaluator eval("BFGS", Fun, Consts, ObjConsts, FloatPrecision, n);
  if (n == 0) {
    if (InvHess != nullptr) InvHess->Size(0, 0, FloatPrecision);
    return detail::SolveEmpty(name, eval, Pars, FMin, StopReason, Verbose);
  }
  const double tol = detail::EffectiveTolerance(Tolerance, FloatPrecision);
  const double gradTol = GradTolerance > 0.0 ? GradTolerance : 0.0;
  const double c2 = SearchFlag ? kAccurateCurvature
                               : (DFPUpdate ? kEconomicalCurvatureDFP : kEconomicalCurvatureQN);
  TGradientRun run(eval, GradFun, n);
  auto [hm, hsaved, hy] = CreateIt<TMtx, TMtx, TVec>();
  hm->Size(n, n);
  hsaved->Size(n, n);
  hy->Size(n);
  double* h = hm->Data<double>();
  const std::span<double> hys = hy->Span<double>();
  auto reset = [&]() {
    std::fill(h, h + n * n, 0.0);
    for (int j = 0; j < n; ++j) h[j * n + j] = 1.0;
  };
  reset();
  bool fresh = true;  // h is the identity: no update since the start or the last reset

  int iterations = 0;
  if (run.Start(eval, GradFun, Pars) && !(NormInf(run.G()) <= gradTol)) {
    for (;;) {
      const std::span<double> g = run.G(), p = run.P();
      auto direction = [&]() {
        for (int i = 0; i < n; ++i) {
          double v = 0.0;
          for (int j = 0; j < n; ++j) v -= h[i * n + j] * g[j];
          p[i] = v;
        }
        return Dot(g, p);
      };
      double d0 = direction();
      if (!(d0 < 0.0) && !fresh) {
        reset();
        fresh = true;
        d0 = direction();
      }
      // The quasi-Newton step is the model's distance to the minimum: when it and the decrease
      // it promises are both negligible, x is the minimum to within the tolerance, even when a
      // last step landed on it exactly and left no short step to show it.
      if (!fresh && Norm2(p) <= tol * (Norm2(run.X()) + tol) &&
          -d0 <= tol * (std::fabs(run.f) + tol)) {
        run.reason = osrConverged;
        break;
      }
      if (iterations >= MaxIter) {
        run.reason = osrMaxIter;
        break;
      }
      ++iterations;
      TSearch s = run.Search(c2, d0, fresh ? FirstStep(p) : 1.0);
      if (s != TSearch::ok && !fresh) {
        // A failed search along a quasi-Newton direction: the approximation may have gone bad,
        // so try once more along the steepest descent. Should that fail too, the approximation
        // built so far is still the best account of the curvature at x.
        std::copy(h, h + n * n, hsaved->Data<double>());
        reset();
        fresh = true;
        d0 = direction();
        s = run.Search(c2, d0, FirstStep(p));
        if (s == TSearch::noDecrease || s == TSearch::precision) {
          std::copy(hsaved->Data<double>(), hsaved->Data<double>() + n * n, h);
          fresh = false;
        }
      }
      if (s != TSearch::ok) {
        Progress(Verbose, "%s iteration %d: line search ended: %s", name, iterations,
                 OptStopReasonText(ReasonOf(s)).c_str());
        TakeSearchEnd(run, s);
        break;
      }
      // s and y of the step into hys and p (p is free now), then the update.
      const std::span<double> xs = run.X(), xn = run.XNew(), gn = run.GNew();
      double sy = 0.0, ss = 0.0, yy = 0.0;
      for (int j = 0; j < n; ++j) {
        p[j] = xn[j] - xs[j];
        hys[j] = gn[j] - g[j];
        sy += p[j] * hys[j];
        ss += p[j] * p[j];
        yy += hys[j] * hys[j];
      }
      // The update keeps h positive definite only when the curvature along the step is
      // positive; a step that shows none carries no usable information.
      if (sy > EPS_DOUBLE * std::sqrt(ss * yy)) {
        if (fresh) {
          // Scale the identity to the curvature just seen, so the first quasi-Newton step has
          // the right length (Nocedal and Wright, eq. 6.20).
          const double gamma = sy / yy;
          for (int j = 0; j < n; ++j) h[j * n + j] = gamma;
          fresh = false;
        }
        // v = h y goes into g's storage: the old gradient is not needed any more.
        double yhy = 0.0;
        for (int i = 0; i < n; ++i) {
          double v = 0.0;
          for (int j = 0; j < n; ++j) v += h[i * n + j] * hys[j];
          g[i] = v;
          yhy += hys[i] * v;
        }
        // Computed on one triangle and mirrored, so that H stays exactly symmetric.
        const double rho = 1.0 / sy;
        for (int i = 0; i < n; ++i) {
          for (int j = i; j < n; ++j) {
            const double change =
                DFPUpdate ? rho * p[i] * p[j] - g[i] * g[j] / yhy
                          : (rho * rho * yhy + rho) * p[i] * p[j] - rho * (p[i] * g[j] + g[i] * p[j]);
            h[i * n + j] += change;
            h[j * n + i] = h[i * n + j];
          }
        }
      }
      const bool end = run.Arrive(gradTol, tol);
      Progress(Verbose, "%s iteration %d: f = %.17g, |g| = %.3g", name, iterations, run.f,
               NormInf(run.G()));
      if (end) break;
    }
  } else if (run.reason == osrMaxIter) {
    run.reason = osrGradTol;  // the start itself meets the gradient tolerance
  }

  if (InvHess != nullptr) {
    InvHess->Size(n, n, FloatPrecision);
    for (int k = 0; k < n * n; ++k) InvHess->SetValue(k, fresh ? NaN : h[k]);
  }
  eval.EnsureLastAt(run.X());
  detail::Finish(name, Pars, run.X(), run.f, FMin, run.reason, StopReason, iterations, Verbose);
  return iterations;
}

int ConjGrad(const TRealFunction& Fun, const TGradientFunction& GradFun, std::span<double> Pars,
             const TVec* Consts, const TObjConsts& ObjConsts, double& FMin,
             TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision, bool FletcherReeves,
             bool SearchFlag, int MaxIter, double Tolerance, double GradTolerance,
             std::vector<std::string>* Verbose) {
  if (!Fun) ERaise("ConjGrad: Fun is null");
  if (!GradFun) ERaise("ConjGrad: GradFun is null");
  const int n = static_cast<int>(Pars.size());
  const char* name = FletcherReeves ? "ConjGrad (Fletcher-Reeves)" : "ConjGrad (Polak-Ribiere)";
  TEvaluator eval("ConjGrad", Fun, Consts, ObjConsts, FloatPrecision, n);
  if (n == 0) return detail::SolveEmpty(name, eval, Pars, FMin, StopReason, Verbose);
  const double tol = detail::EffectiveTolerance(Tolerance, FloatPrecision);
  const double gradTol = GradTolerance > 0.0 ? GradTolerance : 0.0;
  const double c2 = SearchFlag ? kAccurateCurvature : kEconomicalCurvatureCG;
  TGradientRun run(eval, GradFun, n);

  int iterations = 0;
  if (run.Start(eval, GradFun, Pars) && !(NormInf(run.G()) <= gradTol)) {
    const std::span<double> p0 = run.P(), g0 = run.G();
    for (int j = 0; j < n; ++j) p0[j] = -g0[j];
    int sinceRestart = 0;
    double fPrev = NaN;  // the value before the last step, for the first trial step
    for (;;) {
      if (iterations >= MaxIter) {
        run.reason = osrMaxIter;
        break;
      }
      ++iterations;
      const std::span<double> g = run.G(), p = run.P();
      double d0 = Dot(g, p);
      bool steepest = sinceRestart == 0;
      if (!(d0 < 0.0)) {
        for (int j = 0; j < n; ++j) p[j] = -g[j];
        d0 = Dot(g, p);
        steepest = true;
        sinceRestart = 0;
      }
      TSearch s = TSearch::noDecrease;
      for (;;) {
        // The step that would repeat the last decrease if f were quadratic along p (Nocedal and
        // Wright, eq. 3.61); the bounded first step when there is no last decrease.
        const double repeat = std::isfinite(fPrev) ? 2.0 * (run.f - fPrev) / d0 : NaN;
        const double alpha0 = repeat > 0.0 && std::isfinite(repeat) ? repeat : FirstStep(p);
        s = run.Search(c2, d0, alpha0);
        if (s == TSearch::ok || steepest) break;
        for (int j = 0; j < n; ++j) p[j] = -g[j];
        d0 = Dot(g, p);
        steepest = true;
        sinceRestart = 0;
      }
      if (s != TSearch::ok) {
        Progress(Verbose, "%s iteration %d: line search ended: %s", name, iterations,
                 OptStopReasonText(ReasonOf(s)).c_str());
        TakeSearchEnd(run, s);
        break;
      }
      const std::span<double> gn = run.GNew();
      double beta = 0.0;
      const double gg = Dot(g, g);
      ++sinceRestart;
      if (sinceRestart < n) {
        if (FletcherReeves) {
          beta = Dot(gn, gn) / gg;
        } else {
          double num = 0.0;
          for (int j = 0; j < n; ++j) num += gn[j] * (gn[j] - g[j]);
          beta = std::max(0.0, num / gg);
        }
      } else {
        sinceRestart = 0;  // every n steps: forget the accumulated conjugacy
      }
      for (int j = 0; j < n; ++j) p[j] = -gn[j] + beta * p[j];
      fPrev = run.f;
      const bool end = run.Arrive(gradTol, tol);
      Progress(Verbose, "%s iteration %d: f = %.17g, |g| = %.3g", name, iterations, run.f,
               NormInf(run.G()));
      if (end) break;
    }
  } else if (run.reason == osrMaxIter) {
    run.reason = osrGradTol;
  }

  eval.EnsureLastAt(run.X());
  detail::Finish(name, Pars, run.X(), run.f, FMin, run.reason, StopReason, iterations, Verbose);
  return iterations;
}

}  // namespace lumex
