// Exponential smoothing and the moving average against the recursions written out independently
// (tests/reference/StatTimeSerAnalysis/smoothing.py), the optimised constants against a grid
// search, and the messages.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "lumex/StatTimeSerAnalysis.h"
#include "lumex/core/optimize.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::TWorst;

const std::map<std::string, TVec>& Series() {
  static const std::map<std::string, TVec> s =
      test::ReadSeries("StatTimeSerAnalysis/smoothing_series.txt");
  return s;
}

// Rows of a reference table grouped by their case number (column "case").
std::map<int, std::vector<std::size_t>> Cases(const test::TRefTable& t) {
  std::map<int, std::vector<std::size_t>> out;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    out[static_cast<int>(t.rows[i][t.Col("case")])].push_back(i);
  }
  return out;
}

TEST(ExpSmoothing, GivenConstantsReproduceTheRecursions) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/smoothing.txt");
  ASSERT_GT(ref.rows.size(), 8000U);
  TWorst ws{"SingleExpSmooth"}, wd{"DoubleExpSmooth"}, wt{"TripleExpSmooth"}, wm{"MSE"};
  const int cMethod = ref.Col("method"), cOut = ref.Col("output"), cI = ref.Col("i");
  const int cVal = ref.Col("value");
  int cases[4] = {0, 0, 0, 0};
  for (const auto& [id, rows] : Cases(ref)) {
    const auto& first = ref.rows[rows.front()];
    const TVec& y = Series().at(ref.names[rows.front()]);
    const int method = static_cast<int>(first[cMethod]);
    const double alpha = first[ref.Col("alpha")], beta = first[ref.Col("beta")];
    const double gamma = first[ref.Col("gamma")];
    const int param = static_cast<int>(first[ref.Col("param")]);
    SCOPED_TRACE("case " + std::to_string(id));
    TVec out[3];
    double mse = -1.0;
    TWorst* w = &ws;
    if (method == 1) {
      SingleExpSmooth(y, out[0], alpha, mse, param);
      EXPECT_EQ(out[0].Length(), y.Length() - 1);
    } else if (method == 2) {
      DoubleExpSmooth(y, out[0], out[1], alpha, gamma, mse, param);
      EXPECT_EQ(out[1].Length(), y.Length());
      w = &wd;
    } else {
      TripleExpSmooth(y, out[0], out[1], out[2], alpha, beta, gamma, mse, param);
      EXPECT_EQ(out[0].Length(), y.Length() - param);
      EXPECT_EQ(out[2].Length(), y.Length());
      w = &wt;
    }
    ++cases[method];
    wm.See(first[ref.Col("mse")], mse);
    EXPECT_TRUE(Near(first[ref.Col("mse")], mse, test::kTolRef));
    for (const std::size_t i : rows) {
      const auto& r = ref.rows[i];
      const TVec& v = out[static_cast<int>(r[cOut])];
      const int k = static_cast<int>(r[cI]);
      ASSERT_LT(k, v.Length());
      w->See(r[cVal], v[k]);
      EXPECT_TRUE(Near(r[cVal], v[k], test::kTolRef, test::kTolRef))
          << "output " << r[cOut] << " " << k;
    }
  }
  EXPECT_GT(cases[1], 10);
  EXPECT_GT(cases[2], 10);
  EXPECT_GT(cases[3], 10);
}

TEST(ExpSmoothing, GivenConstantForecastsReproduceTheRecursions) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/smoothing_forecast.txt");
  TWorst w{"Single/Double/TripleExpForecast"};
  for (const auto& [id, rows] : Cases(ref)) {
    const auto& first = ref.rows[rows.front()];
    const TVec& y = Series().at(ref.names[rows.front()]);
    const int method = static_cast<int>(first[ref.Col("method")]);
    const double alpha = first[ref.Col("alpha")], beta = first[ref.Col("beta")];
    const double gamma = first[ref.Col("gamma")];
    const int param = static_cast<int>(first[ref.Col("param")]);
    const int T = static_cast<int>(first[ref.Col("T")]);
    SCOPED_TRACE("case " + std::to_string(id));
    TVec yhat;
    if (method == 1) {
      SingleExpForecast(y, yhat, alpha, T, param);
    } else if (method == 2) {
      DoubleExpForecast(y, yhat, alpha, gamma, T, param);
    } else {
      TripleExpForecast(y, yhat, alpha, beta, gamma, T, param);
    }
    ASSERT_EQ(static_cast<std::size_t>(yhat.Length()), rows.size());
    for (const std::size_t i : rows) {
      const auto& r = ref.rows[i];
      const int k = static_cast<int>(r[ref.Col("i")]);
      w.See(r[ref.Col("yhat")], yhat[k]);
      EXPECT_TRUE(Near(r[ref.Col("yhat")], yhat[k], test::kTolRef, test::kTolRef)) << k;
    }
  }
}

