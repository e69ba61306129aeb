// ARMA estimation, forecasting and simulation: the linear-time likelihood and forecasts against
// their direct cubic forms (Cholesky of the full correlation matrix, SVD solve), and everything
// against R (tests/reference/StatTimeSerAnalysis/arma.R).
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "lumex/StatTimeSerAnalysis.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::TWorst;
using RowMtx = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
constexpr double kWorst = std::numeric_limits<double>::max();

const std::map<std::string, TVec>& Series() {
  static const auto s = test::ReadSeries("StatTimeSerAnalysis/arma_series.txt");
  return s;
}

struct TModel {
  TVec ar, ma;
};

// Models by name from arma_models.txt (rows "name ar|ma j value").
const std::map<std::string, TModel>& Models() {
  static const std::map<std::string, TModel> models = [] {
    std::ifstream in(test::ReferencePath("StatTimeSerAnalysis/arma_models.txt"));
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> c;
    std::string name, kind;
    int j;
    double v;
    std::getline(in, name);
    while (in >> name >> kind >> j >> v) (kind == "ar" ? c[name].first : c[name].second).push_back(v);
    std::map<std::string, TModel> out;
    for (auto& [k, ab] : c) out[k] = TModel{TVec(ab.first), TVec(ab.second)};
    return out;
  }();
  return models;
}

TVec Head(const TVec& x, int n) {
  TVec h(n);
  for (int i = 0; i < n; ++i) h[i] = x[i];
  return h;
}

// ---- The direct cubic forms (the oracle) -----------------------------------------------------

RowMtx CorrelationMatrix(const TVec& phi, const TVec& theta, int size) {
  TVec rho;
  ARMAAcf(&phi, &theta, size - 1, rho, true);
  RowMtx R(size, size);
  for (int i = 0; i < size; ++i) {
    for (int j = 0; j < size; ++j) R(i, j) = rho[std::abs(i - j)];
  }
  return R;
}

// n ln(|u|^2/n) + ln det R through the Cholesky factor of R; resid receives u.
double DirectCriterion(const TVec& x, const TVec& phi, const TVec& theta, TVec* resid) {
  const int n = x.Length();
  Eigen::LLT<RowMtx> llt(CorrelationMatrix(phi, theta, n));
  if (llt.info() != Eigen::Success) return kWorst;
  const Eigen::MatrixXd L = llt.matrixL();
  Eigen::VectorXd xv(n);
  for (int i = 0; i < n; ++i) xv(i) = x[i];
  Eigen::VectorXd u = L.triangularView<Eigen::Lower>().solve(xv);
  const Eigen::VectorXd w = L.triangularView<Eigen::Lower>().solve(Eigen::VectorXd::Ones(n));
  u -= u.dot(w) / w.dot(w) * w;
  if (resid != nullptr) {
    resid->Size(n);
    for (int i = 0; i < n; ++i) (*resid)[i] = u(i);
  }
  return n * std::log(u.squaredNorm() / n) + 2.0 * L.diagonal().array().log().sum();
}

// Gaussian conditioning on the observed block through an SVD least-squares solve.
void DirectForecast(const TVec& x, const TVec& phi, const TVec& theta, int h, TVec& yhat,
                    TMtx& cov, double& rms) {
  const int n = x.Length();
  const RowMtx R = CorrelationMatrix(phi, theta, n + h);
  const double mu = Mean(x);
  Eigen::VectorXd y(n);
  for (int i = 0; i < n; ++i) y(i) = x[i] - mu;
  rms = std::sqrt(y.squaredNorm() / n);
  Eigen::BDCSVD<Eigen::MatrixXd> svd(R.topLeftCorner(n, n), Eigen::ComputeThinU | Eigen::ComputeThinV);
  svd.setThreshold(2.220446049250313e-16);
  const Eigen::MatrixXd S21 = R.bottomLeftCorner(h, n);
  const Eigen::VectorXd f = S21 * svd.solve(y);
  const Eigen::MatrixXd C = R.bottomRightCorner(h, h) - S21 * svd.solve(Eigen::MatrixXd(S21.transpose()));
  yhat.Size(h);
  cov.Size(h, h);
  for (int i = 0; i < h; ++i) {
    yhat[i] = f(i) + mu;
    for (int j = 0; j < h; ++j) cov(i, j) = C(i, j);
  }
}

// ---- Linear time against the direct forms ----------------------------------------------------

struct TLinearCase {
  const char* name;
  const char* series;
  int n;  // 0: the whole series
  std::vector<double> phi, theta;
};

