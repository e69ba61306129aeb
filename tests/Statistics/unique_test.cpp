// Distinct values and their counts.
#include <cmath>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

TEST(Unique, AgreesWithR) {
  const auto samples = test::ReadSamples("Statistics/descriptive_data.txt");
  std::map<int, std::vector<std::pair<double, int>>> expected;
  for (const auto& r : test::ReadRefTable("Statistics/unique.txt").rows) {
    expected[static_cast<int>(r[0])].emplace_back(r[1], static_cast<int>(r[2]));
  }
  for (const auto& [id, x] : samples) {
    TVec dst;
    TVecInt counts;
    Unique(x, dst, &counts);
    const auto& e = expected.at(id);
    ASSERT_EQ(dst.Length(), static_cast<int>(e.size())) << "case " << id;
    ASSERT_EQ(counts.Length(), dst.Length());
    for (int i = 0; i < dst.Length(); ++i) {
      EXPECT_EQ(dst[i], e[i].first);
      EXPECT_EQ(counts[i], e[i].second);
    }
  }
}

struct TUniqueCase {
  TVec src;
  const char* values;
  const char* counts;
};

class UniqueValues : public ::testing::TestWithParam<TUniqueCase> {};

TEST_P(UniqueValues, AscendingWithCounts) {
  const TUniqueCase& c = GetParam();
  TVec dst;
  TVecInt counts{42};
  Unique(c.src, dst, &counts);
  EXPECT_EQ(dst.ToString(), c.values);
  EXPECT_EQ(counts.ToString(), c.counts);
  EXPECT_EQ(dst.FloatPrecision(), c.src.FloatPrecision());
  Unique(c.src, dst, nullptr);
  EXPECT_EQ(dst.ToString(), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UniqueValues,
    ::testing::Values(TUniqueCase{TVec{3, 1, 3, 2, 3}, "[1, 2, 3]", "[1, 1, 3]"},
                      TUniqueCase{TVec{5, 5, 5}, "[5]", "[3]"}, TUniqueCase{TVec{4}, "[4]", "[1]"},
                      TUniqueCase{TVec(), "[]", "[]"},
                      // All NaNs are one value, sorted last.
                      TUniqueCase{TVec{NaN, 2, NaN, 0.0, 0.0}, "[0, 2, NAN]", "[2, 1, 2]"},
                      // Compared in single precision: 1 + 1e-9 is 1 there.
                      TUniqueCase{test::ToSingle(TVec{1 + 1e-9, 2, 1}), "[1, 2]", "[2, 1]"}));

TEST(Unique, ReadsMatricesAndMayWriteOverItsSource) {
  TVec dst;
  TVecInt counts;
  Unique(TMtx{{2, 1}, {1, 2}, {3, 2}}, dst, &counts);
  EXPECT_EQ(dst.ToString(), "[1, 2, 3]");
  EXPECT_EQ(counts.ToString(), "[2, 3, 1]");
  TVec v{9, 8, 9};
  Unique(v, v, nullptr);
  EXPECT_EQ(v.ToString(), "[8, 9]");
  TVec z;
  z.Size(2, fpSingle, true);
  EXPECT_LUMEX_ERROR(Unique(z, dst, &counts), "Unique: Src.Complex");
}

}  // namespace
}  // namespace lumex
