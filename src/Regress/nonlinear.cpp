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
#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "lumex/Regress.h"
#include "lumex/core/cache.h"

namespace lumex {

namespace {

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
  // A model value as the fitted-value vector stores it.
  double Stored(double v) const { return single ? static_cast<double>(static_cast<float>(v)) : v; }
};

// ---- One variable ------------------------------------------------------------------------------

class TSingleFit {
public:
  TSingleFit(const TVec& X, const TVec& Y, const TVec* Weights, const TRegressFun& fun,
             const TDeriveProc& derive)
      : fXObj(X),
        fData(Y, Weights),
        fFun(fun),
        fDerive(derive ? derive : TDeriveProc(NumericDerive)) {
    ToDoubles(X, fX);
    fYHat.resize(fX.size());
  }

  double Objective(const TVec& pars) {
    double s = 0.0;
    for (std::size_t i = 0; i < fX.size(); ++i) {
      const double v = fData.Stored(fFun(pars, fX[i]));
      if (std::isnan(v)) {
        ERaise(kNaNHead + pars.ToString() + ", and for Const = " + fXObj.ToString() + ". " +
               kNaNTail);
      }
      fYHat[i] = v;
      const double r = fData.y[i] - v;
      s += fData.Weight(i) * r * r;
    }
    return s;
  }