const TLinearCase kLinearCases[] = {
    {"MA(1)", "ma2", 0, {}, {0.4}},
    {"ARMA(1,1)", "arma11", 0, {0.6}, {0.4}},
    {"ARMA(2,1)", "arma21", 0, {0.5, 0.3}, {-0.4}},
    {"ARMA(1,2)", "ma2", 0, {0.3}, {0.5, -0.3}},
    {"ARMA(3,1)", "arma21", 0, {0.5, -0.2, 0.1}, {0.7}},
    {"AR root near 1", "huron", 0, {0.99}, {0.5}},
    {"MA root near 1", "arma11", 0, {0.5}, {-0.97}},
    {"two values", "arma11", 2, {0.6}, {0.4}},
    {"fewer values than m", "arma21", 3, {0.5, -0.2, 0.1}, {0.7, 0.2}},
};

class ArmaLinearTime : public ::testing::TestWithParam<TLinearCase> {};

TEST_P(ArmaLinearTime, LikelihoodAndForecastsEqualTheDirectForms) {
  const TLinearCase& c = GetParam();
  const TVec& full = Series().at(c.series);
  const TVec x = c.n > 0 ? Head(full, c.n) : full;
  const TVec phi(c.phi), theta(c.theta);
  const int n = x.Length();

  TVec uDirect;
  const double direct = DirectCriterion(x, phi, theta, &uDirect);
  EXPECT_TRUE(Near(direct, ARMALogLike(x, phi, theta), 1e-10, 1e-10));

  const int h = 12;
  TVec yhat, yDirect, se;
  TMtx cov, cDirect;
  double rms = 0.0, rmsDirect = 0.0;
  ARMAForecast(x, phi, theta, h, yhat, cov, rms);
  DirectForecast(x, phi, theta, h, yDirect, cDirect, rmsDirect);
  ARMAForecast(x, phi, theta, h, yhat, se);
  EXPECT_TRUE(Near(rmsDirect, rms, 1e-13));
  const double scale = std::max(1.0, std::fabs(Mean(x)));
  for (int i = 0; i < h; ++i) {
    EXPECT_TRUE(Near(yDirect[i], yhat[i], 1e-10, 1e-10 * scale)) << "forecast " << i;
    EXPECT_TRUE(Near(std::sqrt(cDirect(i, i)) * rmsDirect, se[i], 1e-10)) << "se " << i;
    for (int j = 0; j < h; ++j) {
      EXPECT_TRUE(Near(cDirect(i, j), cov(i, j), 1e-10, 1e-12)) << "cov " << i << "," << j;
    }
  }

  // The residuals of the fit at a given point are those of the Cholesky form.
  if (n >= 50) {
    TVec p2(phi), t2(theta), lo, hi, resid;
    lo.Size(p2.Length() + t2.Length()).SetVal(-2.0);
    hi.Size(lo.Length()).SetVal(2.0);
    for (int j = 0; j < p2.Length(); ++j) lo[j] = hi[j] = phi[j];
    for (int j = 0; j < t2.Length(); ++j) lo[p2.Length() + j] = hi[p2.Length() + j] = theta[j];
    double fMin = 0.0;
    ARMAMLE(x, p2, t2, lo, hi, resid, fMin);  // the box holds one point
    ASSERT_EQ(resid.Length(), n);
    EXPECT_TRUE(Near(direct, fMin, 1e-10));
    const double uMax = NormC(uDirect);
    for (int i = 0; i < n; ++i) EXPECT_TRUE(Near(uDirect[i], resid[i], 0.0, 1e-10 * uMax)) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ArmaLinearTime, ::testing::ValuesIn(kLinearCases),
                         [](const auto& info) {
                           std::string s = info.param.name;
                           for (char& ch : s) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return s;
                         });

TEST(ArmaLinearTime, PureARForecastsEqualTheDirectForm) {
  // q = 0: the likelihood refuses these models, the forecasts take them (kappa = 1 beyond m).
  for (const auto& ar : {std::vector<double>{0.5}, std::vector<double>{1.2, -0.5}}) {
    const TVec x = Series().at("arma21");
    TVec yhat, yDirect;
    TMtx cov, cDirect;
    double rms = 0.0, rmsDirect = 0.0;
    ARMAForecast(x, TVec(ar), TVec(), 8, yhat, cov, rms);
    DirectForecast(x, TVec(ar), TVec(), 8, yDirect, cDirect, rmsDirect);
    for (int i = 0; i < 8; ++i) {
      EXPECT_TRUE(Near(yDirect[i], yhat[i], 1e-10, 1e-12));
      EXPECT_TRUE(Near(cDirect(i, i), cov(i, i), 1e-10));
    }
    // AR(1) forecasts approach the mean by phi per step.
    if (ar.size() == 1) {
      EXPECT_TRUE(Near(0.5 * (yhat[0] - Mean(x)), yhat[1] - Mean(x), 1e-12));
    }
  }
}

// ---- Against R ------------------------------------------------------------------------------

TEST(ARMAAcf, AgreesWithR) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/arma_acf.txt");
  TWorst w{"ARMAAcf"};
  for (const auto& [name, model] : Models()) {
    if (name.rfind("fc", 0) == 0) continue;
    TVec rho, gamma;
    ARMAAcf(&model.ar, &model.ma, 12, rho, true);
    ARMAAcf(&model.ar, &model.ma, 12, gamma, false);
    ASSERT_EQ(rho.Length(), 13);
    for (std::size_t r = 0; r < ref.rows.size(); ++r) {
      if (ref.names[r] != name) continue;
      const int k = static_cast<int>(ref.rows[r][1]);
      w.See(ref.rows[r][3], gamma[k]);
      EXPECT_TRUE(Near(ref.rows[r][2], rho[k], test::kTolRef, 1e-14)) << name << " lag " << k;
      EXPECT_TRUE(Near(ref.rows[r][3], gamma[k], test::kTolRef, 1e-14 * gamma[0])) << name;
    }
  }
}

