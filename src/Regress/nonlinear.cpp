// Nonlinear least squares through the core optimisers, and the numeric parameter derivatives
// that serve as the default derivative procedures.
//
// A fit holds its data as plain doubles (read once), the model values of the last objective
// evaluation and the derivative work objects. The optimisers ask for derivatives only at the
// point they evaluated last, so the gradient and curvature callbacks reuse those model values
// (a TDeriveProc receives them, an analytic derivative may use them).
//
// The objective is S(b) = sum w_i (y_i - f_i(b))^2. Its gradient -2 sum w_i r_i df_i/db goes to
// BFGS and conjugate gradients; Marquardt receives the half-scaled pair -sum w_i r_i df_i/db
// and the Gauss-Newton curvature J'WJ, whose inverse at the optimum is the unscaled covariance
// of the estimates.
//
// Marquardt runs the core's iteration with two additions that need the model values rather
// than the bare objective: geodesic acceleration, which bends each step along the curvature of
// the model (one more model evaluation per trial step; in the curved valley of MGH10 it cuts the
// iterations from about 6000 to 1100), and a final Gauss-Newton refinement, which takes the
// parameters beyond the point where the sum of squares stops resolving them.
#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "core/marquardt_loop.h"
#include "lumex/Regress.h"
#include "lumex/core/cache.h"

namespace lumex {

namespace {

// Numeric parameter derivatives by central differences. levels = 3 is NumericDerive's
// Richardson extrapolation over the steps h, 2h and 4h; levels = 1 the plain difference at h,
// a third of the model evaluations, with an error of about eps^(2/3) relative. Marquardt's
// iterations run on the plain differences when the caller gives no derivative procedure (their
// error only bends the path a little), and its final refinement on the extrapolated ones.
void Differences(const TRegressFun& RegressFun, double X, const TVec& Pars, TVec& Grad,
                 int levels);
void MultiDifferences(const TMultiRegressFun& RegressFun, const TVecList& X, const TVec& Y,
                      const TVec& Pars, TVecList& Grad, int levels);

// The Richardson combination of central differences at steps h, 2h and 4h.
inline double Extrapolate(double d1, double d2, double d4) {
  const double e1 = d1 - d2, e2 = d2 - d4;
  return d1 + 0.4 * e1 + (e1 - e2) / 45.0;
}

// The base step of parameter p for storage of the given precision.
inline double BaseStep(double p, bool isDouble) {
  const double s = isDouble ? GradStepSize : GradStepSizeSingle;
  const double eps = isDouble ? EPS_DOUBLE : EPS_SINGLE;
  return std::fabs(p) < eps ? s : s * std::fabs(p);
}

// One parameter of a real vector written straight into its storage (double or float): the
// numeric derivatives run the model six times per parameter, so the checked element accessors
// would cost about as much as a cheap model. A complex vector gets no slot; its values are read
// through Value first, which raises.
class TParameterSlot {
public:
  explicit TParameterSlot(TVec& v)
      : fDouble(v.Holds<double>() ? v.Data<double>() : nullptr),
        fSingle(v.Holds<float>() ? v.Data<float>() : nullptr) {}
  // Stores x as element i and returns the value stored (x rounded to float in single storage).
  double Set(int i, double x) {
    if (fDouble != nullptr) return fDouble[i] = x;
    return fSingle[i] = static_cast<float>(x);
  }

private:
  double* fDouble;
  float* fSingle;
};

const char* const kNaNHead = "The target function for optimization returned NAN for Pars = ";
const char* const kNaNTail =
    "The target function needs to check internally for occurance of the NAN value! "
    "This error is frequently an indication that the model is not applicable to the data.";

void ToDoubles(const TVec& v, std::vector<double>& out) {
  out.resize(static_cast<std::size_t>(v.Length()));
  for (int i = 0; i < v.Length(); ++i) out[static_cast<std::size_t>(i)] = v.Value(i);
}

// The observations y and weights w as doubles, shared by both model shapes.
struct TData {
  std::vector<double> y, w;  // w empty without weights
  bool single = false;       // model values are stored in single precision (Y's storage)
  TData(const TVec& Y, const TVec* Weights) : single(!Y.IsDouble()) {
    ToDoubles(Y, y);
    if (Weights != nullptr) ToDoubles(*Weights, w);
  }
  double Weight(std::size_t i) const { return w.empty() ? 1.0 : w[i]; }
  // What rounding can change in the sum of squares: each residual r_i = y_i - f_i is off by
  // about eps (|y_i| + |f_i|), which moves w_i r_i^2 by twice that times w_i |r_i|; `spread` is
  // the sum of w_i |r_i| (|y_i| + |f_i|). A few times that bound, as the errors add up.
  double Rounding(double spread) const { return 8.0 * (single ? EPS_SINGLE : EPS_DOUBLE) * spread; }
  // A model value as the fitted-value vector stores it.
  double Stored(double v) const { return single ? static_cast<double>(static_cast<float>(v)) : v; }
};

// The second derivative of a model value along v from its values m0 at b and mh at b + h v and
// its first derivative jv = J v: m(b + h v) = m0 + h jv + h^2 m''(v) / 2 + O(h^3).
inline double SecondDirectional(double mh, double m0, double jv, double h) {
  return 2.0 / h * ((mh - m0) / h - jv);
}

// ---- One variable ------------------------------------------------------------------------------

class TSingleFit {
public:
  TSingleFit(const TVec& X, const TVec& Y, const TVec* Weights, const TRegressFun& fun,
             const TDeriveProc& derive)
      : fXObj(X),
        fData(Y, Weights),
        fFun(fun),
        fDerive(derive ? derive : TDeriveProc(NumericDerive)),
        fNumeric(!derive) {
    ToDoubles(X, fX);
    fYHat.resize(fX.size());
  }

