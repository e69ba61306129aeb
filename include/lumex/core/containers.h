/// @file
/// Containers of the core layer: dense real or complex vectors and matrices in single or double
/// precision, 32-bit integer vectors (also usable as bit sets) and owning lists of vectors.
///
/// Every object owns one contiguous, row-major buffer. Copies are deep. A container keeps its
/// capacity when it is resized smaller or reused, so an output object passed to many calls is
/// allocated once. Buffers of 2 MiB and more are 2 MiB aligned and advised for transparent huge
/// pages, which removes most first-touch page faults on large data.
///
/// Sizing: a negative length or dimension raises "Size: negative dimension"; an unknown precision
/// "Size: unknown precision"; a size past AllocationLimit() (types.h) or past 2^31 - 1 elements
/// raises before anything is allocated: "TVec: length too large", "TMtx: rows * cols too large",
/// "TVecInt: length too large" from the constructors, "Size: length too large" (vectors) and
/// "Size: rows * cols too large" (matrices) from Size and Resize.
///
/// Throughout the library an output may be the same object as an input (Add(x, x, y),
/// MovingAverage(y, n, y, ...)): the result is then that of distinct objects. The test
/// Aliasing.EveryOutputPassedAsAnInputGivesTheDistinctResult checks this for every exported
/// overload.
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
#include <utility>
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

/// Polymorphic root of every container; "object references" in callbacks are TLumexBase*.
class LUMEX_API TLumexBase {
public:
  /// Virtual, so that a container can be destroyed through a TLumexBase pointer.
  virtual ~TLumexBase() = default;
};

/// Root of the real and complex numeric containers.
class LUMEX_API TLumex : public TLumexBase {};

/// Root of the integer containers.
class LUMEX_API TLumexInt : public TLumexBase {};

/// A dense vector or matrix in one of the four storage kinds.
///
/// The storage kind is the precision (FloatPrecision) times the complexity (Complex): double,
/// float, std::complex<double> or std::complex<float> elements. Elements are stored row-major
/// in one buffer of Length() = Rows() * Cols() elements.
class LUMEX_API TDenseLumex : public TLumex {
public:
  /// Number of elements, Rows() * Cols().
  /// @return the element count (0 for an empty object).
  int Length() const noexcept { return fLength; }
  /// Number of rows (a vector's length).
  /// @return the row count.
  int Rows() const noexcept { return fRows; }
  /// Number of columns (1 for a vector).
  /// @return the column count.
  int Cols() const noexcept { return fCols; }
  /// Whether the elements are complex.
  /// @return true for complex storage, false for real.
  bool Complex() const noexcept { return fComplex; }
  /// Storage precision of the elements (their real and imaginary parts when complex).
  /// @return fpDouble or fpSingle.
  TMtxFloatPrecision FloatPrecision() const noexcept { return fPrecision; }
  /// Whether the storage precision is double.
  /// @return true when FloatPrecision() is fpDouble, real or complex.
  bool IsDouble() const noexcept { return fPrecision == fpDouble; }
  /// What kind of dense object this is.
  /// @return ltVec for a TVec, ltMtx for a TMtx.
  virtual TLumexType LumexType() const noexcept = 0;
  /// Bytes of one element in the current storage kind.
  /// @return 4 (float), 8 (double or std::complex<float>) or 16 (std::complex<double>).
  std::size_t ElementSize() const noexcept;

  /// Typed pointer to the first element.
  ///
  /// T must match the storage kind (double, float, std::complex<double>,
  /// std::complex<float>); another element type does not compile.
  /// @tparam T  the element type of the storage kind.
  /// @return    the start of the buffer (may be null for an object that never held elements).
  /// @throws ELumexError "Storage kind mismatch: object holds <real|complex>
  ///   <double|single> precision values" when T is not the storage kind.
  template <class T>
  T* Data() {
    CheckKind<T>();
    return reinterpret_cast<T*>(fBuffer.Get());
  }
  /// Read-only form of Data: typed pointer to the first element.
  /// @tparam T  the element type of the storage kind.
  /// @return    the start of the buffer.
  /// @throws ELumexError "Storage kind mismatch: ..." as the non-const form.
  template <class T>
  const T* Data() const {
    CheckKind<T>();
    return reinterpret_cast<const T*>(fBuffer.Get());
  }
  /// The elements as a span of Length() values of type T.
  /// @tparam T  the element type of the storage kind.
  /// @return    a span over the buffer, valid until the object is resized or destroyed.
  /// @throws ELumexError "Storage kind mismatch: ..." as Data.
  template <class T>
  std::span<T> Span() {
    return {Data<T>(), static_cast<std::size_t>(fLength)};
  }
  /// Read-only form of Span.
  /// @tparam T  the element type of the storage kind.
  /// @return    a span of Length() constant elements.
  /// @throws ELumexError "Storage kind mismatch: ..." as Data.
  template <class T>
  std::span<const T> Span() const {
    return {Data<T>(), static_cast<std::size_t>(fLength)};
  }
  /// Whether the storage kind is T, i.e. whether Data<T> would succeed.
  /// @tparam T  double, float, std::complex<double> or std::complex<float>.
  /// @return    true when precision and complexity match T.
  template <class T>
  bool Holds() const noexcept {
    return fComplex == IsComplexType<T>() &&
           fPrecision == (IsSingleType<T>() ? fpSingle : fpDouble);
  }

