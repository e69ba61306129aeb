// Internal: the Levenberg-Marquardt iteration, shared by the general optimiser, which reaches
// the objective only through its gradient and curvature callback, and by least-squares fits,
// which can also supply the second directional derivative of their model values and so let
// each step follow the curvature of the model (geodesic acceleration).
//
// The host supplies the evaluations:
//   TMtxFloatPrecision Precision() const;
//   double Eval(std::span<double> x);           rounds x to the precision, evaluates there
//   void Round(std::span<double> x) const;
//   bool Curvature(std::span<double> g, TMtx& c);   at the latest evaluation; false if not finite
//   void EnsureLastAt(std::span<double> x);
//   void Progress(const char* format, ...);     one progress line (ignored without Verbose)
//   void Finish(pars, x, f, fmin, reason, stopReason, iterations);   writes the results
//   double Rounding() const;                    how much rounding can move the objective at
//                                               the latest evaluation
//   bool SharpenDerivatives();                  switches to accurate derivatives for the
//                                               refinement; false when they already are
//   static constexpr bool kLeastSquares;        true: the objective is a sum of squares whose
//                                               gradient is computed from the residuals, which
//                                               enables the acceleration and the refinement
//   bool Acceleration(x, v, out);               out := J'W m''(v), the Jacobian-weighted second
//                                               derivative of the model values along v at x;
//                                               false when not finite
#pragma once

#include <algorithm>
#include <cmath>
#include <span>

#include "lumex/core/cache.h"
#include "lumex/core/linalg.h"
#include "lumex/core/optimize.h"
#include "lumex/core/types.h"