  double Objective(const TVec& pars) {
    double s = 0.0, spread = 0.0;
    for (std::size_t i = 0; i < fX.size(); ++i) {
      const double v = fData.Stored(fFun(pars, fX[i]));
      if (std::isnan(v)) {
        ERaise(kNaNHead + pars.ToString() + ", and for Const = " + fXObj.ToString() + ". " +
               kNaNTail);
      }
      fYHat[i] = v;
      const double r = fData.y[i] - v;
      s += fData.Weight(i) * r * r;
      spread += std::fabs(fData.Weight(i) * r) * (std::fabs(fData.y[i]) + std::fabs(v));
    }
    fRounding = fData.Rounding(spread);
    return s;
  }

  // g = -sum w_i r_i df_i/db; with curv, curv = sum w_i (df_i/db)(df_i/db)' (the lower
  // triangle accumulated, then mirrored).
  void Derivatives(const TVec& pars, std::vector<double>& g, std::vector<double>* curv) {
    const int p = pars.Length();
    const auto pz = static_cast<std::size_t>(p);
    fDi.resize(pz);
    fJ.resize(fX.size() * pz);
    fYAtJ = fYHat;
    const bool plain = fNumeric && !fSharp;
    if (plain) PlainDifferences(pars, pz);
    g.assign(pz, 0.0);
    if (curv != nullptr) curv->assign(pz * pz, 0.0);
    const TMtxFloatPrecision precision = pars.FloatPrecision();
    for (std::size_t i = 0; i < fX.size(); ++i) {
      const double* di = fJ.data() + i * pz;
      if (!plain) {
        // Resized only when the procedure changed it: the loop runs once per observation.
        if (fD.Length() != p || fD.FloatPrecision() != precision || fD.Complex()) {
          fD.Size(p, precision);
        }
        fD.SetZero();
        fDerive(fFun, fX[i], fYHat[i], pars, fD);
        if (fD.Length() < p) ERaise("NLinRegress: DeriveProc output length <> Pars.Length");
        di = fDi.data();
        if (fD.Holds<double>()) {
          di = fD.Data<double>();
        } else {
          for (int k = 0; k < p; ++k) fDi[static_cast<std::size_t>(k)] = fD.Value(k);
        }
        std::copy_n(di, pz, fJ.data() + i * pz);
      }
      const double w = fData.Weight(i);
      const double wr = w * (fData.y[i] - fYHat[i]);
      for (std::size_t k = 0; k < pz; ++k) g[k] -= wr * di[k];
      if (curv != nullptr) {
        double* c = curv->data();
        for (std::size_t k = 0; k < pz; ++k) {
          const double wd = w * di[k];
          for (std::size_t l = 0; l <= k; ++l) c[k * pz + l] += wd * di[l];
        }
      }
    }
    if (curv != nullptr) {
      for (std::size_t k = 0; k < pz; ++k) {
        for (std::size_t l = 0; l < k; ++l) (*curv)[l * pz + k] = (*curv)[k * pz + l];
      }
    }
  }

