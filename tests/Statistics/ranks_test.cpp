// Plain and tied ranks against R's rank, and the tie correction.
#include <cmath>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

// Ranks (ties in their original order) = R's ties.method "first"; TiedRanks = "average", with
// the tie correction sum (t^3 - t) / 2. Case 6 holds tie groups of 1500 and 2000 values, whose
// t^3 exceeds the 32-bit range.
TEST(Ranks, AgreeWithR) {
  auto samples = test::ReadSamples("Statistics/descriptive_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/ranks.txt");
  const test::TRefTable ties = test::ReadRefTable("Statistics/tie_correction.txt");
  std::map<int, std::vector<std::vector<double>>> rows;
  for (const auto& r : ref.rows) rows[static_cast<int>(r[0])].push_back(r);
  ASSERT_EQ(rows.size(), samples.size());
  for (const auto& t : ties.rows) {
    const int id = static_cast<int>(t[0]);
    TVec& x = samples.at(id);
    SCOPED_TRACE(::testing::Message() << "case " << id << " n " << x.Length());
    TVec tied{-1.0};
    double correction = -1.0;
    TiedRanks(x, tied, correction);
    EXPECT_EQ(correction, t[2]);
    TVec sorted = x;
    SortAscend(sorted);
    TVec plain;
    Ranks(x, plain);
    ASSERT_EQ(plain.Length(), x.Length());
    ASSERT_EQ(tied.Length(), x.Length());
    for (const auto& r : rows.at(id)) {
      const int i = static_cast<int>(r[1]);
      EXPECT_EQ(plain[i], r[2]) << "element " << i;
      EXPECT_EQ(tied[i], r[3]) << "element " << i;
    }
    for (int i = 0; i < x.Length(); ++i) EXPECT_EQ(x[i], sorted[i]);  // Ranks sorts its input
  }
}

TEST(Ranks, TiesAreExactInTheStoragePrecision) {
  TVec results;
  double correction = 0.0;
  TiedRanks(TVec{10, 20, 20, 30}, results, correction);
  EXPECT_EQ(results.ToString(), "[1, 2.5, 2.5, 4]");
  EXPECT_EQ(correction, 3.0);
  TiedRanks(TVec{0.0, -2.0, -0.0}, results, correction);  // -0 and +0 are equal numbers
  EXPECT_EQ(results.ToString(), "[2.5, 1, 2.5]");

  // 1 + 1e-9 is 1 in single precision: a tie there, distinct values in double precision.
  const TVec x{2.0, 1.0 + 1e-9, 1.0};
  TiedRanks(x, results, correction);
  EXPECT_EQ(results.ToString(), "[3, 2, 1]");
  EXPECT_EQ(correction, 0.0);
  TiedRanks(test::ToSingle(x), results, correction);
  EXPECT_EQ(results.FloatPrecision(), fpSingle);
  EXPECT_EQ(results.ToString(), "[3, 1.5, 1.5]");
  EXPECT_EQ(correction, 3.0);

  TVec s = test::ToSingle(x);
  Ranks(s, results);
  EXPECT_EQ(results.FloatPrecision(), fpSingle);
  EXPECT_EQ(results.ToString(), "[3, 1, 2]");  // equal values ranked in their original order
}

TEST(Ranks, NaNsRankLastAndEmptyDataChangeNothing) {
  TVec results;
  double correction = -1.0;
  TiedRanks(TVec{NaN, 2.0, NaN, 1.0}, results, correction);
  EXPECT_EQ(results.ToString(), "[3, 2, 4, 1]");
  EXPECT_EQ(correction, 0.0);

  results = TVec{7.0, 8.0};
  correction = -1.0;
  TiedRanks(TVec(), results, correction);
  EXPECT_EQ(correction, 0.0);
  EXPECT_EQ(results.ToString(), "[7, 8]");
  TVec empty;
  Ranks(empty, results);
  EXPECT_EQ(results.Length(), 0);
}

}  // namespace
}  // namespace lumex
