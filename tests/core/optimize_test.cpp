// Optimisers: standard test problems (Rosenbrock, NIST StRD nonlinear regression), the callback
// contract, box constraints, stop reasons, single precision, exceptions and allocation.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumex/core/cache.h"
#include "lumex/core/optimize.h"
#include "lumex_test.h"

// Counting allocations: the allocation entry points of the C library are interposed, so that
// container buffers (aligned_alloc), Eigen and operator new are all seen. Sanitizers interpose
// them themselves, so the count is only taken in plain glibc builds.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#if defined(__has_feature)
#if !__has_feature(address_sanitizer) && !__has_feature(thread_sanitizer)
#define LUMEX_COUNT_ALLOCATIONS 1
#endif
#else
#define LUMEX_COUNT_ALLOCATIONS 1
#endif
#endif

#ifdef LUMEX_COUNT_ALLOCATIONS
namespace {
unsigned long gAllocations = 0;
}
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void* malloc(std::size_t n) { return ++gAllocations, __libc_malloc(n); }
void* calloc(std::size_t n, std::size_t size) { return ++gAllocations, __libc_calloc(n, size); }
void* realloc(void* p, std::size_t n) { return ++gAllocations, __libc_realloc(p, n); }
void* aligned_alloc(std::size_t align, std::size_t n) {
  return ++gAllocations, __libc_memalign(align, n);
}
int posix_memalign(void** p, std::size_t align, std::size_t n) {
  ++gAllocations;
  *p = __libc_memalign(align, n);
  return *p == nullptr ? 12 /* ENOMEM */ : 0;
}
}
#endif