  /// Element i of a real double object; bounds and storage kind are checked.
  /// @param i  index, 0 .. Length() - 1 (row-major for a matrix).
  /// @return   a reference to the element.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)" when i is outside,
  ///   then "Storage kind mismatch: ..." when the object is not real double.
  double& operator[](int i);
  /// Read-only form of operator[]: element i of a real double object.
  /// @param i  index, 0 .. Length() - 1.
  /// @return   the element.
  /// @throws ELumexError as the non-const form.
  double operator[](int i) const;
  /// Element i of a real object of either precision, read as a double.
  /// @param i  index, 0 .. Length() - 1.
  /// @return   the element, widened from single precision when needed.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)", then
  ///   "Value: complex object".
  double Value(int i) const;
  /// Writes element i of a real object of either precision (rounded for single storage).
  /// @param i  index, 0 .. Length() - 1.
  /// @param x  the value; NaN and Inf are stored as given.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)", then
  ///   "SetValue: complex object".
  void SetValue(int i, double x);

  /// Sets every element to zero (both parts when complex).
  void SetZero();
  /// Sets the elements index .. index + len - 1 to zero.
  /// @param index  first element.
  /// @param len    number of elements (0 does nothing).
  /// @throws ELumexError "SetZero: index range out of bounds" when index < 0, len < 0 or
  ///   index + len > Length().
  void SetZero(int index, int len);
  /// Sets every element to x (a complex element to x + 0i; rounded for single storage).
  /// @param x  the value.
  void SetVal(double x);
  /// Sets the elements index .. index + len - 1 to x, as SetVal(double).
  /// @param x      the value.
  /// @param index  first element.
  /// @param len    number of elements (0 does nothing).
  /// @throws ELumexError "SetVal: index range out of bounds" when index < 0, len < 0 or
  ///   index + len > Length().
  void SetVal(double x, int index, int len);

  /// A compact description such as "[1, 2.5, 3]", used in messages.
  ///
  /// Elements in row order with up to 15 significant digits; complex ones as "a + bi" or
  /// "a - bi". NaN and Inf print as NAN, INF and -INF.
  /// @return the description ("[]" for an empty object).
  std::string ToString() const;

protected:
  /// An empty real double object (Length 0).
  TDenseLumex() = default;
  /// Deep copy: shape, storage kind and values.
  /// @param o  the object copied.
  TDenseLumex(const TDenseLumex& o);
  /// Deep copy assignment; the buffer is reused when it is large enough.
  /// @param o  the object copied.
  /// @return   this object.
  TDenseLumex& operator=(const TDenseLumex& o);
  /// Takes the buffer of `o`, which is left empty.
  /// @param o  the object moved from.
  TDenseLumex(TDenseLumex&& o) noexcept;
  /// Takes the buffer of `o`, which is left empty.
  /// @param o  the object moved from.
  /// @return   this object.
  TDenseLumex& operator=(TDenseLumex&& o) noexcept;
  /// Frees the buffer.
  ~TDenseLumex() override = default;

