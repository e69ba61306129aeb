// Nelder-Mead simplex minimisation, unbounded or inside a box.
//
// Two refinements over the textbook method matter in practice. The coefficients adapt to the
// dimension (Gao and Han, 2012): with the classical ones the expansion steps of a simplex in ten
// or more dimensions keep it too flat to follow a curved valley. And a converged simplex is
// rebuilt around its best vertex and run again: a simplex can collapse onto a line or a face
// (of the box, too) away from the minimum, and only a fresh one shows whether it did.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/optimize_internal.h"
#include "lumex/core/types.h"

namespace lumex {

namespace {

using detail::Progress;
using detail::TEvaluator;

struct TCoefficients {
  double reflect, expand, contract, shrink;
};

TCoefficients Coefficients(int n) {
  if (n <= 2) return {1.0, 2.0, 0.5, 0.5};
  const double dn = n;
  return {1.0, 1.0 + 2.0 / dn, 0.75 - 0.5 / dn, 1.0 - 1.0 / dn};
}

// NaN compares as the worst value, so a vertex where the objective is undefined is the first
// to be replaced.
double Key(double f) { return std::isnan(f) ? Inf : f; }

class TNelderMead {
public:
  TNelderMead(TEvaluator& eval, const double* lo, const double* hi, int maxIter, double tol,
              std::vector<std::string>* verbose)
      : fEval(eval), fN(eval.Count()), fLo(lo), fHi(hi), fMaxIter(maxIter), fTol(tol),
        fVerbose(verbose), fC(Coefficients(fN)) {
    fV->Size(fN + 1, fN);
    fF->Size(fN + 1);
    fCentroid->Size(fN);
    fTrial->Size(fN);
    fTrial2->Size(fN);
  }

  // Runs from x (rounded and clamped in place); returns the stop reason and leaves the best
  // vertex in x, its value in f.
  TOptStopReason Run(std::span<double> x, double& f, int& iterations);

private:
  double* Vertex(int i) { return fV->Data<double>() + static_cast<std::ptrdiff_t>(i) * fN; }
  std::span<double> VertexSpan(int i) { return {Vertex(i), static_cast<std::size_t>(fN)}; }
  double& F(int i) { return fF->Data<double>()[i]; }

  // Evaluates the point in `dst` (projected onto the box and rounded in place).
  double Eval(double* dst) {
    return Key(fEval.Eval({dst, static_cast<std::size_t>(fN)}, fLo, fHi));
  }
  // Builds the simplex around vertex 0, whose value is known.
  void Build();
  void Order();
  // dst := c + t * (c - worst).
  void Along(double* dst, double t) {
    const double* c = fCentroid->Data<double>();
    const double* w = Vertex(fWorst);
    for (int j = 0; j < fN; ++j) dst[j] = c[j] + t * (c[j] - w[j]);
  }
  void Replace(int i, const double* x, double f) {
    std::copy(x, x + fN, Vertex(i));
    F(i) = f;
  }
  // One reflection, expansion, contraction or shrink; returns its name for the progress line.
  const char* Step();
  double Size();

