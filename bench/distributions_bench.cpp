// Every law of the core in its four vector forms (density or mass, CDF, upper tail, inverse) over
// 10^6 points, one fixed parameter set per call, into a preallocated vector.
// bench/distributions_compare.py times SciPy and R on the same points.
//
// Each benchmark is named "<Function>(<parameters>)" and carries a label that tells the
// comparison how to make its points: "lo hi discrete p1 p2 p3". The points are
// lo + (hi - lo) u_k, floored for a discrete law, with u_k the k-th splitmix64 uniform
// (bench/bench_data.h); an inverse takes p = u_k itself (lo 0, hi 1).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_data.h"
#include "lumex/core/containers.h"
#include "lumex/core/probability.h"

namespace {

constexpr int kLength = 1'000'000;

using lumex::TVec;
using TForm = std::function<void(const TVec&, TVec&)>;

struct TLaw {
  std::string name;                 // e.g. "Student"
  std::vector<double> params;       // one to three
  double lo, hi;                    // range of the density and CDF points
  bool discrete;                    // points are floored
  TForm pdf, cdf, upper, inv;
};

// Calls a vector form with one, two or three parameters.
using TVecFn1 = void (*)(const TVec&, double, TVec&);
using TVecFn2 = void (*)(const TVec&, double, double, TVec&);
using TVecFn3 = void (*)(const TVec&, double, double, double, TVec&);
void Call(TVecFn1 f, const TVec& x, const std::vector<double>& p, TVec& d) { f(x, p[0], d); }
void Call(TVecFn2 f, const TVec& x, const std::vector<double>& p, TVec& d) {
  f(x, p[0], p[1], d);
}
void Call(TVecFn3 f, const TVec& x, const std::vector<double>& p, TVec& d) {
  f(x, p[0], p[1], p[2], d);
}

// Binds the parameters of a law's four vector forms.
template <class Fn>
TLaw Law(const char* name, std::vector<double> params, double lo, double hi, bool discrete,
         Fn pdf, Fn cdf, Fn upper, Fn inv) {
  auto bind = [params](Fn f) -> TForm {
    return [f, params](const TVec& x, TVec& d) { Call(f, x, params, d); };
  };
  return {name, params, lo, hi, discrete, bind(pdf), bind(cdf), bind(upper), bind(inv)};
}

std::vector<TLaw> Laws() {
  using namespace lumex;
  using D1 = TVecFn1;
  using D2 = TVecFn2;
  using D3 = TVecFn3;
  return {
      Law("Normal", {0, 1}, -8, 8, false, D2(NormalPDF), D2(NormalCDF), D2(NormalCDFUpper),
          D2(NormalCDFInv)),
      Law("Student", {7.5}, -10, 10, false, D1(StudentPDF), D1(StudentCDF), D1(StudentCDFUpper),
          D1(StudentCDFInv)),
      Law("Student", {10}, -10, 10, false, D1(StudentPDF), D1(StudentCDF), D1(StudentCDFUpper),
          D1(StudentCDFInv)),
      Law("ChiSquare", {7.5}, 0, 30, false, D1(ChiSquarePDF), D1(ChiSquareCDF),
          D1(ChiSquareCDFUpper), D1(ChiSquareCDFInv)),
      Law("ChiSquare", {4}, 0, 30, false, D1(ChiSquarePDF), D1(ChiSquareCDF),
          D1(ChiSquareCDFUpper), D1(ChiSquareCDFInv)),
      Law("F", {4, 12}, 0, 10, false, D2(FPDF), D2(FCDF), D2(FCDFUpper), D2(FCDFInv)),
      Law("F", {2.5, 7.5}, 0, 10, false, D2(FPDF), D2(FCDF), D2(FCDFUpper), D2(FCDFInv)),
      Law("Gamma", {0.5, 1}, 0, 10, false, D2(GammaPDF), D2(GammaCDF), D2(GammaCDFUpper),
          D2(GammaCDFInv)),
      Law("Gamma", {50, 1}, 20, 90, false, D2(GammaPDF), D2(GammaCDF), D2(GammaCDFUpper),
          D2(GammaCDFInv)),
      Law("Erlang", {3, 2}, 0, 6, false, D2(ErlangPDF), D2(ErlangCDF), D2(ErlangCDFUpper),
          D2(ErlangCDFInv)),
      Law("Exp", {2}, 0, 20, false, D1(ExpPDF), D1(ExpCDF), D1(ExpCDFUpper), D1(ExpCDFInv)),
      Law("Beta", {2.5, 4}, 0, 1, false, D2(BetaPDF), D2(BetaCDF), D2(BetaCDFUpper),
          D2(BetaCDFInv)),
      Law("Beta", {0.5, 30}, 0, 0.2, false, D2(BetaPDF), D2(BetaCDF), D2(BetaCDFUpper),
          D2(BetaCDFInv)),
      Law("Weibull", {2, 1.5}, 0, 8, false, D2(WeibullPDF), D2(WeibullCDF), D2(WeibullCDFUpper),
          D2(WeibullCDFInv)),
      Law("Maxwell", {1}, 0, 6, false, D1(MaxwellPDF), D1(MaxwellCDF), D1(MaxwellCDFUpper),
          D1(MaxwellCDFInv)),
      Law("Rayleigh", {1}, 0, 6, false, D1(RayleighPDF), D1(RayleighCDF), D1(RayleighCDFUpper),
          D1(RayleighCDFInv)),
      Law("LogNormal", {0, 1}, 0, 20, false, D2(LogNormalPDF), D2(LogNormalCDF),
          D2(LogNormalCDFUpper), D2(LogNormalCDFInv)),
      Law("InverseGaussian", {1, 2}, 0, 6, false, D2(InverseGaussianPDF),
          D2(InverseGaussianCDF), D2(InverseGaussianCDFUpper), D2(InverseGaussianCDFInv)),
      Law("Cauchy", {0, 1}, -50, 50, false, D2(CauchyPDF), D2(CauchyCDF), D2(CauchyCDFUpper),
          D2(CauchyCDFInv)),
      Law("Laplace", {0, 1}, -10, 10, false, D2(LaplacePDF), D2(LaplaceCDF),
          D2(LaplaceCDFUpper), D2(LaplaceCDFInv)),
      Law("Logistic", {0, 1}, -15, 15, false, D2(LogisticPDF), D2(LogisticCDF),
          D2(LogisticCDFUpper), D2(LogisticCDFInv)),
      Law("Gumbel", {0, 1}, -4, 15, false, D2(GumbelPDF), D2(GumbelCDF), D2(GumbelCDFUpper),
          D2(GumbelCDFInv)),
      Law("Uniform", {0, 2}, -0.5, 2.5, false, D2(UniformPDF), D2(UniformCDF),
          D2(UniformCDFUpper), D2(UniformCDFInv)),
      Law("Triangular", {0, 2, 0.5}, -0.2, 2.2, false, D3(TriangularPDF), D3(TriangularCDF),
          D3(TriangularCDFUpper), D3(TriangularCDFInv)),
      Law("Binom", {40, 0.3}, 0, 41, true, D2(BinomPDF), D2(BinomCDF), D2(BinomCDFUpper),
          D2(BinomCDFInv)),
      Law("Poisson", {12.5}, 0, 40, true, D1(PoissonPDF), D1(PoissonCDF), D1(PoissonCDFUpper),
          D1(PoissonCDFInv)),
      Law("Geometric", {0.2}, 0, 40, true, D1(GeometricPDF), D1(GeometricCDF),
          D1(GeometricCDFUpper), D1(GeometricCDFInv)),
      Law("NegBinom", {2.5, 0.4}, 0, 40, true, D2(NegBinomPDF), D2(NegBinomCDF),
          D2(NegBinomCDFUpper), D2(NegBinomCDFInv)),
      Law("HypGeometric", {50, 20, 15}, 0, 16, true, D3(HypGeometricPDF), D3(HypGeometricCDF),
          D3(HypGeometricCDFUpper), D3(HypGeometricCDFInv)),
      Law("UniformD", {9}, 0, 11, true, D1(UniformDPDF), D1(UniformDCDF), D1(UniformDCDFUpper),
          D1(UniformDCDFInv)),
  };
}

// The points lo + (hi - lo) u_k, floored for a discrete law.
TVec Points(double lo, double hi, bool discrete) {
  TVec x(kLength);
  for (int k = 0; k < kLength; ++k) {
    const double v = lo + (hi - lo) * lumex::bench::Uniform(static_cast<std::uint64_t>(k));
    x[k] = discrete ? std::floor(v) : v;
  }
  return x;
}

// Exact in the labels, short in the names.
std::string Format(double v, int digits = 17) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*g", digits, v);
  return buf;
}

