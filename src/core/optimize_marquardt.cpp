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
//
// The iteration itself lives in marquardt_loop.h, shared with the least-squares fits, which add
// geodesic acceleration and a Gauss-Newton refinement that a bare objective cannot support.
#include <string>

#include "core/marquardt_loop.h"
#include "core/optimize_internal.h"

namespace lumex {

namespace {

// The general optimiser's view of the callbacks: the objective through the evaluator, the
// gradient and curvature from DerivFun, and no acceleration (the objective is a bare number).
class TCallbackHost {
public:
  static constexpr bool kLeastSquares = false;

  TCallbackHost(detail::TEvaluator& eval, const TCurvatureFunction& deriv,
                std::vector<std::string>* verbose)
      : fEval(eval), fDeriv(deriv), fVerbose(verbose) {}
  TMtxFloatPrecision Precision() const { return fEval.Precision(); }
  double Eval(std::span<double> x) { return fEval.Eval(x); }
  void Round(std::span<double> x) const { fEval.Round(x); }
  bool Curvature(std::span<double> g, TMtx& c) { return fEval.Curvature(fDeriv, g, c); }
  void EnsureLastAt(std::span<double> x) { fEval.EnsureLastAt(x); }
  template <class... Args>
  void Progress(const char* format, Args... args) {
    detail::Progress(fVerbose, format, args...);
  }
  void Finish(std::span<double> pars, std::span<const double> x, double f, double& fmin,
              TOptStopReason reason, TOptStopReason& stopReason, int iterations) {
    detail::Finish("Marquardt", pars, x, f, fmin, reason, stopReason, iterations, fVerbose);
  }
  bool SharpenDerivatives() { return false; }
  bool Acceleration(std::span<const double>, std::span<const double>, std::span<double>) {
    return false;
  }

private:
  detail::TEvaluator& fEval;
  const TCurvatureFunction& fDeriv;
  std::vector<std::string>* fVerbose;
};

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
  TCallbackHost host(eval, DerivFun, Verbose);
  const detail::TMarquardtSettings settings{
      MaxIter, detail::EffectiveTolerance(Tolerance, FloatPrecision), GradTolerance, Lambda0};
  return detail::MarquardtLoop(host, Pars, FMin, Cov, StopReason, settings);
}

}  // namespace lumex
