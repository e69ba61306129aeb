#include "fuzz_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

void RunOne(std::span<const TFuzzRow> rows, const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const TFuzzRow& row = rows[in.Word() % rows.size()];
  in.SetCap(row.Cap);
  if (TraceCalls()) std::fprintf(stderr, "%s\n", row.Name);
  try {
    row.Call(in);
  } catch (const ELumexError&) {
    // A clear error is a normal outcome for unusable input.
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s raised %s: %s\n", row.Name, typeid(e).name(), e.what());
    std::abort();
  } catch (...) {
    std::fprintf(stderr, "%s raised an exception of unknown type\n", row.Name);
    std::abort();
  }
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
