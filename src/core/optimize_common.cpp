// What the optimisers share: the evaluator that stands between them and the callbacks, progress
// lines, the end of a run, and the central-difference gradient.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <string>

#include "core/optimize_internal.h"
#include "lumex/core/types.h"

namespace lumex {

// Fitting routines test the stop reason by these ordinals.
static_assert(osrNone == 0 && osrConverged == 8);
static_assert(optSimplex == 0 && optMarquardt == 1 && optBFGS == 2 && optDFP == 3 &&
              optConjGradFR == 4 && optConjGradPR == 5);

namespace detail {

double EffectiveTolerance(double tol, TMtxFloatPrecision precision) {
  const double eps = precision == fpSingle ? EPS_SINGLE : EPS_DOUBLE;
  if (!(tol > eps)) return eps;  // also NaN
  return tol;
}

double NormInf(std::span<const double> x) {
  double m = 0.0;
  for (double v : x) m = std::max(m, std::fabs(v));
  return m;
}

double Norm2(std::span<const double> x) {
  // Scaled by the largest element, so neither overflow nor underflow of the squares matters.
  const double m = NormInf(x);
  if (m == 0.0 || !std::isfinite(m)) return m;
  double s = 0.0;
  for (double v : x) s += (v / m) * (v / m);
  return m * std::sqrt(s);
}

void Progress(std::vector<std::string>* verbose, const char* format, ...) {
  if (verbose == nullptr) return;
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  verbose->emplace_back(buffer);
}

TEvaluator::TEvaluator(const char* name, const TRealFunction& fun, const TVec* consts,
                       const TObjConsts& objConsts, TMtxFloatPrecision precision, int n)
    : fName(name),
      fFun(fun), fConsts(consts), fObjConsts(objConsts) {
  CheckEnum(name, "FloatPrecision", precision, 2);
  fPoint->Size(n, precision);
  fPoint->SetZero();
  fLast->Size(n);
  fGradTV->Size(n, precision);
  fCurvTM->Size(n, n, precision);
}

void TEvaluator::Round(std::span<double> x) const {
  if (Precision() == fpDouble) return;
  for (double& v : x) v = static_cast<double>(static_cast<float>(v));
}

double TEvaluator::Eval(std::span<double> x, const double* lo, const double* hi) {
  const int n = Count();
  const bool single = Precision() == fpSingle;
  for (int j = 0; j < n; ++j) {
    double v = x[j];
    if (lo != nullptr) v = std::min(std::max(v, lo[j]), hi[j]);
    if (single) {
      float r = static_cast<float>(v);
      // Round inwards when the nearest float lies outside the box (a box narrower than one float
      // spacing keeps the nearest float: no float is inside it).
      if (lo != nullptr) {
        if (r > hi[j]) r = std::nextafter(r, -std::numeric_limits<float>::infinity());
        if (r < lo[j]) r = std::nextafter(r, std::numeric_limits<float>::infinity());
        if (r > hi[j] || r < lo[j]) r = static_cast<float>(v);
      }
      v = r;
    }
    x[j] = v;
    fPoint->SetValue(j, v);
  }
  // The point is recorded as unknown while the objective runs: if it throws, nothing claims an
  // evaluation was completed.
  fLastValid = false;
  const double f = fFun(*fPoint, fConsts, fObjConsts);
  std::copy(x.begin(), x.end(), fLast->Data<double>());
  fLastValid = true;
  return f;
}

bool TEvaluator::Gradient(const TGradientFunction& grad, std::span<double> g) {
  const int n = Count();
  fGradTV->SetZero();
  fLastValid = false;  // the callback may evaluate the objective elsewhere
  grad(fFun, *fPoint, fConsts, fObjConsts, *fGradTV);
  if (fGradTV->Length() != n || fGradTV->Complex()) {
    ERaise(std::string(fName) + ": gradient callback changed the size or kind of Grad");
  }
  bool finite = true;
  for (int j = 0; j < n; ++j) {
    g[j] = fGradTV->Value(j);
    finite = finite && std::isfinite(g[j]);
  }
  return finite;
}

bool TEvaluator::Curvature(const TCurvatureFunction& deriv, std::span<double> g, TMtx& curv) {
  const int n = Count();
  fGradTV->SetZero();
  fCurvTM->SetZero();
  fLastValid = false;
  deriv(fFun, *fPoint, fConsts, fObjConsts, *fGradTV, *fCurvTM);
  if (fGradTV->Length() != n || fGradTV->Complex() || fCurvTM->Rows() != n ||
      fCurvTM->Cols() != n || fCurvTM->Complex()) {
    ERaise(std::string(fName) + ": derivative callback changed the size or kind of Grad or Curv");
  }
  bool finite = true;
  for (int j = 0; j < n; ++j) {
    g[j] = fGradTV->Value(j);
    finite = finite && std::isfinite(g[j]);
  }
  double* c = curv.Data<double>();
  for (int k = 0; k < n * n; ++k) {
    c[k] = fCurvTM->Value(k);
    finite = finite && std::isfinite(c[k]);
  }
  return finite;
}

void TEvaluator::EnsureLastAt(std::span<double> x) {
  if (fLastValid && std::equal(x.begin(), x.end(), fLast->Data<double>())) return;
  Eval(x);
}

void Finish(const char* name, std::span<double> pars, std::span<const double> x, double f,
            double& fmin, TOptStopReason reason, TOptStopReason& stopReason, int iterations,
            std::vector<std::string>* verbose) {
  std::copy(x.begin(), x.end(), pars.begin());
  fmin = f;
  stopReason = reason;
  Progress(verbose, "%s stopped after %d iterations: %s; f = %.17g", name, iterations,
           OptStopReasonText(reason).c_str(), f);
}

int SolveEmpty(const char* name, TEvaluator& eval, std::span<double> pars, double& fmin,
               TOptStopReason& stopReason, std::vector<std::string>* verbose) {
  const double f = eval.Eval(pars);
  const TOptStopReason reason =
      std::isnan(f) || f == Inf ? osrNotFinite : (f == -Inf ? osrUnbounded : osrConverged);
  Finish(name, pars, pars, f, fmin, reason, stopReason, 0, verbose);
  return 0;
}

}  // namespace detail

void NumericGradient(const TRealFunction& Fun, const TVec& Pars, const TVec* Consts,
                     const TObjConsts& ObjConsts, TVec& Grad) {
  if (!Fun) ERaise("NumericGradient: Fun is null");
  const int n = Pars.Length();
  const bool single = Pars.FloatPrecision() == fpSingle;
  const double s = single ? GradStepSizeSingle : GradStepSize;
  const double eps = single ? EPS_SINGLE : EPS_DOUBLE;
  auto p = CreateIt<TVec>();
  *p = Pars;
  Grad.Size(n, Pars.FloatPrecision());
  for (int j = 0; j < n; ++j) {
    const double pj = p->Value(j);  // the copy: Grad may be Pars itself
    const double h = std::fabs(pj) < eps ? s : s * std::fabs(pj);
    // Stepping to representable points and dividing by their true distance removes the error
    // of a step that the storage precision cannot hold exactly.
    p->SetValue(j, pj - h);
    const double lower = p->Value(j);
    const double fMinus = Fun(*p, Consts, ObjConsts);
    p->SetValue(j, pj + h);
    const double upper = p->Value(j);
    const double fPlus = Fun(*p, Consts, ObjConsts);
    p->SetValue(j, pj);
    Grad.SetValue(j, (fPlus - fMinus) / (upper - lower));
  }
}

std::string OptStopReasonText(TOptStopReason reason) {
  switch (reason) {
    case osrNone: return "not run";
    case osrMaxIter: return "iteration limit reached";
    case osrGradTol: return "gradient within GradTolerance";
    case osrNoDecrease: return "no decrease found";
    case osrPrecisionLimit: return "step below the float precision";
    case osrNotFinite: return "objective not finite at the start";
    case osrDerivNotFinite: return "derivatives not finite";
    case osrUnbounded: return "objective unbounded below";
    case osrConverged: return "converged within Tolerance";
  }
  return "unknown stop reason";
}

}  // namespace lumex
