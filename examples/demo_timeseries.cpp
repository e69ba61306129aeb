// Demo section: time series of the monthly airline passengers 1949-1960 (Box and Jenkins,
// series G): autocorrelations, an autoregressive fit and a Holt-Winters forecast.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>

#include "demo.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace demo {

namespace {

void TimeSeriesSection(const std::string& dataDir) {
  Heading("Time series: monthly airline passengers 1949-1960 (Box and Jenkins, series G)");
  const TTable air = ReadCsv(dataDir + "/air_passengers.csv");
  const lumex::TVec passengers = air.Numbers("passengers");
  const int n = passengers.Length();
  std::cout << n << " months, thousands of passengers, from " << Fixed(passengers[0], 0)
            << " to " << Fixed(passengers[n - 1], 0) << "\n\n";

  // Growth removed: month-to-month changes of the logarithm. Their autocorrelation still shows
  // the yearly cycle at lag 12.
  lumex::TVec logs(n - 1);
  for (int t = 1; t < n; ++t) logs[t - 1] = std::log(passengers[t]) - std::log(passengers[t - 1]);
  lumex::TVec rho, partial;
  lumex::ACF(logs, rho, 25);
  lumex::PACF(rho, partial);
  std::cout << "change of log passengers: autocorrelation and partial autocorrelation\n"
            << "lag      acf     pacf\n";
  for (int k : {1, 2, 3, 4, 6, 11, 12, 13, 24}) {
    std::cout << std::setw(3) << k << std::setw(9) << Fixed(rho[k], 3) << std::setw(9)
              << Fixed(partial[k - 1], 3) << "\n";
  }
  // Under white noise Q is about chi-square with h degrees of freedom.
  const double q = lumex::BoxLjung(logs, 12);
  std::cout << "Ljung-Box Q(12) = " << Fixed(q, 2) << ", p = "
            << lumex::ChiSquareCDFUpper(q, 12.0) << " against chi-square(12): not white noise\n\n";

  lumex::TVec phi(3), se;
  double sigma2 = 0.0;
  lumex::ARYuleWalkerFit(logs, phi, sigma2, &se);
  std::cout << "Yule-Walker AR(3) of the changes: ";
  for (int j = 0; j < 3; ++j) {
    std::cout << "phi" << j + 1 << " = " << Fixed(phi[j], 3) << " (" << Fixed(se[j], 3) << ")  ";
  }
  std::cout << "\ninnovation standard deviation " << Fixed(std::sqrt(sigma2), 4) << "\n";
  // Burg does not remove the mean: centre the changes first.
  lumex::TVec centred(logs);
  lumex::Sub(centred, lumex::Mean(logs));
  lumex::ARBurgFit(centred, phi, sigma2, se);
  std::cout << "Burg AR(3):                       ";
  for (int j = 0; j < 3; ++j) std::cout << "phi" << j + 1 << " = " << Fixed(phi[j], 3) << "  ";
  std::cout << "\n\n";

  double alpha = 0.3, beta = 0.3, gamma = 0.3, mse = 0.0;
  lumex::TVec yhat;
  const int period = 12;
  lumex::TripleExpForecast(passengers, yhat, alpha, beta, gamma, n + 12, mse, period);
  std::cout << "Holt-Winters (multiplicative season, period 12), constants chosen by least squares:\n"
            << "alpha " << Fixed(alpha, 3) << ", beta " << Fixed(beta, 3) << ", gamma "
            << Fixed(gamma, 3) << ", one-step RMSE " << Fixed(std::sqrt(mse), 2) << "\n"
            << "forecast for 1961 (month: passengers):";
  // yhat[i] stands for month i + period; the last 12 are past the data.
  for (int m = 0; m < 12; ++m) {
    std::cout << (m % 6 == 0 ? "\n  " : "  ") << std::setw(2) << m + 1 << ": "
              << std::setw(5) << Fixed(yhat[yhat.Length() - 12 + m], 0);
  }
  std::cout << "\n";
}

const TSection kSection(90, "Time series", TimeSeriesSection);

}  // namespace

}  // namespace demo