TEST(MovingAverage, ReproducesTheMovingMeans) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/moving_average.txt");
  TWorst w{"MovingAverage"}, wm{"MovingAverage MSE"};
  std::map<std::string, std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < ref.rows.size(); ++i) {
    const auto& r = ref.rows[i];
    groups[ref.names[i] + " " + std::to_string(static_cast<int>(r[ref.Col("N")])) + " " +
           std::to_string(static_cast<int>(r[ref.Col("centred")]))]
        .push_back(i);
  }
  for (const auto& [key, rows] : groups) {
    SCOPED_TRACE(key);
    const auto& first = ref.rows[rows.front()];
    const TVec& y = Series().at(ref.names[rows.front()]);
    TVec ma;
    int lag = -1;
    const double mse = MovingAverage(y, static_cast<int>(first[ref.Col("N")]), ma, lag,
                                     first[ref.Col("centred")] != 0.0);
    EXPECT_EQ(lag, static_cast<int>(first[ref.Col("lag")]));
    ASSERT_EQ(static_cast<std::size_t>(ma.Length()), rows.size());
    wm.See(first[ref.Col("mse")], mse);
    EXPECT_TRUE(Near(first[ref.Col("mse")], mse, test::kTolRef, test::kTolRef));
    for (const std::size_t i : rows) {
      const int k = static_cast<int>(ref.rows[i][ref.Col("i")]);
      w.See(ref.rows[i][ref.Col("value")], ma[k]);
      EXPECT_TRUE(Near(ref.rows[i][ref.Col("value")], ma[k], test::kTolRef)) << k;
    }
  }
  // Even centred window: two passes of N/2.
  TVec ma;
  int lag = 0;
  MovingAverage(TVec{1, 2, 3, 4, 5, 6, 7, 8}, 4, ma, lag, true);
  EXPECT_EQ(ma.Length(), 6);
  EXPECT_EQ(lag, 1);
  EXPECT_TRUE(Near(2.0, ma[0], test::kTolExact));  // (1.5 + 2.5) / 2
}

// The smallest MSE over a grid of 21 points per constant (0, 0.05, ..., 1).
double GridMinimum(int dims, const std::function<double(const double*)>& mse) {
  double best = Inf;
  double c[3] = {0.0, 0.0, 0.0};
  const int total = dims == 1 ? 21 : (dims == 2 ? 21 * 21 : 21 * 21 * 21);
  for (int code = 0; code < total; ++code) {
    int rest = code;
    for (int d = 0; d < dims; ++d) {
      c[d] = (rest % 21) * 0.05;
      rest /= 21;
    }
    const double v = mse(c);
    if (v < best) best = v;
  }
  return best;
}

struct TOptCase {
  const char* series;
  int param;  // InitMethod, or Period for triple smoothing
};

class OptimisedSmoothing : public ::testing::TestWithParam<TOptCase> {};

TEST_P(OptimisedSmoothing, SingleBeatsTheGridAndMatchesTheForecaster) {
  const TVec& y = Series().at(GetParam().series);
  const int init = GetParam().param;
  TVec level;
  double alpha = 0.5;
  const double mse = SingleExpSmooth(y, level, alpha, init);
  const double grid = GridMinimum(1, [&](const double* c) {
    TVec l;
    double m = 0.0;
    SingleExpSmooth(y, l, c[0], m, init);
    return m;
  });
  EXPECT_LE(mse, grid * (1.0 + 1e-12));
  EXPECT_GE(alpha, 0.0);
  EXPECT_LE(alpha, 1.0);
  double given = 0.0;
  TVec l2;
  SingleExpSmooth(y, l2, alpha, given, init);
  EXPECT_EQ(mse, given);

  // The optimised forecaster finds the same constant and forecasts with it.
  double a2 = 0.5, m2 = 0.0;
  TVec yhat, yhatGiven;
  SingleExpForecast(y, yhat, a2, y.Length() + 5, m2, init);
  SingleExpForecast(y, yhatGiven, alpha, y.Length() + 5, init);
  EXPECT_EQ(a2, alpha);
  EXPECT_EQ(m2, mse);
  ASSERT_EQ(yhat.Length(), yhatGiven.Length());
  for (int i = 0; i < yhat.Length(); ++i) EXPECT_EQ(yhat[i], yhatGiven[i]);
}

