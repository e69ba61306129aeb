// Containers: storage kinds, value semantics, sizing, bit sets and the object cache.
#include <thread>
#include <utility>

#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex {
namespace {

#define V LUMEX_VALUE  // a table entry named by its expression

TEST(Containers, ConstructionFormsAndShape) {
  const TVec v{1.0, 2.0, 3.0};
  const TMtx m{{1, 2, 3}, {4, 5, 6}};
  const TVecInt k{0, 0, 1};
  TVecInt from{4, 5}, to;
  to = std::move(from);
  const TVecInt taken(std::move(to));
  test::ExpectAllEqual({V(0, from.Length()), V(0, to.Length()), V(5, taken[1]),V(3, v.Length()), V(ltVec, v.LumexType()), V(fpDouble, v.FloatPrecision()),
                        V(false, v.Complex()), V(3.0, v[2]), V(0.0, Sum(TVec(4))),
                        V(6.0, TVec(std::vector<double>{5.0, 6.0})[1]), V(2, m.Rows()),
                        V(3, m.Cols()), V(6, m.Length()), V(4.0, m(1, 0)),
                        V(4.0, m.Data<double>()[3]),  // row-major
                        V(0.0, TMtx(2, 2)(1, 1)), V(3, k.Length()), V(1, k[2])});
}

struct StorageKind {
  TMtxFloatPrecision precision;
  bool complex;
  std::size_t bytes;
};

class ContainerStorage : public ::testing::TestWithParam<StorageKind> {};

TEST_P(ContainerStorage, RoundTripsAndCopiesDeeply) {
  const StorageKind kind = GetParam();
  TVec v;
  v.Size(5, kind.precision, kind.complex);
  EXPECT_EQ(v.ElementSize(), kind.bytes);
  EXPECT_EQ(v.FloatPrecision(), kind.precision);
  EXPECT_EQ(v.Complex(), kind.complex);
  v.SetVal(2.5);
  TVec copy = v;
  copy.SetVal(-1.0);
  if (!kind.complex && kind.precision == fpSingle) {
    EXPECT_EQ(v.Data<float>()[4], 2.5F);
    EXPECT_EQ(copy.Data<float>()[4], -1.0F);
  } else if (!kind.complex) {
    EXPECT_EQ(v.Data<double>()[4], 2.5);
    EXPECT_EQ(copy.Data<double>()[4], -1.0);
  } else if (kind.precision == fpSingle) {
    EXPECT_EQ(v.Data<std::complex<float>>()[4], std::complex<float>(2.5F));
    EXPECT_EQ(copy.Data<std::complex<float>>()[4], std::complex<float>(-1.0F));
  } else {
    EXPECT_EQ(v.Data<std::complex<double>>()[4], std::complex<double>(2.5));
    EXPECT_EQ(copy.Data<std::complex<double>>()[4], std::complex<double>(-1.0));
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ContainerStorage,
                         ::testing::Values(StorageKind{fpDouble, false, 8},
                                           StorageKind{fpSingle, false, 4},
                                           StorageKind{fpDouble, true, 16},
                                           StorageKind{fpSingle, true, 8}));

TEST(Containers, SizeFromModelTakesPrecisionAndComplexity) {
  TVec model;
  model.Size(2, fpSingle, true);
  TVec v;
  v.Size(7, model);
  TMtx m;
  m.Size(2, 3, model);
  test::ExpectAllEqual({V(7, v.Length()), V(fpSingle, v.FloatPrecision()), V(true, v.Complex()),
                        V(6, m.Length()), V(fpSingle, m.FloatPrecision())});
}

TEST(Containers, ResizeKeepsValuesAndZeroFills) {
  TVec v{1.0, 2.0};
  v.Resize(4);
  EXPECT_EQ(v.ToString(), "[1, 2, 0, 0]");
  v.Resize(1);
  EXPECT_EQ(v.ToString(), "[1]");
  v.Resize(3, false);
  EXPECT_EQ(v.ToString(), "[0, 0, 0]");
}

TEST(Containers, OutOfRangeAccessRaises) {
  TVec v{1.0};
  EXPECT_LUMEX_ERROR(v[1], "Index out of range: 1 not in [0, 1)");
  EXPECT_LUMEX_ERROR(v[-1], "Index out of range: -1 not in [0, 1)");
  TMtx m(2, 2);
  EXPECT_LUMEX_ERROR(m(2, 0), "Matrix index out of range");
  EXPECT_LUMEX_ERROR(v.Size(-1), "Size: negative dimension");
  EXPECT_LUMEX_ERROR(m.Size(100000, 100000), "Size: rows * cols too large");
  TVecList list;
  EXPECT_LUMEX_ERROR(list[0], "TVecList: index out of range");
}

// Sizes that cannot be served raise one message naming the function and the parameter before
// anything is allocated (the limit is lowered to 1 GiB, so the table does not depend on the
// machine; past 2^31 - 1 elements no limit applies).
TEST(Containers, SizesPastTheAllocationLimitRaiseBeforeAllocating) {
  const test::TAllocationLimit limit;
  constexpr int kMax = 2147483647;
  TVec v;
  TMtx m;
  TVecInt k;
  const TVec x{1, 2, 3};
  test::ExpectMessages({
      {[&] { TVec big(kMax); }, "TVec: length too large"},
      {[&] { TMtx big(100000, 100000); }, "TMtx: rows * cols too large"},
      {[&] { TMtx big(20000, 20000); }, "TMtx: rows * cols too large"},  // 3.2 GB
      {[&] { TVecInt big(kMax); }, "TVecInt: length too large"},
      {[&] { v.Size(kMax); }, "Size: length too large"},
      {[&] { v.Size(200000000, fpSingle, true); }, "Size: length too large"},
      {[&] { v.Resize(kMax); }, "Size: length too large"},
      {[&] { m.Size(100000, 100000); }, "Size: rows * cols too large"},
      {[&] { k.Size(kMax); }, "Size: length too large"},
      {[&] { k.Resize(kMax); }, "Size: length too large"},
      {[&] { Eye(m, 50000); }, "Eye: n too large"},
      {[&] { VanderMonde(m, x, kMax); }, "VanderMonde: order too large"},
      {[&] { AutoCorrBiased(v, x, kMax); }, "AutoCorrBiased: lags too large"},
      {[&] { CrossCorr(v, x, x, kMax); }, "CrossCorr: lags too large"},
      {[&] { TVecList().SetCount(kMax); }, "SetCount: count too large"},
  });
  EXPECT_EQ(AllocationLimit(), std::size_t{1} << 30);
  v.Size(1000000);  // under the limit: served
  EXPECT_EQ(v.Length(), 1000000);
}

// Enumeration arguments outside their enumerators raise "<Function>: unknown <Parameter>".
TEST(Containers, EnumerationsOutOfRangeRaise) {
  const auto bad = [](auto e) { return static_cast<decltype(e)>(99); };
  TVec v;
  TMtx m;
  const TMtx a{{1, 2}, {3, 4}};
  double fmin = 0.0;
  TOptStopReason stop = osrNone;
  std::vector<double> pars{1.0};
  const TRealFunction square = [](const TVec& p, const TVec*, const TObjConsts&) {
    return p.Value(0) * p.Value(0);
  };
  test::ExpectMessages({
      {[&] { Mul(m, a, a, bad(opNone)); }, "Mul: unknown opA"},
      {[&] { Mul(m, a, a, opNone, bad(opNone)); }, "Mul: unknown opB"},
      {[&] { TensorProd(v, a, TVec{1, 2}, bad(opNone)); }, "TensorProd: unknown opA"},
      {[&] { v.Size(2, bad(fpDouble)); }, "Size: unknown precision"},
      {[&] { Convert(v, TVec{1}, bad(fpDouble)); }, "Convert: unknown precision"},
      {[&] { CopyFrom(v, TVecInt{1}, bad(fpDouble)); }, "CopyFrom: unknown precision"},
      {[&] { Simplex(square, pars, nullptr, {}, fmin, stop, bad(fpDouble), 10, 1e-8); },
       "Simplex: unknown FloatPrecision"},
  });
}

TEST(Containers, ToStringRendersNonFiniteValues) {
  EXPECT_EQ((TVec{1.0, 2.5, NaN, -Inf}).ToString(), "[1, 2.5, NAN, -INF]");
  EXPECT_EQ(TVec().ToString(), "[]");
}

TEST(Containers, VecListIsDeepAndOwning) {
  TVecList a;
  a.Add() = TVec{1.0, 2.0};
  a.SetCount(3);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a[2].Length(), 0);
  TVecList b = a;
  b[0][0] = 9.0;
  EXPECT_EQ(a[0][0], 1.0);
}

TEST(Containers, BitSetOperations) {
  TVecInt bits(2);
  bits.SetBits(0, true);
  bits.SetBits(33, true);
  bits.SetBits(63, true);
  TVecInt unpacked;
  unpacked.BitUnpack(bits);
  test::ExpectAllEqual({V(3, bits.BitCount()), V(true, bits.Bits(33)), V(false, bits.Bits(32)),
                        V(64, unpacked.Length()), V(3, Sum(unpacked)), V(1, unpacked[63])});
  TVecInt packed;
  packed.BitPack(unpacked);
  EXPECT_EQ(packed.ToString(), bits.ToString());
  // 40 bits take a second, partial word.
  unpacked.Resize(40);
  packed.BitPack(unpacked);
  EXPECT_EQ(packed.ToString(), "[1, 2]");
  EXPECT_LUMEX_ERROR(bits.Bits(64), "Bits: bit index out of range");
}

TEST(ObjectCache, LeasesComeEmptyAndReturnOnEveryExit) {
  const int idle = CacheIdleCount();
  {
    auto [a, b] = CreateIt<TVec, TVec>();
    a->Size(100, fpSingle, true);
    EXPECT_EQ(b->Length(), 0);
  }
  const int afterFirst = CacheIdleCount();
  EXPECT_GE(afterFirst, idle);
  try {
    auto [m, k] = CreateIt<TMtx, TVecInt>();
    m->Size(3, 3);
    ERaise("boom");
  } catch (const ELumexError&) {
  }
  EXPECT_GE(CacheIdleCount(), afterFirst);
  auto again = CreateIt<TVec>();
  test::ExpectAllEqual({V(0, again->Length()), V(fpDouble, again->FloatPrecision()),
                        V(false, again->Complex())});
}

TEST(ObjectCache, IsPerThread) {
  { auto v = CreateIt<TVec>(); }
  int otherIdle = -1;
  std::thread([&] { otherIdle = CacheIdleCount(); }).join();
  EXPECT_EQ(otherIdle, 0);
}

#undef V

}  // namespace
}  // namespace lumex