  // out := J'W m''(v), the second directional derivative of the model values along v at the
  // point of the last derivatives, by a difference over the step h v (`shifted` holds that
  // point); false when a model value there is not finite.
  bool Acceleration(const TVec& shifted, std::span<const double> v, double h,
                    std::span<double> out) {
    const std::size_t pz = v.size();
    std::fill(out.begin(), out.end(), 0.0);
    for (std::size_t i = 0; i < fX.size(); ++i) {
      const double mh = fData.Stored(fFun(shifted, fX[i]));
      if (!std::isfinite(mh)) return false;
      const double* ji = fJ.data() + i * pz;
      double jv = 0.0;
      for (std::size_t k = 0; k < pz; ++k) jv += ji[k] * v[k];
      const double wm = fData.Weight(i) * SecondDirectional(mh, fYAtJ[i], jv, h);
      for (std::size_t k = 0; k < pz; ++k) out[k] += wm * ji[k];
    }
    return true;
  }

  // The plain central differences of every model value into fJ, parameter by parameter: the
  // same values as Differences(.., 1) observation by observation, without its per-call set-up.
  void PlainDifferences(const TVec& pars, std::size_t pz) {
    fP = pars;
    TParameterSlot slot(fP);
    const bool isDouble = pars.IsDouble();
    fLo.resize(fX.size());
    for (std::size_t k = 0; k < pz; ++k) {
      const int kk = static_cast<int>(k);
      const double pk = pars.Value(kk);
      const double h = BaseStep(pk, isDouble);
      const double lo = slot.Set(kk, pk - h);
      for (std::size_t i = 0; i < fX.size(); ++i) fLo[i] = fFun(fP, fX[i]);
      const double hi = slot.Set(kk, pk + h);
      for (std::size_t i = 0; i < fX.size(); ++i) {
        fJ[i * pz + k] = (fFun(fP, fX[i]) - fLo[i]) / (hi - lo);
      }
      slot.Set(kk, pk);
    }
  }

  // Switches numeric derivatives to the extrapolated differences; false when nothing changes.
  bool Sharpen() {
    const bool changes = fNumeric && !fSharp;
    fSharp = true;
    return changes;
  }

  // Model values at pars without the NaN check (YCalc when no optimiser ran).
  void Evaluate(const TVec& pars) {
    for (std::size_t i = 0; i < fX.size(); ++i) fYHat[i] = fData.Stored(fFun(pars, fX[i]));
  }
  const std::vector<double>& YHat() const { return fYHat; }

private:
  const TVec& fXObj;
  TData fData;
  std::vector<double> fX, fYHat;
  const TRegressFun& fFun;
  TDeriveProc fDerive;
  bool fNumeric;        // no derivative procedure: numeric differences
  bool fSharp = false;  // ... extrapolated from now on
  TVec fD;                  // one observation's derivatives
  std::vector<double> fDi;  // the same as doubles
  std::vector<double> fJ, fYAtJ;  // the last derivatives (row by row) and the model values there
  TVec fP;                        // the parameters of the plain differences
  std::vector<double> fLo;        // model values at the lower step
  double fRounding = 0.0;         // the rounding bound of the last sum of squares

public:
  double Rounding() const { return fRounding; }
};

// ---- Several variables -------------------------------------------------------------------------

class TMultiFit {
public:
  TMultiFit(const TVecList& X, const TVec& Y, const TVec* Weights, const TMultiRegressFun& fun,
            const TMultiDeriveProc& derive)
      : fX(X),
        fY(Y),
        fData(Y, Weights),
        fFun(fun),
        fDerive(derive ? derive : TMultiDeriveProc(MultiNumericDerive)),
        fNumeric(!derive) {}

  double Objective(const TVec& pars) {
    fYHat.Size(fY.Length(), fY.FloatPrecision());
    fYHat.SetZero();
    fFun(pars, fX, fYHat);
    if (fYHat.Length() != fY.Length()) ERaise("NLinRegress: RegressFun output length <> Y.Length");
    const std::size_t n = fData.y.size();
    fR.resize(n);
    double s = 0.0, spread = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = fYHat.Value(static_cast<int>(i));
      if (std::isnan(v)) ERaise(kNaNHead + pars.ToString() + kNaNTail);
      fR[i] = fData.y[i] - v;
      s += fData.Weight(i) * fR[i] * fR[i];
      spread += std::fabs(fData.Weight(i) * fR[i]) * (std::fabs(fData.y[i]) + std::fabs(v));
    }
    fRounding = fData.Rounding(spread);
    return s;
  }

