// ARAR memory shortening, subset AR fit and forecasts against the algorithm of Brockwell and Davis
// written out in R (tests/reference/StatTimeSerAnalysis/arar.R), and the Box-Cox transform against
// 60-digit values (boxcox.py).
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "lumex/StatTimeSerAnalysis.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::TWorst;

// The forecasts run the fitted filter over 12 to 30 past values and, for the seasonal case, out to
// 24 steps; the reference's QR and our normal equations for the AR(2) pass differ by rounding.
constexpr double kTolARAR = 1e-11;

TEST(ARAR, AgreesWithThePublishedAlgorithm) {
  const auto series = test::ReadSeries("StatTimeSerAnalysis/arar_series.txt");
  const test::TRefTable fits = test::ReadRefTable("StatTimeSerAnalysis/arar_fit.txt");
  const test::TRefTable filters = test::ReadRefTable("StatTimeSerAnalysis/arar_filter.txt");
  const test::TRefTable forecasts = test::ReadRefTable("StatTimeSerAnalysis/arar_forecast.txt");
  ASSERT_EQ(fits.rows.size(), 5U);
  TWorst worst{"ARAR filter, fit and forecasts"};
  const auto check = [&worst](double expected, double computed) {
    worst.See(expected, computed);
    return Near(expected, computed, kTolARAR);
  };
  for (std::size_t c = 0; c < fits.rows.size(); ++c) {
    const std::string name = fits.names[c];
    SCOPED_TRACE(name);
    const auto col = [&](const char* what) { return fits.rows[c][fits.Col(what)]; };
    const TVec& y = series.at(name.substr(0, name.find('_')));
    TVec s, filter, phi, yhat, se;
    int tau = -1, l1 = 0, l2 = 0, l3 = 0;
    ShortenFilter(y, s, tau, &filter, static_cast<int>(col("maxtau")));
    ASSERT_EQ(tau, static_cast<int>(col("tau")));
    ASSERT_EQ(filter.Length(), tau + 1);
    ASSERT_EQ(s.Length(), y.Length() - tau);
    for (std::size_t i = 0; i < filters.rows.size(); ++i) {
      if (filters.names[i] != name) continue;
      const int j = static_cast<int>(filters.rows[i][1]);
      EXPECT_TRUE(check(filters.rows[i][2], filter[j])) << "psi " << j;
    }
    // The passes compose exactly: the shortened series is the combined filter applied to Data.
    for (int t = 0; t < s.Length(); ++t) {
      double v = 0.0;
      for (int j = 0; j <= tau; ++j) v += filter[j] * y[t + tau - j];
      EXPECT_TRUE(Near(v, s[t], 1e-12, 1e-12 * std::fabs(y[t + tau]))) << "t " << t;
    }

    double sigma2 = 0.0, scale = 0.0;
    ARARFit(s, phi, l1, l2, l3, sigma2, static_cast<int>(col("maxlag")));
    EXPECT_EQ(l1, static_cast<int>(col("l1")));
    EXPECT_EQ(l2, static_cast<int>(col("l2")));
    EXPECT_EQ(l3, static_cast<int>(col("l3")));
    EXPECT_TRUE(check(col("sigma2"), sigma2));
    for (int m = 0; m < 4; ++m) {
      EXPECT_TRUE(check(col(("phi" + std::to_string(m + 1)).c_str()), phi[m])) << "phi " << m;
    }
    const double smean = Mean(s);
    EXPECT_TRUE(check(col("smean"), smean));

    const int h = static_cast<int>(col("h"));
    ARARForecast(y, phi, filter, tau, l1, l2, l3, smean, h, yhat, se, scale);
    ASSERT_EQ(yhat.Length(), h);
    ASSERT_EQ(se.Length(), h);
    EXPECT_TRUE(check(col("scale"), scale));
    EXPECT_EQ(se[0], scale);  // one step ahead: w_0 = 1
    for (std::size_t i = 0; i < forecasts.rows.size(); ++i) {
      if (forecasts.names[i] != name) continue;
      const int k = static_cast<int>(forecasts.rows[i][1]) - 1;
      EXPECT_TRUE(check(forecasts.rows[i][2], yhat[k])) << "yhat " << k;
      EXPECT_TRUE(check(forecasts.rows[i][3], se[k])) << "se " << k;
    }
  }
}