TEST(Innovations, AgreeWithTheRecursionInR) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/arma_innov.txt");
  constexpr int N = 12;
  for (const char* name : {"arma11", "arma22", "arma31", "ma3"}) {
    SCOPED_TRACE(name);
    const TModel& m = Models().at(name);
    TMtx K, thetaM;
    TVec v;
    ARMAKappa(TVec(1), &m.ar, &m.ma, K, N + 1);
    Innovations(K, m.ma.Length(), thetaM, v, N);
    // The element form on the same autocovariances builds the same matrix.
    const int mm = std::max(m.ar.Length(), m.ma.Length());
    TVec gx, gma;
    ARMAAcf(&m.ar, &m.ma, 5 * mm, gx, false);
    ARMAAcf(nullptr, &m.ma, 2 * mm, gma, false);
    for (int i = 1; i <= N + 1; ++i) {
      for (int j = 1; j <= N + 1; ++j) {
        EXPECT_EQ(K(i - 1, j - 1), ARMAKappa(gx, gma, i, j, &m.ar, &m.ma)) << i << "," << j;
      }
    }
    TVec gamma, vecV, theta(m.ma.Length()), vars, thetaVar;
    TMtx vecTheta;
    ARMAAcf(&m.ar, &m.ma, N, gamma, false);
    Innovations(gamma, 0, vecTheta, vecV, N);
    double sigma2 = 0.0;
    Innovations(gamma, theta, sigma2, N, &vars, &thetaVar);
    double thetaVarSum = 1.0;
    for (std::size_t r = 0; r < ref.rows.size(); ++r) {
      if (ref.names[r] != name) continue;
      const auto& row = ref.rows[r];
      const int k = static_cast<int>(row[2]);
      const int j = static_cast<int>(row[3]);
      const double e = row[4];
      // Column 1 (the form) is text; the rows come in a fixed order per model: kappa and theta
      // per k, then v, then the vector form's theta_N and v.
      const std::size_t inModel = r - static_cast<std::size_t>(
          std::find(ref.names.begin(), ref.names.end(), name) - ref.names.begin());
      const std::size_t perK = 2 * (N + 1);
      if (inModel < perK * (N + 1)) {
        const bool isKappa = (inModel % perK) < static_cast<std::size_t>(N + 1);
        const double got = isKappa ? K(k, j) : thetaM(k, j);
        EXPECT_TRUE(Near(e, got, 1e-12, 1e-13 * K(0, 0))) << (isKappa ? "kappa " : "theta ") << k << "," << j;
      } else if (inModel < perK * (N + 1) + (N + 1)) {
        EXPECT_TRUE(Near(e, v[k], 1e-12)) << "v " << k;
      } else if (inModel < perK * (N + 1) + 2 * (N + 1)) {
        EXPECT_TRUE(Near(e, vecTheta(N, j), 1e-12, 1e-14)) << "vector theta " << j;
        if (j >= 1 && j <= theta.Length()) {
          EXPECT_TRUE(Near(e, theta[j - 1], 1e-12, 1e-14));
          EXPECT_TRUE(Near(thetaVarSum, thetaVar[j - 1], 1e-12));
          thetaVarSum += e * e;
        }
      } else {
        EXPECT_TRUE(Near(e, vecV[k], 1e-12)) << "vector v " << k;
        if (k == N) EXPECT_TRUE(Near(e, sigma2, 1e-12));
        if (k >= 1 && k <= vars.Length()) EXPECT_TRUE(Near(e, vars[k - 1], 1e-12));
      }
    }
  }
}

// Rows of arma_fits.txt grouped by fit: "name method p q maxlags what j value".
struct TFitRef {
  std::string name, method;
  int p, q, maxLags;
  std::map<std::string, std::vector<double>> values;
};

