// Probability functions. Each law has, in this order, PDF, CDF (P(X <= x)), CDFUpper
// (P(X > x), computed directly so that small upper tails keep their digits) and CDFInv (the
// inverse of CDF). Scalar forms take the point first and the parameters after it; vector
// forms take (source, parameters, destination) and size the destination like the source.
//
// Parameters outside a law's domain give NaN, a point outside the support gives the density 0
// and the CDF 0 or 1, and nothing throws.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

// Student's t with df > 0 degrees of freedom (real, +Inf allowed: the standard normal).
double StudentPDF(double x, double df);
double StudentCDF(double x, double df);
double StudentCDFUpper(double x, double df);
double StudentCDFInv(double p, double df);
void StudentPDF(const TVec& x, double df, TVec& dst);
void StudentCDF(const TVec& x, double df, TVec& dst);
void StudentCDFInv(const TVec& p, double df, TVec& dst);

}  // namespace lumex
