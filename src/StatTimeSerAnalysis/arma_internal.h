// Shared machinery of ARMA estimation and forecasting: the model's autocovariances and the
// innovations algorithm on the transformed process, stored by bands.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "lumex/StatTimeSerAnalysis.h"

namespace lumex::detail {

// The coefficients of an optional vector as doubles (empty when absent); complex storage raises
// "<fn>: (Phi.Complex) or (Theta.Complex)".
std::vector<double> ArmaCoeffs(const TVec* v, const char* fn);

// Autocovariances gamma(0 .. n) of the ARMA model with unit noise variance, in double; empty for
// p = q = 0. Raises "n <= 0" for n < 1 and the LU solver's message for a singular system.
void ArmaAcfDouble(const std::vector<double>& phi, const std::vector<double>& theta, int n,
                   std::vector<double>& gamma);

// The innovations algorithm on kappa(k, j), the covariance of W_t = X_t (t < m) and
// W_t = X_t - phi_1 X_{t-1} - ... - phi_p X_{t-p} (t >= m), m = max(p, q), times counted from 0
// (Brockwell and Davis, 5.3). Row k of the coefficients is theta_{k,1} .. theta_{k,w_k}: full
// (w_k = k) below m and q wide from m on, since kappa(k, j) vanishes for j < k - q there and
// with it theta_{k,k-j}. So each row costs O(q^2) and the whole recursion O(N q^2). Once q + 1
// consecutive rows of the stationary part agree bit for bit, every later row is computed from
// equal numbers by equal operations and equals them; the recursion stops there and later rows
// are read from the last one stored, which is what running on would give.
class TArmaInnovations {
public:
  // The model: autocovariances of lags 0 .. 5m and those of the MA part of lags 0 .. 2m (white
  // noise for a pure AR model). Raises as ArmaAcfDouble (p = q = 0 gives "n <= 0").
  void Init(const std::vector<double>& phi, const std::vector<double>& theta);
  // Rows 0 .. N-1. Returns false when a one-step variance is not positive and finite (the
  // covariance is not positive definite); the recursion then stops there when stopOnFailure is
  // set and runs to the end otherwise.
  bool Run(int N, bool stopOnFailure);

  double Kappa(int k, int j) const;
  int Lo(int k) const { return k < fM ? 0 : (k - fQ > 0 ? k - fQ : 0); }
  // theta_{k,1 .. k-Lo(k)}.
  const double* Row(int k) const {
    return fTheta.data() + fOffset[static_cast<std::size_t>(k < fStored ? k : fStored - 1)];
  }
  double V(int k) const { return fV[static_cast<std::size_t>(k < fStored ? k : fStored - 1)]; }
  // Rows actually stored; rows from here on equal the last stored one.
  int Stored() const { return fStored; }
  double Gamma0() const { return fGx[0]; }

  int P() const { return fP; }
  int Q() const { return fQ; }
  int M() const { return fM; }
  const std::vector<double>& Phi() const { return fPhi; }

private:
  int fP = 0, fQ = 0, fM = 0, fStored = 0;
  std::vector<double> fPhi, fGx, fGma, fTheta, fV;
  std::vector<std::size_t> fOffset;
};

// The likelihood criterion n ln(RSS/n) + ln det R of x[0 .. n-1] (n >= 2), with the whitened
// residuals in resid (n values) when resid is not null. The largest double for q = 0, a
// non-invertible MA part, a failed autocovariance or a covariance that is not positive definite
// (resid then untouched).
double ArmaCriterion(const double* x, int n, const std::vector<double>& phi,
                     const std::vector<double>& theta, double* resid);

}  // namespace lumex::detail
