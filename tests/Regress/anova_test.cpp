// One-way and two-way analysis of variance against R's aov tables, the exact zero-variance
// branches, degenerate designs and the argument messages.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lumex/Regress.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::kTolRef;

// Rows "case row col value" of anova_data.txt: a matrix, or (for indexed cases) i, group, value.
struct TDesign {
  std::vector<std::vector<double>> rows;  // row, col, value
  TMtx Matrix() const {
    int r = 0, c = 0;
    for (const auto& x : rows) {
      r = std::max(r, static_cast<int>(x[0]) + 1);
      c = std::max(c, static_cast<int>(x[1]) + 1);
    }
    TMtx m(r, c);
    for (const auto& x : rows) m(static_cast<int>(x[0]), static_cast<int>(x[1])) = x[2];
    return m;
  }
  void Indexed(TVec& data, TVecInt& group) const {
    data.Size(static_cast<int>(rows.size()));
    group.Size(static_cast<int>(rows.size()));
    for (const auto& x : rows) {
      data[static_cast<int>(x[0])] = x[2];
      group[static_cast<int>(x[0])] = static_cast<std::int32_t>(x[1]);
    }
  }
};

struct TTerm {
  double df, ss, ms, f, signif, fcrit;
};

struct TAovCase {
  TDesign design;
  std::map<std::string, TTerm> terms;
};

std::map<std::string, TAovCase> ReadAov() {
  std::map<std::string, TAovCase> cases;
  const test::TRefTable d = test::ReadRefTable("Regress/anova_data.txt");
  for (std::size_t r = 0; r < d.rows.size(); ++r) {
    cases[d.names[r]].design.rows.push_back({d.rows[r][1], d.rows[r][2], d.rows[r][3]});
  }
  // The term column is text: read the file directly for it.
  std::ifstream in(test::ReferencePath("Regress/anova.txt"));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string name, term, tok;
    ls >> name >> term;
    std::vector<double> v;
    while (ls >> tok) v.push_back(std::strtod(tok.c_str(), nullptr));
    cases[name].terms[term] = {v[0], v[1], v[2], v[3], v[4], v[5]};
  }
  return cases;
}

const std::map<std::string, TAovCase>& Aov() {
  static const std::map<std::string, TAovCase> cases = ReadAov();
  return cases;
}

constexpr double kAlpha = 0.05;

void ExpectOneWay(const TAovCase& c, const TANOVA1Result& r, double signif) {
  const TTerm& b = c.terms.at("between");
  const TTerm& w = c.terms.at("within");
  test::ExpectAllNear({{"SS1", b.ss, r.SS1}, {"SS2", w.ss, r.SS2},
                       {"SSTotal", b.ss + w.ss, r.SSTotal}, 
                       {"MS1", b.ms, r.MS1}, {"MS2", w.ms, r.MS2}, {"F", b.f, r.FDist},
                       {"signif", b.signif, signif}, {"FCrit", b.fcrit, r.FCrit}},
                      kTolRef);
  test::ExpectAllEqual({{"Deg1", b.df, r.Deg1}, {"Deg2", w.df, r.Deg2},
                        {"DegTotal", b.df + w.df, r.DegTotal}});
  // The decomposition adds up.
  EXPECT_TRUE(Near(r.SSTotal, r.SS1 + r.SS2, test::kTolSummed));
}

class OneWayAgainstAov : public ::testing::TestWithParam<std::string> {};

