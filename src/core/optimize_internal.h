// Internal: what the optimisers share. The objective is always called through TEvaluator, which
// rounds trial points to the float precision, remembers where the last evaluation was made and
// so lets each optimiser keep the promise that derivatives are asked for only at the point of
// the latest evaluation, and that the returned point is the last one evaluated.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "lumex/core/cache.h"
#include "lumex/core/optimize.h"

namespace lumex::detail {

// The tolerance actually used: negative or NaN counts as 0, and nothing finer than the epsilon of
// the precision can be met.
double EffectiveTolerance(double tol, TMtxFloatPrecision precision);

// Largest absolute element, Euclidean norm.
double NormInf(std::span<const double> x);
double Norm2(std::span<const double> x);

// Appends one printf-formatted line to verbose (no-op when verbose is null).
void Progress(std::vector<std::string>* verbose, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

class TEvaluator {
public:
  // name: the optimiser's, for messages.
  TEvaluator(const char* name, const TRealFunction& fun, const TVec* consts,
             const TObjConsts& objConsts, TMtxFloatPrecision precision, int n);

  int Count() const noexcept { return static_cast<int>(fPoint->Length()); }
  TMtxFloatPrecision Precision() const noexcept { return fPoint->FloatPrecision(); }

  // Rounds x in place to the float precision (keeping it inside [lo, hi] when bounds are given,
  // by rounding inwards) and evaluates the objective there. -0.0 and NaN results are returned
  // as they come.
  double Eval(std::span<double> x, const double* lo = nullptr, const double* hi = nullptr);

  // x rounded in place to the float precision, without evaluating.
  void Round(std::span<double> x) const;

  // Gradient at x, which must be the point of the latest evaluation (the optimisers only ask
  // there). Returns false when an element is NaN or infinite.
  bool Gradient(const TGradientFunction& grad, std::span<double> g);
  // Gradient and curvature at the latest evaluation point, both in double.
  bool Curvature(const TCurvatureFunction& deriv, std::span<double> g, TMtx& curv);

  // Makes the latest objective evaluation be at x (evaluating once more when it is not).
  void EnsureLastAt(std::span<double> x);

private:
  const char* fName;
  const TRealFunction& fFun;
  const TVec* fConsts;
  const TObjConsts& fObjConsts;
  TLease<TVec> fPoint;    // the trial point handed to callbacks, in the float precision
  TLease<TVec> fLast;     // the point of the latest evaluation, in double
  TLease<TVec> fGradTV;   // gradient in the float precision, as callbacks write it
  TLease<TMtx> fCurvTM;   // curvature in the float precision
  bool fLastValid = false;  // false until an evaluation, and after any derivative callback
};

// Writes the point, the minimum and the stop reason, with a final progress line.
void Finish(const char* name, std::span<double> pars, std::span<const double> x, double f,
            double& fmin, TOptStopReason reason, TOptStopReason& stopReason, int iterations,
            std::vector<std::string>* verbose);

// The solved problem of zero parameters: one evaluation, converged unless it is not finite.
int SolveEmpty(const char* name, TEvaluator& eval, std::span<double> pars, double& fmin,
               TOptStopReason& stopReason, std::vector<std::string>* verbose);

}  // namespace lumex::detail
