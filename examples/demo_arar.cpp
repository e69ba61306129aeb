// Demo section: ARAR forecasts of the monthly accidental deaths in the USA 1973-1978 (Brockwell
// and Davis), on the original scale and after a Box-Cox (log) transform.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>

#include "demo.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace demo {

namespace {

struct TARARForecast {
  lumex::TVec yhat, se;
  int tau = 0, l1 = 0, l2 = 0, l3 = 0;
  lumex::TVec filter, phi;
};

// The three ARAR steps with the usual limits: lags up to 15 for memory shortening, up to 26 for
// the subset autoregression.
TARARForecast ARAR(const lumex::TVec& y, int horizon) {
  TARARForecast f;
  lumex::TVec shortened;
  double sigma2 = 0.0, scale = 0.0;
  lumex::ShortenFilter(y, shortened, f.tau, &f.filter, 15);
  lumex::ARARFit(shortened, f.phi, f.l1, f.l2, f.l3, sigma2, 26);
  lumex::ARARForecast(y, f.phi, f.filter, f.tau, f.l1, f.l2, f.l3, lumex::Mean(shortened), horizon,
                      f.yhat, f.se, scale);
  return f;
}

void ARARSection(const std::string& dataDir) {
  Heading("ARAR forecasts: monthly accidental deaths in the USA 1973-1978 (Brockwell and Davis)");
  const lumex::TVec deaths = ReadCsv(dataDir + "/us_acc_deaths.csv").Numbers("deaths");
  std::cout << deaths.Length() << " months, from " << Fixed(deaths[0], 0) << " to "
            << Fixed(deaths[deaths.Length() - 1], 0) << " deaths\n";

  const int h = 12;
  const TARARForecast raw = ARAR(deaths, h);
  std::cout << "memory shortening: Y_t - " << Fixed(-raw.filter[raw.tau], 4) << " Y_{t-" << raw.tau
            << "} (the yearly cycle)\nsubset AR of the shortened series on lags 1, " << raw.l1
            << ", " << raw.l2 << ", " << raw.l3 << ": ";
  for (int j = 0; j < 4; ++j) std::cout << Fixed(raw.phi[j], 4) << (j < 3 ? ", " : "\n");

  // Box-Cox with lambda = 0: the model is fitted to the logarithms, and the forecasts and their
  // interval ends are transformed back (a median forecast; the intervals stay asymmetric).
  lumex::TVec logs, back, lower, upper;
  lumex::BoxCox(deaths, logs, 0.0);
  const TARARForecast logged = ARAR(logs, h);
  lumex::BoxCoxInv(logged.yhat, back, 0.0);
  lower = logged.yhat;
  upper = logged.yhat;
  lumex::AddScaled(lower, logged.se, -1.96);
  lumex::AddScaled(upper, logged.se, 1.96);
  lumex::BoxCoxInv(lower, lower, 0.0);
  lumex::BoxCoxInv(upper, upper, 0.0);

  std::cout << "\nforecasts for 1979 with 95% intervals\n"
            << "month   ARAR      interval          log scale, back   interval\n";
  for (int m = 0; m < h; ++m) {
    std::cout << std::setw(5) << m + 1 << std::setw(8) << Fixed(raw.yhat[m], 0) << "  ["
              << std::setw(6) << Fixed(raw.yhat[m] - 1.96 * raw.se[m], 0) << ", " << std::setw(6)
              << Fixed(raw.yhat[m] + 1.96 * raw.se[m], 0) << "]" << std::setw(12)
              << Fixed(back[m], 0) << "  [" << std::setw(6) << Fixed(lower[m], 0) << ", "
              << std::setw(6) << Fixed(upper[m], 0) << "]\n";
  }
}

const TSection kSection(95, "ARAR forecasting", ARARSection);

}  // namespace

}  // namespace demo
