// Containers of the core layer: dense real or complex vectors and matrices in single or double
// precision, 32-bit integer vectors (also usable as bit sets) and owning lists of vectors.
//
// Every object owns one contiguous, row-major buffer. Copies are deep. A container keeps its
// capacity when it is resized smaller or reused, so an output object passed to many calls is
// allocated once. Buffers of 2 MiB and more are 2 MiB aligned and advised for transparent huge
// pages, which removes most first-touch page faults on large data.
//
// Sizing: a negative length or dimension raises "Size: negative dimension"; an unknown precision
// "Size: unknown precision"; a size past AllocationLimit() (types.h) or past 2^31 - 1 elements
// raises before anything is allocated: "TVec: length too large", "TMtx: rows * cols too large",
// "TVecInt: length too large" from the constructors, "Size: length too large" (vectors) and
// "Size: rows * cols too large" (matrices) from Size and Resize.
//
// Throughout the library an output may be the same object as an input (Add(x, x, y),
// MovingAverage(y, n, y, ...)): the result is then that of distinct objects. The test
// Aliasing.EveryOutputPassedAsAnInputGivesTheDistinctResult checks this for every exported
// overload.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "lumex/core/types.h"

namespace lumex {

namespace detail {

// Owning aligned byte buffer. Grows on demand and never shrinks its capacity. What the
// containers' inline members call is inline here (the memory is released with std::free), so the
// buffer needs nothing exported from the library.
class TBuffer {
public:
  TBuffer() = default;
  TBuffer(const TBuffer&) = delete;
  TBuffer& operator=(const TBuffer&) = delete;
  TBuffer(TBuffer&& o) noexcept : fData(o.fData), fCapacity(o.fCapacity) {
    o.fData = nullptr;
    o.fCapacity = 0;
  }
  TBuffer& operator=(TBuffer&& o) noexcept {
    if (this != &o) {
      std::free(fData);
      fData = o.fData;
      fCapacity = o.fCapacity;
      o.fData = nullptr;
      o.fCapacity = 0;
    }
    return *this;
  }
  ~TBuffer() { std::free(fData); }

  // Ensures room for `bytes`; the first `keep` bytes survive a reallocation.
  void Reserve(std::size_t bytes, std::size_t keep);
  std::byte* Get() noexcept { return fData; }
  const std::byte* Get() const noexcept { return fData; }
  std::size_t Capacity() const noexcept { return fCapacity; }

private:
  std::byte* fData = nullptr;
  std::size_t fCapacity = 0;
};

template <class T>
inline constexpr bool IsStorageType = std::is_same_v<T, double> || std::is_same_v<T, float> ||
                                      std::is_same_v<T, std::complex<double>> ||
                                      std::is_same_v<T, std::complex<float>>;

}  // namespace detail

// Polymorphic root of every container; "object references" in callbacks are TLumexBase*.
class LUMEX_API TLumexBase {
public:
  virtual ~TLumexBase() = default;
};

// Root of the real and complex numeric containers.
class LUMEX_API TLumex : public TLumexBase {};

// Root of the integer containers.
class LUMEX_API TLumexInt : public TLumexBase {};

// A dense vector or matrix in one of the four storage kinds.
class LUMEX_API TDenseLumex : public TLumex {
public:
  int Length() const noexcept { return fLength; }
  int Rows() const noexcept { return fRows; }
  int Cols() const noexcept { return fCols; }
  bool Complex() const noexcept { return fComplex; }
  TMtxFloatPrecision FloatPrecision() const noexcept { return fPrecision; }
  bool IsDouble() const noexcept { return fPrecision == fpDouble; }
  virtual TLumexType LumexType() const noexcept = 0;
  // Bytes of one element in the current storage kind.
  std::size_t ElementSize() const noexcept;