TEST(BoxCox, CorrectlyRoundedValuesAndRoundTrip) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/boxcox.txt");
  ASSERT_GT(ref.rows.size(), 150U);
  TWorst worst{"BoxCox and BoxCoxInv"};
  // exp(z) with z rounded carries the relative error |z| eps: the inverse, and a round trip
  // through ln x, are accurate to a few ulps times 1 + |ln result|.
  const auto expTol = [](double v) { return test::kTolExact * (1.0 + std::fabs(std::log(v))); };
  for (std::size_t i = 0; i < ref.rows.size(); ++i) {
    const double lambda = ref.rows[i][1], x = ref.rows[i][2], expected = ref.rows[i][3];
    const bool forward = ref.names[i] == "boxcox";
    SCOPED_TRACE(::testing::Message() << ref.names[i] << " lambda " << lambda << " x " << x);
    TVec v{x};
    if (forward) {
      BoxCox(v, v, lambda);
    } else {
      BoxCoxInv(v, v, lambda);
    }
    ASSERT_EQ(v.Length(), 1);
    worst.See(expected, v[0]);
    EXPECT_TRUE(Near(expected, v[0], forward ? test::kTolExact : expTol(expected)));
    // Below x = 0.1 the transform absorbs the digits of x into the constant 1/lambda.
    if (forward && x >= 0.1) {
      BoxCoxInv(v, v, lambda);
      EXPECT_TRUE(Near(x, v[0], expTol(x)));
    }
  }
}

// The outcome of each call named, or its exact error.
struct TEdgeCase {
  const char* what;
  std::function<void()> call;
  const char* error = nullptr;
};