std::vector<TFitRef> FitRefs() {
  std::ifstream in(test::ReferencePath("StatTimeSerAnalysis/arma_fits.txt"));
  std::string line;
  std::getline(in, line);
  std::vector<TFitRef> fits;
  TFitRef r;
  std::string what;
  int j;
  double v;
  while (in >> r.name >> r.method >> r.p >> r.q >> r.maxLags >> what >> j >> v) {
    if (fits.empty() || fits.back().name != r.name || fits.back().method != r.method ||
        fits.back().p != r.p || fits.back().q != r.q || fits.back().maxLags != r.maxLags) {
      fits.push_back(r);
      fits.back().values.clear();
    }
    fits.back().values[what].push_back(v);
  }
  return fits;
}

TEST(ARMAPreliminaryFits, AgreeWithTheirRecursionsInR) {
  const auto fits = FitRefs();
  ASSERT_EQ(fits.size(), 10U);
  TWorst w{"ARMAInnovationsFit / ARMAHannahFit"};
  for (const TFitRef& f : fits) {
    SCOPED_TRACE(f.name + " " + f.method + " p=" + std::to_string(f.p) + " q=" +
                 std::to_string(f.q) + " maxlags=" + std::to_string(f.maxLags));
    const TVec& x = Series().at(f.name);
    TVec phi(f.p), theta(f.q), phiSe, thetaSe;
    double sigma2 = 0.0;
    if (f.method == "hannan") {
      ARMAHannahFit(x, phi, theta, sigma2);
    } else if (f.p == 0) {
      ARMAInnovationsFit(x, theta, sigma2, &thetaSe, f.maxLags);
    } else {
      ARMAInnovationsFit(x, phi, theta, sigma2, &phiSe, &thetaSe, f.maxLags);
      ASSERT_EQ(phiSe.Length(), f.p);
      EXPECT_EQ(NormC(phiSe), 0.0);
    }
    auto expect = [&](const char* what, const TVec& got) {
      if (f.values.count(what) == 0) return;
      const auto& e = f.values.at(what);
      ASSERT_EQ(static_cast<int>(e.size()), got.Length()) << what;
      for (int i = 0; i < got.Length(); ++i) {
        w.See(e[static_cast<std::size_t>(i)], got[i]);
        EXPECT_TRUE(Near(e[static_cast<std::size_t>(i)], got[i], 1e-10)) << what << " " << i;
      }
    };
    expect("phi", phi);
    expect("theta", theta);
    expect("se", thetaSe);
    EXPECT_TRUE(Near(f.values.at("sigma2")[0], sigma2, 1e-10));
  }
}

TEST(ARMAMLE, ReachesTheCriterionOptimumAndAgreesWithArima) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/arma_mle.txt");
  std::map<std::string, std::map<std::string, std::vector<double>>> byName;
  std::map<std::string, std::pair<int, int>> orders;
  for (std::size_t r = 0; r < ref.rows.size(); ++r) {
    const auto& row = ref.rows[r];
    orders[ref.names[r]] = {static_cast<int>(row[1]), static_cast<int>(row[2])};
  }
  // Column 3 ("what") is text; the rows come per model as start, optim, fmin, arima.
  for (std::size_t r = 0; r < ref.rows.size(); ++r) {
    const auto [p, q] = orders[ref.names[r]];
    auto& m = byName[ref.names[r]];
    const std::size_t k = static_cast<std::size_t>(p + q);
    const char* what = m["start"].size() < k   ? "start"
                       : m["optim"].size() < k ? "optim"
                       : m["fmin"].empty()     ? "fmin"
                                               : "arima";
    m[what].push_back(ref.rows[r][5]);
  }
  ASSERT_EQ(byName.size(), 4U);
  for (const auto& [name, m] : byName) {
    SCOPED_TRACE(name);
    const int p = orders[name].first;
    const int q = orders[name].second;
    const TVec& x = Series().at(name);
    TVec phi(p), theta(q), resid;
    for (int j = 0; j < p; ++j) phi[j] = m.at("start")[static_cast<std::size_t>(j)];
    for (int j = 0; j < q; ++j) theta[j] = m.at("start")[static_cast<std::size_t>(p + j)];
    TVec phiB(phi), thetaB(theta), residB, lo, hi;
    double fMin = 0.0, fMinB = 0.0;
    ARMAMLE(x, phi, theta, resid, fMin);
    lo.Size(p + q).SetVal(-1.0);
    hi.Size(p + q).SetVal(1.0);
    ARMAMLE(x, phiB, thetaB, lo, hi, residB, fMinB);
    EXPECT_TRUE(Near(m.at("fmin")[0], fMin, 1e-9, 1e-9));
    for (int j = 0; j < p + q; ++j) {
      const double got = j < p ? phi[j] : theta[j - p];
      const double gotB = j < p ? phiB[j] : thetaB[j - p];
      EXPECT_TRUE(Near(m.at("optim")[static_cast<std::size_t>(j)], got, 0.0, 1e-6)) << j;
      EXPECT_TRUE(Near(m.at("optim")[static_cast<std::size_t>(j)], gotB, 0.0, 1e-6)) << j;
      EXPECT_TRUE(Near(m.at("arima")[static_cast<std::size_t>(j)], got, 0.0, 1e-3)) << j;
    }
    // The residuals belong to the returned model.
    TVec u;
    EXPECT_TRUE(Near(DirectCriterion(x, phi, theta, &u), fMin, 1e-10, 1e-10));
    for (int i = 0; i < x.Length(); ++i) EXPECT_TRUE(Near(u[i], resid[i], 0.0, 1e-9));
  }
}