namespace lumex {
namespace {

using test::Near;

// ---- Problems ---------------------------------------------------------------------------------

// Rosenbrock as a sum of squares over pairs (x_i, x_{i+1}): r = 10 (x_{i+1} - x_i^2), 1 - x_i.
// Chained: i = 0, 1, ..., n-2 (the generalised form); extended: i = 0, 2, 4, ... (the form of
// More, Garbow and Hillstrom, problem 21, five uncoupled valleys in 10 dimensions).
struct TRosenbrock {
  bool chained = false;
  int Stride() const { return chained ? 1 : 2; }
  double F(const TVec& p) const {
    double s = 0.0;
    for (int i = 0; i + 1 < p.Length(); i += Stride()) {
      const double a = p.Value(i), b = p.Value(i + 1);
      s += 100.0 * (b - a * a) * (b - a * a) + (1.0 - a) * (1.0 - a);
    }
    return s;
  }
  void Gradient(const TVec& p, TVec& g) const {
    g.SetZero();
    for (int i = 0; i + 1 < p.Length(); i += Stride()) {
      const double a = p.Value(i), b = p.Value(i + 1);
      g.SetValue(i, g.Value(i) - 400.0 * a * (b - a * a) - 2.0 * (1.0 - a));
      g.SetValue(i + 1, g.Value(i + 1) + 200.0 * (b - a * a));
    }
  }
  // The Gauss-Newton pair: G = J^T r (half the gradient), M = J^T J. Written through Value and
  // SetValue, since the single-precision runs hand over float objects.
  void Curvature(const TVec& p, TVec& g, TMtx& m) const {
    const int n = p.Length();
    auto add = [&m, n](int i, int j, double v) { m.SetValue(i * n + j, m.Value(i * n + j) + v); };
    for (int i = 0; i + 1 < n; i += Stride()) {
      const double a = p.Value(i), b = p.Value(i + 1);
      const double r1 = 10.0 * (b - a * a), r2 = 1.0 - a;
      const double ja = -20.0 * a, jb = 10.0;  // dr1/dx_i, dr1/dx_i+1; dr2/dx_i = -1
      g.SetValue(i, g.Value(i) + r1 * ja - r2);
      g.SetValue(i + 1, g.Value(i + 1) + r1 * jb);
      add(i, i, ja * ja + 1.0);
      add(i, i + 1, ja * jb);
      add(i + 1, i, ja * jb);
      add(i + 1, i + 1, jb * jb);
    }
  }
  std::vector<double> Start(int n) const {
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) x[i] = i % 2 == 0 ? -1.2 : 1.0;
    return x;
  }
};

// The three callbacks of one problem.
struct TProblem {
  TRealFunction fun;
  TGradientFunction grad;
  TCurvatureFunction curv;
};

TProblem MakeProblem(const TRosenbrock& r) {
  return {[r](const TVec& p, const TVec*, const TObjConsts&) { return r.F(p); },
          [r](const TRealFunction&, const TVec& p, const TVec*, const TObjConsts&, TVec& g) {
            r.Gradient(p, g);
          },
          [r](const TRealFunction&, const TVec& p, const TVec*, const TObjConsts&, TVec& g,
              TMtx& m) { r.Curvature(p, g, m); }};
}

// ---- Running any optimiser the same way --------------------------------------------------------

enum class TAlgo {
  simplex, simplexBox, marquardt, bfgs, bfgsEco, dfp, dfpEco, cgFR, cgFREco, cgPR, cgPREco
};

const TAlgo kAllAlgos[] = {TAlgo::simplex, TAlgo::simplexBox, TAlgo::marquardt, TAlgo::bfgs,
                           TAlgo::bfgsEco, TAlgo::dfp,        TAlgo::dfpEco,    TAlgo::cgFR,
                           TAlgo::cgFREco, TAlgo::cgPR,       TAlgo::cgPREco};
const TAlgo kDerivativeAlgos[] = {TAlgo::marquardt, TAlgo::bfgs, TAlgo::dfp, TAlgo::cgFR,
                                  TAlgo::cgPR};

std::string AlgoName(const ::testing::TestParamInfo<TAlgo>& info) {
  static const char* names[] = {"Simplex", "SimplexBox", "Marquardt",  "BFGS",   "BFGSEco", "DFP",
                                "DFPEco",  "ConjGradFR", "ConjGradFREco", "ConjGradPR",
                                "ConjGradPREco"};
  return names[static_cast<int>(info.param)];
}

struct TRun {
  int iterations = -1;
  double fmin = NaN;
  TOptStopReason reason = osrNone;
};

TRun Optimize(TAlgo algo, const TProblem& p, std::span<double> x, int maxIter, double tol,
         TMtxFloatPrecision precision = fpDouble, const TVec* consts = nullptr,
         const TObjConsts& objs = {}, std::vector<std::string>* verbose = nullptr) {
  TRun r;
  const bool accurate = algo == TAlgo::bfgs || algo == TAlgo::dfp || algo == TAlgo::cgFR ||
                        algo == TAlgo::cgPR;
  switch (algo) {
    case TAlgo::simplex:
      r.iterations = Simplex(p.fun, x, consts, objs, r.fmin, r.reason, precision, maxIter, tol,
                             verbose);
      break;
    case TAlgo::simplexBox: {
      const std::vector<double> lo(x.size(), -10.0), hi(x.size(), 10.0);
      r.iterations = Simplex(p.fun, x, lo, hi, consts, objs, r.fmin, r.reason, precision, maxIter,
                             tol, verbose);
      break;
    }
    case TAlgo::marquardt:
      r.iterations = Marquardt(p.fun, p.curv, x, consts, objs, r.fmin, nullptr, r.reason,
                               precision, maxIter, tol, 0.0, 0.01, verbose);
      break;
    case TAlgo::bfgs:
    case TAlgo::bfgsEco:
    case TAlgo::dfp:
    case TAlgo::dfpEco:
      r.iterations = BFGS(p.fun, p.grad, x, consts, objs, r.fmin, nullptr, r.reason, precision,
                          algo == TAlgo::dfp || algo == TAlgo::dfpEco, accurate, maxIter, tol,
                          0.0, verbose);
      break;
    default:
      r.iterations = ConjGrad(p.fun, p.grad, x, consts, objs, r.fmin, r.reason, precision,
                              algo == TAlgo::cgFR || algo == TAlgo::cgFREco, accurate, maxIter,
                              tol, 0.0, verbose);
      break;
  }
  return r;
}

bool Solved(TOptStopReason r) { return r == osrConverged || r == osrGradTol; }

double MaxDistanceFromOnes(std::span<const double> x) {
  double e = 0.0;
  for (double v : x) e = std::max(e, std::fabs(v - 1.0));
  return e;
}

// ---- Rosenbrock -------------------------------------------------------------------------------

struct TRosenCase {
  TAlgo algo;
  int n;
  bool chained;
};

class RosenbrockTest : public ::testing::TestWithParam<TRosenCase> {};

TEST_P(RosenbrockTest, ReachesTheMinimumFromTheStandardStart) {
  const auto [algo, n, chained] = GetParam();
  const TRosenbrock r{chained};
  std::vector<double> x = r.Start(n);
  const TRun run = Optimize(algo, MakeProblem(r), x, 100000, 1e-10);
  EXPECT_TRUE(Solved(run.reason)) << OptStopReasonText(run.reason);
  EXPECT_LE(MaxDistanceFromOnes(x), 1e-6);
  EXPECT_LE(run.fmin, 1e-12);
}

std::vector<TRosenCase> RosenCases() {
  std::vector<TRosenCase> cases;
  for (TAlgo a : kAllAlgos) {
    cases.push_back({a, 2, false});
    cases.push_back({a, 10, false});
    // From the alternating start Nelder-Mead settles in the other local minimum of the chained
    // form, near (-1, 1, ..., 1) with f = 3.9866; the gradient methods' paths lead to the
    // global one.
    if (a != TAlgo::simplex && a != TAlgo::simplexBox) cases.push_back({a, 10, true});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Optimize, RosenbrockTest, ::testing::ValuesIn(RosenCases()),
                         [](const ::testing::TestParamInfo<TRosenCase>& info) {
                           return AlgoName({info.param.algo, info.index}) + "_" +
                                  std::to_string(info.param.n) +
                                  (info.param.chained ? "D_chained" : "D");
                         });

// ---- The callback contract, for every optimiser ------------------------------------------------

class ContractTest : public ::testing::TestWithParam<TAlgo> {};

TEST_P(ContractTest, CallbacksSeeTheirArgumentsAndTheLatestPoint) {
  const TRosenbrock r;
  TVec consts{42.0};
  TVec marker{7.0};
  const TObjConsts objs{&marker, nullptr};
  std::vector<double> last;  // point of the latest objective evaluation
  int derivativeCalls = 0, mismatches = 0, passThroughErrors = 0;
  auto checkArgs = [&](const TVec* c, const TObjConsts& o) {
    if (c != &consts || &o != &objs || o[0] != &marker) ++passThroughErrors;
  };
  auto atLast = [&](const TVec& p) {
    ++derivativeCalls;
    for (int j = 0; j < p.Length(); ++j) {
      if (p.Value(j) != last[j]) {
        ++mismatches;
        return;
      }
    }
  };
  TProblem p;
  p.fun = [&](const TVec& pars, const TVec* c, const TObjConsts& o) {
    checkArgs(c, o);
    last.assign(pars.Span<double>().begin(), pars.Span<double>().end());
    return r.F(pars);
  };
  p.grad = [&](const TRealFunction& f, const TVec& pars, const TVec* c, const TObjConsts& o,
               TVec& g) {
    checkArgs(c, o);
    atLast(pars);
    NumericGradient(f, pars, c, o, g);  // evaluates elsewhere: the optimiser must cope
  };
  p.curv = [&](const TRealFunction&, const TVec& pars, const TVec* c, const TObjConsts& o,
               TVec& g, TMtx& m) {
    checkArgs(c, o);
    atLast(pars);
    r.Curvature(pars, g, m);
  };
  std::vector<double> x = r.Start(2);
  std::vector<std::string> verbose;
  const TRun run = Optimize(GetParam(), p, x, 40, 1e-10, fpDouble, &consts, objs, &verbose);
  EXPECT_EQ(passThroughErrors, 0);
  EXPECT_EQ(mismatches, 0) << "of " << derivativeCalls << " derivative calls";
  EXPECT_EQ(x, last) << "the last evaluation must be at the returned point";
  EXPECT_EQ(run.fmin, r.F(TVec(x)));
  EXPECT_LE(run.iterations, 40);
  EXPECT_GE(static_cast<int>(verbose.size()), run.iterations + 1);
  EXPECT_NE(verbose.back().find(OptStopReasonText(run.reason)), std::string::npos);
  EXPECT_EQ(consts[0], 42.0);
}

TEST_P(ContractTest, IterationLimitEndsTheRunAtTheBestPointSoFar) {
  const TRosenbrock r;
  const std::vector<double> start = r.Start(10);
  std::vector<double> x = start;
  const TRun run = Optimize(GetParam(), MakeProblem(r), x, 3, 1e-10);
  EXPECT_EQ(run.reason, osrMaxIter);
  EXPECT_EQ(run.iterations, 3);
  EXPECT_LT(run.fmin, r.F(TVec(start)));
  EXPECT_EQ(run.fmin, r.F(TVec(x)));
}

TEST_P(ContractTest, ExceptionFromACallbackPassesThroughAndReleasesEverything) {
  struct TStop : std::runtime_error {
    TStop() : std::runtime_error("stop") {}
  };
  const TRosenbrock r;
  for (const bool inDerivative : {false, true}) {
    if (inDerivative && (GetParam() == TAlgo::simplex || GetParam() == TAlgo::simplexBox)) {
      continue;
    }
    TProblem p = MakeProblem(r);
    int calls = 0;
    p.fun = [&](const TVec& pars, const TVec*, const TObjConsts&) {
      if (!inDerivative && ++calls == 12) throw TStop();
      return r.F(pars);
    };
    auto maybeThrow = [&] {
      if (inDerivative && ++calls == 4) throw TStop();
    };
    const TGradientFunction grad = p.grad;
    const TCurvatureFunction curv = p.curv;
    p.grad = [&](const TRealFunction& f, const TVec& v, const TVec* c, const TObjConsts& o,
                 TVec& g) {
      maybeThrow();
      grad(f, v, c, o, g);
    };
    p.curv = [&](const TRealFunction& f, const TVec& v, const TVec* c, const TObjConsts& o,
                 TVec& g, TMtx& m) {
      maybeThrow();
      curv(f, v, c, o, g, m);
    };
    std::vector<double> x = r.Start(4);
    Optimize(GetParam(), MakeProblem(r), x, 50, 1e-10);  // fills the cache
    const int idle = CacheIdleCount();
    x = r.Start(4);
    EXPECT_THROW(Optimize(GetParam(), p, x, 50, 1e-10), TStop);
    EXPECT_EQ(x, r.Start(4)) << "the parameters keep their starting values";
    EXPECT_EQ(CacheIdleCount(), idle) << "every temporary is given back";
  }
}

TEST_P(ContractTest, SinglePrecisionHandsFloatParametersAndReturnsAFloatPoint) {
  const TRosenbrock r;
  bool allSingle = true;
  TProblem p = MakeProblem(r);
  const TRealFunction f = p.fun;
  p.fun = [&](const TVec& pars, const TVec* c, const TObjConsts& o) {
    allSingle = allSingle && pars.FloatPrecision() == fpSingle;
    return f(pars, c, o);
  };
  std::vector<double> x = r.Start(2);
  const TRun run = Optimize(GetParam(), p, x, 100000, 0.0, fpSingle);
  EXPECT_TRUE(allSingle);
  for (double v : x) EXPECT_EQ(v, static_cast<double>(static_cast<float>(v)));
  EXPECT_LE(MaxDistanceFromOnes(x), 2e-3) << OptStopReasonText(run.reason);
  EXPECT_NE(run.reason, osrMaxIter);
}

#ifdef LUMEX_COUNT_ALLOCATIONS
TEST_P(ContractTest, IterationsAllocateNothing) {
  const TRosenbrock r;
  const TProblem p = MakeProblem(r);
  auto allocationsFor = [&](int maxIter) {
    std::vector<double> x = r.Start(10);
    Optimize(GetParam(), p, x, maxIter, 1e-10);  // the cache holds every temporary afterwards
    x = r.Start(10);
    const unsigned long before = gAllocations;
    const TRun run = Optimize(GetParam(), p, x, maxIter, 1e-10);
    EXPECT_EQ(run.reason, osrMaxIter);
    return gAllocations - before;
  };
  EXPECT_EQ(allocationsFor(2), allocationsFor(15));  // fewer than any optimiser needs here
}
#endif

INSTANTIATE_TEST_SUITE_P(Optimize, ContractTest, ::testing::ValuesIn(kAllAlgos), AlgoName);

// ---- Stop reasons that are not convergence -----------------------------------------------------

// f = (p - 3)^2 with derivatives chosen per case.
TProblem Parabola(double gradientSign, double derivativeValue = NaN) {
  TProblem p;
  p.fun = [](const TVec& v, const TVec*, const TObjConsts&) {
    return (v.Value(0) - 3.0) * (v.Value(0) - 3.0);
  };
  p.grad = [=](const TRealFunction&, const TVec& v, const TVec*, const TObjConsts&, TVec& g) {
    g.SetValue(0, std::isnan(derivativeValue) ? gradientSign * 2.0 * (v.Value(0) - 3.0)
                                              : derivativeValue);
  };
  p.curv = [=](const TRealFunction&, const TVec& v, const TVec*, const TObjConsts&, TVec& g,
               TMtx& m) {
    g.SetValue(0, std::isnan(derivativeValue) ? gradientSign * (v.Value(0) - 3.0)
                                              : derivativeValue);
    m.SetValue(0, 1.0);
  };
  return p;
}

class StopReasonTest : public ::testing::TestWithParam<TAlgo> {};

TEST_P(StopReasonTest, InconsistentDerivativesLeaveTheStartAndSaySo) {
  std::vector<double> x{0.0};
  const TRun run = Optimize(GetParam(), Parabola(-1.0), x, 1000, 1e-10);
  EXPECT_TRUE(run.reason == osrNoDecrease || run.reason == osrPrecisionLimit)
      << OptStopReasonText(run.reason);
  EXPECT_EQ(x[0], 0.0);
  EXPECT_EQ(run.fmin, 9.0);
}

TEST_P(StopReasonTest, NonFiniteDerivativesStop) {
  std::vector<double> x{0.0};
  EXPECT_EQ(Optimize(GetParam(), Parabola(1.0, Inf), x, 1000, 1e-10).reason, osrDerivNotFinite);
  EXPECT_EQ(x[0], 0.0);
}

TEST_P(StopReasonTest, StartAtAStationaryPointMeetsTheGradientTolerance) {
  std::vector<double> x{3.0};
  const TRun run = Optimize(GetParam(), Parabola(1.0), x, 1000, 1e-10);
  EXPECT_EQ(run.reason, osrGradTol);
  EXPECT_EQ(run.iterations, 0);
}

INSTANTIATE_TEST_SUITE_P(Optimize, StopReasonTest, ::testing::ValuesIn(kDerivativeAlgos),
                         AlgoName);

class UndefinedObjectiveTest : public ::testing::TestWithParam<TAlgo> {};

TEST_P(UndefinedObjectiveTest, NaNEverywhereIsNotFinite) {
  TProblem p = Parabola(1.0);
  p.fun = [](const TVec&, const TVec*, const TObjConsts&) { return NaN; };
  std::vector<double> x{1.0, 2.0};
  const TRun run = Optimize(GetParam(), p, x, 100, 1e-10);
  EXPECT_EQ(run.reason, osrNotFinite);
  EXPECT_EQ(x, (std::vector<double>{1.0, 2.0}));
}

TEST_P(UndefinedObjectiveTest, MinusInfinityIsUnbounded) {
  // A slope without a minimum that reports -Inf beyond -5 (inside the box of SimplexBox).
  TProblem p;
  p.fun = [](const TVec& v, const TVec*, const TObjConsts&) {
    return v.Value(0) < -5.0 ? -Inf : v.Value(0);
  };
  p.grad = [](const TRealFunction&, const TVec&, const TVec*, const TObjConsts&, TVec& g) {
    g.SetValue(0, 1.0);
  };
  p.curv = [](const TRealFunction&, const TVec&, const TVec*, const TObjConsts&, TVec& g,
              TMtx&) { g.SetValue(0, 1.0); };
  std::vector<double> x{0.0};
  const TRun run = Optimize(GetParam(), p, x, 10000, 1e-10);
  EXPECT_EQ(run.reason, osrUnbounded);
  EXPECT_EQ(run.fmin, -Inf);
  EXPECT_LT(x[0], -5.0);
}

TEST_P(UndefinedObjectiveTest, EmptyParameterArrayIsSolved) {
  TProblem p = Parabola(1.0);
  p.fun = [](const TVec& v, const TVec*, const TObjConsts&) { return 5.0 + v.Length(); };
  std::vector<double> x;
  const TRun run = Optimize(GetParam(), p, x, 100, 1e-10);
  EXPECT_EQ(run.reason, osrConverged);
  EXPECT_EQ(run.fmin, 5.0);
}

INSTANTIATE_TEST_SUITE_P(Optimize, UndefinedObjectiveTest, ::testing::ValuesIn(kAllAlgos),
                         AlgoName);

// ---- Bounded simplex --------------------------------------------------------------------------

struct TBoxCase {
  const char* name;
  std::vector<double> lo, hi;
  std::vector<double> expected;  // the constrained minimum of the 2-D Rosenbrock function
  TMtxFloatPrecision precision;
};

class BoundedSimplexTest : public ::testing::TestWithParam<TBoxCase> {};

TEST_P(BoundedSimplexTest, NeverLeavesTheBoxAndFindsTheConstrainedMinimum) {
  const TBoxCase& c = GetParam();
  const TRosenbrock r;
  int outside = 0, evaluations = 0;
  const TRealFunction fun = [&](const TVec& p, const TVec*, const TObjConsts&) {
    ++evaluations;
    for (int j = 0; j < p.Length(); ++j) {
      if (!(p.Value(j) >= c.lo[j] && p.Value(j) <= c.hi[j])) ++outside;
    }
    return r.F(p);
  };
  std::vector<double> x{-1.2, 1.0};
  double fmin = NaN;
  TOptStopReason reason = osrNone;
  Simplex(fun, x, c.lo, c.hi, nullptr, {}, fmin, reason, c.precision, 100000, 1e-12);
  EXPECT_EQ(outside, 0) << "of " << evaluations << " evaluations";
  EXPECT_EQ(reason, osrConverged);
  const double tol = c.precision == fpSingle ? 1e-3 : 1e-7;
  for (int j = 0; j < 2; ++j) EXPECT_TRUE(Near(c.expected[j], x[j], tol, tol)) << "j = " << j;
}

// Single precision cannot hold 0.1: the bound must round inwards, to the float below it.
const double kFloatBelowTenth = std::nextafter(0.1F, 0.0F);

INSTANTIATE_TEST_SUITE_P(
    Optimize, BoundedSimplexTest,
    ::testing::Values(
        TBoxCase{"UpperBoundActive", {-2.0, -1.0}, {0.5, 3.0}, {0.5, 0.25}, fpDouble},
        TBoxCase{"OneSidedLowerBoundActive", {1.5, -Inf}, {Inf, Inf}, {1.5, 2.25}, fpDouble},
        TBoxCase{"FixedParameterAndClampedStart", {0.5, -Inf}, {0.5, Inf}, {0.5, 0.25},
                 fpDouble},
        TBoxCase{"InteriorMinimum", {-5.0, -5.0}, {5.0, 5.0}, {1.0, 1.0}, fpDouble},
        TBoxCase{"SingleRoundsInwards",
                 {-2.0, -1.0},
                 {0.1, 3.0},
                 {kFloatBelowTenth, kFloatBelowTenth * kFloatBelowTenth},
                 fpSingle}),
    [](const ::testing::TestParamInfo<TBoxCase>& info) { return std::string(info.param.name); });

TEST(OptimizeSimplex, BadBoundsRaise) {
  const TRealFunction f = [](const TVec&, const TVec*, const TObjConsts&) { return 0.0; };
  std::vector<double> x{0.0, 0.0};
  double fmin = 0.0;
  TOptStopReason reason = osrNone;
  const std::vector<double> one{0.0}, two{0.0, 0.0}, bad{0.0, -1.0}, nan{0.0, NaN};
  EXPECT_LUMEX_ERROR(Simplex(f, x, one, two, nullptr, {}, fmin, reason, fpDouble, 10, 1e-8),
                     "Simplex: LowerBounds.Length <> Pars.Length");
  EXPECT_LUMEX_ERROR(Simplex(f, x, two, one, nullptr, {}, fmin, reason, fpDouble, 10, 1e-8),
                     "Simplex: UpperBounds.Length <> Pars.Length");
  EXPECT_LUMEX_ERROR(Simplex(f, x, two, bad, nullptr, {}, fmin, reason, fpDouble, 10, 1e-8),
                     "Simplex: LowerBounds[1] > UpperBounds[1]");
  EXPECT_LUMEX_ERROR(Simplex(f, x, nan, two, nullptr, {}, fmin, reason, fpDouble, 10, 1e-8),
                     "Simplex: LowerBounds[1] > UpperBounds[1]");
  EXPECT_LUMEX_ERROR(Simplex(nullptr, x, nullptr, {}, fmin, reason, fpDouble, 10, 1e-8),
                     "Simplex: Fun is null");
  EXPECT_LUMEX_ERROR(Marquardt(f, nullptr, x, nullptr, {}, fmin, nullptr, reason, fpDouble, 10,
                               1e-8, 0.0, 0.01),
                     "Marquardt: DerivFun is null");
  EXPECT_LUMEX_ERROR(BFGS(f, nullptr, x, nullptr, {}, fmin, nullptr, reason, fpDouble, false,
                          true, 10, 1e-8, 0.0),
                     "BFGS: GradFun is null");
  EXPECT_LUMEX_ERROR(ConjGrad(f, nullptr, x, nullptr, {}, fmin, reason, fpDouble, false, true, 10,
                              1e-8, 0.0),
                     "ConjGrad: GradFun is null");
  TVec grad;
  EXPECT_LUMEX_ERROR(NumericGradient(nullptr, TVec{1, 2}, nullptr, {}, grad),
                     "NumericGradient: Fun is null");
  EXPECT_EQ(x, two);
}

// ---- Marquardt with a log-likelihood callback --------------------------------------------------

// Poisson regression log(mu) = a + b x fitted by its deviance -2 l. The callback may deliver the
// log-likelihood's own gradient and Hessian (negative definite) or their negatives (the Fisher
// information); the optimiser must find the same point, and Cov must be the inverse of the
// delivered matrix, so that minus it is the covariance of the maximum-likelihood estimate.
class MarquardtOrientationTest : public ::testing::TestWithParam<double> {};

TEST_P(MarquardtOrientationTest, EitherSignOfTheCurvatureFindsTheMaximumLikelihood) {
  const double sign = GetParam();  // +1: gradient and Hessian of l; -1: their negatives
  const std::vector<double> xs{0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0};
  const std::vector<double> ys{2.0, 3.0, 3.0, 6.0, 7.0, 9.0, 14.0, 17.0};
  auto mu = [&](const TVec& b, int i) { return std::exp(b.Value(0) + b.Value(1) * xs[i]); };
  const TRealFunction deviance = [&](const TVec& b, const TVec*, const TObjConsts&) {
    double d = 0.0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const double m = mu(b, static_cast<int>(i));
      d += 2.0 * (ys[i] * std::log(ys[i] / m) - (ys[i] - m));
    }
    return d;
  };
  const TCurvatureFunction loglik = [&](const TRealFunction&, const TVec& b, const TVec*,
                                        const TObjConsts&, TVec& g, TMtx& h) {
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const double m = mu(b, static_cast<int>(i)), row[2] = {1.0, xs[i]};
      for (int k = 0; k < 2; ++k) {
        g[k] += sign * (ys[i] - m) * row[k];
        for (int l = 0; l < 2; ++l) h(k, l) -= sign * m * row[k] * row[l];
      }
    }
  };
  std::vector<double> b{0.0, 0.0};
  double dev = NaN;
  TOptStopReason reason = osrNone;
  TMtx cov;
  Marquardt(deviance, loglik, b, nullptr, {}, dev, &cov, reason, fpDouble, 200, 1e-10, 0.0, 0.1);
  EXPECT_EQ(reason, osrConverged);
  // The score equations of the Poisson likelihood: sum (y - mu) (1, x) = 0.
  TVec bv(b);
  double score0 = 0.0, score1 = 0.0, info00 = 0.0, info01 = 0.0, info11 = 0.0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const double m = mu(bv, static_cast<int>(i));
    score0 += ys[i] - m;
    score1 += (ys[i] - m) * xs[i];
    info00 += m;
    info01 += m * xs[i];
    info11 += m * xs[i] * xs[i];
  }
  EXPECT_NEAR(score0, 0.0, 1e-8);
  EXPECT_NEAR(score1, 0.0, 1e-8);
  // The asymptotic covariance is the inverse Fisher information.
  const double det = info00 * info11 - info01 * info01;
  EXPECT_TRUE(Near(-sign * info11 / det, cov(0, 0), 1e-8));
  EXPECT_TRUE(Near(sign * info01 / det, cov(0, 1), 1e-8));
  EXPECT_TRUE(Near(-sign * info00 / det, cov(1, 1), 1e-8));
}

