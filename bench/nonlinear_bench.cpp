// Nonlinear least squares: NLinRegress with Marquardt on the higher-difficulty NIST StRD
// problems, from both certified starting points. bench/nonlinear_compare.py runs
// scipy.optimize.least_squares(method="lm") on the same problems from the same starts.
//
// Both sides get the model's analytic Jacobian and the same limits: relative tolerance 1e-8
// (Marquardt's step test here, with no gradient test; MINPACK's xtol = ftol = gtol there) and at
// most 20000 iterations (model evaluations there). A second set runs ours with the numeric
// derivatives (NumericDerive, six model calls per parameter and observation) against SciPy's
// two-point differences.
//
// The data are read from the NIST StRD folder: $LUMEX_NIST_DIR, else ../shared/data/nist from
// the repository root. The label of each run gives the iterations and the correct digits of the
// parameters against the certified values.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lumex/Regress.h"

namespace {

using lumex::TVec;

struct TProblem {
  const char* name;
  lumex::TRegressFun model;
  lumex::TDeriveProc derive;
};

// Parameter k, read without the bounds check of operator[] (the optimiser passes double
// vectors of the right length): the models run millions of times.
double P(const TVec& b, int k) { return b.Data<double>()[k]; }
double* G(TVec& g) { return g.Data<double>(); }

// The model and its parameter derivatives. g arrives sized to the parameter count.
const std::vector<TProblem>& Problems() {
  static const std::vector<TProblem> problems = {
      {"MGH09",
       [](const TVec& b, double x) {
         return P(b, 0) * (x * x + x * P(b, 1)) / (x * x + x * P(b, 2) + P(b, 3));
       },
       [](const lumex::TRegressFun&, double x, double, const TVec& b, TVec& g) {
         const double n = x * x + x * P(b, 1), d = x * x + x * P(b, 2) + P(b, 3);
         G(g)[0] = n / d;
         G(g)[1] = P(b, 0) * x / d;
         G(g)[2] = -P(b, 0) * n * x / (d * d);
         G(g)[3] = -P(b, 0) * n / (d * d);
       }},
      {"Thurber",
       [](const TVec& b, double x) {
         return (P(b, 0) + x * (P(b, 1) + x * (P(b, 2) + x * P(b, 3)))) /
                (1 + x * (P(b, 4) + x * (P(b, 5) + x * P(b, 6))));
       },
       [](const lumex::TRegressFun&, double x, double y, const TVec& b, TVec& g) {
         const double q = 1 + x * (P(b, 4) + x * (P(b, 5) + x * P(b, 6)));
         double xk = 1.0;
         for (int k = 0; k < 4; ++k, xk *= x) G(g)[k] = xk / q;
         xk = x;
         for (int k = 4; k < 7; ++k, xk *= x) G(g)[k] = -y * xk / q;
       }},
      {"BoxBOD", [](const TVec& b, double x) { return P(b, 0) * (1 - std::exp(-P(b, 1) * x)); },
       [](const lumex::TRegressFun&, double x, double, const TVec& b, TVec& g) {
         const double e = std::exp(-P(b, 1) * x);
         G(g)[0] = 1 - e;
         G(g)[1] = P(b, 0) * x * e;
       }},
      {"Rat42",
       [](const TVec& b, double x) { return P(b, 0) / (1 + std::exp(P(b, 1) - P(b, 2) * x)); },
       [](const lumex::TRegressFun&, double x, double, const TVec& b, TVec& g) {
         const double e = std::exp(P(b, 1) - P(b, 2) * x), d = 1 + e;
         G(g)[0] = 1 / d;
         G(g)[1] = -P(b, 0) * e / (d * d);
         G(g)[2] = P(b, 0) * x * e / (d * d);
       }},
      {"MGH10", [](const TVec& b, double x) { return P(b, 0) * std::exp(P(b, 1) / (x + P(b, 2))); },
       [](const lumex::TRegressFun&, double x, double, const TVec& b, TVec& g) {
         const double u = x + P(b, 2), e = std::exp(P(b, 1) / u);
         G(g)[0] = e;
         G(g)[1] = P(b, 0) * e / u;
         G(g)[2] = -P(b, 0) * e * P(b, 1) / (u * u);
       }},
      {"Eckerle4",
       [](const TVec& b, double x) {
         const double u = (x - P(b, 2)) / P(b, 1);
         return P(b, 0) / P(b, 1) * std::exp(-0.5 * u * u);
       },
       [](const lumex::TRegressFun&, double x, double, const TVec& b, TVec& g) {
         const double u = (x - P(b, 2)) / P(b, 1), e = std::exp(-0.5 * u * u);
         G(g)[0] = e / P(b, 1);
         G(g)[1] = P(b, 0) * e / (P(b, 1) * P(b, 1)) * (u * u - 1);
         G(g)[2] = P(b, 0) / P(b, 1) * e * u / P(b, 1);
       }},
      {"Rat43",
       [](const TVec& b, double x) {
         return P(b, 0) / std::pow(1 + std::exp(P(b, 1) - P(b, 2) * x), 1 / P(b, 3));
       },
       [](const lumex::TRegressFun&, double x, double y, const TVec& b, TVec& g) {
         const double e = std::exp(P(b, 1) - P(b, 2) * x), d = 1 + e;
         G(g)[0] = y / P(b, 0);
         G(g)[1] = -y / P(b, 3) * e / d;
         G(g)[2] = y / P(b, 3) * x * e / d;
         G(g)[3] = y * std::log(d) / (P(b, 3) * P(b, 3));
       }},
      {"Bennett5",
       [](const TVec& b, double x) { return P(b, 0) * std::pow(P(b, 1) + x, -1 / P(b, 2)); },
       [](const lumex::TRegressFun&, double x, double y, const TVec& b, TVec& g) {
         const double u = P(b, 1) + x;
         G(g)[0] = y / P(b, 0);
         G(g)[1] = -y / (P(b, 2) * u);
         G(g)[2] = y * std::log(u) / (P(b, 2) * P(b, 2));
       }},
  };
  return problems;
}

struct TData {
  TVec x, y;
  std::vector<double> start1, start2, certified;
};

// $LUMEX_NIST_DIR (nonlinear_compare.py sets it), else relative to the repository root, where
// make bench runs.
std::string NistDir() {
  if (const char* env = std::getenv("LUMEX_NIST_DIR")) return env;
  return "../shared/data/nist";
}

// The parameter lines "b1 = start1 start2 certified sd" and the data lines "y x" of a file.
TData Read(const std::string& name) {
  std::ifstream in(NistDir() + "/" + name + ".dat");
  TData t;
  std::vector<double> xs, ys;
  std::string line;
  bool data = false;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string first, eq;
    ls >> first;
    double s1, s2, c, y, x;
    if (first.size() >= 2 && first[0] == 'b' &&
        std::isdigit(static_cast<unsigned char>(first[1])) && (ls >> eq >> s1 >> s2 >> c)) {
      t.start1.push_back(s1);
      t.start2.push_back(s2);
      t.certified.push_back(c);
    } else if (first == "Data:" && line.find("Response") == std::string::npos) {
      data = true;
    } else if (data) {
      std::istringstream ds(line);
      if (ds >> y >> x) {
        ys.push_back(y);
        xs.push_back(x);
      }
    }
  }
  t.x = TVec(xs);
  t.y = TVec(ys);
  return t;
}