  TEvaluator& fEval;
  const int fN;
  const double* fLo;
  const double* fHi;
  const int fMaxIter;
  const double fTol;
  std::vector<std::string>* fVerbose;
  const TCoefficients fC;
  TLease<TMtx> fV;  // vertices, one per row
  TLease<TVec> fF;  // their objective values (NaN stored as +Inf)
  TLease<TVec> fCentroid;
  TLease<TVec> fTrial;
  TLease<TVec> fTrial2;
  int fBest = 0, fWorst = 0, fSecond = 0;
};

void TNelderMead::Build() {
  const double* x0 = Vertex(0);
  // Vertices not reached (after a value of -Inf ends the building) must never be chosen.
  for (int i = 1; i <= fN; ++i) F(i) = Inf;
  for (int i = 1; i <= fN; ++i) {
    double* v = Vertex(i);
    std::copy(x0, x0 + fN, v);
    const int j = i - 1;
    // 5% of the value, at least 0.00025, so that small or zero parameters still get a simplex
    // that is not already below the tolerance.
    const double step = std::fabs(x0[j]) >= 0.005 ? 0.05 * x0[j] : 0.00025;
    double t = x0[j] + step;
    if (fLo != nullptr) {
      if (t > fHi[j] || t < fLo[j]) t = x0[j] - step;
      if (t > fHi[j] || t < fLo[j]) {
        // The box is narrower than the step on both sides: go halfway to the farther bound.
        t = fHi[j] - x0[j] >= x0[j] - fLo[j] ? 0.5 * (x0[j] + fHi[j]) : 0.5 * (x0[j] + fLo[j]);
      }
    }
    v[j] = t;
    F(i) = Eval(v);
    if (F(i) == -Inf) return;
  }
}

void TNelderMead::Order() {
  fBest = fWorst = 0;
  for (int i = 1; i <= fN; ++i) {
    if (F(i) < F(fBest)) fBest = i;
    if (F(i) >= F(fWorst)) fWorst = i;
  }
  if (fWorst == fBest) fWorst = fBest == 0 ? 1 : 0;  // all equal: any other vertex is "worst"
  fSecond = fBest;
  for (int i = 0; i <= fN; ++i) {
    if (i != fWorst && F(i) >= F(fSecond)) fSecond = i;
  }
}

double TNelderMead::Size() {
  const double* b = Vertex(fBest);
  double size = 0.0;
  for (int i = 0; i <= fN; ++i) {
    const double* v = Vertex(i);
    for (int j = 0; j < fN; ++j) size = std::max(size, std::fabs(v[j] - b[j]));
  }
  return size;
}

const char* TNelderMead::Step() {
  double* c = fCentroid->Data<double>();
  std::fill(c, c + fN, 0.0);
  for (int i = 0; i <= fN; ++i) {
    if (i == fWorst) continue;
    const double* v = Vertex(i);
    for (int j = 0; j < fN; ++j) c[j] += v[j];
  }
  for (int j = 0; j < fN; ++j) c[j] /= fN;

  double* xr = fTrial->Data<double>();
  double* x2 = fTrial2->Data<double>();
  Along(xr, fC.reflect);
  const double fr = Eval(xr);
  const double fb = F(fBest), fs = F(fSecond), fw = F(fWorst);
  if (fr < fb && fr != -Inf) {
    // Expansion continues the unprojected reflection, so a reflection that hit the box does not
    // turn the expansion sideways.
    Along(x2, fC.reflect * fC.expand);
    const double fe = Eval(x2);
    if (fe < fr) {
      Replace(fWorst, x2, fe);
      return "expansion";
    }
    Replace(fWorst, xr, fr);
    return "reflection";
  }
  if (fr < fs) {
    Replace(fWorst, xr, fr);
    return "reflection";
  }
  if (fr < fw) {
    Along(x2, fC.reflect * fC.contract);
    const double fc = Eval(x2);
    if (fc <= fr) {
      Replace(fWorst, x2, fc);
      return "outside contraction";
    }
  } else {
    Along(x2, -fC.contract);
    const double fc = Eval(x2);
    if (fc < fw) {
      Replace(fWorst, x2, fc);
      return "inside contraction";
    }
  }
  // Shrink towards the best vertex. The box is convex, so the shrunk vertices stay inside it.
  const double* b = Vertex(fBest);
  for (int i = 0; i <= fN; ++i) {
    if (i == fBest) continue;
    double* v = Vertex(i);
    for (int j = 0; j < fN; ++j) v[j] = b[j] + fC.shrink * (v[j] - b[j]);
    F(i) = Eval(v);
    if (F(i) == -Inf) break;
  }
  return "shrink";
}

TOptStopReason TNelderMead::Run(std::span<double> x, double& f, int& iterations) {
  std::copy(x.begin(), x.end(), Vertex(0));
  F(0) = Eval(Vertex(0));
  if (F(0) != -Inf) {
    Build();
  } else {
    for (int i = 1; i <= fN; ++i) F(i) = Inf;
  }
  iterations = 0;
  int restarts = 0;
  double fAtRestart = Inf;
  TOptStopReason reason = osrConverged;
  for (;;) {
    Order();
    const double fb = F(fBest);
    if (fb == -Inf) {
      reason = osrUnbounded;
      break;
    }
    if (fb == Inf) {
      reason = osrNotFinite;  // only the first simplex can be entirely undefined
      break;
    }
    const double* b = Vertex(fBest);
    double scaleX = 1.0;
    for (int j = 0; j < fN; ++j) scaleX = std::max(scaleX, std::fabs(b[j]));
    const double tolF = fTol * std::max(1.0, std::fabs(fb));
    const double spread = F(fWorst) - fb;
    const double size = Size();
    if (spread <= tolF && size <= fTol * scaleX) {
      if (restarts > 0 && !(fAtRestart - fb > tolF)) {
        reason = osrConverged;
        break;
      }
      ++restarts;
      fAtRestart = fb;
      Progress(fVerbose, "Simplex restart %d from f = %.17g", restarts, fb);
      if (fBest != 0) Replace(0, Vertex(fBest), fb);
      Build();
      continue;
    }
    if (iterations >= fMaxIter) {
      reason = osrMaxIter;
      break;
    }
    ++iterations;
    const char* action = Step();
    Progress(fVerbose, "Simplex iteration %d: f = %.17g, spread = %.3g, size = %.3g, %s",
             iterations, fb, spread, size, action);
  }
  const double* best = Vertex(fBest);
  std::copy(best, best + fN, x.begin());
  f = F(fBest);
  return reason;
}

int SimplexCore(const TRealFunction& Fun, std::span<double> Pars, const double* lo,
                const double* hi, const TVec* Consts, const TObjConsts& ObjConsts, double& FMin,
                TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision, int MaxIter,
                double Tolerance, std::vector<std::string>* Verbose) {
  if (!Fun) ERaise("Simplex: Fun is null");
  const int n = static_cast<int>(Pars.size());
  TEvaluator eval("Simplex", Fun, Consts, ObjConsts, FloatPrecision, n);
  auto x = CreateIt<TVec>();
  x->Size(n);
  std::span<double> xs = x->Span<double>();
  std::copy(Pars.begin(), Pars.end(), xs.begin());
  if (n == 0) return detail::SolveEmpty("Simplex", eval, Pars, FMin, StopReason, Verbose);
  TNelderMead nm(eval, lo, hi, MaxIter, detail::EffectiveTolerance(Tolerance, FloatPrecision),
                 Verbose);
  double f = NaN;
  int iterations = 0;
  const TOptStopReason reason = nm.Run(xs, f, iterations);
  eval.EnsureLastAt(xs);
  detail::Finish("Simplex", Pars, xs, f, FMin, reason, StopReason, iterations, Verbose);
  return iterations;
}

}  // namespace

int Simplex(const TRealFunction& Fun, std::span<double> Pars, const TVec* Consts,
            const TObjConsts& ObjConsts, double& FMin, TOptStopReason& StopReason,
            TMtxFloatPrecision FloatPrecision, int MaxIter, double Tolerance,
            std::vector<std::string>* Verbose) {
  return SimplexCore(Fun, Pars, nullptr, nullptr, Consts, ObjConsts, FMin, StopReason,
                     FloatPrecision, MaxIter, Tolerance, Verbose);
}

int Simplex(const TRealFunction& Fun, std::span<double> Pars, std::span<const double> LowerBounds,
            std::span<const double> UpperBounds, const TVec* Consts, const TObjConsts& ObjConsts,
            double& FMin, TOptStopReason& StopReason, TMtxFloatPrecision FloatPrecision,
            int MaxIter, double Tolerance, std::vector<std::string>* Verbose) {
  if (LowerBounds.size() != Pars.size()) ERaise("Simplex: LowerBounds.Length <> Pars.Length");
  if (UpperBounds.size() != Pars.size()) ERaise("Simplex: UpperBounds.Length <> Pars.Length");
  for (std::size_t j = 0; j < Pars.size(); ++j) {
    if (!(LowerBounds[j] <= UpperBounds[j])) {
      ERaise("Simplex: LowerBounds[" + std::to_string(j) + "] > UpperBounds[" +
             std::to_string(j) + "]");
    }
  }
  return SimplexCore(Fun, Pars, LowerBounds.data(), UpperBounds.data(), Consts, ObjConsts, FMin,
                     StopReason, FloatPrecision, MaxIter, Tolerance, Verbose);
}

}  // namespace lumex