TEST(ARIMAForecast, AgreesWithPredictArima) {
  const test::TRefTable ref = test::ReadRefTable("StatTimeSerAnalysis/arima_fc.txt");
  TWorst wf{"ARIMAForecast vs predict.Arima"}, ws{"ARIMAForecast se vs predict.Arima"};
  for (int c = 1; c <= 4; ++c) {
    const TModel& model = Models().at("fc" + std::to_string(c));
    std::string series;
    int d = 0;
    std::vector<double> fc, se;
    for (std::size_t r = 0; r < ref.rows.size(); ++r) {
      if (static_cast<int>(ref.rows[r][1]) != c) continue;
      series = ref.names[r];
      d = static_cast<int>(ref.rows[r][2]);
      fc.push_back(ref.rows[r][4]);
      se.push_back(ref.rows[r][5]);
    }
    SCOPED_TRACE(series + " d=" + std::to_string(d));
    const int h = static_cast<int>(fc.size());
    TVec yhat, stdErr;
    ARIMAForecast(Series().at(series), model.ar, model.ma, d, h, yhat, stdErr);
    ASSERT_EQ(yhat.Length(), h);
    ASSERT_EQ(stdErr.Length(), h);
    for (int i = 0; i < h; ++i) {
      wf.See(fc[static_cast<std::size_t>(i)], yhat[i]);
      ws.See(se[static_cast<std::size_t>(i)], stdErr[i]);
      // predict.Arima starts the integrated states with a prior variance of 1e6, not an exact
      // diffuse prior, which leaves about 1e-7 of its own.
      EXPECT_TRUE(Near(fc[static_cast<std::size_t>(i)], yhat[i], 1e-7)) << i;
      EXPECT_TRUE(Near(se[static_cast<std::size_t>(i)], stdErr[i], 1e-6)) << i;
    }
  }
}

// ---- One-step predictors and simulation ------------------------------------------------------

TEST(ARMAPredictors, EqualTheRecursionOnTheKappaMatrix) {
  // The literal recursion on ARMAKappa and the matrix form of Innovations.
  const TVec x = Head(Series().at("arma21"), 40);
  for (const char* name : {"arma11", "arma22", "arma31", "ma3", "ar1"}) {
    SCOPED_TRACE(name);
    const TModel& m = Models().at(name);
    const int n = x.Length();
    const int p = m.ar.Length();
    const int q = m.ma.Length();
    const int mm = std::max(p, q);
    TMtx K, th;
    TVec v;
    ARMAKappa(x, &m.ar, &m.ma, K, n + 1);
    Innovations(K, q, th, v, n);
    std::vector<double> e(static_cast<std::size_t>(n + 1), 0.0);
    for (int k = 1; k <= n; ++k) {
      double s = 0.0;
      if (k >= mm) {
        for (int j = 1; j <= p; ++j) s += m.ar[j - 1] * x[k - j];
      }
      for (int j = 1; j <= (k < mm ? k : q); ++j) s += th(k, j) * (x[k - j] - e[static_cast<std::size_t>(k - j)]);
      e[static_cast<std::size_t>(k)] = s;
    }
    TVec xhat, vars;
    ARMAPredictors(x, &m.ar, &m.ma, xhat, &vars);
    ASSERT_EQ(xhat.Length(), n + 1);
    EXPECT_EQ(xhat[0], 0.0);
    for (int k = 0; k <= n; ++k) {
      EXPECT_TRUE(Near(e[static_cast<std::size_t>(k)], xhat[k], 1e-12, 1e-13)) << k;
      EXPECT_TRUE(Near(v[k], vars[k], 1e-12)) << k;
    }
  }
}

// Bartlett's variance of the sample autocorrelation at lag k.
double BartlettVar(const TVec& rho, int k, int n) {
  double s = 0.0;
  auto r = [&](int j) { return rho[std::abs(j)]; };
  for (int j = -150; j <= 150; ++j) {
    s += r(j + k) * r(j + k) + r(j - k) * r(j + k) - 4.0 * r(k) * r(j) * r(j + k) +
         2.0 * r(k) * r(k) * r(j) * r(j);
  }
  return s / n;
}