// Arguments: problem index, start (1 or 2), analytic derivatives (1) or numeric (0).
void BM_NLinRegressMarquardt(benchmark::State& state) {
  const TProblem& problem = Problems()[static_cast<std::size_t>(state.range(0))];
  const TData d = Read(problem.name);
  if (d.x.Length() == 0) {
    state.SkipWithError("NIST StRD folder not found (set LUMEX_NIST_DIR)");
    return;
  }
  const lumex::TDeriveProc derive = state.range(2) != 0 ? problem.derive : lumex::TDeriveProc();
  const std::vector<double>& start = state.range(1) == 1 ? d.start1 : d.start2;
  TVec b;
  int iterations = 0;
  lumex::TOptStopReason reason = lumex::osrNone;
  for (auto _ : state) {
    b = TVec(start);
    iterations = lumex::NLinRegress(d.x, d.y, problem.model, derive, b, lumex::optMarquardt, reason,
                                    nullptr, nullptr, false, 20000, 1e-8, 0.0);
    benchmark::DoNotOptimize(b);
  }
  double digits = 15.0;
  for (int k = 0; k < b.Length(); ++k) {
    const double c = d.certified[static_cast<std::size_t>(k)];
    const double rel = std::fabs(b[k] - c) / std::fabs(c);
    digits = std::min(digits, rel > 0 ? -std::log10(rel) : 15.0);
  }
  char label[96];
  std::snprintf(label, sizeof label, "%s start %d: %d iterations, %.1f digits, stop %d",
                problem.name, static_cast<int>(state.range(1)), iterations, digits,
                static_cast<int>(reason));
  state.SetLabel(label);
}
BENCHMARK(BM_NLinRegressMarquardt)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {1, 2}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