TEST_P(OneWayAgainstAov, MatchesTheTable) {
  const TAovCase& c = Aov().at(GetParam());
  double signif = -1;
  if (GetParam().find("indexed") != std::string::npos) {
    TVec data;
    TVecInt group;
    c.design.Indexed(data, group);
    const TANOVA1Result r = ANOVA1(data, group, signif, kAlpha);
    ExpectOneWay(c, r, signif);
  } else {
    const TMtx m = c.design.Matrix();
    const TANOVA1Result r = ANOVA1(m, signif, kAlpha);
    ExpectOneWay(c, r, signif);
    // The indexed form of the same design gives the same table.
    TVec data(m.Length());
    TVecInt group(m.Length());
    for (int i = 0; i < m.Length(); ++i) {
      data[i] = m.Value(i);
      group[i] = i % m.Cols();
    }
    double s2 = -1;
    const TANOVA1Result r2 = ANOVA1(data, group, s2, kAlpha);
    EXPECT_TRUE(Near(r.SS1, r2.SS1, test::kTolCertified13));
    EXPECT_TRUE(Near(r.SS2, r2.SS2, test::kTolCertified13));
    EXPECT_EQ(r.Deg2, r2.Deg2);
    EXPECT_TRUE(Near(signif, s2, test::kTolRef));
  }
}

INSTANTIATE_TEST_SUITE_P(Designs, OneWayAgainstAov,
                         ::testing::Values("plant_matrix", "sprays_matrix", "plant_indexed",
                                           "chick_indexed"));

struct TTwoWayParam {
  const char* name;
  int replications;
};

class TwoWayAgainstAov : public ::testing::TestWithParam<TTwoWayParam> {};

TEST_P(TwoWayAgainstAov, MatchesTheTable) {
  const TAovCase& c = Aov().at(GetParam().name);
  const int R = GetParam().replications;
  const TMtx m = c.design.Matrix();
  double sr = -1, sc = -1, si = -1;
  const TANOVA2Result r = ANOVA2(m, sr, sc, si, R, kAlpha);
  const TTerm& rows = c.terms.at("rows");
  const TTerm& cols = c.terms.at("cols");
  const TTerm& err = c.terms.at("error");
  test::ExpectAllNear({{"SS1", rows.ss, r.SS1}, {"SS2", cols.ss, r.SS2}, {"SS4", err.ss, r.SS4},
                       {"MS1", rows.ms, r.MS1}, {"MS2", cols.ms, r.MS2}, {"MS4", err.ms, r.MS4},
                       {"F1", rows.f, r.FDist1}, {"F2", cols.f, r.FDist2},
                       {"signif rows", rows.signif, sr}, 
                       {"signif cols", cols.signif, sc}, {"FCrit1", rows.fcrit, r.FCrit1},
                       {"FCrit2", cols.fcrit, r.FCrit2}},
                      kTolRef);
  test::ExpectAllEqual({{"Deg1", rows.df, r.Deg1}, {"Deg2", cols.df, r.Deg2},
                        {"Deg4", err.df, r.Deg4}, 
                        {"DegTotal", m.Rows() * m.Cols() - 1.0, r.DegTotal}});
  double total = r.SS1 + r.SS2 + r.SS4;
  if (R > 1) {
    const TTerm& in = c.terms.at("inter");
    test::ExpectAllNear({{"SS3", in.ss, r.SS3}, {"MS3", in.ms, r.MS3}, {"F3", in.f, r.FDist3},
                         {"signif inter", in.signif, si}, {"FCrit3", in.fcrit, r.FCrit3}},
                        kTolRef);
    EXPECT_EQ(in.df, r.Deg3);
    EXPECT_EQ(r.Deg1 + r.Deg2 + r.Deg3 + r.Deg4, r.DegTotal);
    total += r.SS3;
  } else {
    // Without replication the interaction is the residual and has no test of its own.
    for (double x : {r.SS3, r.Deg3, r.MS3, r.FDist3, r.FCrit3}) EXPECT_TRUE(std::isnan(x));
    EXPECT_EQ(si, 0.0);
    EXPECT_EQ(r.Deg1 + r.Deg2 + r.Deg4, r.DegTotal);
  }
  EXPECT_TRUE(Near(r.SSTotal, total, test::kTolCertified13));
}

INSTANTIATE_TEST_SUITE_P(Designs, TwoWayAgainstAov,
                         ::testing::Values(TTwoWayParam{"warpbreaks", 9},
                                           TTwoWayParam{"toothgrowth", 10},
                                           TTwoWayParam{"noreps_6x4", 1},
                                           TTwoWayParam{"noreps_cellmeans", 1}));

