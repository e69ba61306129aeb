// The StatProbPlots module: the coordinates of normal, Weibull, exponential and Q-Q probability
// plots, and the reference line whose intercept and slope estimate location and scale.
#include <cmath>
#include <cstdio>

#include "lumex/StatProbPlots.h"

namespace {

// Millions of revolutions to failure of 23 ball bearings (Lieblein and Zelen 1956).
const lumex::TVec kLife{17.88, 28.92, 33.00, 41.52, 42.12, 45.60, 48.48, 51.84,
                        51.96, 54.12, 55.56, 67.80, 68.64, 68.64, 68.88, 84.12,
                        93.12, 98.64, 105.12, 105.84, 127.92, 128.04, 173.40};

void NormalPlot() {
  std::printf("== Normal probability plot of the bearing lifetimes\n");
  // [normal plot]
  lumex::TVec x, z;  // x: the sorted data; z: the normal quantiles of their plotting positions
  double minX, maxX, minZ, maxZ;  // the ends of the line through the quartiles
  lumex::StatNormalPlot(kLife, x, z, minX, maxX, minZ, maxZ, nullptr, false);
  // The line z = (x - mu) / sigma: its slope is 1/sigma, and it crosses z = 0 at mu.
  const double slope = (maxZ - minZ) / (maxX - minX);
  std::printf("first points (%.2f, %.4f) (%.2f, %.4f); line: mu %.2f, sigma %.2f\n", x[0], z[0],
              x[1], z[1], minX - minZ / slope, 1.0 / slope);
  // [normal plot]
}

void WeibullPlot() {
  std::printf("\n== Weibull plot: ln(-ln(1 - p)) against the data on a log axis\n");
  // [weibull plot]
  lumex::TVec x, y;
  double minX, maxX, minY, maxY;
  lumex::StatWeibullPlot(kLife, x, y, minX, maxX, minY, maxY, false);
  // A straight line on the log axis: its slope estimates the Weibull shape, and its height 0
  // is reached at the scale.
  const double shape = (maxY - minY) / (std::log(maxX) - std::log(minX));
  const double scale = minX * std::exp(-minY / shape);
  std::printf("line: shape %.3f, scale %.2f\n", shape, scale);
  // [weibull plot]
}

void ExponentialPlot() {
  std::printf("\n== Exponential plot: -ln(1 - p) against the data\n");
  // [exponential plot]
  lumex::TVec x, y;
  double minX, maxX, minY, maxY;
  lumex::StatExpPlot(kLife, x, y, minX, maxX, minY, maxY, false);
  std::printf("line slope %.5f (1/scale); the points bend away from the line: not exponential\n",
              (maxY - minY) / (maxX - minX));
  // [exponential plot]
}

void QQPlot() {
  std::printf("\n== Quantile-quantile plot of two samples\n");
  // [qq plot]
  // Dried plant weight (g) under the two treatments of the PlantGrowth data.
  const lumex::TVec trt1{4.81, 4.17, 4.41, 3.59, 5.87, 3.83, 6.03, 4.89, 4.32, 4.69};
  const lumex::TVec trt2{6.31, 5.12, 5.54, 5.50, 5.37, 5.29, 4.92, 6.15, 5.80, 5.26};
  lumex::TVec x, y;
  double minX, maxX, minY, maxY;
  lumex::StatQQPlot(trt1, trt2, x, y, minX, maxX, minY, maxY, false, false);
  std::printf("line from (%.3f, %.3f) to (%.3f, %.3f), slope %.3f: treatment 2 is less spread\n",
              minX, minY, maxX, maxY, (maxY - minY) / (maxX - minX));
  // [qq plot]
}

}  // namespace

int main() {
  NormalPlot();
  WeibullPlot();
  ExponentialPlot();
  QQPlot();
}