namespace lumex::detail {

struct TMarquardtSettings {
  int maxIter;
  double tolerance;  // already raised to the epsilon of the precision
  double gradTolerance, lambda0;
};

namespace marquardt {

constexpr double kLambdaCeiling = 1e16;
constexpr double kLambdaAfterZero = 1e-3;  // the first damping after a failed undamped step
// The acceleration is used while it stays small against the step it corrects, measured in the
// damping metric: 2 ||a|| <= kAccelRatio ||v|| (Transtrum and Sethna, 2012). A larger correction
// means the quadratic model of the path is no longer trustworthy, and the plain step is tried.
constexpr double kAccelRatio = 0.75;

// Largest absolute element; Euclidean norm scaled by it, so that neither overflow nor underflow
// of the squares matters.
inline double NormInf(std::span<const double> x) {
  double m = 0.0;
  for (double v : x) m = std::max(m, std::fabs(v));
  return m;
}
inline double Norm2(std::span<const double> x) {
  const double m = NormInf(x);
  if (m == 0.0 || !std::isfinite(m)) return m;
  double s = 0.0;
  for (double v : x) s += (v / m) * (v / m);
  return m * std::sqrt(s);
}

// The factor by which an accepted step scales lambda: 1 - (2 rho - 1)^3, at least 1/3. A
// predicted decrease that rounding made non-positive counts as a perfect fit.
inline double AcceptedFactor(double actual, double predicted) {
  if (!(predicted > 0.0)) return 1.0 / 3.0;
  const double t = actual / predicted * 2.0 - 1.0;  // 2 rho - 1
  return std::max(1.0 / 3.0, 1.0 - t * t * t);
}

// Solves L L^T x = b in place, L the lower Cholesky factor.
inline void CholeskySolve(const TMtx& factor, double* b) {
  const int n = factor.Rows();
  const double* l = factor.Data<double>();
  for (int i = 0; i < n; ++i) {
    double s = b[i];
    for (int k = 0; k < i; ++k) s -= l[i * n + k] * b[k];
    b[i] = s / l[i * n + i];
  }
  for (int i = n - 1; i >= 0; --i) {
    double s = b[i];
    for (int k = i + 1; k < n; ++k) s -= l[k * n + i] * b[k];
    b[i] = s / l[i * n + i];
  }
}

// work := orient * curv + lambda * diag(scale), factored into `factor`; false when the result is
// not positive definite.
inline bool FactorDamped(const TMtx& curv, double orient, std::span<const double> scale,
                         double lambda, TMtx& work, TMtx& factor) {
  const int n = curv.Rows();
  const double* c = curv.Data<double>();
  double* a = work.Data<double>();
  for (int k = 0; k < n * n; ++k) a[k] = orient * c[k];
  for (int j = 0; j < n; ++j) a[j * n + j] += lambda * scale[j];
  return Cholesky(factor, work);
}

// True when adding lambda D leaves every diagonal element of orient * C unchanged: the damped
// matrix is then the undamped one, whose factor and step the caller may already hold.
inline bool DampingVanishes(const TMtx& curv, double orient, std::span<const double> scale,
                            double lambda) {
  const int n = curv.Rows();
  const double* c = curv.Data<double>();
  for (int j = 0; j < n; ++j) {
    const double d = orient * c[j * n + j];
    if (d + lambda * scale[j] != d) return false;
  }
  return true;
}

// Geodesic acceleration of the damped step v (Transtrum and Sethna, 2012): along the path that
// the Gauss-Newton flow traces, the model values bend by m''(v), and the second-order step is
// v + a / 2 with a = -(J'WJ + lambda D)^-1 J'W m''(v). In a long curved valley, where the
// linearised step of the model runs out of the valley after a short way, this lets each step
// go much further: on Meyer's thermistor model (MGH10) it saves about four iterations in five.
// `trial` (x + v on entry) becomes x + v + a / 2 when the correction is usable.
template <class Host>
void Accelerate(Host& host, double orient, const TMtx& factor, std::span<const double> x,
                std::span<const double> v, std::span<const double> scale,
                std::span<double> a, std::span<double> trial) {
  if (!(orient > 0.0) || !host.Acceleration(x, v, a)) return;
  CholeskySolve(factor, a.data());  // a now holds -a of the comment
  double na = 0.0, nv = 0.0;
  for (std::size_t j = 0; j < a.size(); ++j) {
    na += scale[j] * a[j] * a[j];
    nv += scale[j] * v[j] * v[j];
  }
  if (!(2.0 * std::sqrt(na) <= kAccelRatio * std::sqrt(nv))) return;  // NaN too
  for (std::size_t j = 0; j < a.size(); ++j) trial[j] = x[j] + v[j] - 0.5 * a[j];
  host.Round(trial);
}

}  // namespace marquardt

// The iteration of Marquardt (see optimize_marquardt.cpp for the method) for a host with at
// least one parameter; returns the number of iterations.
template <class Host>
int MarquardtLoop(Host& host, std::span<double> Pars, double& FMin, TMtx* Cov,
                  TOptStopReason& StopReason, const TMarquardtSettings& s) {
  using namespace marquardt;
  const int n = static_cast<int>(Pars.size());
  const double tol = s.tolerance;
  const double gradTol = s.gradTolerance > 0.0 ? s.gradTolerance : 0.0;
  auto [xv, trialv, gv, stepv, scalev] = CreateIt<TVec, TVec, TVec, TVec, TVec>();
  auto curv = CreateIt<TMtx>(), work = CreateIt<TMtx>(), factor = CreateIt<TMtx>();
  for (TVec* v : {xv.get(), trialv.get(), gv.get(), stepv.get(), scalev.get()}) v->Size(n);
  for (TMtx* m : {curv.get(), work.get(), factor.get()}) m->Size(n, n);
  const std::span<double> x = xv->Span<double>(), trial = trialv->Span<double>(),
                          g = gv->Span<double>(), step = stepv->Span<double>(),
                          scale = scalev->Span<double>();
  std::copy(Pars.begin(), Pars.end(), x.begin());
  std::fill(scale.begin(), scale.end(), 0.0);
  auto accelv = CreateIt<TVec>();  // the acceleration's work vector
  accelv->Size(Host::kLeastSquares ? n : 0);
  auto refineG = CreateIt<TVec>();  // gradient and curvature at a refinement's trial point
  auto refineC = CreateIt<TMtx>();
  refineG->Size(Host::kLeastSquares ? n : 0);
  refineC->Size(Host::kLeastSquares ? n : 0, Host::kLeastSquares ? n : 0);

  double lambda = s.lambda0 > 0.0 ? s.lambda0 : 0.0;  // NaN too
  double orient = 1.0;
  double raise = 2.0;  // the factor of the next rejection; doubles with each one in a row
  bool curvKnown = false;  // curv holds the callback's matrix at x
  // factor and step hold the undamped factor and step at x (from the step test), which a
  // vanishing damping reuses: in the long valleys lambda falls to 1e-90 and below.
  bool undamped = false;
  // Before the run stops at x (the step test passed, a damped step vanished, or lambda passed
  // its ceiling) the undamped step is tried once: near the minimum it is the Gauss-Newton (or
  // Newton) step, which about doubles the correct digits of x, where the damped steps gain them
  // slowly. `pending` holds the stop reason meanwhile; after one try every stop is final.
  TOptStopReason pending = osrNone;
  bool polished = false;
  int iterations = 0;
  TOptStopReason reason = osrMaxIter;

  // Derivatives at the newly accepted x, and the tests that can end the run there. Returns true
  // when the run ends, with `reason` set.
  auto arrive = [&]() -> bool {
    if (!host.Curvature(g, *curv)) {
      reason = osrDerivNotFinite;
      return true;
    }
    curvKnown = true;
    const double* c = curv->Data<double>();
    if (iterations == 0) {
      double trace = 0.0;
      for (int j = 0; j < n; ++j) trace += c[j * n + j];
      orient = trace < 0.0 ? -1.0 : 1.0;
    }
    double largest = 0.0;
    for (int j = 0; j < n; ++j) {
      scale[j] = std::max(scale[j], std::fabs(c[j * n + j]));
      largest = std::max(largest, scale[j]);
    }
    // A parameter without curvature still needs some damping, or the damped matrix stays
    // singular in its direction whatever lambda is.
    const double floor = largest > 0.0 ? largest * EPS_DOUBLE : 1.0;
    for (int j = 0; j < n; ++j) scale[j] = std::max(scale[j], floor);
    if (NormInf(g) <= gradTol) {
      reason = osrGradTol;
      return true;
    }
    // Converged when the undamped step, the model's distance to its minimum, is negligible.
    undamped = FactorDamped(*curv, orient, scale, 0.0, *work, *factor);
    if (undamped) {
      for (int j = 0; j < n; ++j) step[j] = -orient * g[j];
      CholeskySolve(*factor, step.data());
      if (Norm2(step) <= tol * (Norm2(x) + tol)) {
        if (polished) {
          reason = osrConverged;
          return true;
        }
        pending = osrConverged;
      }
    }
    return false;
  };

  double f = host.Eval(x);
  bool done = false;
  if (f == -Inf) {
    reason = osrUnbounded;
    done = true;
  } else if (!std::isfinite(f)) {
    reason = osrNotFinite;
    done = true;
  } else {
    done = arrive();
  }
  while (!done) {
    if (iterations >= s.maxIter) {
      reason = pending != osrNone ? pending : osrMaxIter;
      break;
    }
    ++iterations;
    if (pending != osrNone) {
      const TOptStopReason stopWith = pending;
      pending = osrNone;
      polished = true;
      bool taken = false;
      // After the step test `step` holds the undamped step already.
      undamped = false;
      if (stopWith == osrConverged ||
          FactorDamped(*curv, orient, scale, 0.0, *work, *factor)) {
        if (stopWith != osrConverged) {
          for (int j = 0; j < n; ++j) step[j] = -orient * g[j];
          CholeskySolve(*factor, step.data());
        }
        for (int j = 0; j < n; ++j) trial[j] = x[j] + step[j];
        host.Round(trial);
        if (!std::equal(trial.begin(), trial.end(), x.begin())) {
          const double ft = host.Eval(trial);
          taken = ft < f;
          if (taken) {
            std::copy(trial.begin(), trial.end(), x.begin());
            f = ft;
          }
        }
      }
      host.Progress("Marquardt iteration %d: f = %.17g, lambda = %.3g, undamped step %s",
               iterations, f, lambda, taken ? "taken" : "rejected");
      if (!taken) {
        reason = stopWith;
        break;
      }
      if (f == -Inf) {
        reason = osrUnbounded;
        curvKnown = false;
        break;
      }
      done = arrive();
      continue;
    }
    bool accepted = false;
    const bool reuse = undamped && DampingVanishes(*curv, orient, scale, lambda);
    undamped = reuse;
    if (reuse || FactorDamped(*curv, orient, scale, lambda, *work, *factor)) {
      if (!reuse) {
        for (int j = 0; j < n; ++j) step[j] = -orient * g[j];
        CholeskySolve(*factor, step.data());
      }
      for (int j = 0; j < n; ++j) trial[j] = x[j] + step[j];
      host.Round(trial);
      if (std::equal(trial.begin(), trial.end(), x.begin())) {
        host.Progress("Marquardt iteration %d: f = %.17g, lambda = %.3g, step vanishes",
                 iterations, f, lambda);
        if (polished) {
          reason = osrPrecisionLimit;
          break;
        }
        pending = osrPrecisionLimit;
        continue;
      }
      if constexpr (Host::kLeastSquares) {
        Accelerate(host, orient, *factor, x, step, scale, accelv->Span<double>(), trial);
      }
      const double ft = host.Eval(trial);
      if (ft < f) {
        accepted = true;
        // The model's decrease -(g'h + h'C h / 2) = h'(lambda D h - g) / 2 in the callback's
        // units, doubled into the objective's (the factor c is +-1/2).
        double predicted = 0.0;
        for (int j = 0; j < n; ++j) {
          predicted += step[j] * (lambda * scale[j] * step[j] - orient * g[j]);
        }
        lambda *= AcceptedFactor(f - ft, predicted);
        raise = 2.0;
        std::copy(trial.begin(), trial.end(), x.begin());
        f = ft;
      }
    }
    host.Progress("Marquardt iteration %d: f = %.17g, lambda = %.3g, %s", iterations, f,
             lambda, accepted ? "step taken" : "step rejected");
    if (accepted) {
      if (f == -Inf) {
        reason = osrUnbounded;
        curvKnown = false;
        break;
      }
      done = arrive();
    } else {
      if (lambda > 0.0) {
        lambda *= raise;
        raise *= 2.0;
      } else {
        lambda = kLambdaAfterZero;
      }
      if (lambda > kLambdaCeiling) {
        if (polished) {
          reason = osrNoDecrease;
          break;
        }
        pending = osrNoDecrease;
      }
    }
  }

  if constexpr (Host::kLeastSquares) {
    // Gauss-Newton refinement. Where the run stopped, the objective no longer tells the points
    // apart: a sum of squares is computed to about eps times its size, which leaves the
    // parameters uncertain by about sqrt(eps) in the flat directions. The Gauss-Newton step comes
    // from the gradient -J'W r, accurate to eps, so following it while it keeps shrinking
    // reaches the stationary point to far more digits. A step is taken when the next one is at
    // most half as long (the iteration converges) and the objective rose by no more than its
    // rounding; otherwise the run ends at the point before it.
    const bool stopped =
        reason == osrConverged || reason == osrPrecisionLimit || reason == osrNoDecrease;
    // Derivatives that were cheap approximations during the search are made accurate here.
    if (stopped && curvKnown && host.SharpenDerivatives()) {
      host.EnsureLastAt(x);
      curvKnown = host.Curvature(g, *curv);
    }
    if (stopped && curvKnown && orient > 0.0 &&
        FactorDamped(*curv, orient, scale, 0.0, *work, *factor)) {
      const std::span<double> g2 = refineG->Span<double>();
      for (int j = 0; j < n; ++j) step[j] = -g[j];
      CholeskySolve(*factor, step.data());
      double length = Norm2(step);
      while (iterations < s.maxIter && length > 0.0) {
        for (int j = 0; j < n; ++j) trial[j] = x[j] + step[j];
        host.Round(trial);
        if (std::equal(trial.begin(), trial.end(), x.begin())) break;
        ++iterations;
        const double ft = host.Eval(trial);
        bool taken = false;
        if (ft <= f + host.Rounding() && host.Curvature(g2, *refineC) &&
            FactorDamped(*refineC, orient, scale, 0.0, *work, *factor)) {
          for (int j = 0; j < n; ++j) accelv->Span<double>()[j] = -g2[j];
          CholeskySolve(*factor, accelv->Data<double>());
          const double next = Norm2(accelv->Span<double>());
          if (next <= 0.5 * length) {
            taken = true;
            std::copy(trial.begin(), trial.end(), x.begin());
            f = ft;
            std::copy(g2.begin(), g2.end(), g.begin());
            *curv = *refineC;
            std::copy_n(accelv->Data<double>(), n, step.begin());
            length = next;
          }
        }
        host.Progress("Marquardt iteration %d: f = %.17g, Gauss-Newton refinement %s",
                      iterations, ft, taken ? "taken" : "rejected");
        if (!taken) break;
      }
    }
  }

  if (Cov != nullptr) {
    Cov->Size(n, n, host.Precision());
    // The inverse of the delivered matrix, through the Cholesky factor of its definite form.
    std::fill(scale.begin(), scale.end(), 0.0);
    if (curvKnown && FactorDamped(*curv, orient, scale, 0.0, *work, *factor)) {
      for (int col = 0; col < n; ++col) {
        std::fill(step.begin(), step.end(), 0.0);
        step[col] = orient;
        CholeskySolve(*factor, step.data());
        for (int row = 0; row < n; ++row) Cov->SetValue(row * n + col, step[row]);
      }
    } else {
      Cov->SetVal(NaN);
    }
  }
  host.EnsureLastAt(x);
  host.Finish(Pars, x, f, FMin, reason, StopReason, iterations);
  return iterations;
}

}  // namespace lumex::detail