  // Typed access to the storage. T must match the storage kind (double, float,
  // std::complex<double>, std::complex<float>); a mismatch raises.
  template <class T>
  T* Data() {
    CheckKind<T>();
    return reinterpret_cast<T*>(fBuffer.Get());
  }
  template <class T>
  const T* Data() const {
    CheckKind<T>();
    return reinterpret_cast<const T*>(fBuffer.Get());
  }
  template <class T>
  std::span<T> Span() {
    return {Data<T>(), static_cast<std::size_t>(fLength)};
  }
  template <class T>
  std::span<const T> Span() const {
    return {Data<T>(), static_cast<std::size_t>(fLength)};
  }
  template <class T>
  bool Holds() const noexcept {
    return fComplex == IsComplexType<T>() &&
           fPrecision == (IsSingleType<T>() ? fpSingle : fpDouble);
  }

  // Element i of a real double object; bounds and storage kind are checked.
  double& operator[](int i);
  double operator[](int i) const;
  // Element i of a real object of either precision, read as a double.
  double Value(int i) const;
  // Writes element i of a real object of either precision (rounded for single storage).
  void SetValue(int i, double x);

  // Values set to zero / to a constant, whole object or an index range.
  void SetZero();
  void SetZero(int index, int len);
  void SetVal(double x);
  void SetVal(double x, int index, int len);

  // A compact description such as "[1, 2.5, 3]", used in messages.
  std::string ToString() const;

protected:
  TDenseLumex() = default;
  TDenseLumex(const TDenseLumex& o);
  TDenseLumex& operator=(const TDenseLumex& o);
  TDenseLumex(TDenseLumex&& o) noexcept;
  TDenseLumex& operator=(TDenseLumex&& o) noexcept;
  ~TDenseLumex() override = default;

  // Sets the shape and storage kind. With keepValues the leading elements survive (when the
  // storage kind is unchanged) and new ones are zero; otherwise values are unspecified.
  void SetShape(int rows, int cols, TMtxFloatPrecision precision, bool complex, bool keepValues);
  void CheckIndex(int i) const;

private:
  template <class T>
  static constexpr bool IsComplexType() {
    return std::is_same_v<T, std::complex<double>> || std::is_same_v<T, std::complex<float>>;
  }
  template <class T>
  static constexpr bool IsSingleType() {
    return std::is_same_v<T, float> || std::is_same_v<T, std::complex<float>>;
  }
  template <class T>
  void CheckKind() const {
    static_assert(detail::IsStorageType<T>, "unsupported element type");
    if (!Holds<T>()) RaiseKindMismatch();
  }
  [[noreturn]] void RaiseKindMismatch() const;

  detail::TBuffer fBuffer;
  int fRows = 0;
  int fCols = 0;
  int fLength = 0;
  TMtxFloatPrecision fPrecision = fpDouble;
  bool fComplex = false;
};

// A vector. As a dense object it has Length rows and one column.
class LUMEX_API TVec : public TDenseLumex {
public:
  TVec() = default;
  explicit TVec(int length);  // length zeros, real double
  TVec(std::initializer_list<double> values);
  explicit TVec(const std::vector<double>& values);
  TVec(const TVec&) = default;
  TVec& operator=(const TVec&) = default;
  TVec(TVec&&) noexcept = default;
  TVec& operator=(TVec&&) noexcept = default;

  TLumexType LumexType() const noexcept override { return ltVec; }

  // Sets the length and storage kind; values are unspecified (keep what you need with Resize).
  TVec& Size(int length, TMtxFloatPrecision precision = fpDouble, bool complex = false);
  // Length from the call, precision and complexity from `model`.
  TVec& Size(int length, const TDenseLumex& model);
  // Changes the length keeping the storage kind; existing values are kept when keepValues is
  // true, and new elements are zero.
  TVec& Resize(int length, bool keepValues = true);
};

// A row-major matrix.
class LUMEX_API TMtx : public TDenseLumex {
public:
  TMtx() = default;
  TMtx(int rows, int cols);  // zeros, real double
  TMtx(std::initializer_list<std::initializer_list<double>> rows);
  TMtx(const TMtx&) = default;
  TMtx& operator=(const TMtx&) = default;
  TMtx(TMtx&&) noexcept = default;
  TMtx& operator=(TMtx&&) noexcept = default;

