// Matrix algebra over our own row-major buffers: Eigen maps the storage in place, so double
// precision inputs are never copied on the way in, and results are evaluated straight into the
// destination's buffer unless it shares storage with an input.
#include "lumex/core/linalg.h"

#include <Eigen/Cholesky>
#include <Eigen/Core>
#include <Eigen/Eigenvalues>
#include <Eigen/LU>
#include <Eigen/QR>
#include <Eigen/SVD>

#include <complex>
#include <cstddef>
#include <limits>
#include <new>
#include <string>
#include <type_traits>

// The specialisation below replaces one function of Eigen 3.4.0 exactly; another Eigen may
// have fixed the fault or changed the function's signature or body, so it must be compared with
// that release's BDCSVD::perturbCol0 before this guard is widened.
#if EIGEN_WORLD_VERSION != 3 || EIGEN_MAJOR_VERSION != 4 || EIGEN_MINOR_VERSION != 0
#error "linalg.cpp patches BDCSVD::perturbCol0 of Eigen 3.4.0 only: re-check the patch against this Eigen version"
#endif

// Eigen 3.4.0's BDCSVD::perturbCol0 reads perm(-1) when, after deflation, the first kept index
// lies above the column being perturbed (a matrix of one dominant entry over repeated rows does
// it). This specialisation for our matrices is Eigen's function with that case reported as a
// numerical issue, as later Eigen releases do, and zhat cleared so that the rest of the step stays
// in bounds; the caller then takes the Jacobi SVD instead.
template <>
void Eigen::BDCSVD<Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>::
    perturbCol0(const ArrayRef& col0, const ArrayRef& diag, const IndicesRef& perm,
                const VectorType& singVals, const ArrayRef& shifts, const ArrayRef& mus,
                ArrayRef zhat) {
  const Index n = col0.size();
  const Index m = perm.size();
  if (m == 0) {
    zhat.setZero();
    return;
  }
  const Index lastIdx = perm(m - 1);
  for (Index k = 0; k < n; ++k) {
    if (col0(k) == 0.0) {  // deflated
      zhat(k) = 0.0;
      continue;
    }
    // equation (3.6) of Gu and Eisenstat
    const double dk = diag(k);
    double prod = (singVals(lastIdx) + dk) * (mus(lastIdx) + (shifts(lastIdx) - dk));
    for (Index l = 0; l < m; ++l) {
      const Index i = perm(l);
      if (i == k) continue;
      if (i > k && l == 0) {
        m_info = NumericalIssue;
        zhat.setZero();
        return;
      }
      const Index j = i < k ? i : perm(l - 1);
      prod *= ((singVals(j) + dk) / (diag(i) + dk)) *
              ((mus(j) + (shifts(j) - dk)) / (diag(i) - dk));
    }
    const double tmp = std::sqrt(prod);
    zhat(k) = col0(k) > 0.0 ? tmp : -tmp;
  }
}

