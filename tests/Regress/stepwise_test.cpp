// StepwiseRegression: exhaustive, forward and backward search and the scoring of one subset
// against an R re-implementation of the search rules, the factorised subset fits against
// direct MulLinRegress + RegressTest fits, and the checks, ties and limits of the search.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "lumex/Regress.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::kTolRef;
using test::Near;

constexpr int kM = 5;  // candidates of the reference data
constexpr int kResultCols = kM + 8;

// The five candidates of the reference data, then y, with their standard deviations.
struct TStepData {
  TVecList list;
  TVec sd;
};

TStepData ReferenceData() {
  const test::TRefTable t = test::ReadRefTable("Regress/stepwise_data.txt");
  TStepData d;
  d.list.SetCount(kM + 1);
  const auto n = static_cast<int>(t.rows.size());
  for (int j = 0; j <= kM; ++j) d.list[j].Size(n);
  for (int i = 0; i < n; ++i) {
    const auto& r = t.rows[static_cast<std::size_t>(i)];
    for (int j = 0; j < kM; ++j) d.list[j][i] = r[static_cast<std::size_t>(j + 2)];
    d.list[kM][i] = r[1];
  }
  d.sd.Size(kM + 1);
  for (int j = 0; j <= kM; ++j) d.sd[j] = StdDev(d.list[j]);
  return d;
}

void ExpectRowsNear(const TMtx& got, int row, const TVec& want, int wantRow, const char* what,
                    test::TWorst& worst) {
  for (int c = 0; c < got.Cols(); ++c) {
    worst.See(want[wantRow * got.Cols() + c], got(row, c));
    EXPECT_TRUE(Near(want[wantRow * got.Cols() + c], got(row, c), kTolRef, 1e-13))
        << what << " row " << row << " col " << c;
  }
}

struct TSearchCase {
  const char* name;
  TStepwiseMethod method;
  const char* ref;  // prefix of the reference tables
};

class StepwiseReference : public ::testing::TestWithParam<TSearchCase> {};

