// Internal: the least-squares engines shared by the multiple, principal-component and stepwise
// regressions.
#pragma once

#include <Eigen/Core>

#include "lumex/Regress.h"

namespace lumex::detail {

// Solves the least-squares problem X b = y by Method (see TRegSolveMethod) and writes, when
// given, YCalc := X b and V := (X'X)^-1 from the factorisation. A Method outside the
// enumeration leaves b as it is. Errors of the solvers (rank deficiency, complex data,
// mismatched sizes) raise with the solver's own message.
void MulLinSolve(const TVec& y, const TMtx& X, TVec& b, TVec* YCalc, TMtx* V,
                 TRegSolveMethod Method);

// Principal-component regression of y on the correlation components of A, the OmitCount
// components of least variance left out: b = intercept and p slopes in the units of A, BStdErr
// the p standard errors of the slopes, YCalc the fitted values (each may be null).
void PCSolve(const TVec& y, const TMtx& A, TVec& b, TVec* BStdErr, TVec* YCalc, int OmitCount);

// Powers of two that bring each column of M to about unit length. Scaling by them is exact, and
// it makes the rank decision and the pivoting independent of the units of the columns (the
// columns of a polynomial design span ten orders of magnitude and more).
Eigen::VectorXd UnitScale(const Eigen::MatrixXd& M);

}  // namespace lumex::detail