namespace lumex {

namespace {

using Eigen::Index;
using cdouble = std::complex<double>;
using cfloat = std::complex<float>;

template <class T>
using TMatR = Eigen::Matrix<T, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
using TMatD = TMatR<double>;
template <class T>
using TConstMapR = Eigen::Map<const TMatR<T>>;
template <class T>
using TMapR = Eigen::Map<TMatR<T>>;

template <class T>
inline constexpr bool kIsComplex = std::is_same_v<T, cdouble> || std::is_same_v<T, cfloat>;
template <class T>
inline constexpr bool kIsSingle = std::is_same_v<T, float> || std::is_same_v<T, cfloat>;

// A vector maps as a Length x 1 matrix, so one set of helpers serves both kinds of object.
template <class T>
TConstMapR<T> ConstMap(const TDenseLumex& x) {
  return TConstMapR<T>(x.Data<T>(), x.Rows(), x.Cols());
}

template <class T>
TMapR<T> MutMap(TDenseLumex& x) {
  return TMapR<T>(x.Data<T>(), x.Rows(), x.Cols());
}

template <class T>
bool HoldsKind(TMtxFloatPrecision precision, bool complex) {
  return complex == kIsComplex<T> && precision == (kIsSingle<T> ? fpSingle : fpDouble);
}

// Calls f with a value of the element type that x stores.
template <class F>
void VisitKind(const TDenseLumex& x, F&& f) {
  if (x.Complex()) {
    if (x.IsDouble()) {
      f(cdouble{});
    } else {
      f(cfloat{});
    }
  } else if (x.IsDouble()) {
    f(double{});
  } else {
    f(float{});
  }
}

bool SameObject(const TDenseLumex& a, const TDenseLumex& b) { return &a == &b; }

// A read-only Eigen view of a dense object with elements of type T: a map over the object's own
// buffer when it stores T, otherwise a converted copy. Real data widen to complex on request;
// complex data never narrow to real (callers reject them first).
template <class T>
class TView {
public:
  explicit TView(const TDenseLumex& x) : fMap(nullptr, 0, 0) {
    if (x.Holds<T>()) {
      new (&fMap) TConstMapR<T>(x.Data<T>(), x.Rows(), x.Cols());
      return;
    }
    if (x.Complex()) {
      if constexpr (kIsComplex<T>) {
        if (x.IsDouble()) {
          fCopy = ConstMap<cdouble>(x).template cast<T>();
        } else {
          fCopy = ConstMap<cfloat>(x).template cast<T>();
        }
      } else {
        ERaise("Storage kind mismatch: complex values read as real");
      }
    } else if (x.IsDouble()) {
      fCopy = ConstMap<double>(x).template cast<T>();
    } else {
      fCopy = ConstMap<float>(x).template cast<T>();
    }
    new (&fMap) TConstMapR<T>(fCopy.data(), fCopy.rows(), fCopy.cols());
  }
  TView(const TView&) = delete;
  TView& operator=(const TView&) = delete;

