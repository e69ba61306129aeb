// The StatTimeSerAnalysis module: autocorrelation, an exponential smoothing forecast, ARMA and
// ARIMA forecasts and the ARAR algorithm, on three classic series.
#include <cmath>
#include <cstdio>
#include <string>

#include "example_data.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace {

void Autocorrelation(const std::string& dataDir) {
  std::printf("== Autocorrelation: annual level of Lake Huron 1875-1972\n");
  // [autocorrelation]
  const lumex::TVec level = example::ReadColumn(dataDir + "/lake_huron.csv", "level");
  lumex::TVec rho;
  lumex::ACF(level, rho, 6);  // rho[k]: autocorrelation at lag k, k = 0 .. 5
  std::printf("lags 1-5: %.4f %.4f %.4f %.4f %.4f\n", rho[1], rho[2], rho[3], rho[4], rho[5]);
  const double q = lumex::BoxLjung(level, 10);  // about chi-square(10) for white noise
  std::printf("Ljung-Box Q(10) = %.2f, p = %.3g: the levels are not white noise\n", q,
              lumex::ChiSquareCDFUpper(q, 10.0));
  // [autocorrelation]
}

void SmoothingForecast(const std::string& dataDir) {
  std::printf("\n== Exponential smoothing: Holt-Winters forecast of the airline passengers\n");
  // [smoothing forecast]
  // Monthly international airline passengers 1949-1960, thousands (Box and Jenkins).
  const lumex::TVec y = example::ReadColumn(dataDir + "/air_passengers.csv", "passengers");
  const int n = y.Length(), period = 12, horizon = 12;
  // Starting constants; this overload replaces them by the least-squares ones.
  double alpha = 0.3, beta = 0.3, gamma = 0.3, mse;
  lumex::TVec yhat;  // yhat[i] forecasts month i + period; the last `horizon` are past the data
  lumex::TripleExpForecast(y, yhat, alpha, beta, gamma, n + horizon, mse, period);
  std::printf("alpha %.4f, beta %.4f, gamma %.4f, one-step RMSE %.3f\n", alpha, beta, gamma,
              std::sqrt(mse));
  std::printf("1961, January to June:");
  for (int m = 0; m < 6; ++m) std::printf(" %.1f", yhat[yhat.Length() - horizon + m]);
  std::printf("\n");
  // [smoothing forecast]
}

void ArmaForecast(const std::string& dataDir) {
  std::printf("\n== ARMA(1,1) by maximum likelihood: Lake Huron, ten years ahead\n");
  // [arma forecast]
  const lumex::TVec level = example::ReadColumn(dataDir + "/lake_huron.csv", "level");
  lumex::TVec phi{0.5}, theta{0.2};  // the model orders come from the starting values
  lumex::TVec residuals;
  double criterion;  // -2 log-likelihood, up to a constant
  lumex::ARMAMLE(level, phi, theta, residuals, criterion);
  std::printf("phi = %.4f, theta = %.4f (R's arima: 0.7449, 0.3206)\n", phi[0], theta[0]);
  lumex::TVec forecast, se;
  lumex::ARMAForecast(level, phi, theta, 10, forecast, se);
  for (int h = 0; h < 10; h += 3) {
    std::printf("%d: %.3f ft, 95%% interval [%.3f, %.3f]\n", 1973 + h, forecast[h],
                forecast[h] - 1.96 * se[h], forecast[h] + 1.96 * se[h]);
  }
  // [arma forecast]
}

void ArimaForecast(const std::string& dataDir) {
  std::printf("\n== ARIMA(13,1,0): the log airline passengers, a year ahead\n");
  // [arima forecast]
  lumex::TVec logs = example::ReadColumn(dataDir + "/air_passengers.csv", "passengers");
  lumex::Ln(logs);  // logarithms make the seasonal swings constant
  // Fit the ARMA part to the differenced series: an AR(13) by Yule-Walker carries the yearly
  // cycle of the monthly changes; Yule-Walker coefficients are always causal.
  lumex::TVec changes;
  lumex::Difference(changes, logs, 1);
  lumex::TVec phi(13), theta;  // no MA part
  double sigma2;
  lumex::ARYuleWalkerFit(changes, phi, sigma2);
  // Forecast the differenced series and integrate it back (d = 1).
  lumex::TVec forecast, se;
  lumex::ARIMAForecast(logs, phi, theta, 1, 12, forecast, se);
  std::printf("1961 (thousands, 95%% interval):\n");
  for (int m = 0; m < 12; m += 3) {
    std::printf("month %2d: %.1f [%.1f, %.1f]\n", m + 1, std::exp(forecast[m]),
                std::exp(forecast[m] - 1.96 * se[m]), std::exp(forecast[m] + 1.96 * se[m]));
  }
  // [arima forecast]
}

void ArarForecast(const std::string& dataDir) {
  std::printf("\n== ARAR: monthly accidental deaths in the USA 1973-1978\n");
  // [arar]
  const lumex::TVec deaths = example::ReadColumn(dataDir + "/us_acc_deaths.csv", "deaths");
  // 1. Shorten the memory (here the yearly cycle) with a filter of lag up to 15.
  lumex::TVec shortened, filter;
  int tau;
  lumex::ShortenFilter(deaths, shortened, tau, &filter, 15);
  // 2. A subset AR(4) on lags 1, l1, l2, l3 <= 26 of the shortened series.
  lumex::TVec phi;
  int l1, l2, l3;
  double sigma2;
  lumex::ARARFit(shortened, phi, l1, l2, l3, sigma2, 26);
  // 3. Forecast the original series through both filters.
  lumex::TVec forecast, se;
  double scale;
  lumex::ARARForecast(deaths, phi, filter, tau, l1, l2, l3, lumex::Mean(shortened), 12, forecast,
                      se, scale);
  std::printf("filter lag %d; AR lags 1, %d, %d, %d\n", tau, l1, l2, l3);
  std::printf("1979, January to June:");
  for (int m = 0; m < 6; ++m) std::printf(" %.0f", forecast[m]);
  std::printf("\n");
  // [arar]
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dataDir = example::DataDir(argc, argv);
  Autocorrelation(dataDir);
  SmoothingForecast(dataDir);
  ArmaForecast(dataDir);
  ArimaForecast(dataDir);
  ArarForecast(dataDir);
}