  // As TSingleFit::Derivatives, from the derivative vectors over all observations.
  void Derivatives(const TVec& pars, std::vector<double>& g, std::vector<double>* curv) {
    const int p = pars.Length();
    const std::size_t n = fData.y.size();
    fJ.SetCount(p);
    for (int k = 0; k < p; ++k) {
      fJ[k].Size(fY.Length(), fY.FloatPrecision());
      fJ[k].SetZero();
    }
    if (fNumeric && !fSharp) {
      MultiDifferences(fFun, fX, fYHat, pars, fJ, 1);
    } else {
      fDerive(fFun, fX, fYHat, pars, fJ);
    }
    if (fJ.Count() < p) ERaise("NLinRegress: DeriveProc output length <> Y.Length");
    // jm: one row of derivatives (over the observations) per parameter.
    Eigen::MatrixXd jm(p, static_cast<Eigen::Index>(n));
    for (int k = 0; k < p; ++k) {
      if (fJ[k].Length() != fY.Length())
        ERaise("NLinRegress: DeriveProc output length <> Y.Length");
      for (std::size_t i = 0; i < n; ++i)
        jm(k, static_cast<Eigen::Index>(i)) = fJ[k].Value(static_cast<int>(i));
    }
    fJm = jm;
    ToDoubles(fYHat, fYAtJ);
    Eigen::VectorXd wr(static_cast<Eigen::Index>(n));
    for (std::size_t i = 0; i < n; ++i) wr(static_cast<Eigen::Index>(i)) = fData.Weight(i) * fR[i];
    g.resize(static_cast<std::size_t>(p));
    if (p == 0) return;
    if (n == 0) {
      g.assign(static_cast<std::size_t>(p), 0.0);
      if (curv != nullptr) curv->assign(static_cast<std::size_t>(p * p), 0.0);
      return;
    }
    Eigen::Map<Eigen::VectorXd>(g.data(), p) = -(jm * wr);
    if (curv != nullptr) {
      curv->resize(static_cast<std::size_t>(p * p));
      Eigen::Map<Eigen::MatrixXd> c(curv->data(), p, p);
      if (fData.w.empty()) {
        c.noalias() = jm * jm.transpose();
      } else {
        const Eigen::Map<const Eigen::VectorXd> w(fData.w.data(), static_cast<Eigen::Index>(n));
        c.noalias() = (jm * w.asDiagonal()) * jm.transpose();
      }
    }
  }

  bool Sharpen() {  // as TSingleFit::Sharpen
    const bool changes = fNumeric && !fSharp;
    fSharp = true;
    return changes;
  }

  // As TSingleFit::Acceleration.
  bool Acceleration(const TVec& shifted, std::span<const double> v, double h,
                    std::span<double> out) {
    const std::size_t n = fData.y.size();
    fShifted.Size(fY.Length(), fY.FloatPrecision());
    fShifted.SetZero();
    fFun(shifted, fX, fShifted);
    if (fShifted.Length() != fY.Length()) {
      ERaise("NLinRegress: RegressFun output length <> Y.Length");
    }
    const auto p = static_cast<Eigen::Index>(v.size());
    if (n == 0) {
      std::fill(out.begin(), out.end(), 0.0);
      return true;
    }
    const Eigen::VectorXd jv =
        fJm.transpose() * Eigen::Map<const Eigen::VectorXd>(v.data(), p);
    Eigen::VectorXd wm(static_cast<Eigen::Index>(n));
    for (std::size_t i = 0; i < n; ++i) {
      const auto e = static_cast<Eigen::Index>(i);
      const double mh = fShifted.Value(static_cast<int>(i));
      if (!std::isfinite(mh)) return false;
      wm(e) = fData.Weight(i) * SecondDirectional(mh, fYAtJ[i], jv(e), h);
    }
    Eigen::Map<Eigen::VectorXd>(out.data(), p) = fJm * wm;
    return true;
  }