TEST(ARMASimulate, DrawsTheModelsMeanAndAutocorrelation) {
  RandSeed(20261206);
  constexpr int n = 40000;
  for (const char* name : {"arma11", "arma22", "ma3"}) {
    SCOPED_TRACE(name);
    const TModel& m = Models().at(name);
    TVec x, rhoSample, rho, gamma;
    ARMASimulate(m.ar, m.ma, n, x);
    ASSERT_EQ(x.Length(), n);
    ARMAAcf(&m.ar, &m.ma, 160, rho, true);
    ARMAAcf(&m.ar, &m.ma, 160, gamma, false);
    // The variance of the mean is the sum of all autocovariances over n.
    double longRun = gamma[0];
    for (int k = 1; k <= 160; ++k) longRun += 2.0 * gamma[k];
    EXPECT_LT(std::fabs(Mean(x)), 4.0 * std::sqrt(longRun / n));
    EXPECT_TRUE(Near(gamma[0], SumOfSquares(x) / n, 4.0 * std::sqrt(2.0 * longRun / n)));
    ACF(x, rhoSample, 4);
    for (int k = 1; k <= 3; ++k) {
      EXPECT_LT(std::fabs(rhoSample[k] - rho[k]), 4.0 * std::sqrt(BartlettVar(rho, k, n))) << k;
    }
  }
  // The stream moves on between calls; ARIMASimulate integrates the same draws.
  const TModel& m = Models().at("arma11");
  TVec a, b, c;
  RandSeed(5);
  ARMASimulate(m.ar, m.ma, 50, a);
  ARMASimulate(m.ar, m.ma, 50, b);
  EXPECT_NE(a[0], b[0]);
  RandSeed(5);
  ARIMASimulate(m.ar, m.ma, 1, TVec{3.0}, 50, c);
  ASSERT_EQ(c.Length(), 50);
  double level = 3.0;
  for (int i = 0; i < 50; ++i) {
    level += a[i];
    EXPECT_TRUE(Near(level, c[i], 1e-13, 1e-13)) << i;
  }
}

// ---- Edge cases and messages -----------------------------------------------------------------