  const TConstMapR<T>& operator*() const { return fMap; }
  const TConstMapR<T>* operator->() const { return &fMap; }

private:
  TMatR<T> fCopy;
  TConstMapR<T> fMap;
};

void RequireReal(const char* fn, const TDenseLumex& x) {
  if (x.Complex()) {
    ERaise(std::string(fn) + ": complex " + (x.LumexType() == ltMtx ? "matrix" : "vector") +
           " not supported");
  }
}

void RequireSquare(const char* fn, const TMtx& a) {
  if (a.Rows() != a.Cols()) ERaise(std::string(fn) + ": matrix is not square");
}


void Shape(TMtx& m, Index rows, Index cols, TMtxFloatPrecision precision, bool complex) {
  m.Size(static_cast<int>(rows), static_cast<int>(cols), precision, complex);
}

void Shape(TVec& v, Index rows, Index /*cols, always 1*/, TMtxFloatPrecision precision,
           bool complex) {
  v.Size(static_cast<int>(rows), precision, complex);
}

// Writes e into dst, whose shape and storage kind are already set, rounding to single storage
// or widening to complex as dst requires. e must not read dst's buffer.
template <class Expr>
void Store(TDenseLumex& dst, const Eigen::MatrixBase<Expr>& e) {
  using S = typename Expr::Scalar;
  if (dst.Complex()) {
    if (dst.IsDouble()) {
      MutMap<cdouble>(dst) = e.template cast<cdouble>();
    } else {
      MutMap<cfloat>(dst) = e.template cast<cfloat>();
    }
  } else if constexpr (!kIsComplex<S>) {
    if (dst.IsDouble()) {
      MutMap<double>(dst) = e.template cast<double>();
    } else {
      MutMap<float>(dst) = e.template cast<float>();
    }
  } else {
    ERaise("Storage kind mismatch: complex values written as real");
  }
}

// Shapes dst like e and stores it. When dst shares its buffer with an operand of e (aliased),
// e is evaluated into a temporary first, since shaping dst may move that buffer.
template <class TDst, class Expr>
void Assign(TDst& dst, const Eigen::MatrixBase<Expr>& e, TMtxFloatPrecision precision,
            bool complex, bool aliased) {
  if (aliased) {
    const TMatR<typename Expr::Scalar> tmp = e;
    Shape(dst, tmp.rows(), tmp.cols(), precision, complex);
    Store(dst, tmp);
    return;
  }
  Shape(dst, e.rows(), e.cols(), precision, complex);
  Store(dst, e);
}

// The triangle `Mode` of m into dst (already shaped), the opposite triangle set to zero.
template <unsigned Mode, class M>
void StoreTriangular(TDenseLumex& dst, const M& m) {
  if (dst.IsDouble()) {
    MutMap<double>(dst) = m.template triangularView<Mode>();
  } else {
    MutMap<float>(dst) = m.template cast<float>().template triangularView<Mode>();
  }
}

// NaN in every element (both parts of complex elements): the result of a decomposition of
// non-finite data.
void FillNaN(TDenseLumex& x) {
  VisitKind(x, [&](auto tag) {
    using T = decltype(tag);
    if constexpr (kIsComplex<T>) {
      using R = typename T::value_type;
      const R nan = std::numeric_limits<R>::quiet_NaN();
      MutMap<T>(x).setConstant(T(nan, nan));
    } else {
      MutMap<T>(x).setConstant(std::numeric_limits<T>::quiet_NaN());
    }
  });
}

// The eigen-decomposition of an empty or non-finite matrix, or one whose iteration did not
// converge: n NaN eigenvalues and, when asked for, an n x n matrix of NaN eigenvectors.
void NaNEigen(Index n, TMtxFloatPrecision precision, bool complex, TVec& values,
              TMtx* vectors) {
  Shape(values, n, 1, precision, complex);
  FillNaN(values);
  if (vectors != nullptr) {
    Shape(*vectors, n, n, precision, complex);
    FillNaN(*vectors);
  }
}

// Shapes x as rows x cols (a vector takes rows) and fills it with NaN: the undefined result of a
// solve or decomposition of non-finite data. x may be an input, which is then no longer read.
template <class TDst>
void NaNResult(TDst& x, Index rows, Index cols, TMtxFloatPrecision precision) {
  Shape(x, rows, cols, precision, false);
  FillNaN(x);
}

void SetIdentity(TMtx& m, Index n, TMtxFloatPrecision precision) {
  Shape(m, n, n, precision, false);
  m.SetZero();
  for (Index i = 0; i < n; ++i) m.SetValue(static_cast<int>(i * n + i), 1.0);
}

// ---- Products ---------------------------------------------------------------------------------

// d := a * b for one scalar type. The operands and the destination are passed as Eigen::Ref, so
// maps over our buffers and Eigen temporaries share one instantiation of the product kernel per
// scalar type; transposes are materialised by the caller instead of multiplying the kernel by
// every combination of operations (which made this file very slow to compile).
template <class T>
void ProductInto(Eigen::Ref<TMatR<T>> d, const Eigen::Ref<const TMatR<T>>& a,
                 const Eigen::Ref<const TMatR<T>>& b) {
  d.noalias() = a * b;
}

// op(m), as a reference to m itself for opNone and to `storage` otherwise.
template <class T>
Eigen::Ref<const TMatR<T>> Operated(const TConstMapR<T>& m, TMtxOperation op,
                                    TMatR<T>& storage) {
  if (op == opNone) return Eigen::Ref<const TMatR<T>>(m);
  if (op == opTrans) {
    storage = m.transpose();
  } else {
    storage = m.adjoint();
  }
  return Eigen::Ref<const TMatR<T>>(storage);
}

// op(a) * op(b) computed with elements of type T and written to dst in the given storage kind.
template <class T, class TDst>
void ProductAs(TDst& dst, const TDenseLumex& a, const TDenseLumex& b, TMtxOperation opA,
               TMtxOperation opB, TMtxFloatPrecision precision, bool complex) {
  const TView<T> A(a);
  const TView<T> B(b);
  TMatR<T> storageA;
  TMatR<T> storageB;
  const Eigen::Ref<const TMatR<T>> opa = Operated<T>(*A, opA, storageA);
  const Eigen::Ref<const TMatR<T>> opb = Operated<T>(*B, opB, storageB);
  const Index rows = opa.rows();
  const Index cols = opb.cols();
  if (HoldsKind<T>(precision, complex) && !SameObject(dst, a) && !SameObject(dst, b)) {
    Shape(dst, rows, cols, precision, complex);
    TMapR<T> D = MutMap<T>(dst);
    ProductInto<T>(D, opa, opb);
    return;
  }
  TMatR<T> tmp(rows, cols);
  ProductInto<T>(tmp, opa, opb);
  Shape(dst, rows, cols, precision, complex);
  Store(dst, tmp);
}

template <class TDst>
void MatrixProduct(const char* fn, TDst& dst, const TMtx& a, const TDenseLumex& b,
                   TMtxOperation opA, TMtxOperation opB) {
  detail::CheckEnum(fn, "opA", opA, 3);
  detail::CheckEnum(fn, "opB", opB, 3);
  const int innerA = opA == opNone ? a.Cols() : a.Rows();
  const int innerB = opB == opNone ? b.Rows() : b.Cols();
  if (innerA != innerB) ERaise(std::string(fn) + ": inner dimensions differ");
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const bool complex = a.Complex() || b.Complex();
  if (a.Complex() == b.Complex() && a.FloatPrecision() == b.FloatPrecision()) {
    VisitKind(a, [&](auto tag) {
      ProductAs<decltype(tag)>(dst, a, b, opA, opB, precision, complex);
    });
  } else if (complex) {
    ProductAs<cdouble>(dst, a, b, opA, opB, precision, complex);
  } else {
    ProductAs<double>(dst, a, b, opA, opB, precision, complex);
  }
}

// ---- Factorisations shared by several entry points --------------------------------------------

// Partial pivoting picks the largest remaining element, so a zero pivot means the matrix is
// exactly singular; a NaN pivot is not zero and lets NaN flow into the result.
bool HasZeroPivot(const Eigen::PartialPivLU<TMatD>& lu) {
  return (lu.matrixLU().diagonal().array() == 0.0).any();
}

template <class TDst>
void LUSolveImpl(TDst& x, const TMtx& a, const TDenseLumex& b) {
  RequireReal("LUSolve", a);
  RequireReal("LUSolve", b);
  RequireSquare("LUSolve", a);
  if (b.Rows() != a.Rows()) ERaise("LUSolve: right-hand side rows differ from matrix rows");
  const TMtxFloatPrecision precision = a.FloatPrecision();
  if (a.Rows() == 0) {
    Shape(x, 0, b.Cols(), precision, false);
    return;
  }
  const TView<double> A(a);
  const TView<double> B(b);
  if (!A->allFinite() || !B->allFinite()) {
    // Pivoting on an infinite element gives plausible finite numbers: the result is undefined.
    NaNResult(x, a.Rows(), b.Cols(), precision);
    return;
  }
  const Eigen::PartialPivLU<TMatD> lu(*A);
  if (HasZeroPivot(lu)) ERaise("LUSolve: matrix is singular");
  if (b.Cols() == 0) {  // no right-hand sides: Eigen's solve would index the empty matrix
    Shape(x, a.Rows(), 0, precision, false);
    return;
  }
  Assign(x, lu.solve(*B), precision, false, SameObject(x, b));
}

}  // namespace

// ---- Products ---------------------------------------------------------------------------------

void Mul(TMtx& dst, const TMtx& a, const TMtx& b, TMtxOperation opA, TMtxOperation opB) {
  MatrixProduct("Mul", dst, a, b, opA, opB);
}

void TensorProd(TVec& dst, const TMtx& a, const TVec& x, TMtxOperation opA) {
  MatrixProduct("TensorProd", dst, a, x, opA, opNone);
}

// ---- Shape and structure ----------------------------------------------------------------------

void Transp(TMtx& a) {
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    if (a.Rows() == a.Cols()) {
      MutMap<T>(a).transposeInPlace();
      return;
    }
    const TMatR<T> t = ConstMap<T>(a).transpose();
    a.Size(a.Cols(), a.Rows(), a.FloatPrecision(), a.Complex());
    MutMap<T>(a) = t;
  });
}

