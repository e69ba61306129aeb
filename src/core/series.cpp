// Series operations: correlation sums, convolution and integration, accumulated in double.
#include "lumex/core/series.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "lumex/core/cache.h"

namespace lumex {

namespace {

void RequireReal(const char* fn, const TVec& x) {
  if (x.Complex()) ERaise(std::string(fn) + ": complex vector not supported");
}

// The values of a real vector as doubles: the vector's own buffer when it stores doubles,
// otherwise a widened copy in a temporary from the cache.
class TDoubleValues {
public:
  explicit TDoubleValues(const TVec& v) : fSize(v.Length()) {
    if (v.IsDouble()) {
      fData = v.Data<double>();
      return;
    }
    fCopy.emplace();
    TVec& copy = **fCopy;
    copy.Size(fSize);
    const float* src = v.Data<float>();
    double* dst = copy.Data<double>();
    for (int i = 0; i < fSize; ++i) dst[i] = static_cast<double>(src[i]);
    fData = dst;
  }

  const double* Data() const { return fData; }
  int Size() const { return fSize; }
  double operator[](int i) const { return fData[i]; }

private:
  const double* fData = nullptr;
  int fSize = 0;
  std::optional<TLease<TVec>> fCopy;
};

// Where a result of `length` doubles is accumulated: straight in dst when dst is to store
// doubles and is none of the inputs, else in a temporary that Commit() copies into dst.
class TDoubleResult {
public:
  TDoubleResult(TVec& dst, int length, TMtxFloatPrecision precision, bool aliased)
      : fDst(dst), fLength(length), fPrecision(precision) {
    if (precision == fpDouble && !aliased) {
      dst.Size(length, fpDouble);
      fData = dst.Data<double>();
    } else {
      fWork.emplace();
      (*fWork)->Size(length);
      fData = (*fWork)->Data<double>();
    }
  }

  double* Data() { return fData; }

  void Commit() {
    if (!fWork) return;
    const double* src = fData;
    fDst.Size(fLength, fPrecision);
    if (fPrecision == fpDouble) {
      std::copy_n(src, fLength, fDst.Data<double>());
    } else {
      float* out = fDst.Data<float>();
      for (int i = 0; i < fLength; ++i) out[i] = static_cast<float>(src[i]);
    }
  }

private:
  TVec& fDst;
  int fLength;
  TMtxFloatPrecision fPrecision;
  double* fData = nullptr;
  std::optional<TLease<TVec>> fWork;
};

// Sum of x[i] * y[i], i < n.
double Dot(const double* x, const double* y, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += x[i] * y[i];
  return s;
}

}  // namespace

void AutoCorrBiased(TVec& dst, const TVec& y, int lags) {
  RequireReal("AutoCorrBiased", y);
  if (lags < 0) ERaise("AutoCorrBiased: lags < 0");
  detail::CheckAllocation("AutoCorrBiased", "lags", lags);
  const TDoubleValues Y(y);
  const int n = Y.Size();
  TDoubleResult out(dst, lags, y.FloatPrecision(), &dst == &y);
  double* r = out.Data();
  for (int k = 0; k < lags; ++k) {
    r[k] = k < n ? Dot(Y.Data(), Y.Data() + k, n - k) / n : 0.0;
  }
  out.Commit();
}

void CrossCorr(TVec& dst, const TVec& a, const TVec& b, int lags) {
  RequireReal("CrossCorr", a);
  RequireReal("CrossCorr", b);
  if (lags < 0) ERaise("CrossCorr: lags < 0");
  detail::CheckAllocation("CrossCorr", "lags", lags);
  const TDoubleValues A(a);
  const TDoubleValues B(b);
  TDoubleResult out(dst, lags, a.FloatPrecision(), &dst == &a || &dst == &b);
  double* r = out.Data();
  for (int k = 0; k < lags; ++k) {
    // Terms run while both a[j] and b[j + k] exist.
    const int terms = k < B.Size() ? std::min(A.Size(), B.Size() - k) : 0;
    r[k] = terms > 0 ? Dot(A.Data(), B.Data() + k, terms) : 0.0;
  }
  out.Commit();
}

void Convolve(TVec& dst, const TVec& a, const TVec& b) {
  RequireReal("Convolve", a);
  RequireReal("Convolve", b);
  const TDoubleValues A(a);
  const TDoubleValues B(b);
  const int na = A.Size();
  const int nb = B.Size();
  const long long length = na == 0 || nb == 0 ? 0 : static_cast<long long>(na) + nb - 1;
  if (length > std::numeric_limits<int>::max()) ERaise("Convolve: result too long");
  TDoubleResult out(dst, static_cast<int>(length), a.FloatPrecision(), &dst == &a || &dst == &b);
  double* r = out.Data();
  std::fill_n(r, length, 0.0);
  // Each a[j] scales a shifted copy of b: a contiguous, vectorisable inner loop.
  for (int j = 0; j < na && nb > 0; ++j) {
    const double aj = A[j];
    double* rj = r + j;
    for (int k = 0; k < nb; ++k) rj[k] += aj * B[k];
  }
  out.Commit();
}

void Integrate(TVec& dst, const TVec& y, const TVec& init) {
  RequireReal("Integrate", y);
  RequireReal("Integrate", init);
  const TDoubleValues Y(y);
  const TDoubleValues Init(init);
  const int n = Y.Size();
  const int d = Init.Size();
  if (static_cast<long long>(n) + d > std::numeric_limits<int>::max()) {
    ERaise("Integrate: result too long");
  }
  const int length = n + d;
  TDoubleResult out(dst, length, y.FloatPrecision(), &dst == &y || &dst == &init);
  double* w = out.Data();
  // w[k .. length-1] holds the series differenced k times. It starts as y (k = d) in the tail;
  // each pass prepends that series' first value and takes running sums, undoing one difference.
  std::copy_n(Y.Data(), n, w + d);
  for (int k = d - 1; k >= 0; --k) {
    w[k] = Init[k];
    for (int t = k + 1; t < length; ++t) w[t] += w[t - 1];
  }
  out.Commit();
}

}  // namespace lumex