  TLumexType LumexType() const noexcept override { return ltMtx; }

  TMtx& Size(int rows, int cols, TMtxFloatPrecision precision = fpDouble, bool complex = false);
  // Shape from the call, precision and complexity from `model`.
  TMtx& Size(int rows, int cols, const TDenseLumex& model);

  // Element (i, j) of a real double matrix; bounds and storage kind are checked.
  double& operator()(int i, int j);
  double operator()(int i, int j) const;
};

// A vector of 32-bit signed integers. It doubles as a bit set of 32 * Length bits, bit k
// being bit (k mod 32) of element k / 32.
class LUMEX_API TVecInt : public TLumexInt {
public:
  TVecInt() = default;
  explicit TVecInt(int length);  // length zeros
  TVecInt(std::initializer_list<std::int32_t> values);
  TVecInt(const TVecInt& o);
  TVecInt& operator=(const TVecInt& o);
  TVecInt(TVecInt&& o) noexcept = default;
  TVecInt& operator=(TVecInt&& o) noexcept = default;

  int Length() const noexcept { return fLength; }
  // Sets the length; values are unspecified.
  TVecInt& Size(int length);
  // Changes the length; values kept when keepValues is true, new elements zero.
  TVecInt& Resize(int length, bool keepValues = true);
  void SetZero();
  void SetVal(std::int32_t x);

  std::int32_t* Data() noexcept { return reinterpret_cast<std::int32_t*>(fBuffer.Get()); }
  const std::int32_t* Data() const noexcept {
    return reinterpret_cast<const std::int32_t*>(fBuffer.Get());
  }
  std::span<std::int32_t> Span() noexcept { return {Data(), static_cast<std::size_t>(fLength)}; }
  std::span<const std::int32_t> Span() const noexcept {
    return {Data(), static_cast<std::size_t>(fLength)};
  }
  // Element i; bounds are checked.
  std::int32_t& operator[](int i);
  std::int32_t operator[](int i) const;

  // Bit-set view.
  int BitCount() const noexcept;  // number of bits set
  bool Bits(int bit) const;       // bit `bit` of the set
  void SetBits(int bit, bool value);
  // One element (0 or 1) per bit of `src`, bit 0 first: Length becomes 32 * src.Length.
  void BitUnpack(const TVecInt& src);
  // Inverse of BitUnpack: element k of `src` (non-zero = set) becomes bit k.
  void BitPack(const TVecInt& src);

  std::string ToString() const;

private:
  void CheckIndex(int i) const;
  detail::TBuffer fBuffer;
  int fLength = 0;
};

// An owning list of vectors.
class LUMEX_API TVecList : public TLumexBase {
public:
  TVecList() = default;
  TVecList(const TVecList& o);
  TVecList& operator=(const TVecList& o);
  TVecList(TVecList&&) noexcept = default;
  TVecList& operator=(TVecList&&) noexcept = default;

  int Count() const noexcept { return static_cast<int>(fItems.size()); }
  // Sets the number of vectors; new ones are empty, surplus ones are destroyed. Raises
  // "TVecList: negative count" and "SetCount: count too large" (past AllocationLimit).
  void SetCount(int count);
  // Appends an empty vector and returns it.
  TVec& Add();
  void Clear() noexcept { fItems.clear(); }
  // Vector i; bounds are checked.
  TVec& Items(int i);
  const TVec& Items(int i) const;
  TVec& operator[](int i) { return Items(i); }
  const TVec& operator[](int i) const { return Items(i); }

private:
  std::vector<std::unique_ptr<TVec>> fItems;
};

}  // namespace lumex