void Transp(TMtx& dst, const TMtx& a) {
  if (&dst == &a) {
    Transp(dst);
    return;
  }
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(a.Cols(), a.Rows(), a.FloatPrecision(), a.Complex());
    MutMap<T>(dst) = ConstMap<T>(a).transpose();
  });
}

void Eye(TMtx& a, int n) {
  if (n < 0) ERaise("Eye: n < 0");
  detail::CheckAllocation("Eye", "n", static_cast<long long>(n) * n);
  SetIdentity(a, n, fpDouble);
}

void Diag(TMtx& dst, const TVec& d) {
  VisitKind(d, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(d.Length(), d.Length(), d);
    dst.SetZero();
    MutMap<T>(dst).diagonal() = ConstMap<T>(d).col(0);
  });
}

void Diag(TVec& dst, const TMtx& a) {
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(a.Rows() < a.Cols() ? a.Rows() : a.Cols(), a);
    MutMap<T>(dst).col(0) = ConstMap<T>(a).diagonal();
  });
}

void GetCol(TVec& dst, const TMtx& a, int col) {
  if (col < 0 || col >= a.Cols()) ERaise("GetCol: column index out of range");
  if (a.Rows() == 0) {  // an empty column, and no address inside an empty buffer
    dst.Size(0, a);
    return;
  }
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(a.Rows(), a);
    MutMap<T>(dst).col(0) = ConstMap<T>(a).col(col);
  });
}

