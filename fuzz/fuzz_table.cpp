#include "fuzz_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <exception>

namespace lumex::fuzz {

bool TraceCalls() {
  static const bool trace = std::getenv("LUMEX_FUZZ_TRACE") != nullptr;
  return trace;
}

void TraceArgument(double v) { std::fprintf(stderr, "  %.17g\n", v); }

void TraceArgument(const TDenseLumex& v) {
  std::fprintf(stderr, "  %dx%d %s%s %s\n", v.Rows(), v.Cols(), v.IsDouble() ? "double" : "single",
               v.Complex() ? " complex" : "", v.Complex() ? "" : v.ToString().c_str());
}

void TraceArgument(const TVecInt& v) { std::fprintf(stderr, "  int %s\n", v.ToString().c_str()); }

namespace {

// 32-bit FNV-1a of the name, '|' and the signature, white space left out.
std::uint32_t RowKey(const TFuzzRow& row) {
  std::uint32_t h = 2166136261u;
  for (const char* part : {row.Name, "|", row.Signature}) {
    for (const char* c = part; *c != '\0'; ++c) {
      if (*c != ' ') h = (h ^ static_cast<std::uint8_t>(*c)) * 16777619u;
    }
  }
  return h;
}

void PrintRow(std::uint32_t key, const TFuzzRow& row) {
  std::fprintf(stderr, "%08x %s %s\n", key, row.Name, row.Signature);
}

void DoNothing(TFuzzInput&, TFingerprint&) {}
const TFuzzRow kDummyRow{"dummy", DoNothing};

}  // namespace

TFuzzTable::TFuzzTable(std::span<const TFuzzRow> rows) {
  const bool list = std::getenv("LUMEX_FUZZ_LIST") != nullptr;
  for (const TFuzzRow& row : rows) {
    fRows.push_back({RowKey(row), &row});
    if (list) PrintRow(fRows.back().Key, row);
  }
  if (list) std::exit(0);
  std::sort(fRows.begin(), fRows.end());
  for (std::size_t i = 1; i < fRows.size(); ++i) {
    if (fRows[i].Key != fRows[i - 1].Key) continue;
    std::fprintf(stderr, "fuzz table: two rows with key %08x (rename one):\n", fRows[i].Key);
    PrintRow(fRows[i - 1].Key, *fRows[i - 1].Row);
    PrintRow(fRows[i].Key, *fRows[i].Row);
    std::abort();
  }
  if (std::getenv("LUMEX_FUZZ_DUMMY_ROWS") != nullptr) {
    // The real rows come first, so that the stable sort keeps them where a dummy has their key.
    const std::size_t n = fRows.size();
    fRows.push_back({0xffffffffu, &kDummyRow});
    for (std::size_t i = 0; i < n; ++i) fRows.push_back({fRows[i].Key - 1, &kDummyRow});
    std::stable_sort(fRows.begin(), fRows.end());
    const auto sameKey = [](const TKeyed& a, const TKeyed& b) { return a.Key == b.Key; };
    fRows.erase(std::unique(fRows.begin(), fRows.end(), sameKey), fRows.end());
  }
}

std::vector<TFuzzTarget>& FuzzTargets() {
  static std::vector<TFuzzTarget> targets;
  return targets;
}

bool RegisterTarget(const char* sourceFile, const TFuzzTable& table) {
  std::string name = sourceFile;
  name = name.substr(name.find_last_of("/\\") + 1);
  name = name.substr(0, name.rfind("_fuzz."));
  FuzzTargets().push_back({name, &table});
  return true;
}

std::uint64_t TFuzzTable::RunOne(const std::uint8_t* data, std::size_t size) const {
  TFuzzInput in(data, size);
  std::uint32_t key = 0;
  for (int i = 0; i < 4; ++i) key |= static_cast<std::uint32_t>(in.Byte()) << (8 * i);
  auto found = std::lower_bound(fRows.begin(), fRows.end(), TKeyed{key, nullptr});
  if (found == fRows.end()) found = fRows.begin();
  const TFuzzRow& row = *found->Row;
  static const bool rowOnly = std::getenv("LUMEX_FUZZ_ROW") != nullptr;
  if (rowOnly || TraceCalls()) PrintRow(found->Key, row);
  TFingerprint print;
  if (rowOnly) return print.Value();
  in.SetCap(row.Cap);
  try {
    row.Call(in, print);
  } catch (const ELumexError& e) {
    // A clear error is a normal outcome for unusable input.
    print.Bytes(e.what(), std::strlen(e.what()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s raised %s: %s\n", row.Name, typeid(e).name(), e.what());
    std::abort();
  } catch (...) {
    std::fprintf(stderr, "%s raised an exception of unknown type\n", row.Name);
    std::abort();
  }
  return print.Value();
}

namespace {

// Sum of (x_j - j)^2: smooth, with its minimum at (0, 1, 2, ...).
double Quadratic(const TVec& p, const TVec*, const TObjConsts&) {
  double s = 0.0;
  for (int j = 0; j < p.Length(); ++j) s += (p.Value(j) - j) * (p.Value(j) - j);
  return s;
}

double Rosenbrock(const TVec& p, const TVec*, const TObjConsts&) {
  double s = 0.0;
  for (int j = 0; j + 1 < p.Length(); ++j) {
    const double a = p.Value(j + 1) - p.Value(j) * p.Value(j);
    const double b = 1.0 - p.Value(j);
    s += 100.0 * a * a + b * b;
  }
  return s;
}

}  // namespace

TArg<const TStepwiseQualityCriteria&>::TArg(TFuzzInput& in) {
  switch (in.Byte() % 5) {
    case 0: v = [](const TRegStats& s, const TVec&, const TVec&, const TVecInt&, void*) {
        return s.AdjustedR2;
      };
      break;
    case 1: v = [](const TRegStats&, const TVec&, const TVec&, const TVecInt&, void*) {
        return NaN;
      };
      break;
    case 2: v = [](const TRegStats&, const TVec&, const TVec&, const TVecInt&, void*) {
        return 1.0;  // every model ties
      };
      break;
    case 3: v = [](const TRegStats&, const TVec&, const TVec&, const TVecInt&, void*) -> double {
        ERaise("criterion: raised on purpose");
      };
      break;
    default: break;  // an empty function object: the standard error of the regression
  }
}

TArg<const TRealFunction&>::TArg(TFuzzInput& in) {
  switch (in.Byte() % 6) {
    case 0: v = Quadratic; break;
    case 1: v = Rosenbrock; break;
    case 2: v = [](const TVec&, const TVec*, const TObjConsts&) { return NaN; }; break;
    case 3: v = [](const TVec& p, const TVec*, const TObjConsts&) {
        // unbounded below up to 1, +Inf beyond
        const double x = p.Length() > 0 ? p.Value(0) : 0.0;
        return x > 1.0 ? Inf : -std::abs(x);
      };
      break;
    case 4: v = [](const TVec&, const TVec*, const TObjConsts&) -> double {
        ERaise("objective: raised on purpose");
      };
      break;
    default: break;  // an empty function object
  }
}

TArg<const TGradientFunction&>::TArg(TFuzzInput& in) {
  if (in.Byte() % 4 != 0) v = NumericGradient;
}

TArg<const TCurvatureFunction&>::TArg(TFuzzInput& in) {
  if (in.Byte() % 4 == 0) return;
  v = [](const TRealFunction& fun, const TVec& pars, const TVec* consts, const TObjConsts& objs,
         TVec& grad, TMtx& curv) {
    NumericGradient(fun, pars, consts, objs, grad);
    curv.SetZero();
    for (int j = 0; j < curv.Rows() && j < curv.Cols(); ++j) {
      curv.SetValue(j * curv.Cols() + j, 1.0);
    }
  };
}

// A generator of any kind (valid or not) and seed, with up to three streams; the stream index
// may be out of range.
TObject<TRngStream>::TObject(TFuzzInput& in) {
  generator.SetStreamCount(1 + in.Byte() % 3);
  generator.Init(static_cast<int>(in.Enumerator(4)), in.Int());
  stream = &generator.GetStream(in.Byte() % 4 == 0 ? in.Int() : 0);
}

// A piecewise-linear function through points the input chooses (the breaks may be unsorted,
// repeated or NaN).
TObject<TPiecePoly>::TObject(TFuzzInput& in) {
  const TVec x = in.Vec();
  const TVec y = in.Vec();
  Linear1D(x, y, poly);
  poly.SetValuesSorted(in.Bool());
}

}  // namespace lumex::fuzz

// ---- Model callbacks of the nonlinear fits ------------------------------------------------------

namespace lumex::fuzz {

namespace {

// Parameter k, or 0 when the trial vector is shorter.
double Par(const TVec& b, int k) { return k < b.Length() ? b.Value(k) : 0.0; }

double ModelValue(int which, const TVec& b, double x) {
  switch (which) {
    case 0: return Par(b, 0) + Par(b, 1) * x;
    case 1: return Par(b, 0) * std::exp(-Par(b, 1) * x);
    case 2: return NaN;
    case 3: return x > 0.0 ? Inf : Par(b, 0);
    default: ERaise("model: raised on purpose");
  }
}

}  // namespace

TArg<const TRegressFun&>::TArg(TFuzzInput& in) {
  const int which = in.Byte() % 6;
  if (which < 5) v = [which](const TVec& b, double x) { return ModelValue(which, b, x); };
}

TArg<const TMultiRegressFun&>::TArg(TFuzzInput& in) {
  const int which = in.Byte() % 7;
  if (which == 6) return;  // the empty function
  v = [which](const TVec& b, const TVecList& x, TVec& y) {
    if (which == 5) {  // shortens its output
      y.Resize(y.Length() / 2);
      return;
    }
    for (int i = 0; i < y.Length(); ++i) {
      const double xi = x.Count() > 0 && i < x[0].Length() ? x[0].Value(i) : 0.0;
      y.SetValue(i, ModelValue(which, b, xi));
    }
  };
}

TArg<const TDeriveProc&>::TArg(TFuzzInput& in) {
  switch (in.Byte() % 4) {
    case 0: v = NumericDerive; break;
    case 1: v = [](const TRegressFun&, double x, double, const TVec&, TVec& g) {
        for (int k = 0; k < g.Length(); ++k) g.SetValue(k, k == 0 ? 1.0 : k == 1 ? x : 0.0);
      };
      break;
    case 2: v = [](const TRegressFun&, double, double, const TVec&, TVec&) {
        ERaise("derivative: raised on purpose");
      };
      break;
    default: break;
  }
}

TArg<const TMultiDeriveProc&>::TArg(TFuzzInput& in) {
  switch (in.Byte() % 4) {
    case 0: v = MultiNumericDerive; break;
    case 1: v = [](const TMultiRegressFun&, const TVecList&, const TVec&, const TVec&,
                   TVecList& g) { g.SetCount(g.Count() / 2); };
      break;
    case 2: v = [](const TMultiRegressFun&, const TVecList&, const TVec&, const TVec&,
                   TVecList&) { ERaise("derivative: raised on purpose"); };
      break;
    default: break;
  }
}

}  // namespace lumex::fuzz