TEST(ArmaEdgeCases, OutcomesOfDegenerateInputs) {
  const TVec x = Head(Series().at("arma11"), 30);
  const TVec phi{0.6}, theta{0.4}, none;
  // Likelihood: refused models give the largest double; a constant series -Inf; NaN propagates.
  EXPECT_EQ(ARMALogLike(x, phi, none), kWorst);
  EXPECT_EQ(ARMALogLike(x, phi, TVec{-1.0}), kWorst);  // MA root on the circle
  EXPECT_EQ(ARMALogLike(x, phi, TVec{1.5}), kWorst);
  EXPECT_EQ(ARMALogLike(x, TVec{1.0}, theta), kWorst);  // AR unit root: no autocovariance
  const double nonCausal = ARMALogLike(x, TVec{1.5}, theta);
  EXPECT_TRUE(nonCausal == kWorst || std::isfinite(nonCausal));
  EXPECT_EQ(ARMALogLike(TVec{2.0, 2.0, 2.0, 2.0}, phi, theta), -Inf);
  TVec withNaN(x);
  withNaN[4] = NaN;
  EXPECT_TRUE(std::isnan(ARMALogLike(withNaN, phi, theta)));
  withNaN[4] = Inf;
  EXPECT_FALSE(std::isfinite(ARMALogLike(withNaN, phi, theta)));

  // Forecasts: T = 0, one value, a constant series, white noise.
  TVec yhat, se;
  TMtx cov;
  double rms = 1.0;
  ARMAForecast(x, phi, theta, 0, yhat, cov, rms);
  EXPECT_EQ(yhat.Length(), 0);
  EXPECT_EQ(cov.Rows(), 0);
  ARMAForecast(TVec{5.0}, phi, theta, 3, yhat, se);
  test::ExpectAllEqual({LUMEX_VALUE(5.0, yhat[2]), LUMEX_VALUE(0.0, se[2])});
  ARMAForecast(TVec{2.0, 2.0, 2.0}, phi, theta, 2, yhat, se);
  test::ExpectAllEqual({LUMEX_VALUE(2.0, yhat[1]), LUMEX_VALUE(0.0, se[1])});
  ARMAForecast(x, none, TVec{0.0}, 4, yhat, se);
  double ss = 0.0;
  for (int i = 0; i < x.Length(); ++i) ss += (x[i] - Mean(x)) * (x[i] - Mean(x));
  test::ExpectAllNear({LUMEX_VALUE(Mean(x), yhat[3]), LUMEX_VALUE(std::sqrt(ss / 30), se[3])},
                      1e-13);
  // ARIMA on a series one longer than d: a single difference, forecast by its mean.
  ARIMAForecast(TVec{1.0, 4.0}, phi, theta, 1, 3, yhat, se);
  test::ExpectAllNear({LUMEX_VALUE(7.0, yhat[0]), LUMEX_VALUE(13.0, yhat[2])}, 1e-14);
  ARIMAForecast(x, phi, theta, -2, 3, yhat, se);  // d < 1 is the ARMA forecast
  TVec yArma, seArma;
  ARMAForecast(x, phi, theta, 3, yArma, seArma);
  EXPECT_TRUE(Near(yArma[2], yhat[2], 0.0));

  // Coefficient checks, autocovariances, starting values of integration.
  EXPECT_TRUE(CheckARMACoeffs(TVec{0.5}, true));
  EXPECT_FALSE(CheckARMACoeffs(TVec{1.5}, true));
  EXPECT_FALSE(CheckARMACoeffs(TVec{-1.0}, false));
  EXPECT_FALSE(CheckARMACoeffs(TVec{NaN}, false));
  EXPECT_TRUE(CheckARMACoeffs(std::span<const double>(), true));
  const double arr[] = {1.2, -0.5};
  EXPECT_TRUE(CheckARMACoeffs(std::span<const double>(arr), true));
  TVec g;
  ARMAAcf(&none, nullptr, 4, g, false);
  EXPECT_EQ(g.Length(), 0);
  ARMAAcf(nullptr, &theta, 4, g, false);
  test::ExpectAllNear({LUMEX_VALUE(1.16, g[0]), LUMEX_VALUE(0.4, g[1]), LUMEX_VALUE(0.0, g[4])},
                      1e-15);
  TVec init;
  TimeSeriesIntInit(TVec{1.0, 4.0, 9.0, 16.0}, init, 2, true);
  test::ExpectAllEqual({LUMEX_VALUE(9.0, init[0]), LUMEX_VALUE(7.0, init[1])});
  TimeSeriesIntInit(TVec{1.0, 4.0, 9.0, 16.0}, init, 2, false);
  test::ExpectAllEqual({LUMEX_VALUE(1.0, init[0]), LUMEX_VALUE(3.0, init[1])});
  TimeSeriesIntInit(TVec{1.0}, init, 0, true);
  EXPECT_EQ(init.Length(), 0);

  // A pure AR model cannot move under the likelihood; single-precision data keep their storage.
  TVec ar{0.3}, noMa, resid;
  double fMin = 0.0;
  ARMAMLE(x, ar, noMa, resid, fMin);
  EXPECT_EQ(fMin, kWorst);
  EXPECT_TRUE(std::isnan(resid[0]));
  TVec p1{0.5}, t1{0.2};
  ARMAMLE(test::ToSingle(Series().at("huron")), p1, t1, resid, fMin);
  EXPECT_EQ(resid.FloatPrecision(), fpSingle);
  EXPECT_NEAR(0.745, p1[0], 2e-3);
  TVec none2, p2{0.1}, t2{0.1};
  ARMASimulate(phi, theta, 0, none2);
  EXPECT_EQ(none2.Length(), 0);
  // A constant series has no autocorrelation: NaN coefficients, no error.
  ARMAHannahFit(TVec(std::vector<double>(20, 1.0)), p2, t2, fMin);
  EXPECT_TRUE(std::isnan(p2[0]) && std::isnan(t2[0]));
}

