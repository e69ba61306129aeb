// Westgard rule codes: each rule and combination of the table, values exactly on a limit,
// single-precision comparisons, and series against codes computed in R from the definitions.
#include <cmath>
#include <string>
#include <vector>

#include "lumex/StatControlCharts.h"
#include "lumex_test.h"

namespace lumex {
namespace {

struct TRuleCase {
  const char* name;
  std::vector<double> x;  // deviations in units of sigma about the mean
  std::vector<double> codes;
};

void PrintTo(const TRuleCase& c, std::ostream* os) { *os << c.name; }

class WestgardRule : public ::testing::TestWithParam<TRuleCase> {};

// Every case runs at Mean 0, Sigma 1 and, scaled, at Mean 10, Sigma 2 (exact in binary).
TEST_P(WestgardRule, GivesTheCodesOfTheTable) {
  const TRuleCase& c = GetParam();
  TVec results;
  QCWestgardRules(TVec(c.x), results, 0.0, 1.0);
  EXPECT_EQ(TVec(c.codes).ToString(), results.ToString());
  std::vector<double> scaled;
  for (const double d : c.x) scaled.push_back(10.0 + 2.0 * d);
  QCWestgardRules(TVec(scaled), results, 10.0, 2.0);
  EXPECT_EQ(TVec(c.codes).ToString(), results.ToString());
}

const std::vector<double> kHalf10(10, 0.5);

INSTANTIATE_TEST_SUITE_P(
    Table, WestgardRule,
    ::testing::Values(
        TRuleCase{"OneBeyond2sThenTwoOnTheSameSide", {0, 2.5, 2.5}, {0, 2, 14}},
        TRuleCase{"OneBeyond3s", {3.5, -3.5}, {3, 11}},
        TRuleCase{"ValueOnALimitDoesNotViolateIt",
                  {3, -3, 2, -2, 1, 1, 1, 1},
                  {2, 10, 0, 0, 0, 0, 0, 0}},
        TRuleCase{"TwoBeyond2sOnOppositeSides", {2.5, -2.5, 2.25}, {2, 10, 10}},
        TRuleCase{"TwoBeyond2sBelow", {-2.5, -3.25}, {2, 2 + 1 + 4 + 8}},
        TRuleCase{"FourBeyond1s", {1.5, 1.5, 1.5, 1.5, 1.5}, {0, 0, 0, 16, 16}},
        TRuleCase{"FourBeyond1sBelow", {-1.25, -1.5, -1.75, -1.5}, {0, 0, 0, 16}},
        TRuleCase{"FourBeyond1sInterruptedBetweenSides",
                  {1.5, 1.5, -1.5, -1.5, 1.5, 1.5},
                  {0, 0, 0, 0, 0, 0}},
        TRuleCase{"TenOnOneSide", kHalf10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 32}},
        TRuleCase{"TenBelow",
                  std::vector<double>(11, -0.25),
                  {0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 32}},
        TRuleCase{"TenWithOneOnTheMean",
                  {0.5, 0.5, 0.5, 0.5, 0, 0.5, 0.5, 0.5, 0.5, 0.5},
                  {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        TRuleCase{"EveryRuleAtOnce",
                  {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 1.5, 1.5, 2.5, 3.5},
                  {0, 0, 0, 0, 0, 0, 0, 0, 2, 63}},
        TRuleCase{"NaNViolatesNothingAndBreaksRuns",
                  {2.5, NaN, 2.5, 1.5, 1.5, 1.5},
                  {2, 0, 2, 0, 0, 16}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QCWestgardRules, AgreesWithTheRulesWrittenInR) {
  const test::TRefTable t = test::ReadRefTable("StatControlCharts/westgard.txt");
  ASSERT_EQ(1200U, t.rows.size());
  std::map<int, std::vector<std::vector<double>>> sets;
  for (const auto& r : t.rows) sets[static_cast<int>(r[0])].push_back(r);
  int onLimit = 0;
  for (const auto& [set, rows] : sets) {
    std::vector<double> x;
    for (const auto& r : rows) x.push_back(r[4]);
    TVec results;
    const double mean = rows[0][1];
    const double sigma = rows[0][2];
    QCWestgardRules(TVec(x), results, mean, sigma);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i][5], results[static_cast<int>(i)]) << "set " << set << " value " << i;
      const double d = std::fabs(x[i] - mean);
      onLimit += d == sigma || d == 2 * sigma || d == 3 * sigma;
    }
  }
  EXPECT_GT(onLimit, 100);  // the series do test the limits
}

TEST(QCWestgardRules, SinglePrecisionDataAreComparedInSinglePrecision) {
  // Mean -1e-9: in double 3 lies beyond Mean + 3 Sigma; rounded to single, Mean is -1e-9f and
  // 3 - Mean rounds to 3, exactly on the limit.
  TVec single;
  single.Size(1, fpSingle);
  single.SetValue(0, 3.0);
  TVec results;
  QCWestgardRules(single, results, -1e-9, 1.0);
  EXPECT_EQ(fpSingle, results.FloatPrecision());
  EXPECT_EQ(2.0, results.Value(0));
  QCWestgardRules(TVec{3.0}, results, -1e-9, 1.0);
  EXPECT_EQ(3.0, results.Value(0));
}

TEST(QCWestgardRules, EmptyDataAndComplexData) {
  TVec results{1, 2};
  QCWestgardRules(TVec(), results, 0.0, 1.0);
  EXPECT_EQ(0, results.Length());
  TVec z;
  z.Size(2, fpDouble, true);
  EXPECT_LUMEX_ERROR(QCWestgardRules(z, results, 0.0, 1.0), "QCWestgardRules: (Data.Complex)");
}

}  // namespace
}  // namespace lumex