void GetRow(TVec& dst, const TMtx& a, int row) {
  if (row < 0 || row >= a.Rows()) ERaise("GetRow: row index out of range");
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(a.Cols(), a);
    MutMap<T>(dst).col(0) = ConstMap<T>(a).row(row).transpose();
  });
}

void SetCol(TMtx& a, const TVec& v, int col) {
  if (v.Complex() && !a.Complex()) ERaise("SetCol: complex vector into real matrix");
  if (v.Length() != a.Rows()) ERaise("SetCol: vector length differs from matrix rows");
  if (col < 0 || col >= a.Cols()) ERaise("SetCol: column index out of range");
  if (a.Rows() == 0) return;  // nothing to write, and no address inside an empty buffer
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    const TView<T> V(v);
    MutMap<T>(a).col(col) = V->col(0);
  });
}

void SetRow(TMtx& a, const TVec& v, int row) {
  if (v.Complex() && !a.Complex()) ERaise("SetRow: complex vector into real matrix");
  if (v.Length() != a.Cols()) ERaise("SetRow: vector length differs from matrix columns");
  if (row < 0 || row >= a.Rows()) ERaise("SetRow: row index out of range");
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    const TView<T> V(v);
    MutMap<T>(a).row(row) = V->col(0).transpose();
  });
}

void Toeplitz(TMtx& dst, const TVec& c) {
  const int n = c.Length();
  VisitKind(c, [&](auto tag) {
    using T = decltype(tag);
    dst.Size(n, n, c);
    const T* src = c.Data<T>();
    T* out = dst.Data<T>();
    for (int i = 0; i < n; ++i) {
      T* row = out + static_cast<std::size_t>(i) * n;
      for (int j = 0; j < n; ++j) row[j] = src[i > j ? i - j : j - i];
    }
  });
}

void VanderMonde(TMtx& dst, const TVec& x, int order) {
  RequireReal("VanderMonde", x);
  if (order < 0) ERaise("VanderMonde: order < 0");
  detail::CheckAllocation("VanderMonde", "order",
                          static_cast<long long>(x.Length()) * order, x.ElementSize());
  const int n = x.Length();
  VisitKind(x, [&](auto tag) {
    using T = decltype(tag);
    if constexpr (!kIsComplex<T>) {
      dst.Size(n, order, x);
      const T* xs = x.Data<T>();
      T* out = dst.Data<T>();
      for (int i = 0; i < n; ++i) {
        // Powers by repeated multiplication in double, from the constant column leftwards.
        T* row = out + static_cast<std::size_t>(i) * order;
        const double xi = static_cast<double>(xs[i]);
        double power = 1.0;
        for (int j = order - 1; j >= 0; --j) {
          row[j] = static_cast<T>(power);
          power *= xi;
        }
      }
    }
  });
}

// ---- Inverse, determinant, trace --------------------------------------------------------------

void Inv(TMtx& a) { Inv(a, a); }