INSTANTIATE_TEST_SUITE_P(Optimize, MarquardtOrientationTest, ::testing::Values(1.0, -1.0));

// ---- BFGS inverse Hessian and the numeric gradient ---------------------------------------------

TEST(OptimizeBFGS, InverseHessianOutput) {
  // In one dimension every update meets the secant equation H y = s, so on f = 2 (x - 3)^2 H is
  // exactly the inverse of f'' = 4, whatever the line search did.
  const TRealFunction f1 = [](const TVec& x, const TVec*, const TObjConsts&) {
    return 2.0 * (x.Value(0) - 3.0) * (x.Value(0) - 3.0);
  };
  const TGradientFunction g1 = [](const TRealFunction&, const TVec& x, const TVec*,
                                  const TObjConsts&, TVec& g) {
    g.SetValue(0, 4.0 * (x.Value(0) - 3.0));
  };
  // In two dimensions (f = x'Ax/2 - b'x) the approximation must stay symmetric positive
  // definite; a wrong sign in an update formula breaks that first.
  const TRealFunction f2 = [](const TVec& x, const TVec*, const TObjConsts&) {
    const double a = x.Value(0), b = x.Value(1);
    return 0.5 * (4 * a * a + 2 * a * b + 3 * b * b) - a - 2 * b;
  };
  const TGradientFunction g2 = [](const TRealFunction&, const TVec& x, const TVec*,
                                  const TObjConsts&, TVec& grad) {
    grad.SetValue(0, 4 * x.Value(0) + x.Value(1) - 1);
    grad.SetValue(1, x.Value(0) + 3 * x.Value(1) - 2);
  };
  for (const bool dfp : {false, true}) {
    for (const bool accurate : {false, true}) {
      SCOPED_TRACE(std::string(dfp ? "DFP" : "BFGS") + (accurate ? " accurate" : " economical"));
      double fmin = NaN;
      TOptStopReason reason = osrNone;
      TMtx h;
      std::vector<double> x1{-5.0};
      BFGS(f1, g1, x1, nullptr, {}, fmin, &h, reason, fpDouble, dfp, accurate, 100, 1e-12, 0.0);
      EXPECT_TRUE(Solved(reason)) << OptStopReasonText(reason);
      EXPECT_TRUE(Near(3.0, x1[0], test::kTolRef));
      EXPECT_TRUE(Near(0.25, h(0, 0), test::kTolRef));

      std::vector<double> x2{5.0, -7.0};
      BFGS(f2, g2, x2, nullptr, {}, fmin, &h, reason, fpDouble, dfp, accurate, 100, 1e-12, 0.0);
      EXPECT_TRUE(Solved(reason)) << OptStopReasonText(reason);
      EXPECT_TRUE(Near(1.0 / 11.0, x2[0], test::kTolIterated));
      EXPECT_TRUE(Near(7.0 / 11.0, x2[1], test::kTolIterated));
      EXPECT_EQ(h(0, 1), h(1, 0));
      EXPECT_GT(h(0, 0), 0.0);
      EXPECT_GT(h(0, 0) * h(1, 1) - h(0, 1) * h(1, 0), 0.0);
    }
  }
}

TEST(OptimizeNumericGradient, MatchesTheAnalyticGradientInEitherPrecision) {
  const TRosenbrock r{true};
  const TRealFunction f = [&](const TVec& p, const TVec*, const TObjConsts&) { return r.F(p); };
  for (const TMtxFloatPrecision precision : {fpDouble, fpSingle}) {
    TVec p;
    p.Size(4, precision);
    const double values[] = {-1.2, 0.0, 0.75, 2.0};  // 0 takes the absolute step
    for (int j = 0; j < 4; ++j) p.SetValue(j, values[j]);
    TVec numeric, exact(4);
    NumericGradient(f, p, nullptr, {}, numeric);
    r.Gradient(p, exact);
    EXPECT_EQ(numeric.FloatPrecision(), precision);
    const double tol = precision == fpDouble ? 1e-9 : 1e-2;
    for (int j = 0; j < 4; ++j) {
      EXPECT_TRUE(Near(exact[j], numeric.Value(j), tol, tol)) << "j = " << j;
    }
  }
}

}  // namespace
}  // namespace lumex