// ---- Exact branches and degenerate designs ----------------------------------------------------

// Exact zero sums of squares and degenerate designs: each takes its branch, giving exact zeros,
// infinities or NaN, never an error. NaN stands for "NaN expected".
struct TOneWayEdge {
  const char* what;
  std::function<TANOVA1Result(double&)> run;
  std::vector<std::pair<double TANOVA1Result::*, double>> fields;
  std::optional<double> signif;
};

TEST(ANOVA1, ExactAndDegenerateDesignsTakeTheirBranches) {
  using R = TANOVA1Result;
  const std::vector<TOneWayEdge> cases = {
      {"identical groups", [](double& s) {
         return ANOVA1(TMtx{{0.1, 0.1, 0.1}, {0.7, 0.7, 0.7}, {0.3, 0.3, 0.3}}, s, kAlpha);
       }, {{&R::SS1, 0.0}, {&R::FDist, 0.0}}, 1.0},
      // Different means with no spread inside the groups (values that do not add up exactly).
      {"no spread within", [](double& s) {
         return ANOVA1(TMtx{{0.1, 0.7, 1.3}, {0.1, 0.7, 1.3}, {0.1, 0.7, 1.3}}, s, kAlpha);
       }, {{&R::SS2, 0.0}, {&R::FDist, Inf}, {&R::MS2, 0.0}}, 0.0},
      {"no spread within, indexed", [](double& s) {
         return ANOVA1(TVec{1.3, 0.1, 0.7, 1.3, 0.1, 0.7, 1.3}, TVecInt{2, 0, 1, 2, 0, 1, 2}, s,
                       kAlpha);
       }, {{&R::SS2, 0.0}, {&R::FDist, Inf}}, 0.0},
      {"constant data", [](double& s) {
         return ANOVA1(TVec{0.3, 0.3, 0.3, 0.3}, TVecInt{0, 1, 0, 1}, s, kAlpha);
       }, {{&R::SS1, 0.0}, {&R::SS2, 0.0}, {&R::FDist, 0.0}}, 1.0},
      {"one group", [](double& s) { return ANOVA1(TMtx{{1}, {2}, {4}}, s, kAlpha); },
       {{&R::Deg1, 0.0}, {&R::SS1, 0.0}, {&R::FDist, 0.0}, {&R::MS1, NaN}, {&R::FCrit, NaN}}, 1.0},
      {"one observation per group", [](double& s) { return ANOVA1(TMtx{{1, 2, 4}}, s, kAlpha); },
       {{&R::Deg2, 0.0}, {&R::SS2, 0.0}, {&R::FDist, Inf}, {&R::MS2, NaN}, {&R::FCrit, NaN}}, 0.0},
      {"one observation per group, indexed",
       [](double& s) { return ANOVA1(TVec{1, 2, 4}, TVecInt{0, 1, 2}, s, kAlpha); },
       {{&R::Deg2, 0.0}, {&R::FDist, Inf}}, 0.0},
      // The groups are 0 .. G: GroupIndex (0, 0, 1, 1, 2, 2) has 2 and 3 degrees of freedom, and
      // a group number without observations leaves the sums undefined.
      {"groups 0 .. G", [](double& s) {
         return ANOVA1(TVec{1, 2, 4, 3, 6, 5}, TVecInt{0, 0, 1, 1, 2, 2}, s, kAlpha);
       }, {{&R::Deg1, 2.0}, {&R::Deg2, 3.0}}, std::nullopt},
      {"an empty group", [](double& s) {
         return ANOVA1(TVec{1, 2, 4, 3}, TVecInt{0, 0, 2, 2}, s, kAlpha);
       }, {{&R::Deg1, 2.0}, {&R::SS1, NaN}, {&R::SS2, NaN}, {&R::FDist, NaN}}, NaN},
      {"an empty matrix", [](double& s) { return ANOVA1(TMtx(0, 3), s, kAlpha); },
       {{&R::FDist, NaN}}, NaN},
  };
  for (const TOneWayEdge& c : cases) {
    double s = -1;
    const TANOVA1Result r = c.run(s);
    for (const auto& [field, expected] : c.fields) {
      EXPECT_TRUE(test::Near(expected, r.*field, 0.0)) << c.what;
    }
    if (c.signif) EXPECT_TRUE(test::Near(*c.signif, s, 0.0)) << c.what << ": significance";
  }
}

