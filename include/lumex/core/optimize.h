/// @file
/// General-purpose minimisers: Nelder-Mead (Simplex, with or without a box), Levenberg-Marquardt
/// (Marquardt), quasi-Newton (BFGS, with the BFGS or DFP update) and nonlinear conjugate
/// gradients (ConjGrad, Fletcher-Reeves or Polak-Ribiere).
///
/// The common contract:
/// - The objective is a TRealFunction: it reads the trial parameters, the real constants and the
///   object references and returns the value to minimise. Constants and object references pass
///   through the optimiser untouched, so an objective may keep its data and work vectors there.
/// - The parameters are an array of doubles: the starting point on entry, the best point found on
///   a normal return. The objective sees them as a TVec in the requested float precision; in single
///   precision every trial point is rounded to float first, and the returned point is exactly one
///   that was evaluated.
/// - Derivative callbacks receive the objective as their first argument (to differentiate it
///   numerically if they wish) and are only asked for derivatives at the point of the most recent
///   objective evaluation, so they may reuse what the objective left in the work objects. A
///   callback that resizes Grad or Curv, or makes them complex, raises
///   `"<Optimiser>: gradient callback changed the size or kind of Grad"` (BFGS, ConjGrad) or
///   "Marquardt: derivative callback changed the size or kind of Grad or Curv".
/// - On a normal return the last objective evaluation was made at the returned point (the
///   optimiser evaluates once more when needed), so work objects filled by the objective describe
///   the optimum.
/// - FMin receives the objective at the returned point, StopReason why the optimiser stopped, and
///   the result is the number of iterations performed (what an iteration is: see each optimiser).
/// - An exception thrown by a callback passes through unchanged. The parameter array is then left
///   as it was on entry, and every temporary is given back.
/// - Tolerances below the epsilon of the float precision act as that epsilon; a negative or NaN
///   Tolerance counts as 0, and so does a negative or NaN GradTolerance (which then stops only at
///   an exactly zero gradient). MaxIter <= 0 performs no iteration: the start (for Simplex, its
///   first simplex) is evaluated and the best point of it returned.
/// - Verbose, when given, receives one progress line per iteration and a final line with the stop
///   reason, appended to what it holds. Without it the iteration loop allocates nothing after the
///   first iteration.
/// - An empty parameter array is a solved problem: the objective is evaluated once and the stop
///   reason is osrConverged (osrNotFinite when that value is NaN or +Inf, osrUnbounded when it is
///   -Inf).
/// - Argument errors raise ELumexError with `"<Optimiser>: <condition>"`, before the first
///   evaluation: a null callback (`"<Optimiser>: Fun is null"` first), then a FloatPrecision
///   outside TMtxFloatPrecision (`"<Optimiser>: unknown FloatPrecision"`, the optimiser named
///   Simplex, Marquardt, BFGS or ConjGrad).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "lumex/core/containers.h"