TEST_P(OptimisedSmoothing, DoubleBeatsTheGrid) {
  const TVec& y = Series().at(GetParam().series);
  const int init = GetParam().param;
  TVec level, trend;
  double alpha = 0.5, gamma = 0.5;
  const double mse = DoubleExpSmooth(y, level, trend, alpha, gamma, init);
  const double grid = GridMinimum(2, [&](const double* c) {
    TVec l, b;
    double m = 0.0;
    DoubleExpSmooth(y, l, b, c[0], c[1], m, init);
    return m;
  });
  std::printf("[ grid check ] DoubleExpSmooth %s init %d: MSE %.10g, grid best %.10g\n",
              GetParam().series, init, mse, grid);
  EXPECT_LE(mse, grid * (1.0 + 1e-12));
  double a2 = 0.5, g2 = 0.5, m2 = 0.0;
  TVec yhat, yhatGiven;
  DoubleExpForecast(y, yhat, a2, g2, y.Length() + 3, m2, init);
  DoubleExpForecast(y, yhatGiven, alpha, gamma, y.Length() + 3, init);
  EXPECT_EQ(m2, mse);
  for (int i = 0; i < yhat.Length(); ++i) EXPECT_EQ(yhat[i], yhatGiven[i]);
}

INSTANTIATE_TEST_SUITE_P(Series, OptimisedSmoothing,
                         ::testing::Values(TOptCase{"air", 0}, TOptCase{"air", 1},
                                           TOptCase{"huron", 0}, TOptCase{"huron", 2},
                                           TOptCase{"trend", 1}));

class OptimisedHoltWinters : public ::testing::TestWithParam<TOptCase> {};

TEST_P(OptimisedHoltWinters, TripleBeatsTheGrid) {
  const TVec& y = Series().at(GetParam().series);
  const int period = GetParam().param;
  TVec level, trend, season;
  double alpha = 0.5, beta = 0.5, gamma = 0.5;
  const double mse = TripleExpSmooth(y, level, trend, season, alpha, beta, gamma, period);
  const double grid = GridMinimum(3, [&](const double* c) {
    TVec l, b, s;
    double m = 0.0;
    TripleExpSmooth(y, l, b, s, c[0], c[1], c[2], m, period);
    return m;
  });
  std::printf("[ grid check ] TripleExpSmooth %s period %d: MSE %.10g, grid best %.10g\n",
              GetParam().series, period, mse, grid);
  EXPECT_LE(mse, grid * (1.0 + 1e-12));
  double a2 = 0.5, b2 = 0.5, g2 = 0.5, m2 = 0.0;
  TVec yhat, yhatGiven;
  TripleExpForecast(y, yhat, a2, b2, g2, y.Length() + 12, m2, period);
  TripleExpForecast(y, yhatGiven, alpha, beta, gamma, y.Length() + 12, period);
  EXPECT_EQ(m2, mse);
  ASSERT_EQ(yhat.Length(), y.Length() + 12 - period);
  for (int i = 0; i < yhat.Length(); ++i) EXPECT_EQ(yhat[i], yhatGiven[i]);
}

INSTANTIATE_TEST_SUITE_P(Series, OptimisedHoltWinters,
                         ::testing::Values(TOptCase{"air", 12}, TOptCase{"air", 4},
                                           TOptCase{"trend", 3}));

TEST(ExpSmoothing, LimitingConstantsAndStraightLines) {
  const TVec y{10, 20, 30, 40, 50};
  TVec level;
  double mse = 0.0;
  SingleExpSmooth(y, level, 0.0, mse, 1);
  for (int t = 0; t < level.Length(); ++t) EXPECT_EQ(level[t], 25.0);
  SingleExpSmooth(y, level, 1.0, mse, 0);
  for (int t = 0; t < level.Length(); ++t) EXPECT_EQ(level[t], y[t]);
  EXPECT_EQ(mse, 100.0);  // the mean squared first difference

  // Holt on a straight line forecasts it exactly, and continues it past the data.
  TVec line(20), trend, yhat;
  for (int t = 0; t < 20; ++t) line[t] = 3.0 + 0.5 * t;
  for (double a : {0.0, 0.3, 1.0}) {
    for (double g : {0.0, 0.6, 1.0}) {
      DoubleExpSmooth(line, level, trend, a, g, mse, 0);
      EXPECT_TRUE(Near(0.0, mse, 0.0, 1e-25)) << a << " " << g;
    }
  }
  DoubleExpForecast(line, yhat, 0.4, 0.2, 23, 0);
  ASSERT_EQ(yhat.Length(), 22);
  for (int i = 0; i < 22; ++i) {
    EXPECT_TRUE(Near(line[0] + 0.5 * (i + 1), yhat[i], test::kTolSummed)) << i;
  }

  // Up to the data only one-step forecasts; no flat part.
  SingleExpForecast(y, yhat, 0.5, 4, 0);
  EXPECT_EQ(yhat.Length(), 3);
  SingleExpForecast(y, yhat, 0.5, 1, 0);
  EXPECT_EQ(yhat.Length(), 0);
}