// Group numbers far beyond the number of observations (up to 2^31 - 1) mean empty groups: the
// same undefined sums as a small gap, the total about the grand mean, and no table of 2^31
// groups in memory.
TEST(ANOVA1, HugeGroupNumbersGiveTheEmptyGroupResult) {
  double s = -1, sGap = -1;
  const TANOVA1Result gap = ANOVA1(TVec{1, 2, 4, 3}, TVecInt{0, 0, 2, 2}, sGap, kAlpha);
  const TANOVA1Result r =
      ANOVA1(TVec{1, 2, 4, 3}, TVecInt{0, 0, 2147483647, 2147483647}, s, kAlpha);
  test::ExpectAllEqual({{"Deg1", 2147483647.0, r.Deg1}, {"SS1", NaN, r.SS1}, {"F", NaN, r.FDist},
                        {"signif", NaN, s}, {"SSTotal", gap.SSTotal, r.SSTotal}});
}

// A linear ramp over an 11 x 2 design at level 0.5: Boost's F quantile once raised an
// evaluation error from its root finder here, whatever the policy asked for.
TEST(ANOVA2, CriticalValuesNeverRaiseFromBoost) {
  TMtx m(11, 2);
  for (int k = 0; k < 22; ++k) m(k / 2, k % 2) = -31.7470703125 + k;
  double sr = -1, sc = -1, si = -1;
  TANOVA2Result r;
  EXPECT_NO_THROW(r = ANOVA2(m, sr, sc, si, 1, 0.5));
  EXPECT_EQ(r.Deg1, 10.0);
}

// A design without cells (no rows or no columns) has nothing to compare: NaN, not a read of
// an empty buffer.
TEST(ANOVA2, EmptyDesignGivesNan) {
  double sr = -1, sc = -1, si = -1;
  for (const TMtx& m : {TMtx(4, 0), TMtx(0, 3)}) {
    const TANOVA2Result r = ANOVA2(m, sr, sc, si, 2, kAlpha);
    EXPECT_TRUE(std::isnan(r.SS1));
    EXPECT_TRUE(std::isnan(r.SSTotal));
    EXPECT_TRUE(std::isnan(sr));
  }
}

TEST(ANOVA1, SinglePrecisionDataGiveTheSameTable) {
  const TMtx m = Aov().at("plant_matrix").design.Matrix();
  TMtx ms;
  ms.Size(m.Rows(), m.Cols(), fpSingle);
  TMtx md(m.Rows(), m.Cols());
  for (int i = 0; i < m.Length(); ++i) {
    ms.SetValue(i, m.Value(i));
    md.SetValue(i, ms.Value(i));  // the same values, rounded to single
  }
  double s1 = -1, s2 = -1;
  const TANOVA1Result a = ANOVA1(ms, s1, kAlpha);
  const TANOVA1Result b = ANOVA1(md, s2, kAlpha);
  EXPECT_TRUE(Near(b.SS1, a.SS1, test::kTolSummed));
  EXPECT_TRUE(Near(b.SS2, a.SS2, test::kTolSummed));
  EXPECT_TRUE(Near(s2, s1, test::kTolCertified13));
}