namespace lumex {

/// The optimisers by ordinal, as fitting routines select them.
enum TOptMethod : std::uint8_t {
  optSimplex,      ///< 0 Nelder-Mead, no derivatives.
  optMarquardt,    ///< 1 Levenberg-Marquardt with a gradient and curvature callback.
  optBFGS,         ///< 2 quasi-Newton, BFGS update of the inverse Hessian.
  optDFP,          ///< 3 quasi-Newton, Davidon-Fletcher-Powell update.
  optConjGradFR,   ///< 4 conjugate gradients, Fletcher-Reeves.
  optConjGradPR,   ///< 5 conjugate gradients, Polak-Ribiere (non-negative beta).
};

/// Why an optimiser stopped.
///
/// Every exit of every optimiser maps to exactly one value; "step" and "size" are measured in the
/// parameters, x being the returned point. OptStopReasonText gives a short description.
enum TOptStopReason : std::uint8_t {
  /// 0 No optimiser has run. Callers preset it; no optimiser returns it.
  osrNone,
  /// 1 The iteration limit was reached before any other criterion held. The point is the best
  ///   found so far.
  osrMaxIter,
  /// 2 Gradient methods: the largest absolute element of the gradient, as the callback delivered
  ///   it at x, is <= GradTolerance. x is a stationary point to that accuracy.
  osrGradTol,
  /// 3 No trial point lowers the objective: Marquardt's damping factor exceeded 1e16 without a
  ///   decrease, or a line search along the steepest-descent direction failed within 40 trial
  ///   points. Usually the derivatives disagree with the objective, or the objective is not
  ///   smooth at x.
  osrNoDecrease,
  /// 4 A trial point equals x after rounding to the float precision (in a line search, before
  ///   any point of sufficient decrease was found): the step is below what the precision
  ///   resolves, so the tolerance asked for cannot be met. x is then as good as the precision
  ///   allows along the search direction.
  osrPrecisionLimit,
  /// 5 The objective is NaN or +Inf at the starting point (Simplex: at every vertex of the first
  ///   simplex); nothing can be compared. Pars keep the (clamped) start.
  osrNotFinite,
  /// 6 The derivative callback wrote a NaN or infinite element at x.
  osrDerivNotFinite,
  /// 7 The objective returned -Inf at x: it is unbounded below there.
  osrUnbounded,
  /// 8 Converged within Tolerance. Simplex: after a restart from the best vertex, the simplex
  ///   again has size <= Tolerance * max(1, max |x_j|) and objective spread
  ///   <= Tolerance * max(1, |f(x)|) without having improved f by more than that spread bound.
  ///   Marquardt: the undamped (Newton) step at x has ||step||_2 <= Tolerance * (||x||_2 +
  ///   Tolerance). BFGS and ConjGrad: the last accepted step has ||step||_2 <= Tolerance *
  ///   (||x||_2 + Tolerance) and lowered f by at most Tolerance * (|f(x)| + Tolerance); BFGS
  ///   also when the quasi-Newton step -H g at x meets the same two bounds (its length, and the
  ///   decrease g'H g it promises).
  osrConverged,
};

/// Object references handed through to the callbacks untouched; entries may be null.
using TObjConsts = std::vector<TLumexBase*>;

/// The objective: returns the value to minimise at Pars.
///
/// Called as Fun(Pars, Consts, ObjConsts): Pars the trial point (a TVec in the optimiser's
/// float precision), Consts the real constants given to the optimiser (may be null: no
/// constants), ObjConsts its object references.
using TRealFunction =
    std::function<double(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts)>;

/// Gradient callback of BFGS and ConjGrad: writes the gradient of the objective at Pars into Grad.
///
/// Called as GradFun(Fun, Pars, Consts, ObjConsts, Grad) at the point of the most recent
/// objective evaluation. Grad arrives sized to the parameter count, in the float precision,
/// zeroed; it must keep that size and stay real. NumericGradient is a ready-made one.
using TGradientFunction = std::function<void(const TRealFunction& Fun, const TVec& Pars,
                                             const TVec* Consts, const TObjConsts& ObjConsts,
                                             TVec& Grad)>;

/// Gradient and curvature callback of Marquardt: writes a gradient vector Grad and a symmetric
/// curvature matrix Curv at Pars.
///
/// Called as DerivFun(Fun, Pars, Consts, ObjConsts, Grad, Curv); Grad and Curv arrive sized
/// (n and n x n, in the float precision) and zeroed. They are the gradient and second-derivative
/// matrix of the objective up to one common non-zero factor c, whose sign Marquardt takes from
/// the trace of the first Curv: for a sum of squares f = sum w_i r_i^2,
/// Grad = -sum w_i r_i dyhat_i/dp and Curv = sum w_i (dyhat_i/dp) (dyhat_i/dp)^T (c = 1/2, the
/// Gauss-Newton curvature); for a deviance f = -2 l, the gradient and Hessian of the
/// log-likelihood l (c = -1/2). Only the step -Curv^-1 Grad matters, which is the same for
/// every c.
using TCurvatureFunction = std::function<void(const TRealFunction& Fun, const TVec& Pars,
                                              const TVec* Consts, const TObjConsts& ObjConsts,
                                              TVec& Grad, TMtx& Curv)>;

/// @name Optimisers
/// The parameters they share follow the contract of this file's description.
/// @{

/// Nelder-Mead simplex minimisation, without bounds.
///
/// The first simplex is the start and, per parameter, the start moved by 5% of its value
/// (0.00025 for a zero value). Reflection, expansion, contraction and shrink coefficients adapt
/// to the dimension n (1, 1 + 2/n, 0.75 - 1/(2n), 1 - 1/n; the classical 1, 2, 1/2, 1/2 for
/// n <= 2). When the simplex has converged the optimiser restarts from the best vertex with a
/// fresh simplex, and stops once a restart brings no improvement, so a simplex that collapsed
/// away from the minimum does not end the search. NaN values count as +Inf. An iteration is one
/// reflection, expansion, contraction or shrink.
/// @param Fun             the objective.
/// @param[in,out] Pars    the start on entry, the best point on return.
/// @param Consts          real constants for Fun; may be null.
/// @param ObjConsts       object references for Fun.
/// @param[out] FMin       the objective at the returned point.
/// @param[out] StopReason why the search stopped: osrConverged, osrMaxIter, osrNotFinite or
///                        osrUnbounded.
/// @param FloatPrecision  the precision in which Fun sees the parameters.
/// @param MaxIter         the iteration limit.
/// @param Tolerance       relative size and spread of the converged simplex (osrConverged).
/// @param[out] Verbose    may be null; receives the progress lines.
/// @return                the number of iterations.
/// @throws ELumexError "Simplex: Fun is null"; "Simplex: unknown FloatPrecision".
LUMEX_API int Simplex(const TRealFunction& Fun, std::span<double> Pars, const TVec* Consts,
                      const TObjConsts& ObjConsts, double& FMin, TOptStopReason& StopReason,
                      TMtxFloatPrecision FloatPrecision, int MaxIter, double Tolerance,
                      std::vector<std::string>* Verbose = nullptr);

/// Nelder-Mead inside the box LowerBounds[j] <= Pars[j] <= UpperBounds[j].
///
/// As the unbounded Simplex, with infinite bounds allowed and equal bounds fixing a parameter.
/// The start is clamped into the box; every trial point is projected onto it, so the objective
/// is never evaluated outside (in single precision the rounding goes inwards). An optimum on a
/// bound is reached exactly.
/// @param Fun             the objective.
/// @param[in,out] Pars    the start on entry, the best point on return.
/// @param LowerBounds     one lower bound per parameter (-Inf for none).
/// @param UpperBounds     one upper bound per parameter (+Inf for none).
/// @param Consts          real constants for Fun; may be null.
/// @param ObjConsts       object references for Fun.
/// @param[out] FMin       the objective at the returned point.
/// @param[out] StopReason why the search stopped.
/// @param FloatPrecision  the precision in which Fun sees the parameters.
/// @param MaxIter         the iteration limit.
/// @param Tolerance       relative size and spread of the converged simplex.
/// @param[out] Verbose    may be null; receives the progress lines.
/// @return                the number of iterations.
/// @throws ELumexError, in this order: "Simplex: LowerBounds.Length <> Pars.Length";
///   "Simplex: UpperBounds.Length <> Pars.Length"; `"Simplex: LowerBounds[j] > UpperBounds[j]"`
///   (j the decimal index) for an empty or NaN interval; "Simplex: Fun is null";
///   "Simplex: unknown FloatPrecision".
LUMEX_API int Simplex(const TRealFunction& Fun, std::span<double> Pars,
                      std::span<const double> LowerBounds, std::span<const double> UpperBounds,
                      const TVec* Consts, const TObjConsts& ObjConsts, double& FMin,
                      TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision, int MaxIter,
                      double Tolerance, std::vector<std::string>* Verbose = nullptr);

/// Levenberg-Marquardt minimisation with a gradient and curvature callback.
///
/// Each iteration solves (C + lambda D) step = -g, C and g being the callback's curvature and
/// gradient oriented so that C is positive definite near a minimum, and D the diagonal of the
/// largest |C_jj| seen so far (Marquardt's scaling, which keeps the step invariant to the units
/// of each parameter). A step h that lowers the objective f is taken, and lambda is multiplied by
/// max(1/3, 1 - (2 rho - 1)^3), rho being the gain ratio: the decrease of f over the decrease
/// h'(lambda D h - g) that the quadratic model promised, which reads Grad and Curv as half the
/// gradient and Hessian of f (c = 1/2 or -1/2, the two conventions of TCurvatureFunction; another
/// factor c scales rho by 2|c|, which changes how fast lambda adapts but not what is accepted).
/// A step that does not lower f (or a failed factorisation) is rejected: lambda is multiplied by
/// 2, then by 4, 8, ... on each further rejection in a row (set to 1e-3 from 0), and the step
/// recomputed; the factor returns to 2 after a taken step. Once per run, before stopping at x
/// for osrConverged, osrPrecisionLimit or osrNoDecrease, the undamped step from x is tried (near
/// a minimum the Gauss-Newton or Newton step, which about doubles the correct digits): when it
/// lowers f it is taken and the iterations go on from there, otherwise the run stops at x. An
/// iteration is one trial step (one objective evaluation, or a factorisation that failed).
/// @param Fun             the objective.
/// @param DerivFun        the gradient and curvature callback.
/// @param[in,out] Pars    the start on entry, the best point on return.
/// @param Consts          real constants for the callbacks; may be null.
/// @param ObjConsts       object references for the callbacks.
/// @param[out] FMin       the objective at the returned point.
/// @param[out] Cov        may be null; when given, receives the inverse of the curvature matrix
///                        as the callback delivered it at the returned point: for the
///                        sum-of-squares convention the unscaled covariance (C^T W C)^-1, to be
///                        multiplied by the residual variance; for the log-likelihood convention
///                        minus the asymptotic covariance. Cov is all NaN when that matrix is not
///                        definite.
/// @param[out] StopReason why the search stopped.
/// @param FloatPrecision  the precision in which the callbacks see the parameters.
/// @param MaxIter         the iteration limit.
/// @param Tolerance       relative length of the undamped step at convergence (osrConverged).
/// @param GradTolerance   bound on the largest absolute gradient element (osrGradTol).
/// @param Lambda0         the initial lambda (negative or NaN counts as 0, a pure Gauss-Newton
///                        first step).
/// @param[out] Verbose    may be null; receives the progress lines.
/// @return                the number of iterations.
/// @throws ELumexError "Marquardt: Fun is null"; "Marquardt: DerivFun is null";
///   "Marquardt: unknown FloatPrecision".
LUMEX_API int Marquardt(const TRealFunction& Fun, const TCurvatureFunction& DerivFun,
                        std::span<double> Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                        double& FMin, TMtx* Cov, TOptStopReason& StopReason,
                        TMtxFloatPrecision FloatPrecision, int MaxIter, double Tolerance,
                        double GradTolerance, double Lambda0,
                        std::vector<std::string>* Verbose = nullptr);

/// Quasi-Newton minimisation with an inverse-Hessian approximation H.
///
/// Direction -H g, a line search for the strong Wolfe conditions, then the BFGS update of H
/// (DFPUpdate false) or the Davidon-Fletcher-Powell update (true). H starts as the identity and
/// is rescaled by y's/y'y before its first update; an update is skipped when the curvature y's is
/// not positive, and H is reset to the identity when -H g is not a descent direction or a line
/// search along it fails. The sufficient-decrease constant is 1e-4; a search gives up after 40
/// trial points. An iteration is one line search.
/// @param Fun             the objective.
/// @param GradFun         the gradient callback (NumericGradient for central differences).
/// @param[in,out] Pars    the start on entry, the best point on return.
/// @param Consts          real constants for the callbacks; may be null.
/// @param ObjConsts       object references for the callbacks.
/// @param[out] FMin       the objective at the returned point.
/// @param[out] InvHess    may be null; when given, receives H at the returned point, an
///                        approximation of the inverse Hessian in the units of the gradient
///                        callback (all NaN when no update has been made since the start or the
///                        last reset).
/// @param[out] StopReason why the search stopped.
/// @param FloatPrecision  the precision in which the callbacks see the parameters.
/// @param DFPUpdate       false for the BFGS update, true for the DFP update.
/// @param SearchFlag      true asks for an accurate line search (curvature constant 0.1, close to
///                        the minimum along the line); false for an economical one (0.9 for BFGS,
///                        which lets the unit step pass at once; 0.5 for DFP, whose
///                        approximation degrades under loose searches).
/// @param MaxIter         the iteration limit.
/// @param Tolerance       relative step length and decrease at convergence (osrConverged).
/// @param GradTolerance   bound on the largest absolute gradient element (osrGradTol).
/// @param[out] Verbose    may be null; receives the progress lines.
/// @return                the number of iterations.
/// @throws ELumexError "BFGS: Fun is null"; "BFGS: GradFun is null";
///   "BFGS: unknown FloatPrecision" (the name is BFGS for the DFP update too).
LUMEX_API int BFGS(const TRealFunction& Fun, const TGradientFunction& GradFun,
                   std::span<double> Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                   double& FMin, TMtx* InvHess, TOptStopReason& StopReason,
                   TMtxFloatPrecision FloatPrecision, bool DFPUpdate, bool SearchFlag, int MaxIter,
                   double Tolerance, double GradTolerance,
                   std::vector<std::string>* Verbose = nullptr);

/// Nonlinear conjugate-gradient minimisation.
///
/// Direction -g + beta d, beta by Fletcher-Reeves or Polak-Ribiere clipped at 0. The direction
/// restarts along -g every n iterations and whenever it is not a descent direction. The line
/// search is BFGS's; its first trial step repeats the last decrease. An iteration is one line
/// search.
/// @param Fun             the objective.
/// @param GradFun         the gradient callback (NumericGradient for central differences).
/// @param[in,out] Pars    the start on entry, the best point on return.
/// @param Consts          real constants for the callbacks; may be null.
/// @param ObjConsts       object references for the callbacks.
/// @param[out] FMin       the objective at the returned point.
/// @param[out] StopReason why the search stopped.
/// @param FloatPrecision  the precision in which the callbacks see the parameters.
/// @param FletcherReeves  true for Fletcher-Reeves, false for Polak-Ribiere.
/// @param SearchFlag      line-search curvature constant 0.1 when true, 0.4 when false
///                        (Fletcher-Reeves directions stay descent directions only below 1/2).
/// @param MaxIter         the iteration limit.
/// @param Tolerance       relative step length and decrease at convergence (osrConverged).
/// @param GradTolerance   bound on the largest absolute gradient element (osrGradTol).
/// @param[out] Verbose    may be null; receives the progress lines.
/// @return                the number of iterations.
/// @throws ELumexError "ConjGrad: Fun is null"; "ConjGrad: GradFun is null";
///   "ConjGrad: unknown FloatPrecision".
LUMEX_API int ConjGrad(const TRealFunction& Fun, const TGradientFunction& GradFun,
                       std::span<double> Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                       double& FMin, TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision,
                       bool FletcherReeves, bool SearchFlag, int MaxIter, double Tolerance,
                       double GradTolerance, std::vector<std::string>* Verbose = nullptr);

/// @}

/// @name Helpers
/// @{

/// The gradient of Fun at Pars by central differences; usable as a TGradientFunction.
///
/// For each parameter p_j the step is h = s |p_j| (h = s when |p_j| < eps), s = GradStepSize and
/// eps = 2^-52 for double Pars, GradStepSizeSingle and EPS_SINGLE for single;
/// Grad[j] = (f(p_j + h) - f(p_j - h)) / (2h) with h taken as the difference actually
/// represented. Two objective evaluations per parameter, the last one away from Pars.
/// @param Fun         the objective.
/// @param Pars        the point, double or single precision.
/// @param Consts      real constants for Fun; may be null.
/// @param ObjConsts   object references for Fun.
/// @param[out] Grad   sized to Pars.Length() in the precision of Pars; may be Pars itself.
/// @throws ELumexError "NumericGradient: Fun is null".
LUMEX_API void NumericGradient(const TRealFunction& Fun, const TVec& Pars, const TVec* Consts,
                               const TObjConsts& ObjConsts, TVec& Grad);

/// Short English description of a stop reason, as the progress lines show it.
/// @param reason  the stop reason.
/// @return        for example "converged within Tolerance"; "unknown stop reason" for a value
///                outside TOptStopReason.
LUMEX_API std::string OptStopReasonText(TOptStopReason reason);

/// @}

}  // namespace lumex
