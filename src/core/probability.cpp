// Probability functions over Boost.Math under the library's error policy.
#include "lumex/core/probability.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <type_traits>

#include "core/dispatch.h"
#include "core/math_policy.h"

namespace lumex {

namespace {

using boost::math::cdf;
using boost::math::complement;
using boost::math::pdf;
using boost::math::quantile;

using TNormal = boost::math::normal_distribution<double, detail::TMathPolicy>;
using TStudent = boost::math::students_t_distribution<double, detail::TMathPolicyPromoted>;

// Applies a scalar function to every element of a real vector; dst is sized like src.
template <class F>
void VectorForm(const TVec& src, TVec& dst, const char* fn, F&& f) {
  if (src.Complex()) detail::RaiseComplex(fn);
  if (&dst != &src) dst.Size(src.Length(), src);
  detail::DispatchReal(dst, fn, [&](auto* pd) {
    using T = std::remove_pointer_t<decltype(pd)>;
    const T* ps = src.Data<T>();
    for (int i = 0; i < src.Length(); ++i) pd[i] = static_cast<T>(f(static_cast<double>(ps[i])));
  });
}

bool ValidDf(double df) { return df > 0.0; }  // false for NaN; +Inf is the normal limit

}  // namespace

double StudentPDF(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return 0.0;
  if (std::isinf(df)) return pdf(TNormal(0.0, 1.0), x);
  return pdf(TStudent(df), x);
}

double StudentCDF(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return x > 0 ? 1.0 : 0.0;
  if (std::isinf(df)) return cdf(TNormal(0.0, 1.0), x);
  return cdf(TStudent(df), x);
}

double StudentCDFUpper(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return x > 0 ? 0.0 : 1.0;
  if (std::isinf(df)) return cdf(complement(TNormal(0.0, 1.0), x));
  return cdf(complement(TStudent(df), x));
}

double StudentCDFInv(double p, double df) {
  if (!ValidDf(df) || !(p >= 0.0 && p <= 1.0)) return NaN;
  if (p == 0.0) return -Inf;
  if (p == 1.0) return Inf;
  if (std::isinf(df)) return quantile(TNormal(0.0, 1.0), p);
  return quantile(TStudent(df), p);
}

void StudentPDF(const TVec& x, double df, TVec& dst) {
  VectorForm(x, dst, "StudentPDF", [df](double v) { return StudentPDF(v, df); });
}

void StudentCDF(const TVec& x, double df, TVec& dst) {
  VectorForm(x, dst, "StudentCDF", [df](double v) { return StudentCDF(v, df); });
}

void StudentCDFInv(const TVec& p, double df, TVec& dst) {
  VectorForm(p, dst, "StudentCDFInv", [df](double v) { return StudentCDFInv(v, df); });
}

}  // namespace lumex