  // g = -sum w_i r_i df_i/db; with curv, curv = sum w_i (df_i/db)(df_i/db)' (the lower
  // triangle accumulated, then mirrored).
  void Derivatives(const TVec& pars, std::vector<double>& g, std::vector<double>* curv) {
    const int p = pars.Length();
    const auto pz = static_cast<std::size_t>(p);
    fDi.resize(pz);
    g.assign(pz, 0.0);
    if (curv != nullptr) curv->assign(pz * pz, 0.0);
    for (std::size_t i = 0; i < fX.size(); ++i) {
      fD.Size(p, pars.FloatPrecision());
      fD.SetZero();
      fDerive(fFun, fX[i], fYHat[i], pars, fD);
      if (fD.Length() < p) ERaise("NLinRegress: DeriveProc output length <> Pars.Length");
      if (fD.Holds<double>()) {
        std::copy_n(fD.Data<double>(), pz, fDi.data());
      } else {
        for (int k = 0; k < p; ++k) fDi[static_cast<std::size_t>(k)] = fD.Value(k);
      }
      const double w = fData.Weight(i);
      const double wr = w * (fData.y[i] - fYHat[i]);
      for (std::size_t k = 0; k < pz; ++k) g[k] -= wr * fDi[k];
      if (curv != nullptr) {
        double* c = curv->data();
        for (std::size_t k = 0; k < pz; ++k) {
          const double wd = w * fDi[k];
          for (std::size_t l = 0; l <= k; ++l) c[k * pz + l] += wd * fDi[l];
        }
      }
    }
    if (curv != nullptr) {
      for (std::size_t k = 0; k < pz; ++k) {
        for (std::size_t l = 0; l < k; ++l) (*curv)[l * pz + k] = (*curv)[k * pz + l];
      }
    }
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
  TVec fD;                  // one observation's derivatives
  std::vector<double> fDi;  // the same as doubles
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
        fDerive(derive ? derive : TMultiDeriveProc(MultiNumericDerive)) {}

  double Objective(const TVec& pars) {
    fYHat.Size(fY.Length(), fY.FloatPrecision());
    fYHat.SetZero();
    fFun(pars, fX, fYHat);
    if (fYHat.Length() != fY.Length()) ERaise("NLinRegress: RegressFun output length <> Y.Length");
    const std::size_t n = fData.y.size();
    fR.resize(n);
    double s = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = fYHat.Value(static_cast<int>(i));
      if (std::isnan(v)) ERaise(kNaNHead + pars.ToString() + kNaNTail);
      fR[i] = fData.y[i] - v;
      s += fData.Weight(i) * fR[i] * fR[i];
    }
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
    fDerive(fFun, fX, fYHat, pars, fJ);
    if (fJ.Count() < p) ERaise("NLinRegress: DeriveProc output length <> Y.Length");
    // jm: one row of derivatives (over the observations) per parameter.
    Eigen::MatrixXd jm(p, static_cast<Eigen::Index>(n));
    for (int k = 0; k < p; ++k) {
      if (fJ[k].Length() != fY.Length())
        ERaise("NLinRegress: DeriveProc output length <> Y.Length");
      for (std::size_t i = 0; i < n; ++i)
        jm(k, static_cast<Eigen::Index>(i)) = fJ[k].Value(static_cast<int>(i));
    }
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
  TVec fYHat;
  TVecList fJ;
  std::vector<double> fR;
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

void NumericDerive(const TRegressFun& RegressFun, double X, double /*Y*/, const TVec& Pars,
                   TVec& Grad) {
  if (!RegressFun) ERaise("NumericDerive: RegressFun is null");
  auto p = CreateIt<TVec>();
  *p = Pars;
  const bool isDouble = Pars.IsDouble();
  for (int i = 0; i < Pars.Length(); ++i) {
    const double pi = Pars.Value(i);
    const double h = BaseStep(pi, isDouble);
    double d[3];
    for (int level = 0; level < 3; ++level) {
      const double t = h * (1 << level);
      p->SetValue(i, pi - t);
      const double lo = p->Value(i);
      const double fLo = RegressFun(*p, X);
      p->SetValue(i, pi + t);
      const double hi = p->Value(i);
      const double fHi = RegressFun(*p, X);
      // The step as stored, which in single precision differs from t.
      d[level] = (fHi - fLo) / (hi - lo);
    }
    p->SetValue(i, pi);
    Grad.SetValue(i, Extrapolate(d[0], d[1], d[2]));
  }
}

void MultiNumericDerive(const TMultiRegressFun& RegressFun, const TVecList& X, const TVec& Y,
                        const TVec& Pars, TVecList& Grad) {
  if (!RegressFun) ERaise("MultiNumericDerive: RegressFun is null");
  if (Grad.Count() < Pars.Length()) ERaise("MultiNumericDerive: Grad.Count < Pars.Length");
  auto [p, lo, hi] = CreateIt<TVec, TVec, TVec>();
  *p = Pars;
  const bool isDouble = Y.IsDouble();
  const int n = Y.Length();
  std::vector<double> d[3];
  for (int i = 0; i < Pars.Length(); ++i) {
    const double pi = Pars.Value(i);
    const double h = BaseStep(pi, isDouble);
    for (int level = 0; level < 3; ++level) {
      const double t = h * (1 << level);
      p->SetValue(i, pi - t);
      const double step = -p->Value(i);
      lo->Size(n, Y.FloatPrecision());
      lo->SetZero();
      RegressFun(*p, X, *lo);
      p->SetValue(i, pi + t);
      hi->Size(n, Y.FloatPrecision());
      hi->SetZero();
      RegressFun(*p, X, *hi);
      if (lo->Length() != n || hi->Length() != n) {
        ERaise("MultiNumericDerive: RegressFun output length <> Y.Length");
      }
      const double inv = 1.0 / (p->Value(i) + step);
      std::vector<double>& dl = d[level];
      dl.resize(static_cast<std::size_t>(n));
      for (int j = 0; j < n; ++j) {
        dl[static_cast<std::size_t>(j)] = (hi->Value(j) - lo->Value(j)) * inv;
      }
    }
    p->SetValue(i, pi);
    TVec& g = Grad[i];
    g.Size(n, Y.FloatPrecision());
    for (int j = 0; j < n; ++j) {
      const auto k = static_cast<std::size_t>(j);
      g.SetValue(j, Extrapolate(d[0][k], d[1][k], d[2][k]));
    }
  }
}

}  // namespace lumex