TEST(ANOVA2, ExactZeroResidualTakesTheBranchOfEachEffect) {
  double sr = -1, sc = -1, si = -1;
  // Replicated, constant cells; rows differ, columns do not, no interaction.
  const TMtx m{{0.1, 0.1}, {0.1, 0.1}, {0.7, 0.7}, {0.7, 0.7}, {1.3, 1.3}, {1.3, 1.3}};
  TANOVA2Result r = ANOVA2(m, sr, sc, si, 2, kAlpha);
  test::ExpectAllEqual({{"SS4", 0, r.SS4}, {"F1", Inf, r.FDist1}, {"signif rows", 0, sr},
                        {"SS2", 0, r.SS2}, {"F2", 0, r.FDist2}, {"signif cols", 1, sc},
                        {"SS3", 0, r.SS3}, {"F3", 0, r.FDist3}, {"signif inter", 1, si}});
  // Without replication, data varying by row only: the residual (interaction) is exactly 0.
  r = ANOVA2(TMtx{{0.1, 0.1, 0.1}, {0.7, 0.7, 0.7}}, sr, sc, si, 1, kAlpha);
  test::ExpectAllEqual({{"SS4", 0, r.SS4}, {"F1", Inf, r.FDist1}, {"signif rows", 0, sr},
                        {"F2", 0, r.FDist2}, {"signif cols", 1, sc}, {"signif inter", 0, si}});
  // Constant data.
  r = ANOVA2(TMtx{{2, 2}, {2, 2}}, sr, sc, si, 1, kAlpha);
  test::ExpectAllEqual({{"SSTotal", 0, r.SSTotal}, {"signif rows", 1, sr}, {"signif cols", 1, sc}});
}

// ---- Messages, in order -----------------------------------------------------------------------

TEST(AnovaMessages, EachCheckRaisesItsMessageInOrder) {
  TVec cdata;
  cdata.Size(3, fpDouble, true);
  cdata.SetZero();
  TMtx cm;
  cm.Size(4, 2, fpDouble, true);
  cm.SetZero();
  double s = 0, sr = 0, sc = 0, si = 0;
  const TMtx m7(7, 2);
  struct TCase {
    const char* name;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<TCase> cases = {
      {"matrix complex", [&] { ANOVA1(cm, s, kAlpha); }, "ANOVA1: Data.Complex"},
      {"indexed complex before length", [&] { ANOVA1(cdata, TVecInt{0, 1}, s, kAlpha); },
       "ANOVA1: Data.Complex or GroupIndex.Complex"},
      {"indexed length", [&] { ANOVA1(TVec{1, 2, 3}, TVecInt{0, 1}, s, kAlpha); },
       "ANOVA1: Data.Length <> GroupIndex.Length"},
      {"indexed empty", [&] { ANOVA1(TVec(), TVecInt(), s, kAlpha); }, "ANOVA1: Data.Length = 0"},
      {"indexed negative group", [&] { ANOVA1(TVec{1, 2}, TVecInt{0, -1}, s, kAlpha); },
       "ANOVA1: GroupIndex contains negative values"},
      {"modulus", [&] { ANOVA2(TMtx(7, 2), sr, sc, si, 2, kAlpha); },
       "ANOVA2: (Data.Rows mod Replications) <> 0"},
      {"negative replications that do not divide",
       [&] { ANOVA2(m7, sr, sc, si, -2, kAlpha); }, "ANOVA2: (Data.Rows mod Replications) <> 0"},
      {"zero replications", [&] { ANOVA2(m7, sr, sc, si, 0, kAlpha); },
       "ANOVA2: Replications <= 0"},
      {"negative replications that divide", [&] { ANOVA2(m7, sr, sc, si, -7, kAlpha); },
       "ANOVA2: Replications <= 0"},
      {"complex last", [&] { ANOVA2(cm, sr, sc, si, 2, kAlpha); },
       "ANOVA2: Data.Complex = true"},
      {"complex after modulus", [&] { ANOVA2(cm, sr, sc, si, 3, kAlpha); },
       "ANOVA2: (Data.Rows mod Replications) <> 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    si = 5.0;
    EXPECT_LUMEX_ERROR(c.call(), c.message);
  }
  // SignifInter is written before the checks.
  EXPECT_EQ(si, 0.0);
}

}  // namespace
}  // namespace lumex