  /// Sets the shape and storage kind.
  ///
  /// With keepValues the leading elements survive (when the storage kind is unchanged) and new
  /// ones are zero; otherwise values are unspecified.
  /// @param rows, cols   the new shape.
  /// @param precision    storage precision.
  /// @param complex      complex storage when true.
  /// @param keepValues   keep the leading values and zero the new ones.
  /// @throws ELumexError "Size: unknown precision", "Size: negative dimension", then
  ///   "Size: length too large" (vector) or "Size: rows * cols too large" (matrix).
  void SetShape(int rows, int cols, TMtxFloatPrecision precision, bool complex, bool keepValues);
  /// Checks an element index.
  /// @param i  the index.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)" when i is outside.
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

/// A vector. As a dense object it has Length rows and one column.
class LUMEX_API TVec : public TDenseLumex {
public:
  /// An empty real double vector.
  TVec() = default;
  /// A real double vector of `length` zeros.
  /// @param length  number of elements.
  /// @throws ELumexError "TVec: length too large" past AllocationLimit() or 2^31 - 1
  ///   elements; "Size: negative dimension" when length < 0.
  explicit TVec(int length);
  /// A real double vector holding `values`, as in TVec v = {1, 2.5, 3}.
  /// @param values  the elements.
  TVec(std::initializer_list<double> values);
  /// A real double vector holding a copy of `values`.
  /// @param values  the elements.
  /// @throws ELumexError "TVec: too many elements" past 2^31 - 1 values, "Size: length too
  ///   large" past AllocationLimit().
  explicit TVec(const std::vector<double>& values);
  /// Deep copy.
  TVec(const TVec&) = default;
  /// Deep copy assignment; the buffer is reused when it is large enough.
  /// @return this vector.
  TVec& operator=(const TVec&) = default;
  /// Takes the buffer of the source, which is left empty.
  TVec(TVec&&) noexcept = default;
  /// Takes the buffer of the source, which is left empty.
  /// @return this vector.
  TVec& operator=(TVec&&) noexcept = default;

  /// What kind of dense object this is.
  /// @return ltVec.
  TLumexType LumexType() const noexcept override { return ltVec; }

  /// Sets the length and storage kind; values are unspecified (keep what you need with Resize).
  /// @param length     number of elements.
  /// @param precision  storage precision.
  /// @param complex    complex storage when true.
  /// @return           this vector.
  /// @throws ELumexError "Size: unknown precision", "Size: negative dimension", then
  ///   "Size: length too large".
  TVec& Size(int length, TMtxFloatPrecision precision = fpDouble, bool complex = false);
  /// Form of Size that takes precision and complexity from `model`.
  /// @param length  number of elements.
  /// @param model   the object whose storage kind is copied (its shape is not).
  /// @return        this vector.
  /// @throws ELumexError "Size: negative dimension", then "Size: length too large".
  TVec& Size(int length, const TDenseLumex& model);
  /// Changes the length keeping the storage kind.
  /// @param length      number of elements.
  /// @param keepValues  true: the existing values are kept and new elements are zero;
  ///                    false: every element is zero.
  /// @return            this vector.
  /// @throws ELumexError "Size: negative dimension", then "Size: length too large".
  TVec& Resize(int length, bool keepValues = true);
};

/// A row-major matrix.
class LUMEX_API TMtx : public TDenseLumex {
public:
  /// An empty (0 x 0) real double matrix.
  TMtx() = default;
  /// A real double matrix of zeros.
  /// @param rows, cols  the shape.
  /// @throws ELumexError "TMtx: rows * cols too large" past AllocationLimit() or 2^31 - 1
  ///   elements; "Size: negative dimension" when rows or cols is negative.
  TMtx(int rows, int cols);
  /// A real double matrix from its rows, as in TMtx m = {{1, 2}, {3, 4}}.
  /// @param rows  the rows, each of the same length.
  /// @throws ELumexError "TMtx: rows of unequal length".
  TMtx(std::initializer_list<std::initializer_list<double>> rows);
  /// Deep copy.
  TMtx(const TMtx&) = default;
  /// Deep copy assignment; the buffer is reused when it is large enough.
  /// @return this matrix.
  TMtx& operator=(const TMtx&) = default;
  /// Takes the buffer of the source, which is left empty.
  TMtx(TMtx&&) noexcept = default;
  /// Takes the buffer of the source, which is left empty.
  /// @return this matrix.
  TMtx& operator=(TMtx&&) noexcept = default;

  /// What kind of dense object this is.
  /// @return ltMtx.
  TLumexType LumexType() const noexcept override { return ltMtx; }