TEST(ArmaEdgeCases, MessagesAreExact) {
  const TVec x = Head(Series().at("arma11"), 30);
  const TVec phi{0.6}, theta{0.4}, none, cplx = test::Zeros(5, fpDouble, true);
  TVec out, out2, emptyOut, theta2{0.1, 0.1}, phi2{0.1};
  TMtx mout;
  double s = 0.0;
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { ARMAAcf(&phi, &theta, 0, out, true); }, "n <= 0"},
      {[&] { ARMAAcf(&none, &none, 0, out, true); }, "n <= 0"},
      {[&] { ARMAKappa(x, &none, &none, mout, 4); }, "n <= 0"},
      {[&] { ARMAKappa(x, &phi, &theta, mout, -1); }, "ARMAKappa: N < 0"},
      {[&] { ARMAKappa(TVec{1.0}, TVec{0.4}, 0, 1, &phi, &theta); }, "ARMAKappa: (i<1) or (j<1)"},
      {[&] { ARMAKappa(TVec{1.0}, TVec{0.4}, 1, 2, &phi, &theta); }, "ARMAKappa: GammaX too short"},
      {[&] { Innovations(TVec(), 1, mout, out, 3); }, "Innovations: gamma.Length = 0"},
      {[&] { Innovations(TVec{1.0, 0.5}, 1, mout, out, 3); }, "Innovations: kappa.Length < NumEvals"},
      {[&] { Innovations(TMtx(2, 2), 1, mout, out, 3); }, "Innovations: kappa.Rows < NumEvals"},
      {[&] { Innovations(TVec{1.0, 0.5, 0.2}, 1, mout, out, 3); },
       "Innovations: kappa.Length < NumEvals+1"},
      {[&] { Innovations(TMtx(4, 2), 1, mout, out, 3); }, "Innovations: kappa.Cols < NumEvals+1"},
      {[&] { ARMAKappa(x, &phi, &theta, mout, 9000); }, "ARMAKappa: N too large"},
      {[&] { Innovations(TVec{1.0, 0.5}, emptyOut, s, 1); },
       "Innovations: (Theta.Length=0) or (Theta.Complex)"},
      {[&] { Innovations(TVec{1.0, 0.5}, theta2, s, 1); }, "Innovations: Theta.Length > NumEvals"},
      {[&] { ARMAInnovationsFit(none, theta2, s, nullptr, 3); },
       "ARMAInnovations: (Data.Length=0) or (Data.Complex)"},
      {[&] { ARMAInnovationsFit(x, emptyOut, s, nullptr, 3); },
       "ARMAInnovations: (Theta.Length=0) or (Theta.Complex)"},
      {[&] { ARMAInnovationsFit(x, theta2, s, nullptr, 30); }, "ARMA: MaxLags > Data.Length -1"},
      {[&] { ARMAInnovationsFit(x, emptyOut, theta2, s, nullptr, nullptr, 3); },
       "ARMAInnovations: (Phi.Length=0) or (Phi.Complex)"},
      {[&] { ARMAInnovationsFit(x, phi2, theta2, s, nullptr, nullptr, 30); },
       "ARMAInnovations: MaxLags > Data.Length -1"},
      {[&] { ARMAInnovationsFit(x, phi2, theta2, s, nullptr, nullptr, 2); },
       "Innovations: Theta.Length > NumEvals"},
      {[&] { ARMAHannahFit(cplx, phi2, theta2, s); },
       "ARMAHannah: (Data.Length=0) or (Data.Complex)"},
      {[&] { ARMAHannahFit(Head(x, 6), phi2, theta2, s); }, "ARMAHannah: Data.Length < m+p+2q"},
      {[&] { ARMALogLike(TVec{1.0}, phi, theta); },
       "ARMALogLike: (Data.Length<2) or (Data.Complex)"},
      {[&] { ARMAMLE(none, phi2, theta2, out, s); }, "ARIMAMLE: (Data.Length=0) or (Data.Complex)"},
      {[&] { ARMAMLE(TVec{1.0}, phi2, theta2, out, s); }, "ARIMAMLE: Data.Length < 2"},
      {[&] { ARMAMLE(x, phi2, theta2, TVec(3), TVec(2), out, s); },
       "PTLowB.Length <> PTUpB.Length"},
      {[&] { ARMAMLE(x, phi2, theta2, TVec(2), TVec(2), out, s); },
       "P.Length + T.Length <> PTLowB.Length"},
      {[&] { ARMAForecast(none, phi, theta, 3, out, out2); },
       "ARMAForecast: (Data.Length=0) or (Data.Complex)"},
      {[&] { ARMAForecast(x, phi, theta, -1, out, mout, s); }, "ARMAForecast: T < 0"},
      {[&] { ARMAForecast(x, none, none, 3, out, out2); },
       "ARMAForecast: (Phi.Length=0) and (Theta.Length=0)"},
      {[&] { ARMAForecast(x, TVec{1.5}, theta, 3, out, out2); },
       "ARMAForecast: correlation matrix not positive definite"},
      {[&] { ARMAForecast(x, TVec{1.0}, theta, 3, out, out2); }, "LUSolve: matrix is singular"},
      {[&] { ARIMAForecast(x, phi, theta, 30, 3, out, out2); },
       "ARIMAForecast: (Data.Length<=d) or (Data.Complex)"},
      {[&] { ARMAPredictors(cplx, &phi, &theta, out); }, "ARMAPredictors : Data.Complex"},
      {[&] { ARMAPredictors(x, nullptr, &none, out); }, "ARMAPredictors : n <= 0"},
      {[&] { ARMASimulate(phi, theta, -1, out); }, "ARMASimulate: n < 0"},
      {[&] { ARIMASimulate(phi, theta, 1, TVec{1.0, 2.0}, 10, out); },
       "ARIMASimulate: d <> ResInit.Length"},
      {[&] { TimeSeriesIntInit(TVec{1.0}, out, 2, true); },
       "TimeSeriesIntInit: (Data.Length<d) or (Data.Complex)"},
      {[&] { TimeSeriesIntInit(TVec{1.0}, out, -1, true); }, "TimeSeriesIntInit: d < 0"},
  };
  for (const auto& [call, message] : cases) EXPECT_LUMEX_ERROR(call(), message);
}

}  // namespace
}  // namespace lumex
