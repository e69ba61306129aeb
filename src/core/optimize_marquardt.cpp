// Levenberg-Marquardt minimisation through a gradient and curvature callback.
//
// The callback delivers g and C, the gradient and (Gauss-Newton or exact) second-derivative
// matrix of the objective up to a common factor. The step solves (C + lambda D) step = -g with
// D the running maximum of diag(C): as lambda grows the step turns from the Gauss-Newton step
// towards a short, diagonally scaled steepest-descent step, so some lambda always lowers a smooth
// objective. Keeping D at its largest value so far (More, 1978) stops the damping from vanishing
// in a direction whose curvature happens to be small at the current point, which is what lets
// the method escape the flat start of problems such as MGH17.
//
// Lambda follows the gain ratio rho, the actual decrease of the objective over the decrease the
// quadratic model promised (Nielsen, 1999; Madsen, Nielsen and Tingleff, 2004): a step that fits
// the model well (rho near 1) cuts lambda by up to 3, a poor one raises it, and rejections in a
// row raise it by 2, 4, 8, ... times. Against fixed factors of 10 up and down, lambda follows
// the quality of the model more closely, which saves 2 to 5 times the iterations in the long
// curved valleys of MGH10 and Bennett5.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/optimize_internal.h"
#include "lumex/core/linalg.h"
#include "lumex/core/types.h"

namespace lumex {

namespace {

using detail::Norm2;
using detail::NormInf;
using detail::Progress;

constexpr double kLambdaCeiling = 1e16;
constexpr double kLambdaAfterZero = 1e-3;  // the first damping after a failed undamped step

// The factor by which an accepted step scales lambda: 1 - (2 rho - 1)^3, at least 1/3. A
// predicted decrease that rounding made non-positive counts as a perfect fit.
double AcceptedFactor(double actual, double predicted) {
  if (!(predicted > 0.0)) return 1.0 / 3.0;
  const double t = actual / predicted * 2.0 - 1.0;  // 2 rho - 1
  return std::max(1.0 / 3.0, 1.0 - t * t * t);
}

// Solves L L^T x = b in place, L the lower Cholesky factor.
void CholeskySolve(const TMtx& factor, double* b) {
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
bool FactorDamped(const TMtx& curv, double orient, std::span<const double> scale, double lambda,
                  TMtx& work, TMtx& factor) {
  const int n = curv.Rows();
  const double* c = curv.Data<double>();
  double* a = work.Data<double>();
  for (int k = 0; k < n * n; ++k) a[k] = orient * c[k];
  for (int j = 0; j < n; ++j) a[j * n + j] += lambda * scale[j];
  return Cholesky(factor, work);
}

}  // namespace

int Marquardt(const TRealFunction& Fun, const TCurvatureFunction& DerivFun,
              std::span<double> Pars, const TVec* Consts, const TObjConsts& ObjConsts,
              double& FMin, TMtx* Cov, TOptStopReason& StopReason,
              TMtxFloatPrecision FloatPrecision, int MaxIter, double Tolerance,
              double GradTolerance, double Lambda0, std::vector<std::string>* Verbose) {
  if (!Fun) ERaise("Marquardt: Fun is null");
  if (!DerivFun) ERaise("Marquardt: DerivFun is null");
  const int n = static_cast<int>(Pars.size());
  detail::TEvaluator eval("Marquardt", Fun, Consts, ObjConsts, FloatPrecision, n);
  if (n == 0) {
    if (Cov != nullptr) Cov->Size(0, 0, FloatPrecision);
    return detail::SolveEmpty("Marquardt", eval, Pars, FMin, StopReason, Verbose);
  }
  const double tol = detail::EffectiveTolerance(Tolerance, FloatPrecision);
  const double gradTol = GradTolerance > 0.0 ? GradTolerance : 0.0;
  auto [xv, trialv, gv, stepv, scalev] = CreateIt<TVec, TVec, TVec, TVec, TVec>();
  auto curv = CreateIt<TMtx>(), work = CreateIt<TMtx>(), factor = CreateIt<TMtx>();
  for (TVec* v : {xv.get(), trialv.get(), gv.get(), stepv.get(), scalev.get()}) v->Size(n);
  for (TMtx* m : {curv.get(), work.get(), factor.get()}) m->Size(n, n);
  const std::span<double> x = xv->Span<double>(), trial = trialv->Span<double>(),
                          g = gv->Span<double>(), step = stepv->Span<double>(),
                          scale = scalev->Span<double>();
  std::copy(Pars.begin(), Pars.end(), x.begin());
  std::fill(scale.begin(), scale.end(), 0.0);

  double lambda = Lambda0 > 0.0 ? Lambda0 : 0.0;  // NaN too
  double orient = 1.0;
  double raise = 2.0;  // the factor of the next rejection; doubles with each one in a row
  bool curvKnown = false;  // curv holds the callback's matrix at x
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
    if (!eval.Curvature(DerivFun, g, *curv)) {
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
    if (FactorDamped(*curv, orient, scale, 0.0, *work, *factor)) {
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

  double f = eval.Eval(x);
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
    if (iterations >= MaxIter) {
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
      if (stopWith == osrConverged ||
          FactorDamped(*curv, orient, scale, 0.0, *work, *factor)) {
        if (stopWith != osrConverged) {
          for (int j = 0; j < n; ++j) step[j] = -orient * g[j];
          CholeskySolve(*factor, step.data());
        }
        for (int j = 0; j < n; ++j) trial[j] = x[j] + step[j];
        eval.Round(trial);
        if (!std::equal(trial.begin(), trial.end(), x.begin())) {
          const double ft = eval.Eval(trial);
          taken = ft < f;
          if (taken) {
            std::copy(trial.begin(), trial.end(), x.begin());
            f = ft;
          }
        }
      }
      Progress(Verbose, "Marquardt iteration %d: f = %.17g, lambda = %.3g, undamped step %s",
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
    if (FactorDamped(*curv, orient, scale, lambda, *work, *factor)) {
      for (int j = 0; j < n; ++j) step[j] = -orient * g[j];
      CholeskySolve(*factor, step.data());
      for (int j = 0; j < n; ++j) trial[j] = x[j] + step[j];
      eval.Round(trial);
      if (std::equal(trial.begin(), trial.end(), x.begin())) {
        Progress(Verbose, "Marquardt iteration %d: f = %.17g, lambda = %.3g, step vanishes",
                 iterations, f, lambda);
        if (polished) {
          reason = osrPrecisionLimit;
          break;
        }
        pending = osrPrecisionLimit;
        continue;
      }
      const double ft = eval.Eval(trial);
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
    Progress(Verbose, "Marquardt iteration %d: f = %.17g, lambda = %.3g, %s", iterations, f,
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

  if (Cov != nullptr) {
    Cov->Size(n, n, FloatPrecision);
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
  eval.EnsureLastAt(x);
  detail::Finish("Marquardt", Pars, x, f, FMin, reason, StopReason, iterations, Verbose);
  return iterations;
}

}  // namespace lumex