  void Evaluate(const TVec& pars) {
    fYHat.Size(fY.Length(), fY.FloatPrecision());
    fYHat.SetZero();
    fFun(pars, fX, fYHat);
  }
  std::vector<double> YHat() const {
    std::vector<double> v;
    ToDoubles(fYHat, v);
    return v;
  }

private:
  const TVecList& fX;
  const TVec& fY;
  TData fData;
  const TMultiRegressFun& fFun;
  TMultiDeriveProc fDerive;
  bool fNumeric;        // no derivative procedure: numeric differences
  bool fSharp = false;  // ... extrapolated from now on
  TVec fYHat;
  TVecList fJ;
  std::vector<double> fR;
  Eigen::MatrixXd fJm;        // the last derivatives, one row per parameter
  std::vector<double> fYAtJ;  // the model values there
  TVec fShifted;              // model values at the acceleration's probe point
  double fRounding = 0.0;     // the rounding bound of the last sum of squares

public:
  double Rounding() const { return fRounding; }
};

// ---- Running the optimiser ---------------------------------------------------------------------

// The first values of v into dst (sized by the optimiser), in dst's precision.
void WriteValues(const std::vector<double>& v, TDenseLumex& dst) {
  const auto n = std::min(v.size(), static_cast<std::size_t>(dst.Length()));
  if (dst.Holds<double>()) {
    std::copy_n(v.data(), n, dst.Data<double>());
  } else {
    for (std::size_t k = 0; k < n; ++k) dst.SetValue(static_cast<int>(k), v[k]);
  }
}

struct TRun {
  TOptMethod method;
  TOptStopReason& stopReason;
  TMtxFloatPrecision precision;
  bool searchFlag;
  int maxIter;
  double tolerance, gradTolerance;
  std::vector<std::string>* verbose;
};

// Marquardt's view of a fit: the objective and the Gauss-Newton pair from the fit, and the
// geodesic acceleration from its model values (double precision only: in single precision the
// difference quotient of the second derivative drowns in rounding).
template <class Fit>
class TFitHost {
public:
  static constexpr bool kLeastSquares = true;