TEST(ARAR, EdgeCasesGiveTheirOutcomeOrAClearError) {
  const double inf = std::numeric_limits<double>::infinity();
  TVec noise(std::vector<double>{0.3, -1.2, 0.8, 0.1, -0.5, 1.4, -0.9, 0.2, -0.1, 0.7, -1.1, 0.4,
                                 0.6, -0.3, -0.8, 1.0, 0.05, -0.6, 0.9, -0.2});
  TVec periodic(48);
  for (int t = 0; t < 48; ++t) periodic[t] = 1.0 + (t % 12) * (t % 12 - 5);
  const auto shortens = [](const TVec& y, int maxTau, int tau, std::vector<double> filter) {
    return [=] {
      TVec s, f;
      int t = -1;
      ShortenFilter(y, s, t, &f, maxTau);
      ASSERT_EQ(t, tau);
      ASSERT_EQ(f.Length(), static_cast<int>(filter.size()));
      for (int j = 0; j < f.Length(); ++j) EXPECT_EQ(f[j], filter[static_cast<std::size_t>(j)]);
      ASSERT_EQ(s.Length(), y.Length() - tau);
      if (tau == 0) {
        for (int j = 0; j < s.Length(); ++j) EXPECT_TRUE(Near(y[j], s[j], 0.0)) << j;
      }
    };
  };
  const auto noFit = [](const TVec& y, int maxLag) {
    return [=] {
      TVec phi;
      int l1 = 0, l2 = 0, l3 = 0;
      double s2 = 0.0;
      ARARFit(y, phi, l1, l2, l3, s2, maxLag);
      EXPECT_EQ(l1 * 100 + l2 * 10 + l3, 234);
      EXPECT_EQ(s2, 1.797693134862315e308);
      ASSERT_EQ(phi.Length(), 4);
      EXPECT_TRUE(std::isnan(phi[0]));
    };
  };
  const TVec phi{0.5, 0.1, -0.1, 0.05}, filter{1.0};
  TVec s, yhat, se;
  int tau = 0, l1 = 0, l2 = 0, l3 = 0;
  double sigma2 = 0.0, scale = 0.0;
  // Forecasts of the noise with the lags L1, 3, 4.
  const auto forecast = [&](const TVec& p, const TVec& f, int tau_, int l1_, int t) {
    ARARForecast(noise, p, f, tau_, l1_, 3, 4, 0.0, t, yhat, se, scale);
  };
  const std::vector<TEdgeCase> cases = {
      {"MaxTau beyond the data", [&] { ShortenFilter(noise, s, tau, nullptr, 21); },
       "MaxTau > Data.Length"},
      {"complex series", [&] { ShortenFilter(test::Zeros(4, fpDouble, true), s, tau, nullptr, 2); },
       "ShortenFilter: Data.Complex = true"},
      {"white noise is short memory", shortens(noise, 2, 0, {1.0})},
      {"empty series", shortens(TVec(), 0, 0, {1.0})},
      {"one value", shortens(TVec{2.0}, 1, 0, {1.0})},
      {"two values: lag 1 fits exactly", shortens(TVec{2.0, 3.0}, 2, 1, {1.0, -1.5})},
      {"all equal: lag 1, then nothing left", shortens(TVec(std::vector<double>(9, 4.0)), 3, 1,
                                                       {1.0, -1.0})},
      {"NaN and Inf leave the series", shortens(TVec{1.0, NaN, 2.0, inf, 3.0}, 2, 0, {1.0})},
      {"exact period 12: lag 12 before lag 24", shortens(periodic, 24, 12,
                                                         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1})},
      {"MaxLag < 4 fits nothing", noFit(noise, 3)},
      {"a constant series fits nothing", noFit(TVec(std::vector<double>(10, 1.0)), 5)},
      {"MaxLag beyond the data", [&] { ARARFit(noise, s, l1, l2, l3, sigma2, 21); },
       "ARARFit: MaxLag > Data.Length"},
      {"T = 0", [&] {
         forecast(phi, filter, 0, 2, 0);
         EXPECT_EQ(yhat.Length() + se.Length(), 0);
         EXPECT_TRUE(std::isfinite(scale));
       }},
      {"empty filter", [&] { forecast(phi, TVec(), 0, 2, 3); },
       "ARARForecast: Filter.Length = 0!"},
      {"series shorter than the filter",
       [&] { forecast(phi, filter, 17, 2, 3); },
       "ARARForecast: Data.Length < Tau+L3"},
      {"no residual left: scale NaN", [&] {
         forecast(phi, filter, 16, 2, 2);
         EXPECT_TRUE(std::isnan(scale) && std::isnan(se[1]) && std::isfinite(yhat[1]));
       }},
      {"lags out of order", [&] { forecast(phi, filter, 0, 3, 3); },
       "ARARForecast: not 1 < L1 < L2 < L3"},
      {"short Phi", [&] { forecast(TVec{0.5}, filter, 0, 2, 3); },
       "ARARForecast: Phi.Length < 4"},
      {"negative T", [&] { forecast(phi, filter, 0, 2, -1); },
       "ARARForecast: T < 0"},
      {"huge T", [&] { forecast(phi, filter, 0, 2, 1 << 30); }, "ARARForecast: T too large"},
      {"negative lambda", [&] { BoxCox(noise, s, -0.5); }, "BoxCox : Lambda<0"},
      {"negative lambda, inverse", [&] { BoxCoxInv(noise, s, -0.5); }, "BoxCoxInv : Lambda<0"},
      {"log branch keeps x > 0 only", [&] {
         BoxCox(TVec{1.0, -1.0, 0.0, 1.0, NaN}, s, 0.0);
         EXPECT_EQ(s.Length(), 2);
         EXPECT_EQ(s[0] + s[1], 0.0);
       }},
      {"power branch keeps x >= 0, in single precision", [&] {
         BoxCox(test::Zeros(3, fpSingle), s, 1.0);
         EXPECT_EQ(s.FloatPrecision(), fpSingle);
         EXPECT_EQ(s.Value(2), -1.0);
       }},
      {"exact x - 1 and x + 1 at lambda 1", [&] {
         BoxCox(TVec{1.5}, s, 1.0);
         EXPECT_EQ(s[0], 0.5);
         BoxCoxInv(s, s, 1.0);
         EXPECT_EQ(s[0], 1.5);
       }},
  };
  for (const TEdgeCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.error != nullptr) {
      EXPECT_LUMEX_ERROR(c.call(), c.error);
    } else {
      c.call();
    }
  }
}

}  // namespace
}  // namespace lumex