TEST(ExpSmoothing, SinglePrecisionSeriesGivesSinglePrecisionOutputs) {
  const TVec& y = Series().at("air");
  TVec ys;
  Convert(ys, y, fpSingle);
  TVec l, ls, b, bs, s, ss;
  double m = 0.0, ms = 0.0;
  TripleExpSmooth(y, l, b, s, 0.3, 0.4, 0.2, m, 12);
  TripleExpSmooth(ys, ls, bs, ss, 0.3, 0.4, 0.2, ms, 12);
  EXPECT_EQ(ls.FloatPrecision(), fpSingle);
  EXPECT_EQ(ss.FloatPrecision(), fpSingle);
  EXPECT_TRUE(Near(m, ms, 1e-4));
  for (int i = 0; i < l.Length(); ++i) EXPECT_TRUE(Near(l[i], ls.Value(i), 1e-4)) << i;
  double alpha = 0.5;
  SingleExpSmooth(ys, ls, alpha, 0);
  EXPECT_EQ(alpha, static_cast<double>(static_cast<float>(alpha)));
}

// Every message, in the order the checks run: each call fails the first check and passes the
// earlier ones.
TEST(SmoothingMessages, RaisedInOrder) {
  TVec z;
  z.Size(24, fpDouble, true);
  TVec y(24), ten(10), one(1), three(3), out, out2, out3;
  for (int i = 0; i < 24; ++i) y[i] = 10.0 + i % 4;
  for (int i = 0; i < 10; ++i) ten[i] = 1.0 + i;
  three[0] = 1.0;
  double mse = 7.0, a = 0.5, b = 0.5, g = 0.5, bad = 1.5, neg = -0.1, nan = NaN;
  int lag = 0;

  EXPECT_LUMEX_ERROR(SingleExpSmooth(y, out, 1.5, mse, 0), "SingleExpSmooth: (Alpha>1) or (Alpha<0)");
  EXPECT_LUMEX_ERROR(SingleExpSmooth(y, out, nan, 0), "SingleExpSmooth: (Alpha>1) or (Alpha<0)");
  EXPECT_LUMEX_ERROR(SingleExpSmooth(z, out, 0.5, mse, 0), "SingleExpSmooth: Y.Complex = true");
  EXPECT_LUMEX_ERROR(SingleExpSmooth(one, out, 0.5, mse, 0), "SingleExpSmooth: Y.Length < 2");
  EXPECT_LUMEX_ERROR(SingleExpSmooth(three, out, a, 1),
                     "SingleExpSmooth: (InitMethod = 1) and (Y.Length < 4)");
  EXPECT_LUMEX_ERROR(SingleExpForecast(z, out, 0.5, 3, 0), "SingleExpForecast: Y.Complex = true");
  EXPECT_LUMEX_ERROR(SingleExpForecast(y, out, 0.5, 0, 0), "SingleExpForecast: T<1");
  EXPECT_LUMEX_ERROR(SingleExpForecast(one, out, 0.5, 3, 0), "SingleExpForecast: Y.Length < 2");
  EXPECT_LUMEX_ERROR(SingleExpForecast(y, out, bad, 3, mse, 0),
                     "SingleExpSmooth: (Alpha>1) or (Alpha<0)");

  EXPECT_LUMEX_ERROR(DoubleExpSmooth(y, out, out2, -0.1, 2.0, mse, 0),
                     "DoubleExpSmooth: (Alpha>1) or (Alpha<0)");
  EXPECT_EQ(mse, 0.0);
  EXPECT_LUMEX_ERROR(DoubleExpSmooth(y, out, out2, a, bad, 0),
                     "DoubleExpSmooth: (Gamma>1) or (Gamma<0)");
  EXPECT_LUMEX_ERROR(DoubleExpSmooth(z, out, out2, 0.5, 0.5, mse, 0),
                     "DoubleExpSmooth: Y.Complex = true");
  EXPECT_LUMEX_ERROR(DoubleExpSmooth(one, out, out2, 0.5, 0.5, mse, 2),
                     "DoubleExpSmooth: Y.Length < 2");
  EXPECT_LUMEX_ERROR(DoubleExpSmooth(three, out, out2, 0.5, 0.5, mse, 1),
                     "DoubleExpSmooth: (InitMethod = 1) and (Y.Length < 4)");
  EXPECT_LUMEX_ERROR(DoubleExpForecast(y, out, neg, 2.0, 0, 0),
                     "DoubleExpForecast: (Alpha>1) or (Alpha<0)");
  EXPECT_LUMEX_ERROR(DoubleExpForecast(y, out, a, neg, 0, mse, 0),
                     "DoubleExpForecast: (Gamma>1) or (Gamma<0)");
  EXPECT_LUMEX_ERROR(DoubleExpForecast(z, out, 0.5, 0.5, 0, 0), "DoubleExpForecast: Y.Complex = true");
  EXPECT_LUMEX_ERROR(DoubleExpForecast(one, out, 0.5, 0.5, 0, 0), "DoubleExpForecast: T<1");
  EXPECT_LUMEX_ERROR(DoubleExpForecast(one, out, 0.5, 0.5, 2, 0), "DoubleExpForecast: Y.Length < 2");

  EXPECT_LUMEX_ERROR(TripleExpSmooth(z, out, out2, out3, 1.5, 1.5, 1.5, mse, 0),
                     "TripleExpSmooth: (Alpha>1) or (Alpha<0)");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(z, out, out2, out3, a, bad, bad, 0),
                     "TripleExpSmooth: (Beta>1) or (Beta<0)");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(z, out, out2, out3, 0.5, 0.5, -1.0, mse, 0),
                     "TripleExpSmooth: (Gamma>1) or (Gamma<0)");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(z, out, out2, out3, 0.5, 0.5, 0.5, mse, 0),
                     "TripleExpSmooth: Y.Complex = true");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(y, out, out2, out3, 0.5, 0.5, 0.5, mse, 0),
                     "TripleExpSmooth: Period < 1");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(ten, out, out2, out3, 0.5, 0.5, 0.5, mse, 4),
                     "TripleExpSmooth: (Y.Length mod Period <> 0)");
  EXPECT_LUMEX_ERROR(TripleExpSmooth(ten, out, out2, out3, a, b, g, 10),
                     "TripleExpSmooth: Y.Length < 2*Period");
  EXPECT_LUMEX_ERROR(TripleExpForecast(z, out, 0.5, 2.0, 2.0, 0, 0),
                     "TripleExpForecast: (Beta>1) or (Beta<0)");
  EXPECT_LUMEX_ERROR(TripleExpForecast(z, out, a, b, bad, 0, mse, 0),
                     "TripleExpForecast: (Gamma>1) or (Gamma<0)");
  EXPECT_LUMEX_ERROR(TripleExpForecast(z, out, 0.5, 0.5, 0.5, 0, 0),
                     "TripleExpForecast: Y.Complex = true");
  EXPECT_LUMEX_ERROR(TripleExpForecast(ten, out, 0.5, 0.5, 0.5, 0, -3),
                     "TripleExpForecast: Period < 1");
  EXPECT_LUMEX_ERROR(TripleExpForecast(ten, out, 0.5, 0.5, 0.5, 0, 4),
                     "TripleExpForecast: (Y.Length mod Period <> 0)");
  EXPECT_LUMEX_ERROR(TripleExpForecast(ten, out, 0.5, 0.5, 0.5, 9, 10),
                     "TripleExpForecast: T<Period");
  EXPECT_LUMEX_ERROR(TripleExpForecast(ten, out, 0.5, 0.5, 0.5, 12, 10),
                     "TripleExpForecast: Y.Length < 2*Period");

  EXPECT_LUMEX_ERROR(MovingAverage(z, 3, out, lag, false), "SingleMovAve: Y.Complex");
  EXPECT_LUMEX_ERROR(MovingAverage(y, 0, out, lag, false), "SingleMovAve: N<1");
  EXPECT_LUMEX_ERROR(MovingAverage(three, 4, out, lag, true), "SingleMovAve: Y.Length<N");
}

}  // namespace
}  // namespace lumex