  TFitHost(Fit& fit, int n, TMtxFloatPrecision precision, std::vector<std::string>* verbose)
      : fFit(fit), fVerbose(verbose) {
    fPoint->Size(n, precision);
    fShifted->Size(n, precision);
    fLast.resize(static_cast<std::size_t>(n));
  }
  TMtxFloatPrecision Precision() const { return fPoint->FloatPrecision(); }
  void Round(std::span<double> x) const {
    if (Precision() == fpDouble) return;
    for (double& v : x) v = static_cast<double>(static_cast<float>(v));
  }
  double Eval(std::span<double> x) {
    Round(x);
    for (std::size_t j = 0; j < x.size(); ++j) fPoint->SetValue(static_cast<int>(j), x[j]);
    fLastValid = false;  // until the objective returns
    const double f = fFit.Objective(*fPoint);
    std::copy(x.begin(), x.end(), fLast.begin());
    fLastValid = true;
    return f;
  }
  bool Curvature(std::span<double> g, TMtx& c) {
    fFit.Derivatives(*fPoint, fG, &fC);
    Round(fG);
    Round(fC);
    double* cd = c.Data<double>();
    std::copy(fG.begin(), fG.end(), g.begin());
    std::copy(fC.begin(), fC.end(), cd);
    return std::all_of(fG.begin(), fG.end(), [](double v) { return std::isfinite(v); }) &&
           std::all_of(fC.begin(), fC.end(), [](double v) { return std::isfinite(v); });
  }
  void EnsureLastAt(std::span<double> x) {
    if (!fLastValid || !std::equal(x.begin(), x.end(), fLast.begin())) Eval(x);
  }
  template <class... Args>
  void Progress(const char* format, Args... args) {
    if (fVerbose == nullptr) return;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    fVerbose->emplace_back(buffer);
  }
  void Finish(std::span<double> pars, std::span<const double> x, double f, double& fmin,
              TOptStopReason reason, TOptStopReason& stopReason, int iterations) {
    std::copy(x.begin(), x.end(), pars.begin());
    fmin = f;
    stopReason = reason;
    Progress("Marquardt stopped after %d iterations: %s; f = %.17g", iterations,
             OptStopReasonText(reason).c_str(), f);
  }
  bool SharpenDerivatives() { return fFit.Sharpen(); }
  // How much rounding can change the objective at the latest evaluation.
  double Rounding() const { return fFit.Rounding(); }
  bool Acceleration(std::span<const double> x, std::span<const double> v, std::span<double> out) {
    if (Precision() != fpDouble) return false;
    double* b = fShifted->Data<double>();
    for (std::size_t j = 0; j < x.size(); ++j) b[j] = x[j] + kProbe * v[j];
    return fFit.Acceleration(*fShifted, v, kProbe, out);
  }

private:
  // The second derivative is taken over a tenth of the step: short enough for the quadratic
  // term to dominate, long enough to keep rounding small against it.
  static constexpr double kProbe = 0.1;
  Fit& fFit;
  std::vector<std::string>* fVerbose;
  TLease<TVec> fPoint;    // the evaluated point, in the precision
  TLease<TVec> fShifted;  // the acceleration's probe point
  std::vector<double> fLast, fG, fC;
  bool fLastValid = false;
};

template <class Fit>
int RunUnbounded(Fit& fit, std::span<double> pars, const TRun& r) {
  const TRealFunction f = [&fit](const TVec& b, const TVec*, const TObjConsts&) {
    return fit.Objective(b);
  };
  std::vector<double> gv, mv;  // the callbacks' results as doubles, reused
  const TGradientFunction grad = [&fit, &gv](const TRealFunction&, const TVec& b, const TVec*,
                                             const TObjConsts&, TVec& g) {
    fit.Derivatives(b, gv, nullptr);
    for (double& v : gv) v *= 2.0;
    WriteValues(gv, g);
  };
  const TCurvatureFunction curv = [&fit, &gv, &mv](const TRealFunction&, const TVec& b, const TVec*,
                                                   const TObjConsts&, TVec& g, TMtx& m) {
    fit.Derivatives(b, gv, &mv);
    WriteValues(gv, g);
    WriteValues(mv, m);
  };
  double fmin = NaN;
  switch (r.method) {
    case optSimplex:
      return Simplex(f, pars, nullptr, {}, fmin, r.stopReason, r.precision, r.maxIter, r.tolerance,
                     r.verbose);
    case optMarquardt:
      if (!pars.empty()) {
        TFitHost<Fit> host(fit, static_cast<int>(pars.size()), r.precision, r.verbose);
        const double eps = r.precision == fpSingle ? EPS_SINGLE : EPS_DOUBLE;
        const detail::TMarquardtSettings settings{
            r.maxIter, r.tolerance > eps ? r.tolerance : eps, r.gradTolerance, 0.01};
        return detail::MarquardtLoop(host, pars, fmin, nullptr, r.stopReason, settings);
      }
      return Marquardt(f, curv, pars, nullptr, {}, fmin, nullptr, r.stopReason, r.precision,
                       r.maxIter, r.tolerance, r.gradTolerance, 0.01, r.verbose);
    case optBFGS:
    case optDFP:
      return BFGS(f, grad, pars, nullptr, {}, fmin, nullptr, r.stopReason, r.precision,
                  r.method == optDFP, r.searchFlag, r.maxIter, r.tolerance, r.gradTolerance,
                  r.verbose);
    case optConjGradFR:
    case optConjGradPR:
      return ConjGrad(f, grad, pars, nullptr, {}, fmin, r.stopReason, r.precision,
                      r.method == optConjGradFR, r.searchFlag, r.maxIter, r.tolerance,
                      r.gradTolerance, r.verbose);
    default: return -1;  // nothing ran
  }
}

template <class Fit>
int RunBounded(Fit& fit, std::span<double> pars, const TVec& lower, const TVec& upper,
               const TRun& r) {
  if (r.method != optSimplex) return -1;
  std::vector<double> lo, hi;
  ToDoubles(lower, lo);
  ToDoubles(upper, hi);
  const TRealFunction f = [&fit](const TVec& b, const TVec*, const TObjConsts&) {
    return fit.Objective(b);
  };
  double fmin = NaN;
  return Simplex(f, pars, lo, hi, nullptr, {}, fmin, r.stopReason, r.precision, r.maxIter,
                 r.tolerance, r.verbose);
}

// Runs `optimise` on a copy of Pars, writes the best point back and fills YCalc. When nothing
// ran (optimise returns -1), Pars stay and YCalc holds the model values at them.
template <class TFit, class Optimise>
int RunFit(TFit& fit, TVec& Pars, const TVec& Y, TVec* YCalc, Optimise&& optimise) {
  std::vector<double> b;
  ToDoubles(Pars, b);
  int result = optimise(std::span<double>(b));
  if (result < 0) {
    result = 0;
    if (YCalc != nullptr) {
      auto start = CreateIt<TVec>();
      start->Size(Pars.Length());
      for (int k = 0; k < Pars.Length(); ++k) (*start)[k] = b[static_cast<std::size_t>(k)];
      fit.Evaluate(*start);
    }
  } else {
    for (int k = 0; k < Pars.Length(); ++k) Pars.SetValue(k, b[static_cast<std::size_t>(k)]);
  }
  if (YCalc != nullptr) {
    const std::vector<double> yhat = fit.YHat();
    YCalc->Size(Y.Length(), Y.FloatPrecision());
    for (int i = 0; i < Y.Length(); ++i) {
      YCalc->SetValue(i,
                      i < static_cast<int>(yhat.size()) ? yhat[static_cast<std::size_t>(i)] : NaN);
    }
  }
  return result;
}

void CheckSingle(const TVec& X, const TVec& Y, const TVec* Weights) {
  if (X.Length() != Y.Length()) ERaise("NLinRegress: X.Length <> Y.Length");
  if (X.FloatPrecision() != Y.FloatPrecision()) {
    ERaise("NLinRegress: X.FloatPrecision <> Y.FloatPrecision");
  }
  if (Weights != nullptr && Weights->Length() != Y.Length()) {
    ERaise("NLinRegress: Weights.Length <> Y.Length");
  }
}

// `numbered` puts the decimal index between the brackets (the bounded forms), otherwise the
// message holds the letter i.
void CheckMulti(const TVecList& X, const TVec& Y, const TVec* Weights, bool numbered) {
  if (X.Count() == 0) ERaise("NLinRegress: X.Count = 0");
  for (int i = 0; i < X.Count(); ++i) {
    const std::string item = "NLinRegress: X[" + (numbered ? std::to_string(i) : "i") + "]";
    if (X[i].Length() != Y.Length()) ERaise(item + ".Length <> Y.Length");
    if (X[i].FloatPrecision() != Y.FloatPrecision()) {
      ERaise(item + ".FloatPrecision <> Y.FloatPrecision");
    }
  }
  if (Weights != nullptr && Weights->Length() != Y.Length()) {
    ERaise("NLinRegress: Weights.Length <> Y.Length");
  }
}


}  // namespace