TEST_P(StepwiseReference, TablesMatchR) {
  const TSearchCase& c = GetParam();
  const TStepData d = ReferenceData();
  const auto ref = test::ReadSeries("Regress/stepwise.txt");
  const TVec& res = ref.at(std::string(c.ref) + "_res");
  const TVec& det = ref.at(std::string(c.ref) + "_det");
  TVecInt mask;
  TMtx results, details;
  StepwiseRegression(d.list, d.sd, c.method, mask, results, details, 100, true, nullptr, nullptr);
  const int models = res.Length() / kResultCols;
  ASSERT_EQ(results.Rows(), models);
  ASSERT_EQ(results.Cols(), kResultCols);
  ASSERT_EQ(details.Rows(), models * kM);
  const bool sorted = c.method == swExhaustive;
  test::TWorst worst{c.name};
  for (int r = 0; r < models; ++r) {
    const int model = sorted ? static_cast<int>(ref.at("exh_order")[r]) : r;
    ExpectRowsNear(results, r, res, model, "Results", worst);
  }
  for (int r = 0; r < models * kM; ++r) ExpectRowsNear(details, r, det, r, "Details", worst);
  // The selected model is left in the mask (all bits after an exhaustive search).
  const int lastModel = sorted ? 0 : models - 1;
  for (int j = 0; j < kM; ++j) {
    EXPECT_EQ(mask.Bits(j), res[lastModel * kResultCols + 1 + j] != 0.0) << j;
  }

  // Scoring the selected model alone gives its row again.
  TMtx one, oneDetails;
  StepwiseRegression(d.list, d.sd, swStepwise, mask, one, oneDetails, 0, false, nullptr, nullptr);
  ASSERT_EQ(one.Rows(), 1);
  for (int col = 1; col < kResultCols; ++col) {
    EXPECT_TRUE(Near(res[lastModel * kResultCols + col], one(0, col), kTolRef, 1e-13)) << col;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Searches, StepwiseReference,
    ::testing::Values(TSearchCase{"Exhaustive", swExhaustive, "exh"},
                      TSearchCase{"Forward", swForward, "fwd"},
                      TSearchCase{"Backward", swBackward, "bwd"}),
    [](const auto& info) { return std::string(info.param.name); });

// The callback scores every model with the statistics of its fit (its score is the SSE column)
// and sees the owner pointer it was given.
TEST(Stepwise, CallbackSeesTheFitAndItsOwner) {
  const TStepData d = ReferenceData();
  int calls = 0;
  const TStepwiseQualityCriteria record = [](const TRegStats& s, const TVec& b, const TVec&,
                                             const TVecInt& flags, void* owner) {
    ++*static_cast<int*>(owner);
    return b.Length() == flags.BitCount() + 1 ? s.SSE : NaN;
  };
  TVecInt mask;
  TMtx results, details;
  StepwiseRegression(d.list, d.sd, swExhaustive, mask, results, details, 0, false, record, &calls);
  EXPECT_EQ(calls, 32);
  for (int r = 0; r < results.Rows(); ++r) EXPECT_EQ(results(r, kM + 1), results(r, kM + 2)) << r;
}

// Forward search: a tie between the current model and the best candidate stops it, and an
// iteration limit raises after the tables are trimmed to the models reached.
TEST(Stepwise, TiesStopAndIterationLimitRaisesAfterTrimming) {
  const TStepData d = ReferenceData();
  TVecInt mask;
  TMtx results, details;
  const TStepwiseQualityCriteria flat = [](const TRegStats&, const TVec&, const TVec&,
                                           const TVecInt&, void*) { return 1.0; };
  StepwiseRegression(d.list, d.sd, swForward, mask, results, details, 100, true, flat, nullptr);
  EXPECT_EQ(results.Rows(), 1);
  EXPECT_EQ(details.Rows(), kM);
  EXPECT_EQ(mask.BitCount(), 0);

  for (const int maxIter : {1, 3}) {
    EXPECT_LUMEX_ERROR(StepwiseRegression(d.list, d.sd, swForward, mask, results, details,
                                          maxIter, true, nullptr, nullptr),
                       "Maximum allowed iteration count exceeded " + std::to_string(maxIter));
    EXPECT_EQ(results.Rows(), maxIter);
    EXPECT_EQ(details.Rows(), maxIter * kM);
    EXPECT_EQ(mask.BitCount(), maxIter - 1);
  }
}

// More than 100 models double the tables: 100 noise candidates, each accepted while a
// callback rewards the model size.
TEST(Stepwise, ForwardSearchGrowsTablesPastTheirFirstSize) {
  constexpr int m = 100;  // 101 models: one more than the first table size
  TStepData d;
  d.list.SetCount(m + 1);
  d.sd.Size(m + 1);
  d.sd.SetVal(1.0);
  for (int j = 0; j <= m; ++j) {
    d.list[j].Size(150);
    for (int i = 0; i < 150; ++i) d.list[j][i] = std::sin(1.0 + 0.37 * i * (j + 1) + j * j);
  }
  const TStepwiseQualityCriteria size = [](const TRegStats&, const TVec& b, const TVec&,
                                           const TVecInt&, void*) { return -b.Length(); };
  TVecInt mask;
  TMtx results, details;
  StepwiseRegression(d.list, d.sd, swForward, mask, results, details, 1000, true, size, nullptr);
  EXPECT_EQ(results.Rows(), m + 1);
  EXPECT_EQ(mask.BitCount(), m);
  EXPECT_EQ(results(m, 0), m);
}

// The checks in their order, and the errors of the subset fits wrapped by MulLinRegress.
TEST(Stepwise, RaisesExactMessages) {
  const TStepData d = ReferenceData();
  TVecInt mask;
  TMtx results, details;
  auto run = [&](const TVecList& list, const TVec& sd, TStepwiseMethod method, bool init) {
    StepwiseRegression(list, sd, method, mask, results, details, 100, init, nullptr, nullptr);
  };
  TVec shortSd{1.0, 2.0};
  EXPECT_LUMEX_ERROR(run(d.list, shortSd, swForward, true),
                     "Need stddev for all independent and the dependent variable: "
                     "stdDevA.Length <> aList.Count");
  TVecList single = d.list;
  single[2] = test::ToSingle(single[2]);
  EXPECT_LUMEX_ERROR(run(single, d.sd, swForward, true),
                     "aList[2].FloatPrecision <> stdDevA.FloatPrecision");
  EXPECT_LUMEX_ERROR(run(TVecList(), TVec(), swForward, true),
                     "StepwiseRegression: aList.Count = 0");
  TVecList wide;
  wide.SetCount(17);
  for (int j = 0; j < 17; ++j) wide[j] = TVec{1.0, 2.0, 3.0, 4.0 + j};
  TVec wideSd(17);
  EXPECT_LUMEX_ERROR(run(wide, wideSd, swExhaustive, true),
                     "Maximum supported variable count for exhaustive regression search is 15. "
                     "Requested was 16.");
  EXPECT_LUMEX_ERROR(run(d.list, d.sd, swStepwise, true),
                     "Stepwise method requires that VariableMask parameter is initialized by the "
                     "user!");
  TVecList shorter = d.list;
  shorter[1] = TVec{1.0, 2.0};
  EXPECT_LUMEX_ERROR(run(shorter, d.sd, swForward, true),
                     "StepwiseRegression: aList[1].Length <> y.Length");
  TVecList twin = d.list;
  twin[3] = twin[0];  // a subset with both is rank-deficient
  EXPECT_LUMEX_ERROR(run(twin, d.sd, swExhaustive, true),
                     "MulLinRegress : LQRSolve: matrix is rank deficient");
}

// Single-precision data take the direct fits and give single-precision tables that agree with
// the double-precision search to the resolution of the data.
TEST(Stepwise, SinglePrecisionDataGiveSinglePrecisionTables) {
  const TStepData d = ReferenceData();
  TStepData f = d;
  for (int j = 0; j <= kM; ++j) f.list[j] = test::ToSingle(d.list[j]);
  f.sd = test::ToSingle(d.sd);
  TVecInt mask{0b10111};
  TMtx want, got, details;
  StepwiseRegression(d.list, d.sd, swStepwise, mask, want, details, 0, false, nullptr, nullptr);
  StepwiseRegression(f.list, f.sd, swStepwise, mask, got, details, 0, false, nullptr, nullptr);
  ASSERT_EQ(got.FloatPrecision(), fpSingle);
  ASSERT_EQ(details.FloatPrecision(), fpSingle);
  for (int c = 0; c < kResultCols; ++c) {
    EXPECT_TRUE(Near(want(0, c), got.Value(c), 1e-5)) << c;
  }
}

// NaN or infinite data give NaN statistics for the models that use them, never a fault.
TEST(Stepwise, NonFiniteDataGiveNaNQuality) {
  for (const double bad : {NaN, Inf}) {
    TStepData d = ReferenceData();
    d.list[1][4] = bad;
    TVecInt mask;
    TMtx results, details;
    StepwiseRegression(d.list, d.sd, swExhaustive, mask, results, details, 0, false, nullptr,
                       nullptr);
    ASSERT_EQ(results.Rows(), 32);
    // The 16 models without candidate 1 come first, then the NaN ones.
    EXPECT_EQ(results(15, 2), 0.0);
    EXPECT_TRUE(std::isfinite(results(15, kM + 1)));
    EXPECT_EQ(results(16, 2), 1.0);
    EXPECT_TRUE(std::isnan(results(16, kM + 1)));
  }
}

}  // namespace
}  // namespace lumex