  /// Sets the shape and storage kind; values are unspecified.
  /// @param rows, cols  the shape.
  /// @param precision   storage precision.
  /// @param complex     complex storage when true.
  /// @return            this matrix.
  /// @throws ELumexError "Size: unknown precision", "Size: negative dimension", then
  ///   "Size: rows * cols too large".
  TMtx& Size(int rows, int cols, TMtxFloatPrecision precision = fpDouble, bool complex = false);
  /// Form of Size that takes precision and complexity from `model`.
  /// @param rows, cols  the shape.
  /// @param model       the object whose storage kind is copied (its shape is not).
  /// @return            this matrix.
  /// @throws ELumexError "Size: negative dimension", then "Size: rows * cols too large".
  TMtx& Size(int rows, int cols, const TDenseLumex& model);

  /// Element (i, j) of a real double matrix; bounds and storage kind are checked.
  /// @param i  row, 0 .. Rows() - 1.
  /// @param j  column, 0 .. Cols() - 1.
  /// @return   a reference to the element.
  /// @throws ELumexError "Matrix index out of range", then "Storage kind mismatch: ...".
  double& operator()(int i, int j);
  /// Read-only form of operator(): element (i, j) of a real double matrix.
  /// @param i  row, 0 .. Rows() - 1.
  /// @param j  column, 0 .. Cols() - 1.
  /// @return   the element.
  /// @throws ELumexError as the non-const form.
  double operator()(int i, int j) const;
};

/// A vector of 32-bit signed integers.
///
/// It doubles as a bit set of 32 * Length bits, bit k being bit (k mod 32) of element k / 32.
class LUMEX_API TVecInt : public TLumexInt {
public:
  /// An empty vector.
  TVecInt() = default;
  /// A vector of `length` zeros.
  /// @param length  number of elements.
  /// @throws ELumexError "TVecInt: length too large" past AllocationLimit() or 2^31 - 1
  ///   elements; "Size: negative dimension" when length < 0.
  explicit TVecInt(int length);
  /// A vector holding `values`, as in TVecInt v = {1, 2, 3}.
  /// @param values  the elements.
  TVecInt(std::initializer_list<std::int32_t> values);
  /// Deep copy.
  /// @param o  the vector copied.
  TVecInt(const TVecInt& o);
  /// Deep copy assignment; the buffer is reused when it is large enough.
  /// @param o  the vector copied.
  /// @return   this vector.
  TVecInt& operator=(const TVecInt& o);
  /// Takes the buffer of `o`, which is left empty.
  /// @param o  the vector moved from.
  TVecInt(TVecInt&& o) noexcept
      : TLumexInt(std::move(o)),
        fBuffer(std::move(o.fBuffer)),
        fLength(std::exchange(o.fLength, 0)) {}
  /// Takes the buffer of `o`, which is left empty.
  /// @param o  the vector moved from.
  /// @return   this vector.
  TVecInt& operator=(TVecInt&& o) noexcept {
    if (this == &o) return *this;
    TLumexInt::operator=(std::move(o));
    fBuffer = std::move(o.fBuffer);
    fLength = std::exchange(o.fLength, 0);
    return *this;
  }

  /// Number of elements.
  /// @return the element count.
  int Length() const noexcept { return fLength; }
  /// Sets the length; values are unspecified.
  /// @param length  number of elements.
  /// @return        this vector.
  /// @throws ELumexError "Size: negative dimension", then "Size: length too large".
  TVecInt& Size(int length);
  /// Changes the length.
  /// @param length      number of elements.
  /// @param keepValues  true: existing values are kept and new elements are zero;
  ///                    false: every element is zero.
  /// @return            this vector.
  /// @throws ELumexError "Size: negative dimension", then "Size: length too large".
  TVecInt& Resize(int length, bool keepValues = true);
  /// Sets every element to zero (clears every bit).
  void SetZero();
  /// Sets every element to x.
  /// @param x  the value.
  void SetVal(std::int32_t x);

  /// Pointer to the first element.
  /// @return the start of the buffer (may be null for a vector that never held elements).
  std::int32_t* Data() noexcept { return reinterpret_cast<std::int32_t*>(fBuffer.Get()); }
  /// Read-only form of Data.
  /// @return the start of the buffer.
  const std::int32_t* Data() const noexcept {
    return reinterpret_cast<const std::int32_t*>(fBuffer.Get());
  }
  /// The elements as a span of Length() values.
  /// @return a span valid until the vector is resized or destroyed.
  std::span<std::int32_t> Span() noexcept { return {Data(), static_cast<std::size_t>(fLength)}; }
  /// Read-only form of Span.
  /// @return a span of Length() constant elements.
  std::span<const std::int32_t> Span() const noexcept {
    return {Data(), static_cast<std::size_t>(fLength)};
  }
  /// Element i; bounds are checked.
  /// @param i  index, 0 .. Length() - 1.
  /// @return   a reference to the element.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)".
  std::int32_t& operator[](int i);
  /// Read-only form of operator[]: element i.
  /// @param i  index, 0 .. Length() - 1.
  /// @return   the element.
  /// @throws ELumexError "Index out of range: <i> not in [0, <Length>)".
  std::int32_t operator[](int i) const;