int NLinRegress(const TVec& X, const TVec& Y, const TRegressFun& RegressFun,
                const TDeriveProc& DeriveProc, TVec& Pars, TOptMethod Method,
                TOptStopReason& StopReason, const TVec* Weights, TVec* YCalc, bool SearchFlag,
                int MaxIter, double Tolerance, double GradTolerance,
                std::vector<std::string>* Verbose) {
  StopReason = osrNone;
  CheckSingle(X, Y, Weights);
  if (!RegressFun) ERaise("NLinRegress: RegressFun is null");
  TSingleFit fit(X, Y, Weights, RegressFun, DeriveProc);
  const TRun run{Method,  StopReason, X.FloatPrecision(), SearchFlag,
                 MaxIter, Tolerance,  GradTolerance,      Verbose};
  return RunFit(fit, Pars, Y, YCalc,
                [&](std::span<double> b) { return RunUnbounded(fit, b, run); });
}

int NLinRegress(const TVec& X, const TVec& Y, const TRegressFun& RegressFun,
                const TDeriveProc& DeriveProc, TVec& Pars, const TVec& LowerBounds,
                const TVec& UpperBounds, TOptMethod Method, TOptStopReason& StopReason,
                const TVec* Weights, TVec* YCalc, bool SearchFlag, int MaxIter, double Tolerance,
                double GradTolerance, std::vector<std::string>* Verbose) {
  StopReason = osrNone;
  CheckSingle(X, Y, Weights);
  if (!RegressFun) ERaise("NLinRegress: RegressFun is null");
  TSingleFit fit(X, Y, Weights, RegressFun, DeriveProc);
  const TRun run{Method,  StopReason, X.FloatPrecision(), SearchFlag,
                 MaxIter, Tolerance,  GradTolerance,      Verbose};
  return RunFit(fit, Pars, Y, YCalc, [&](std::span<double> b) {
    return RunBounded(fit, b, LowerBounds, UpperBounds, run);
  });
}

int NLinRegress(const TVecList& X, const TVec& Y, const TMultiRegressFun& RegressFun,
                const TMultiDeriveProc& DeriveProc, TVec& Pars, TOptMethod Method,
                TOptStopReason& StopReason, const TVec* Weights, TVec* YCalc, bool SearchFlag,
                int MaxIter, double Tolerance, double GradTolerance,
                std::vector<std::string>* Verbose) {
  StopReason = osrNone;
  CheckMulti(X, Y, Weights, false);
  if (!RegressFun) ERaise("NLinRegress: RegressFun is null");
  TMultiFit fit(X, Y, Weights, RegressFun, DeriveProc);
  const TRun run{Method,  StopReason, Y.FloatPrecision(), SearchFlag,
                 MaxIter, Tolerance,  GradTolerance,      Verbose};
  return RunFit(fit, Pars, Y, YCalc,
                [&](std::span<double> b) { return RunUnbounded(fit, b, run); });
}

int NLinRegress(const TVecList& X, const TVec& Y, const TMultiRegressFun& RegressFun,
                const TMultiDeriveProc& DeriveProc, TVec& Pars, const TVec& LowerBounds,
                const TVec& UpperBounds, TOptMethod Method, TOptStopReason& StopReason,
                const TVec* Weights, TVec* YCalc, bool SearchFlag, int MaxIter, double Tolerance,
                double GradTolerance, std::vector<std::string>* Verbose) {
  StopReason = osrNone;
  CheckMulti(X, Y, Weights, true);
  if (!RegressFun) ERaise("NLinRegress: RegressFun is null");
  TMultiFit fit(X, Y, Weights, RegressFun, DeriveProc);
  const TRun run{Method,  StopReason, Y.FloatPrecision(), SearchFlag,
                 MaxIter, Tolerance,  GradTolerance,      Verbose};
  return RunFit(fit, Pars, Y, YCalc, [&](std::span<double> b) {
    return RunBounded(fit, b, LowerBounds, UpperBounds, run);
  });
}