void Register() {
  static const std::vector<TLaw> laws = Laws();
  for (const TLaw& law : laws) {
    std::string params;
    for (double p : law.params) params += (params.empty() ? "" : ",") + Format(p, 6);
    const struct {
      const char* suffix;
      const TForm* form;
      bool inverse;
    } forms[] = {{"PDF", &law.pdf, false},
                 {"CDF", &law.cdf, false},
                 {"CDFUpper", &law.upper, false},
                 {"CDFInv", &law.inv, true}};
    for (const auto& f : forms) {
      const double lo = f.inverse ? 0.0 : law.lo;
      const double hi = f.inverse ? 1.0 : law.hi;
      const bool discrete = law.discrete && !f.inverse;
      std::string label = Format(lo) + " " + Format(hi) + " " + (discrete ? "1" : "0");
      for (std::size_t i = 0; i < 3; ++i) {
        label += " " + Format(i < law.params.size() ? law.params[i] : 0.0);
      }
      const TForm* form = f.form;
      benchmark::RegisterBenchmark(
          (law.name + f.suffix + "(" + params + ")").c_str(),
          [form, lo, hi, discrete, label](benchmark::State& state) {
            const TVec x = Points(lo, hi, discrete);
            TVec dst(kLength);
            for (auto _ : state) {
              (*form)(x, dst);
              benchmark::ClobberMemory();
            }
            state.SetLabel(label);
            state.SetItemsProcessed(state.iterations() * kLength);
          })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