  /// @name Bit-set view
  /// @{

  /// Number of bits set.
  /// @return the population count over all elements.
  int BitCount() const noexcept;
  /// Bit `bit` of the set.
  /// @param bit  bit index, 0 .. 32 * Length() - 1.
  /// @return     whether the bit is set.
  /// @throws ELumexError "Bits: bit index out of range".
  bool Bits(int bit) const;
  /// Sets or clears bit `bit` of the set.
  /// @param bit    bit index, 0 .. 32 * Length() - 1.
  /// @param value  true sets the bit, false clears it.
  /// @throws ELumexError "Bits: bit index out of range".
  void SetBits(int bit, bool value);
  /// One element (0 or 1) per bit of `src`, bit 0 first: Length becomes 32 * src.Length.
  /// @param src  the bit set (may be this vector).
  /// @throws ELumexError "BitUnpack: too many bits" when 32 * src.Length() exceeds 2^31 - 1,
  ///   "Size: length too large" past AllocationLimit().
  void BitUnpack(const TVecInt& src);
  /// Inverse of BitUnpack: element k of `src` (non-zero = set) becomes bit k.
  ///
  /// Length becomes ceil(src.Length / 32); the bits past src.Length are clear.
  /// @param src  one element per bit (may be this vector).
  void BitPack(const TVecInt& src);

  /// @}

  /// A compact description such as "[1, 2, 3]", used in messages.
  /// @return the description ("[]" for an empty vector).
  std::string ToString() const;

private:
  void CheckIndex(int i) const;
  detail::TBuffer fBuffer;
  int fLength = 0;
};

/// An owning list of vectors.
///
/// Each vector is a separate object, so a reference from Items stays valid while other vectors
/// are added or removed.
class LUMEX_API TVecList : public TLumexBase {
public:
  /// An empty list.
  TVecList() = default;
  /// Deep copy: every vector is copied.
  /// @param o  the list copied.
  TVecList(const TVecList& o);
  /// Deep copy assignment: the vectors are replaced by copies of those of `o`.
  /// @param o  the list copied.
  /// @return   this list.
  TVecList& operator=(const TVecList& o);
  /// Takes the vectors of the source.
  TVecList(TVecList&&) noexcept = default;
  /// Takes the vectors of the source.
  /// @return this list.
  TVecList& operator=(TVecList&&) noexcept = default;

  /// Number of vectors.
  /// @return the count.
  int Count() const noexcept { return static_cast<int>(fItems.size()); }
  /// Sets the number of vectors; new ones are empty, surplus ones (at the end) are destroyed.
  /// @param count  the new number of vectors.
  /// @throws ELumexError "TVecList: negative count", then "SetCount: count too large"
  ///   (past AllocationLimit()).
  void SetCount(int count);
  /// Appends an empty real double vector.
  /// @return the new vector.
  TVec& Add();
  /// Removes and destroys every vector.
  void Clear() noexcept { fItems.clear(); }
  /// Vector i; bounds are checked.
  /// @param i  index, 0 .. Count() - 1.
  /// @return   the vector.
  /// @throws ELumexError "TVecList: index out of range".
  TVec& Items(int i);
  /// Read-only form of Items.
  /// @param i  index, 0 .. Count() - 1.
  /// @return   the vector.
  /// @throws ELumexError "TVecList: index out of range".
  const TVec& Items(int i) const;
  /// Vector i, as Items(i).
  /// @param i  index, 0 .. Count() - 1.
  /// @return   the vector.
  /// @throws ELumexError "TVecList: index out of range".
  TVec& operator[](int i) { return Items(i); }
  /// Read-only form of operator[], as Items(i).
  /// @param i  index, 0 .. Count() - 1.
  /// @return   the vector.
  /// @throws ELumexError "TVecList: index out of range".
  const TVec& operator[](int i) const { return Items(i); }

private:
  std::vector<std::unique_ptr<TVec>> fItems;
};

}  // namespace lumex
