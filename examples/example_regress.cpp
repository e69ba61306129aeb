// The Regress module: multiple linear, nonlinear and logistic regression, and a one-way
// analysis of variance.
#include <cmath>
#include <cstdio>
#include <string>

#include "example_data.h"
#include "lumex/Regress.h"

namespace {

void MultipleLinear(const std::string& dataDir) {
  std::printf("== Multiple linear regression: fuel consumption of 32 cars on weight and power\n");
  // [multiple linear]
  const std::string cars = dataDir + "/mtcars.csv";
  const lumex::TVec mpg = example::ReadColumn(cars, "mpg");
  lumex::TMtx A(mpg.Length(), 2);  // one column per regressor; the constant is added below
  lumex::SetCol(A, example::ReadColumn(cars, "wt"), 0);   // weight, 1000 lb
  lumex::SetCol(A, example::ReadColumn(cars, "hp"), 1);   // gross horsepower
  lumex::TVec b, fitted, residuals, se;
  lumex::TMtx v;  // unscaled covariance of the coefficients
  const bool constant = true;
  lumex::MulLinRegress(mpg, A, b, constant, &fitted, &v, lumex::regSolveLQR);
  lumex::TRegStats stats;  // R^2, F-test, residual standard error
  lumex::RegressTest(mpg, fitted, v, stats, residuals, se, constant, nullptr);
  std::printf("mpg = %.5f %+.5f wt %+.5f hp   (R: lm(mpg ~ wt + hp, mtcars))\n", b[0], b[1], b[2]);
  std::printf("standard errors %.5f, %.5f, %.5f\n", se[0], se[1], se[2]);
  std::printf("R^2 = %.4f, residual standard error %.4f on %d df, F = %.2f, p = %.3g\n", stats.R2,
              stats.StdError, stats.dfE, stats.FStats.F, stats.FStats.Signif);
  // [multiple linear]
}

void Nonlinear() {
  std::printf("\n== Nonlinear least squares: Michaelis-Menten enzyme kinetics\n");
  // [nonlinear]
  // Substrate concentration (ppm) and reaction velocity of treated cells (puromycin data).
  const lumex::TVec conc{0.02, 0.02, 0.06, 0.06, 0.11, 0.11, 0.22, 0.22, 0.56, 0.56, 1.10, 1.10};
  const lumex::TVec rate{76, 47, 97, 107, 123, 139, 159, 152, 191, 201, 207, 200};
  // The model v = Vm c / (K + c) and its derivatives with respect to (Vm, K).
  const lumex::TRegressFun model = [](const lumex::TVec& p, double c) {
    return p[0] * c / (p[1] + c);
  };
  const lumex::TDeriveProc derivatives = [](const lumex::TRegressFun&, double c, double value,
                                            const lumex::TVec& p, lumex::TVec& grad) {
    grad[0] = c / (p[1] + c);
    grad[1] = -value / (p[1] + c);
  };
  lumex::TVec p{200.0, 0.1};  // starting values, refined in place
  lumex::TOptStopReason stop;
  lumex::NLinRegress(conc, rate, model, derivatives, p, lumex::optMarquardt, stop, nullptr,
                     nullptr, false, 200, 1e-10, 0.0);
  std::printf("Vm = %.5g, K = %.5g (R's nls: 212.68, 0.06412), %s\n", p[0], p[1],
              lumex::OptStopReasonText(stop).c_str());
  // [nonlinear]
}

void Logistic() {
  std::printf("\n== Logistic regression: beetle mortality against the dose of carbon disulphide\n");
  // [logistic]
  // Bliss (1935): log10 dose, beetles exposed and beetles killed at eight doses.
  const lumex::TVec dose{1.6907, 1.7242, 1.7552, 1.7842, 1.8113, 1.8369, 1.8610, 1.8839};
  const lumex::TVec exposed{59, 60, 62, 56, 63, 59, 62, 60};
  const lumex::TVec killed{6, 13, 18, 28, 52, 53, 61, 60};
  lumex::TMtx A(dose.Length(), 2);  // the design: a column of ones for the intercept, the dose
  for (int i = 0; i < dose.Length(); ++i) {
    A(i, 0) = 1.0;
    A(i, 1) = dose[i];
  }
  lumex::TVec b, expected, se;
  lumex::LogisticRegress(killed, exposed, b, &A, 0.0, &expected, &se, 1e-10);
  std::printf("logit P(killed) = %.4f %+.4f dose, standard errors %.4f and %.4f\n", b[0], b[1],
              se[0], se[1]);
  std::printf("dose killing half the beetles (LD50): %.4f\n", -b[0] / b[1]);
  // [logistic]
}

void OneWayAnova() {
  std::printf("\n== One-way analysis of variance: plant weight under three conditions\n");
  // [anova]
  const lumex::TVec weight{4.17, 5.58, 5.18, 6.11, 4.50, 4.61, 5.17, 4.53, 5.33, 5.14,
                           4.81, 4.17, 4.41, 3.59, 5.87, 3.83, 6.03, 4.89, 4.32, 4.69,
                           6.31, 5.12, 5.54, 5.50, 5.37, 5.29, 4.92, 6.15, 5.80, 5.26};
  lumex::TVecInt group(30);  // 0 control, 1 and 2 the treatments, ten plants each
  for (int i = 0; i < 30; ++i) group[i] = i / 10;
  double p;
  const lumex::TANOVA1Result r = lumex::ANOVA1(weight, group, p, 0.05);
  std::printf("F(%g, %g) = %.4f, p = %.4f\n", r.Deg1, r.Deg2, r.FDist, p);
  // [anova]
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dataDir = example::DataDir(argc, argv);
  MultipleLinear(dataDir);
  Nonlinear();
  Logistic();
  OneWayAnova();
}
