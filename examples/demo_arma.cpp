// Demo section: ARMA models. The level of Lake Huron 1875-1972 (Brockwell and Davis): a
// Hannan-Rissanen start, the maximum-likelihood ARMA(1,1) and ten years of forecasts with 95%
// intervals, drawn as an SVG; and an ARIMA(13,1,0) forecast of the log airline passengers.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/StatTimeSerAnalysis.h"
#include "svg_plot.h"

namespace demo {

namespace {

void Save(const TSvgPlot& plot, const std::string& file) {
  const std::string path = SvgPath(file);
  std::cout << (plot.Write(path) ? "  wrote " : "  could not write ") << path << "\n";
}

void LakeHuron(const std::string& dataDir) {
  const TTable huron = ReadCsv(dataDir + "/lake_huron.csv");
  const lumex::TVec level = huron.Numbers("level");
  const lumex::TVec years = huron.Numbers("year");
  const int n = level.Length();
  std::cout << "Lake Huron, annual level " << Fixed(years[0], 0) << "-" << Fixed(years[n - 1], 0)
            << " (" << n << " years, feet), mean " << Fixed(lumex::Mean(level), 2) << "\n";

  // The regression of Hannan and Rissanen has no intercept: centre the series first.
  lumex::TVec centred(level);
  lumex::Sub(centred, lumex::Mean(level));
  lumex::TVec phi(1), theta(1), resid;
  double sigma2 = 0.0;
  lumex::ARMAHannahFit(centred, phi, theta, sigma2);
  std::cout << "Hannan-Rissanen ARMA(1,1):     phi " << Fixed(phi[0], 4) << "  theta "
            << Fixed(theta[0], 4) << "\n";
  double fMin = 0.0;
  const int iterations = lumex::ARMAMLE(level, phi, theta, resid, fMin);
  std::cout << "maximum likelihood ARMA(1,1):  phi " << Fixed(phi[0], 4) << "  theta "
            << Fixed(theta[0], 4) << "  (-2 log L + const = " << Fixed(fMin, 3) << ", "
            << iterations << " simplex iterations)\n"
            << "causal: " << (lumex::CheckARMACoeffs(phi, true) ? "yes" : "no")
            << ", invertible: " << (lumex::CheckARMACoeffs(theta, false) ? "yes" : "no")
            << "; Ljung-Box Q(10) of the whitened residuals " << Fixed(lumex::BoxLjung(resid, 10), 2)
            << " (chi-square(8) p = " << Fixed(lumex::ChiSquareCDFUpper(lumex::BoxLjung(resid, 10), 8.0), 3)
            << ")\n";

  const int h = 10;
  lumex::TVec yhat, se;
  lumex::ARMAForecast(level, phi, theta, h, yhat, se);
  std::cout << "forecasts with 95% intervals (feet):\n";
  std::vector<double> fx, lo, hi;
  for (int i = 0; i < h; ++i) {
    const double year = years[n - 1] + i + 1;
    fx.push_back(year);
    lo.push_back(yhat[i] - 1.96 * se[i]);
    hi.push_back(yhat[i] + 1.96 * se[i]);
    if (i < 3 || i == h - 1) {
      std::cout << "  " << Fixed(year, 0) << ": " << Fixed(yhat[i], 2) << "  [" << Fixed(lo.back(), 2)
                << ", " << Fixed(hi.back(), 2) << "]\n";
    }
  }
  TSvgPlot plot("Lake Huron level with ARMA(1,1) forecasts and 95% intervals", "year", "feet");
  plot.Points(Values(years), Values(level), true, "level");
  plot.Line(fx, Values(yhat), "forecast", false);
  plot.Line(fx, lo, "95% interval", true);
  plot.Line(fx, hi, "", true);
  Save(plot, "arma_lake_huron.svg");
}

void Airline(const std::string& dataDir) {
  const TTable air = ReadCsv(dataDir + "/air_passengers.csv");
  const lumex::TVec passengers = air.Numbers("passengers");
  const int n = passengers.Length();
  lumex::TVec logs(passengers);
  lumex::Ln(logs);
  // An AR part of order 13 carries the yearly cycle of the monthly changes (and the change a
  // year and a month back). Yule-Walker coefficients are always causal, which the forecasts
  // need; the mean change (the growth) is carried forward as a drift.
  lumex::TVec changes;
  lumex::Difference(changes, logs, 1);
  lumex::TVec phi(13), noMA, yhat, se;
  double sigma2 = 0.0;
  lumex::ARYuleWalkerFit(changes, phi, sigma2);
  std::cout << "\nLog airline passengers (" << n << " months): ARIMA(13,1,0) by Yule-Walker, "
            << "phi1 " << Fixed(phi[0], 3) << ", phi12 " << Fixed(phi[11], 3) << ", causal "
            << (lumex::CheckARMACoeffs(phi, true) ? "yes" : "no") << "\n";
  lumex::ARIMAForecast(logs, phi, noMA, 1, 12, yhat, se);
  std::cout << "1961 forecasts (thousands of passengers, 95% interval from the log scale):";
  std::vector<double> fx, f, lo, hi;
  for (int m = 0; m < 12; ++m) {
    fx.push_back(n + m + 1);
    f.push_back(std::exp(yhat[m]));
    lo.push_back(std::exp(yhat[m] - 1.96 * se[m]));
    hi.push_back(std::exp(yhat[m] + 1.96 * se[m]));
    if (m % 3 == 0) std::cout << "\n ";
    std::cout << "  " << std::setw(2) << m + 1 << ": " << std::setw(3) << Fixed(f.back(), 0)
              << " [" << Fixed(lo.back(), 0) << ", " << Fixed(hi.back(), 0) << "]";
  }
  std::cout << "\n";
  TSvgPlot plot("Airline passengers with ARIMA(13,1,0) forecasts and 95% intervals", "month",
                "thousands");
  plot.Points(Index(n), Values(passengers), true, "passengers");
  plot.Line(fx, f, "forecast", false);
  plot.Line(fx, lo, "95% interval", true);
  plot.Line(fx, hi, "", true);
  Save(plot, "arima_airline.svg");
}

void ArmaSection(const std::string& dataDir) {
  Heading("ARMA models: Lake Huron levels and the log airline series");
  LakeHuron(dataDir);
  Airline(dataDir);
}

const TSection kSection(92, "ARMA models", ArmaSection);

}  // namespace

}  // namespace demo
