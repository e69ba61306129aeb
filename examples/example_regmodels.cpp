// The RegModels module: a built-in model shape (exponential decay) fitted in closed form,
// evaluated, and refined by nonlinear least squares with the model's derivatives.
#include <cstdio>

#include "lumex/RegModels.h"

namespace {

// Plasma concentration (mg/l) of a drug at times (h) after an injection (illustrative values).
const lumex::TVec kHours{0.5, 1, 2, 3, 4, 6, 8, 12};
const lumex::TVec kConc{9.2, 8.3, 6.9, 5.6, 4.7, 3.2, 2.3, 1.0};

void LinearisingFit(lumex::TVec& b) {
  std::printf("== Linearising fit: y = B[0] exp(B[1] x) from the line through (x, ln y)\n");
  // [linearising fit]
  lumex::ExpFit(b, kHours, kConc, nullptr);  // no weights
  std::printf("initial concentration %.4f mg/l, elimination rate %.4f per hour\n", b[0], -b[1]);
  // [linearising fit]
}

void Evaluation(const lumex::TVec& b) {
  std::printf("\n== Evaluation: the fitted curve at one time and over a grid\n");
  // [evaluation]
  std::printf("concentration after 10 h: %.4f mg/l\n", lumex::ExpEval(b.Span<double>(), 10.0));
  const lumex::TVec grid{0, 6, 24};
  lumex::TVec curve;  // sized like grid
  lumex::ExpEval(b, grid, curve);
  std::printf("at 0, 6 and 24 h: %.4f, %.4f, %.4f mg/l\n", curve[0], curve[1], curve[2]);
  // [evaluation]
}

void NonlinearRefinement(lumex::TVec& b) {
  std::printf("\n== Least squares on the original scale, started from the linearising fit\n");
  // [refinement]
  const lumex::TRegressFun model = [](const lumex::TVec& p, double x) {
    return lumex::ExpEval(p.Span<double>(), x);
  };
  // ExpDeriv gives the gradient with respect to (B[0], B[1]) from the model value y.
  const lumex::TDeriveProc derivatives = [](const lumex::TRegressFun& f, double x, double y,
                                            const lumex::TVec& p, lumex::TVec& grad) {
    lumex::ExpDeriv(f, x, y, p.Span<double>(), grad, lumex::fpDouble);
  };
  lumex::TOptStopReason stop;
  lumex::NLinRegress(kHours, kConc, model, derivatives, b, lumex::optMarquardt, stop, nullptr,
                     nullptr, false, 100, 1e-10, 0.0);
  std::printf("initial concentration %.4f mg/l, elimination rate %.4f per hour\n", b[0], -b[1]);
  // [refinement]
}

}  // namespace

int main() {
  lumex::TVec b;
  LinearisingFit(b);
  Evaluation(b);
  NonlinearRefinement(b);
}
