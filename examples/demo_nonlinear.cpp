// Demo section: the Michaelis-Menten model v = Vm c / (K + c) fitted to the puromycin data of
// treated cells by Levenberg-Marquardt, started from the linearising rational fit, with the
// standard errors of the estimates from the Jacobian at the optimum.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/RegModels.h"
#include "lumex/Regress.h"

namespace demo {

namespace {

void NonlinearSection(const std::string& dataDir) {
  Heading("Nonlinear least squares: enzyme velocity against substrate concentration "
          "(puromycin, treated cells; Bates and Watts 1988)");
  const TTable table = ReadCsv(dataDir + "/puromycin.csv");
  const lumex::TVec conc = table.Numbers("conc"), rate = table.Numbers("rate");
  const std::vector<std::string> state = table.Texts("state");
  std::vector<double> c, v;
  for (int i = 0; i < conc.Length(); ++i) {
    if (state[static_cast<std::size_t>(i)] == "treated") {
      c.push_back(conc[i]);
      v.push_back(rate[i]);
    }
  }
  const lumex::TVec x(c), y(v);
  const int n = x.Length(), p = 2;

  // Vm c / (K + c) = (Vm / K) c / (1 + c / K): the rational model of degrees 1 and 1 without a
  // constant, whose linearisation gives the starting values.
  lumex::TVec start;
  lumex::FracFit(start, x, y, 1, 1, false, nullptr);
  lumex::TVec b{start[1] / start[2], 1.0 / start[2]};
  std::cout << "start from the linearised fit: Vm = " << Fixed(b[0], 2) << ", K = "
            << Fixed(b[1], 5) << "\n";

  const lumex::TRegressFun model = [](const lumex::TVec& B, double s) {
    return B[0] * s / (B[1] + s);
  };
  const lumex::TDeriveProc derive = [](const lumex::TRegressFun&, double s, double value,
                                       const lumex::TVec& B, lumex::TVec& g) {
    g[0] = s / (B[1] + s);
    g[1] = -value / (B[1] + s);
  };
  lumex::TOptStopReason reason;
  lumex::TVec fitted;
  const int iterations = lumex::NLinRegress(x, y, model, derive, b, lumex::optMarquardt, reason,
                                            nullptr, &fitted, false, 200, 1e-10, 0.0);

  // Standard errors: V = (J'J)^-1 from the Jacobian J at the optimum, times s^2 = SSE / (n - p).
  lumex::TMtx jac(n, p), cov;
  lumex::TVec g(p), coef, residuals, se;
  for (int i = 0; i < n; ++i) {
    derive(model, x[i], fitted[i], b, g);
    for (int k = 0; k < p; ++k) jac(i, k) = g[k];
  }
  lumex::MulLinRegress(y, jac, coef, false, nullptr, &cov, lumex::regSolveLQR);
  lumex::TRegStats stats;
  lumex::RegressTest(y, fitted, cov, stats, residuals, se, false, nullptr);
  std::cout << "Marquardt: " << iterations << " iterations, stop reason "
            << lumex::OptStopReasonText(reason) << "\n";
  std::cout << std::left << std::setw(6) << "term" << std::right << std::setw(14) << "estimate"
            << std::setw(14) << "std. error" << std::setw(10) << "t\n";
  const char* names[2] = {"Vm", "K"};
  for (int k = 0; k < p; ++k) {
    std::cout << std::left << std::setw(6) << names[k] << std::right << std::setw(14)
              << std::setprecision(7) << b[k] << std::setw(14) << se[k] << std::setw(10)
              << Fixed(b[k] / se[k], 2) << "\n";
  }
  std::cout << "residual standard deviation " << Fixed(stats.StdError, 3) << " on " << stats.dfE
            << " df (R's nls: Vm 212.7 (6.947), K 0.06412 (0.008281), sigma 10.93 on 10 df)\n";
}

}  // namespace

const TSection kSection(73, "Nonlinear regression", NonlinearSection);

}  // namespace demo