namespace {

void Differences(const TRegressFun& RegressFun, double X, const TVec& Pars, TVec& Grad,
                 int levels) {
  auto p = CreateIt<TVec>();
  *p = Pars;
  TParameterSlot slot(*p);
  const bool isDouble = Pars.IsDouble();
  for (int i = 0; i < Pars.Length(); ++i) {
    const double pi = Pars.Value(i);
    const double h = BaseStep(pi, isDouble);
    double d[3];
    for (int level = 0; level < levels; ++level) {
      const double t = h * (1 << level);
      const double lo = slot.Set(i, pi - t);
      const double fLo = RegressFun(*p, X);
      const double hi = slot.Set(i, pi + t);
      const double fHi = RegressFun(*p, X);
      // The step as stored, which in single precision differs from t.
      d[level] = (fHi - fLo) / (hi - lo);
    }
    slot.Set(i, pi);
    Grad.SetValue(i, levels == 3 ? Extrapolate(d[0], d[1], d[2]) : d[0]);
  }
}

void MultiDifferences(const TMultiRegressFun& RegressFun, const TVecList& X, const TVec& Y,
                      const TVec& Pars, TVecList& Grad, int levels) {
  auto [p, lo, hi] = CreateIt<TVec, TVec, TVec>();
  auto [d1, d2, d4] = CreateIt<TVec, TVec, TVec>();  // the differences at h, 2h and 4h
  *p = Pars;
  TParameterSlot slot(*p);
  const bool isDouble = Y.IsDouble();
  const int n = Y.Length();
  TVec* const d[3] = {d1.get(), d2.get(), d4.get()};
  for (TVec* v : d) v->Size(n);
  for (int i = 0; i < Pars.Length(); ++i) {
    const double pi = Pars.Value(i);
    const double h = BaseStep(pi, isDouble);
    for (int level = 0; level < levels; ++level) {
      const double t = h * (1 << level);
      const double loPar = slot.Set(i, pi - t);
      lo->Size(n, Y.FloatPrecision());
      lo->SetZero();
      RegressFun(*p, X, *lo);
      const double hiPar = slot.Set(i, pi + t);
      hi->Size(n, Y.FloatPrecision());
      hi->SetZero();
      RegressFun(*p, X, *hi);
      if (lo->Length() != n || hi->Length() != n) {
        ERaise("MultiNumericDerive: RegressFun output length <> Y.Length");
      }
      const double inv = 1.0 / (hiPar - loPar);
      double* dl = d[level]->Data<double>();
      if (lo->Holds<double>() && hi->Holds<double>()) {
        const double* a = lo->Data<double>();
        const double* b = hi->Data<double>();
        for (int j = 0; j < n; ++j) dl[j] = (b[j] - a[j]) * inv;
      } else {
        for (int j = 0; j < n; ++j) dl[j] = (hi->Value(j) - lo->Value(j)) * inv;
      }
    }
    slot.Set(i, pi);
    TVec& g = Grad[i];
    g.Size(n, Y.FloatPrecision());
    const double* e1 = d1->Data<double>();
    const double* e2 = d2->Data<double>();
    const double* e4 = d4->Data<double>();
    for (int j = 0; j < n; ++j) {
      g.SetValue(j, levels == 3 ? Extrapolate(e1[j], e2[j], e4[j]) : e1[j]);
    }
  }
}

}  // namespace

void NumericDerive(const TRegressFun& RegressFun, double X, double /*Y*/, const TVec& Pars,
                   TVec& Grad) {
  if (!RegressFun) ERaise("NumericDerive: RegressFun is null");
  Differences(RegressFun, X, Pars, Grad, 3);
}

void MultiNumericDerive(const TMultiRegressFun& RegressFun, const TVecList& X, const TVec& Y,
                        const TVec& Pars, TVecList& Grad) {
  if (!RegressFun) ERaise("MultiNumericDerive: RegressFun is null");
  if (Grad.Count() < Pars.Length()) ERaise("MultiNumericDerive: Grad.Count < Pars.Length");
  MultiDifferences(RegressFun, X, Y, Pars, Grad, 3);
}

}  // namespace lumex