void Inv(TMtx& dst, const TMtx& a) {
  RequireReal("Inv", a);
  RequireSquare("Inv", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  if (a.Rows() == 0) {
    dst.Size(0, 0, precision);
    return;
  }
  const TView<double> A(a);
  if (!A->allFinite()) return NaNResult(dst, a.Rows(), a.Cols(), precision);
  const Eigen::PartialPivLU<TMatD> lu(*A);
  if (HasZeroPivot(lu)) ERaise("Inv: matrix is singular");
  // The factorisation holds its own copy of a, so dst may be a itself.
  Assign(dst, lu.inverse(), precision, false, false);
}

double Determinant(const TMtx& a) {
  RequireReal("Determinant", a);
  RequireSquare("Determinant", a);
  if (a.Rows() == 0) return 1.0;
  const TView<double> A(a);
  if (!A->allFinite()) return NaN;
  return Eigen::PartialPivLU<TMatD>(*A).determinant();
}

double Trace(const TMtx& a) {
  RequireReal("Trace", a);
  RequireSquare("Trace", a);
  double trace = 0.0;
  VisitKind(a, [&](auto tag) {
    using T = decltype(tag);
    if constexpr (!kIsComplex<T>) trace = ConstMap<T>(a).diagonal().template cast<double>().sum();
  });
  return trace;
}

// ---- Decompositions and solvers ---------------------------------------------------------------

namespace {
// The factor of a matrix that has none: NaN of a's shape, whatever dst held (a itself, or the
// partial factorisation).
bool NotPositiveDefinite(TMtx& dst, const TMtx& a) {
  NaNResult(dst, a.Rows(), a.Cols(), a.FloatPrecision());
  return false;
}
}  // namespace

bool Cholesky(TMtx& dst, const TMtx& a) {
  RequireReal("Cholesky", a);
  RequireSquare("Cholesky", a);
  const TView<double> A(a);
  // LLT only compares each pivot with zero, which a NaN passes; check finiteness first.
  if (!A->allFinite()) return NotPositiveDefinite(dst, a);
  if (a.IsDouble() && &dst != &a) {
    // Factor in dst's own buffer: a caller that reuses dst (a likelihood evaluated many times)
    // then allocates nothing.
    dst = a;
    TMapR<double> D = MutMap<double>(dst);
    const Eigen::LLT<Eigen::Ref<TMatD>> llt(D);
    if (llt.info() != Eigen::Success) return NotPositiveDefinite(dst, a);
    D.triangularView<Eigen::StrictlyUpper>().setZero();
    return true;
  }
  const Eigen::LLT<TMatD> llt(*A);
  if (llt.info() != Eigen::Success) return NotPositiveDefinite(dst, a);
  dst.Size(a.Rows(), a.Cols(), a.FloatPrecision());
  StoreTriangular<Eigen::Lower>(dst, llt.matrixLLT());
  return true;
}

void LUSolve(TVec& x, const TMtx& a, const TVec& b) { LUSolveImpl(x, a, b); }

void LUSolve(TMtx& x, const TMtx& a, const TMtx& b) { LUSolveImpl(x, a, b); }

void LQRSolve(TVec& x, const TMtx& a, const TVec& b) {
  RequireReal("LQRSolve", a);
  RequireReal("LQRSolve", b);
  if (b.Length() != a.Rows()) ERaise("LQRSolve: right-hand side rows differ from matrix rows");
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const int n = a.Cols();
  if (n == 0) {
    x.Size(0, precision);
    return;
  }
  // Fewer equations than unknowns: the columns cannot be independent.
  if (a.Rows() < n) ERaise("LQRSolve: matrix is rank deficient");
  const TView<double> A(a);
  const TView<double> B(b);
  if (!A->allFinite() || !B->allFinite()) return NaNResult(x, n, 1, precision);
  const Eigen::ColPivHouseholderQR<TMatD> qr(*A);
  if (qr.rank() < n) ERaise("LQRSolve: matrix is rank deficient");
  Assign(x, qr.solve(*B), precision, false, SameObject(x, b));
}

void LQR(const TMtx& a, TMtx& q, TMtx& r) {
  RequireReal("LQR", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const Index m = a.Rows();
  const Index n = a.Cols();
  const Index k = m < n ? m : n;
  if (k == 0) {
    Shape(q, m, 0, precision, false);
    Shape(r, 0, n, precision, false);
    return;
  }
  const TView<double> A(a);
  if (!A->allFinite()) {
    NaNResult(q, m, k, precision);
    NaNResult(r, k, n, precision);
    return;
  }
  const Eigen::HouseholderQR<TMatD> qr(*A);
  // The first k columns of the product of the reflections: the thin Q.
  Assign(q, qr.householderQ() * TMatD::Identity(m, k), precision, false, false);
  Shape(r, k, n, precision, false);
  StoreTriangular<Eigen::Upper>(r, qr.matrixQR().topRows(k));
}

namespace {
// Calls fn with the SVD of a by divide and conquer, or by one-sided Jacobi (slower, by a factor
// of ten and more from 200 columns on) when divide and conquer reports a numerical issue.
template <class Fn>
void WithSVD(const TMatD& a, unsigned options, Fn&& fn) {
  Eigen::BDCSVD<TMatD> bdc(a, options);
  if (bdc.info() == Eigen::Success) {
    fn(bdc);
    return;
  }
  Eigen::JacobiSVD<TMatD> jacobi(a, options);
  fn(jacobi);
}
}  // namespace

void SVD(const TMtx& a, TMtx& u, TVec& s, TMtx& v, bool thin) {
  RequireReal("SVD", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const Index m = a.Rows();
  const Index n = a.Cols();
  const Index k = m < n ? m : n;
  if (k == 0) {
    // Nothing to decompose; full factors are then any orthogonal matrices, the identity.
    if (thin) {
      Shape(u, m, 0, precision, false);
      Shape(v, n, 0, precision, false);
    } else {
      SetIdentity(u, m, precision);
      SetIdentity(v, n, precision);
    }
    s.Size(0, precision);
    return;
  }
  const TView<double> A(a);
  if (!A->allFinite()) {
    NaNResult(u, m, thin ? k : m, precision);
    NaNResult(v, n, thin ? k : n, precision);
    NaNResult(s, k, 1, precision);
    return;
  }
  const unsigned options = thin ? (Eigen::ComputeThinU | Eigen::ComputeThinV)
                                : (Eigen::ComputeFullU | Eigen::ComputeFullV);
  WithSVD(*A, options, [&](const auto& svd) {
    Assign(s, svd.singularValues(), precision, false, false);
    Assign(u, svd.matrixU(), precision, false, false);
    Assign(v, svd.matrixV(), precision, false, false);
  });
}

void SVD(const TMtx& a, TVec& s) {
  RequireReal("SVD", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const int k = a.Rows() < a.Cols() ? a.Rows() : a.Cols();
  if (k == 0) {
    s.Size(0, precision);
    return;
  }
  const TView<double> A(a);
  if (!A->allFinite()) return NaNResult(s, k, 1, precision);
  WithSVD(*A, 0, [&](const auto& svd) {
    Assign(s, svd.singularValues(), precision, false, false);
  });
}

void SVDSolve(TVec& x, const TMtx& a, const TVec& b, double threshold) {
  RequireReal("SVDSolve", a);
  RequireReal("SVDSolve", b);
  if (b.Length() != a.Rows()) ERaise("SVDSolve: right-hand side rows differ from matrix rows");
  if (!(threshold >= 0.0)) ERaise("SVDSolve: threshold is negative or NaN");
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const int n = a.Cols();
  if (a.Rows() == 0 || n == 0) {
    // No equations (or no unknowns): the minimum-norm solution is zero.
    x.Size(n, precision);
    x.SetZero();
    return;
  }
  const TView<double> A(a);
  const TView<double> B(b);
  if (!A->allFinite() || !B->allFinite()) return NaNResult(x, n, 1, precision);
  WithSVD(*A, Eigen::ComputeThinU | Eigen::ComputeThinV, [&](auto& svd) {
    // Singular values below threshold * largest are dropped from the pseudo-inverse.
    svd.setThreshold(threshold);
    Assign(x, svd.solve(*B), precision, false, SameObject(x, b));
  });
}

void Eig(const TMtx& a, TVec& values, TMtx* vectors) {
  RequireReal("Eig", a);
  RequireSquare("Eig", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const Index n = a.Rows();
  const TView<double> A(a);
  Eigen::EigenSolver<TMatD> es;
  bool ok = n > 0 && A->allFinite();
  if (ok) {
    es.compute(*A, vectors != nullptr);
    ok = es.info() == Eigen::Success;
  }
  if (!ok) return NaNEigen(n, precision, true, values, vectors);
  Assign(values, es.eigenvalues(), precision, true, false);
  if (vectors != nullptr) Assign(*vectors, es.eigenvectors(), precision, true, false);
}

void EigSym(const TMtx& a, TVec& values, TMtx* vectors) {
  RequireReal("EigSym", a);
  RequireSquare("EigSym", a);
  const TMtxFloatPrecision precision = a.FloatPrecision();
  const Index n = a.Rows();
  const TView<double> A(a);
  Eigen::SelfAdjointEigenSolver<TMatD> es;
  bool ok = n > 0 && A->allFinite();
  if (ok) {
    es.compute(*A, vectors != nullptr ? Eigen::ComputeEigenvectors : Eigen::EigenvaluesOnly);
    ok = es.info() == Eigen::Success;
  }
  if (!ok) return NaNEigen(n, precision, false, values, vectors);
  Assign(values, es.eigenvalues(), precision, false, false);
  if (vectors != nullptr) Assign(*vectors, es.eigenvectors(), precision, false, false);
}

}  // namespace lumex
