// Storage of the core containers.
#include "lumex/core/containers.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <sstream>

namespace lumex {

namespace detail {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kCacheLine = 64;

std::byte* AllocateAligned(std::size_t bytes) {
  // Large buffers are aligned to a huge page and advised for transparent huge pages: touching
  // 80 MB in 4 KiB pages costs far more in page faults than writing it.
  const std::size_t align = bytes >= kHugePage ? kHugePage : kCacheLine;
  const std::size_t rounded = (bytes + align - 1) / align * align;
  void* p = std::aligned_alloc(align, rounded);
  if (p == nullptr) throw std::bad_alloc();
  if (align == kHugePage) madvise(p, rounded, MADV_HUGEPAGE);
  return static_cast<std::byte*>(p);
}

}  // namespace

void TBuffer::Reserve(std::size_t bytes, std::size_t keep) {
  if (bytes <= fCapacity) return;
  std::byte* fresh = AllocateAligned(bytes);
  if (keep > 0 && fData != nullptr) std::memcpy(fresh, fData, std::min(keep, fCapacity));
  std::free(fData);
  fData = fresh;
  fCapacity = bytes;
}

}  // namespace detail

namespace {

std::size_t BytesOf(TMtxFloatPrecision precision, bool complex) {
  const std::size_t real = precision == fpDouble ? sizeof(double) : sizeof(float);
  return complex ? 2 * real : real;
}

// The element count of a rows x cols object, checked against the allocation limit before any
// buffer is touched.
int CheckedLength(int rows, int cols, bool vector, std::size_t elementBytes) {
  if (rows < 0 || cols < 0) ERaise("Size: negative dimension");
  const long long n = static_cast<long long>(rows) * cols;
  detail::CheckAllocation("Size", vector ? "length" : "rows * cols", n, elementBytes);
  return static_cast<int>(n);
}

void AppendNumber(std::ostringstream& os, double x) {
  if (std::isnan(x)) {
    os << "NAN";
  } else if (std::isinf(x)) {
    os << (x > 0 ? "INF" : "-INF");
  } else {
    os << x;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TDenseLumex

std::size_t TDenseLumex::ElementSize() const noexcept { return BytesOf(fPrecision, fComplex); }

TDenseLumex::TDenseLumex(const TDenseLumex& o)
    : TLumex(o), fRows(o.fRows), fCols(o.fCols), fLength(o.fLength), fPrecision(o.fPrecision),
      fComplex(o.fComplex) {
  const std::size_t bytes = static_cast<std::size_t>(fLength) * ElementSize();
  fBuffer.Reserve(bytes, 0);
  if (bytes > 0) std::memcpy(fBuffer.Get(), o.fBuffer.Get(), bytes);
}

TDenseLumex& TDenseLumex::operator=(const TDenseLumex& o) {
  if (this == &o) return *this;
  const std::size_t bytes = static_cast<std::size_t>(o.fLength) * o.ElementSize();
  fBuffer.Reserve(bytes, 0);
  if (bytes > 0) std::memcpy(fBuffer.Get(), o.fBuffer.Get(), bytes);
  fRows = o.fRows;
  fCols = o.fCols;
  fLength = o.fLength;
  fPrecision = o.fPrecision;
  fComplex = o.fComplex;
  return *this;
}

TDenseLumex::TDenseLumex(TDenseLumex&& o) noexcept
    : TLumex(o), fBuffer(std::move(o.fBuffer)), fRows(o.fRows), fCols(o.fCols),
      fLength(o.fLength), fPrecision(o.fPrecision), fComplex(o.fComplex) {
  o.fRows = o.fCols = o.fLength = 0;
}

TDenseLumex& TDenseLumex::operator=(TDenseLumex&& o) noexcept {
  if (this == &o) return *this;
  fBuffer = std::move(o.fBuffer);
  fRows = o.fRows;
  fCols = o.fCols;
  fLength = o.fLength;
  fPrecision = o.fPrecision;
  fComplex = o.fComplex;
  o.fRows = o.fCols = o.fLength = 0;
  return *this;
}

void TDenseLumex::SetShape(int rows, int cols, TMtxFloatPrecision precision, bool complex,
                           bool keepValues) {
  detail::CheckEnum("Size", "precision", precision, 2);
  const int length =
      CheckedLength(rows, cols, LumexType() == ltVec, BytesOf(precision, complex));
  const bool sameKind = precision == fPrecision && complex == fComplex;
  const std::size_t elem = BytesOf(precision, complex);
  const std::size_t oldBytes = sameKind ? static_cast<std::size_t>(fLength) * elem : 0;
  const std::size_t newBytes = static_cast<std::size_t>(length) * elem;
  fBuffer.Reserve(newBytes, keepValues ? oldBytes : 0);
  fRows = rows;
  fCols = cols;
  fLength = length;
  fPrecision = precision;
  fComplex = complex;
  if (keepValues && newBytes > oldBytes) {
    std::memset(fBuffer.Get() + oldBytes, 0, newBytes - oldBytes);
  }
}

void TDenseLumex::CheckIndex(int i) const {
  if (i < 0 || i >= fLength) {
    ERaise("Index out of range: " + std::to_string(i) + " not in [0, " + std::to_string(fLength) +
           ")");
  }
}

void TDenseLumex::RaiseKindMismatch() const {
  ERaise(std::string("Storage kind mismatch: object holds ") + (fComplex ? "complex " : "real ") +
         (fPrecision == fpDouble ? "double" : "single") + " precision values");
}

double& TDenseLumex::operator[](int i) {
  CheckIndex(i);
  return Data<double>()[i];
}

double TDenseLumex::operator[](int i) const {
  CheckIndex(i);
  return Data<double>()[i];
}

double TDenseLumex::Value(int i) const {
  CheckIndex(i);
  if (fComplex) ERaise("Value: complex object");
  return fPrecision == fpDouble ? Data<double>()[i] : static_cast<double>(Data<float>()[i]);
}

void TDenseLumex::SetValue(int i, double x) {
  CheckIndex(i);
  if (fComplex) ERaise("SetValue: complex object");
  if (fPrecision == fpDouble) {
    Data<double>()[i] = x;
  } else {
    Data<float>()[i] = static_cast<float>(x);
  }
}

void TDenseLumex::SetZero() { SetZero(0, fLength); }

void TDenseLumex::SetZero(int index, int len) {
  if (index < 0 || len < 0 || index > fLength - len) ERaise("SetZero: index range out of bounds");
  if (len > 0) std::memset(fBuffer.Get() + index * ElementSize(), 0, len * ElementSize());
}

void TDenseLumex::SetVal(double x) { SetVal(x, 0, fLength); }

void TDenseLumex::SetVal(double x, int index, int len) {
  if (index < 0 || len < 0 || index > fLength - len) ERaise("SetVal: index range out of bounds");
  std::byte* p = fBuffer.Get();
  if (fComplex && fPrecision == fpDouble) {
    std::fill_n(reinterpret_cast<std::complex<double>*>(p) + index, len, std::complex<double>(x));
  } else if (fComplex) {
    std::fill_n(reinterpret_cast<std::complex<float>*>(p) + index, len,
                std::complex<float>(static_cast<float>(x)));
  } else if (fPrecision == fpDouble) {
    std::fill_n(reinterpret_cast<double*>(p) + index, len, x);
  } else {
    std::fill_n(reinterpret_cast<float*>(p) + index, len, static_cast<float>(x));
  }
}

std::string TDenseLumex::ToString() const {
  std::ostringstream os;
  os.precision(15);
  os << '[';
  for (int i = 0; i < fLength; ++i) {
    if (i > 0) os << ", ";
    if (fComplex) {
      const std::complex<double> z =
          fPrecision == fpDouble ? Data<std::complex<double>>()[i]
                                 : std::complex<double>(Data<std::complex<float>>()[i]);
      AppendNumber(os, z.real());
      os << (z.imag() < 0 ? " - " : " + ");
      AppendNumber(os, std::abs(z.imag()));
      os << 'i';
    } else {
      AppendNumber(os, Value(i));
    }
  }
  os << ']';
  return os.str();
}

// ---------------------------------------------------------------------------------------------
// TVec

TVec::TVec(int length) {
  detail::CheckAllocation("TVec", "length", length);
  SetShape(length, 1, fpDouble, false, false);
  SetZero();
}

TVec::TVec(std::initializer_list<double> values) {
  SetShape(static_cast<int>(values.size()), 1, fpDouble, false, false);
  std::copy(values.begin(), values.end(), Data<double>());
}

TVec::TVec(const std::vector<double>& values) {
  if (values.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    ERaise("TVec: too many elements");
  }
  SetShape(static_cast<int>(values.size()), 1, fpDouble, false, false);
  std::copy(values.begin(), values.end(), Data<double>());
}

TVec& TVec::Size(int length, TMtxFloatPrecision precision, bool complex) {
  SetShape(length, 1, precision, complex, false);
  return *this;
}

TVec& TVec::Size(int length, const TDenseLumex& model) {
  return Size(length, model.FloatPrecision(), model.Complex());
}

TVec& TVec::Resize(int length, bool keepValues) {
  SetShape(length, 1, FloatPrecision(), Complex(), true);
  if (!keepValues) SetZero();
  return *this;
}

// ---------------------------------------------------------------------------------------------
// TMtx

TMtx::TMtx(int rows, int cols) {
  if (rows > 0 && cols > 0) {
    detail::CheckAllocation("TMtx", "rows * cols", static_cast<long long>(rows) * cols);
  }
  SetShape(rows, cols, fpDouble, false, false);
  SetZero();
}

TMtx::TMtx(std::initializer_list<std::initializer_list<double>> rows) {
  const int r = static_cast<int>(rows.size());
  const int c = r > 0 ? static_cast<int>(rows.begin()->size()) : 0;
  for (const auto& row : rows) {
    if (static_cast<int>(row.size()) != c) ERaise("TMtx: rows of unequal length");
  }
  SetShape(r, c, fpDouble, false, false);
  double* p = Data<double>();
  for (const auto& row : rows) p = std::copy(row.begin(), row.end(), p);
}

TMtx& TMtx::Size(int rows, int cols, TMtxFloatPrecision precision, bool complex) {
  SetShape(rows, cols, precision, complex, false);
  return *this;
}

TMtx& TMtx::Size(int rows, int cols, const TDenseLumex& model) {
  return Size(rows, cols, model.FloatPrecision(), model.Complex());
}

double& TMtx::operator()(int i, int j) {
  if (i < 0 || i >= Rows() || j < 0 || j >= Cols()) ERaise("Matrix index out of range");
  return Data<double>()[static_cast<std::size_t>(i) * Cols() + j];
}

double TMtx::operator()(int i, int j) const {
  if (i < 0 || i >= Rows() || j < 0 || j >= Cols()) ERaise("Matrix index out of range");
  return Data<double>()[static_cast<std::size_t>(i) * Cols() + j];
}

// ---------------------------------------------------------------------------------------------
// TVecInt

TVecInt::TVecInt(int length) {
  detail::CheckAllocation("TVecInt", "length", length, sizeof(std::int32_t));
  Size(length);
  SetZero();
}

TVecInt::TVecInt(std::initializer_list<std::int32_t> values) {
  Size(static_cast<int>(values.size()));
  std::copy(values.begin(), values.end(), Data());
}

TVecInt::TVecInt(const TVecInt& o) : TLumexInt(o) {
  Size(o.fLength);
  std::copy_n(o.Data(), o.fLength, Data());
}

TVecInt& TVecInt::operator=(const TVecInt& o) {
  if (this != &o) {
    Size(o.fLength);
    std::copy_n(o.Data(), o.fLength, Data());
  }
  return *this;
}

TVecInt& TVecInt::Size(int length) {
  if (length < 0) ERaise("Size: negative dimension");
  detail::CheckAllocation("Size", "length", length, sizeof(std::int32_t));
  fBuffer.Reserve(static_cast<std::size_t>(length) * sizeof(std::int32_t), 0);
  fLength = length;
  return *this;
}

TVecInt& TVecInt::Resize(int length, bool keepValues) {
  if (length < 0) ERaise("Size: negative dimension");
  detail::CheckAllocation("Size", "length", length, sizeof(std::int32_t));
  const int kept = keepValues ? std::min(length, fLength) : 0;
  fBuffer.Reserve(static_cast<std::size_t>(length) * sizeof(std::int32_t),
                  static_cast<std::size_t>(kept) * sizeof(std::int32_t));
  fLength = length;
  std::fill(Data() + kept, Data() + length, 0);
  return *this;
}

void TVecInt::SetZero() { SetVal(0); }

void TVecInt::SetVal(std::int32_t x) { std::fill_n(Data(), fLength, x); }

void TVecInt::CheckIndex(int i) const {
  if (i < 0 || i >= fLength) {
    ERaise("Index out of range: " + std::to_string(i) + " not in [0, " + std::to_string(fLength) +
           ")");
  }
}

std::int32_t& TVecInt::operator[](int i) {
  CheckIndex(i);
  return Data()[i];
}

std::int32_t TVecInt::operator[](int i) const {
  CheckIndex(i);
  return Data()[i];
}

int TVecInt::BitCount() const noexcept {
  int count = 0;
  for (int i = 0; i < fLength; ++i) count += std::popcount(static_cast<std::uint32_t>(Data()[i]));
  return count;
}

bool TVecInt::Bits(int bit) const {
  if (bit < 0 || bit / 32 >= fLength) ERaise("Bits: bit index out of range");
  return (static_cast<std::uint32_t>(Data()[bit / 32]) >> (bit % 32)) & 1U;
}

void TVecInt::SetBits(int bit, bool value) {
  if (bit < 0 || bit / 32 >= fLength) ERaise("Bits: bit index out of range");
  auto word = static_cast<std::uint32_t>(Data()[bit / 32]);
  const std::uint32_t mask = 1U << (bit % 32);
  word = value ? (word | mask) : (word & ~mask);
  Data()[bit / 32] = static_cast<std::int32_t>(word);
}

void TVecInt::BitUnpack(const TVecInt& src) {
  if (src.fLength > std::numeric_limits<int>::max() / 32) ERaise("BitUnpack: too many bits");
  const TVecInt copy = (&src == this) ? src : TVecInt();
  const TVecInt& s = (&src == this) ? copy : src;
  Size(32 * s.fLength);
  for (int k = 0; k < fLength; ++k) {
    Data()[k] = static_cast<std::int32_t>((static_cast<std::uint32_t>(s.Data()[k / 32]) >> (k % 32)) & 1U);
  }
}

void TVecInt::BitPack(const TVecInt& src) {
  const TVecInt copy = (&src == this) ? src : TVecInt();
  const TVecInt& s = (&src == this) ? copy : src;
  Size((s.fLength + 31) / 32);
  SetZero();
  for (int k = 0; k < s.fLength; ++k) {
    if (s.Data()[k] != 0) SetBits(k, true);
  }
}

std::string TVecInt::ToString() const {
  std::ostringstream os;
  os << '[';
  for (int i = 0; i < fLength; ++i) os << (i > 0 ? ", " : "") << Data()[i];
  os << ']';
  return os.str();
}

// ---------------------------------------------------------------------------------------------
// TVecList

TVecList::TVecList(const TVecList& o) : TLumexBase(o) { *this = o; }

TVecList& TVecList::operator=(const TVecList& o) {
  if (this == &o) return *this;
  std::vector<std::unique_ptr<TVec>> items;
  items.reserve(o.fItems.size());
  for (const auto& v : o.fItems) items.push_back(std::make_unique<TVec>(*v));
  fItems = std::move(items);
  return *this;
}

void TVecList::SetCount(int count) {
  if (count < 0) ERaise("TVecList: negative count");
  // Each vector is an object of its own besides the list's pointer to it.
  detail::CheckAllocation("SetCount", "count", count, sizeof(TVec) + sizeof(void*));
  while (static_cast<int>(fItems.size()) > count) fItems.pop_back();
  while (static_cast<int>(fItems.size()) < count) fItems.push_back(std::make_unique<TVec>());
}

TVec& TVecList::Add() {
  fItems.push_back(std::make_unique<TVec>());
  return *fItems.back();
}

TVec& TVecList::Items(int i) {
  if (i < 0 || i >= Count()) ERaise("TVecList: index out of range");
  return *fItems[static_cast<std::size_t>(i)];
}

const TVec& TVecList::Items(int i) const {
  if (i < 0 || i >= Count()) ERaise("TVecList: index out of range");
  return *fItems[static_cast<std::size_t>(i)];
}

}  // namespace lumex
