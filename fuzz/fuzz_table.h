// The fuzz table: one row per exported overload.
//
// A row names the function and its signature; the harness builds every argument from the input
// bytes (TArg below knows how to make each parameter type) and calls it:
//
//   LUMEX_FUZZ(MeanT, double(const TVec&, double)),
//
// The signature picks the overload. A function whose work grows without bound with its sizes or
// iteration counts (a Monte Carlo simulation, an optimiser) takes a capped row, so that a call
// stays well under the one-second limit of a hang; the cap bounds every length, dimension and
// integer the input makes:
//
//   LUMEX_FUZZ_CAPPED(64, GOFLillieTest, double(const TVec&, THypothesisResult&, double&, ...)),
//
// Methods have rows of their own, with the object made by TObject<Class> from the input:
//
//   LUMEX_FUZZ_METHOD(TPiecePoly, Evaluate, double(double) const),
//
// Functions whose arguments need a relation that the caller must guarantee (raw buffers and
// their lengths) get a row with a small function of their own:
//
//   {"HistogramCount_Idx", HistogramKernel<double>},
//
// Each target (one per module) lists its rows in <module>_fuzz.cpp as kRows and ends with
// LUMEX_FUZZ_TARGET(kRows). Every call must return normally or raise ELumexError.
//
// Row keys. The first 4 bytes of an input (little-endian) are a key; the input runs the row with
// the smallest key at or above it, wrapping to the smallest key. A row's key is the 32-bit FNV-1a
// hash of its name, '|' and its signature as the macros spell them, white space left out (so
// reformatting keeps the key; overloads differ in their signature; a row of its own function has
// an empty signature). Two rows with one key stop the target at start-up. So an input that starts with a row's exact key calls that
// row whatever rows are added, removed or reordered; renaming a row or changing its signature
// changes its key. Mutated inputs carry any key and run the nearest row; the committed corpus
// holds exact keys only (tools/fuzz_corpus.py canonical rewrites a key to the row it runs).
//
// Environment switches of every target:
//   LUMEX_FUZZ_TRACE       print each input's row ("key name signature") and arguments to stderr
//   LUMEX_FUZZ_ROW         print each input's row to stderr and skip the call
//   LUMEX_FUZZ_LIST        print the rows in table order to stderr and exit
//   LUMEX_FUZZ_DUMMY_ROWS  add a do-nothing row just below every key and one at the top key, so
//                          that every input without an exact key changes row (the check of
//                          tools/fuzz_corpus.py check: the corpus is safe from added rows)
//
// Fingerprints. Every call folds its return value and then every argument as the call left it
// (the outputs are among them) into a 64-bit hash, which RunOne returns; a clear error folds its
// message instead. Two runs of one input that compute the same thing give the same fingerprint,
// which is how the concurrency test compares calls from many threads with serial ones. Built with
// LUMEX_FUZZ_REGISTER defined, a target registers its table (FuzzTargets) instead of defining the
// libFuzzer entry point, so that one program can hold every target.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "fuzz_input.h"
#include "lumex/core/core.h"
#include "lumex/Regress.h"

namespace lumex::fuzz {

// FNV-1a over the bytes of the values folded in.
class TFingerprint {
public:
  void Bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) fHash = (fHash ^ p[i]) * 1099511628211ull;
  }
  template <class T>
  void Fold(const T& x);
  std::uint64_t Value() const { return fHash; }

private:
  std::uint64_t fHash = 14695981039346656037ull;
};

struct TFuzzRow {
  const char* Name;
  void (*Call)(TFuzzInput& in, TFingerprint& print);
  int Cap = 0;  // when > 0, the bound on lengths, dimensions and integers (see TFuzzInput::SetCap)
  const char* Signature = "";
};

// The rows of a target sorted by key (see the top of this file).
class TFuzzTable {
public:
  explicit TFuzzTable(std::span<const TFuzzRow> rows);
  // Runs the row chosen by the first four bytes on the rest of the input and returns the call's
  // fingerprint. Any exception other than ELumexError aborts, which the fuzzer reports as a
  // finding.
  std::uint64_t RunOne(const std::uint8_t* data, std::size_t size) const;

  struct TKeyed {
    std::uint32_t Key;
    const TFuzzRow* Row;
    bool operator<(const TKeyed& other) const { return Key < other.Key; }
  };
  const std::vector<TKeyed>& Rows() const { return fRows; }

private:
  std::vector<TKeyed> fRows;
};

// The targets linked into a program built with LUMEX_FUZZ_REGISTER, named like their source
// file without _fuzz.cpp (as the corpus folders are).
struct TFuzzTarget {
  std::string Name;
  const TFuzzTable* Table;
};
std::vector<TFuzzTarget>& FuzzTargets();
bool RegisterTarget(const char* sourceFile, const TFuzzTable& table);

// ---- Arguments --------------------------------------------------------------------------------
// TArg<T> holds the value passed for a parameter of type T; Get() hands it to the call. Output
// parameters start in a state the input chooses too (empty, sized, another precision), since
// the functions size their outputs themselves or check the caller's sizing.

template <class T, class Enable = void>
struct TArg;  // a parameter type without a maker fails to compile: add one below

template <>
struct TArg<double> {
  double v;
  explicit TArg(TFuzzInput& in) : v(in.Value()) {}
  double Get() { return v; }
};
template <>
struct TArg<float> {
  float v;
  explicit TArg(TFuzzInput& in) : v(static_cast<float>(in.Value())) {}
  float Get() { return v; }
};
template <>
struct TArg<int> {
  int v;
  explicit TArg(TFuzzInput& in) : v(in.Int()) {}
  int Get() { return v; }
};
template <>
struct TArg<bool> {
  bool v;
  explicit TArg(TFuzzInput& in) : v(in.Bool()) {}
  bool Get() { return v; }
};
template <>
struct TArg<std::uint64_t> {
  std::uint64_t v;
  explicit TArg(TFuzzInput& in) : v(in.Raw64()) {}
  std::uint64_t Get() { return v; }
};

// Enumerations: any enumerator, or a value past the last one. The counts are those of the
// headers; an enumeration without an entry here defaults to 8.
template <class E>
constexpr int EnumCount() {
  if constexpr (std::is_same_v<E, THypothesisType> || std::is_same_v<E, THypothesisResult> ||
                std::is_same_v<E, TMtxOperation>)
    return 3;
  else if constexpr (std::is_same_v<E, TMtxFloatPrecision> || std::is_same_v<E, TLumexType>)
    return 2;
  else
    return 8;
}
template <class E>
struct TArg<E, std::enable_if_t<std::is_enum_v<E>>> {
  E v;
  explicit TArg(TFuzzInput& in) : v(static_cast<E>(in.Enumerator(EnumCount<E>()))) {}
  E Get() { return v; }
};

// Scalars passed by reference are outputs.
template <class T>
struct TArg<T&, std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>> {
  T v{};
  explicit TArg(TFuzzInput&) {}
  T& Get() { return v; }
};

// Containers made by one of TFuzzInput's makers, passed as Ref (const T& for inputs, T& for
// outputs, which start in a state the input chooses as well).
//
// Aliasing: an input and an output argument of one AliasKey type can be made the same object
// (AliasTo), to check that an output passed as an input gives what distinct objects give
// (see RunAliased below); CopyFrom starts a distinct output with the input's values instead.
template <class Stored, class Ref, Stored (TFuzzInput::*Make)()>
struct TMadeArg {
  using AliasKey = Stored;
  static constexpr bool kAliasInput = std::is_const_v<std::remove_reference_t<Ref>>;
  Stored v;
  Stored* alias = nullptr;
  explicit TMadeArg(TFuzzInput& in) : v((in.*Make)()) {}
  Ref Get() { return alias != nullptr ? *alias : v; }
  Stored& Target() { return v; }
  void AliasTo(Stored& object) { alias = &object; }
  template <class Input>
  void CopyFrom(Input& input) { v = input.v; }
};
template <>
struct TArg<const TVec&> : TMadeArg<TVec, const TVec&, &TFuzzInput::Vec> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<TVec&> : TMadeArg<TVec, TVec&, &TFuzzInput::Vec> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<const TMtx&> : TMadeArg<TMtx, const TMtx&, &TFuzzInput::Mtx> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<TMtx&> : TMadeArg<TMtx, TMtx&, &TFuzzInput::Mtx> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<const TVecInt&> : TMadeArg<TVecInt, const TVecInt&, &TFuzzInput::VecInt> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<TVecInt&> : TMadeArg<TVecInt, TVecInt&, &TFuzzInput::VecInt> {
  using TMadeArg::TMadeArg;
};
template <>
struct TArg<TLumexInt&> : TMadeArg<TVecInt, TLumexInt&, &TFuzzInput::VecInt> {
  using TMadeArg::TMadeArg;
};

// A dense object of either shape: a vector or a matrix, as the input decides.
template <class Ref>
struct TDenseArg {
  using AliasKey = TDenseLumex;
  static constexpr bool kAliasInput = std::is_const_v<std::remove_reference_t<Ref>>;
  TVec vec;
  TMtx mtx;
  bool isMatrix;
  TDenseLumex* alias = nullptr;
  explicit TDenseArg(TFuzzInput& in) : isMatrix(in.Bool()) {
    if (isMatrix) mtx = in.Mtx();
    else vec = in.Vec();
  }
  Ref Get() {
    if (alias != nullptr) return *alias;
    if (isMatrix) return mtx;
    return vec;
  }
  TDenseLumex& Target() {
    if (isMatrix) return mtx;
    return vec;
  }
  void AliasTo(TDenseLumex& object) { alias = &object; }
  template <class Input>
  void CopyFrom(Input& input) {
    isMatrix = input.isMatrix;
    vec = input.vec;
    mtx = input.mtx;
  }
};
template <>
struct TArg<const TDenseLumex&> : TDenseArg<const TDenseLumex&> {
  using TDenseArg::TDenseArg;
};
template <>
struct TArg<TDenseLumex&> : TDenseArg<TDenseLumex&> {
  using TDenseArg::TDenseArg;
};

// Optional objects: null, or an object made like the reference form. An optional output of an
// aliasable type may be made the same object as an input too (it is then passed, not null).
template <class T>
concept OptionalOutput = !std::is_const_v<T> && requires { typename TArg<T&>::AliasKey; };

template <class T>
  requires(std::is_class_v<std::remove_const_t<T>> && !OptionalOutput<T>)
struct TArg<T*> {
  TArg<std::remove_const_t<T>&> held;
  bool isNull;
  explicit TArg(TFuzzInput& in) : held(in), isNull(in.Byte() % 3 == 0) {}
  T* Get() { return isNull ? nullptr : &held.Get(); }
};
template <class T>
  requires OptionalOutput<T>
struct TArg<T*> {
  using AliasKey = typename TArg<T&>::AliasKey;
  static constexpr bool kAliasInput = false;
  TArg<T&> held;
  bool isNull;
  explicit TArg(TFuzzInput& in) : held(in), isNull(in.Byte() % 3 == 0) {}
  T* Get() { return isNull ? nullptr : &held.Get(); }
  void AliasTo(AliasKey& object) {
    held.AliasTo(object);
    isNull = false;
  }
  template <class Input>
  void CopyFrom(Input& input) {
    held.CopyFrom(input);
    isNull = false;
  }
};

template <>
struct TArg<TTwoElmReal&> {
  TTwoElmReal v{};
  explicit TArg(TFuzzInput&) {}
  TTwoElmReal& Get() { return v; }
};
template <>
struct TArg<TVecList&> {
  TVecList v;
  explicit TArg(TFuzzInput& in) {
    v.SetCount(in.Byte() % 4);
    for (int i = 0; i < v.Count(); ++i) v[i] = in.Vec();
  }
  TVecList& Get() { return v; }
};
template <>
struct TArg<const TVecList&> : TArg<TVecList&> {
  using TArg<TVecList&>::TArg;
  const TVecList& Get() { return v; }
};

// Spans: the values of a vector of its own length.
template <>
struct TArg<std::span<const double>> {
  std::vector<double> v;
  explicit TArg(TFuzzInput& in) : v(static_cast<std::size_t>(in.Length())) {
    for (double& x : v) x = in.Value();
  }
  std::span<const double> Get() { return v; }
};
template <>
struct TArg<std::span<double>> {
  std::vector<double> v;
  explicit TArg(TFuzzInput& in) : v(static_cast<std::size_t>(in.Length())) {
    for (double& x : v) x = in.Value();
  }
  std::span<double> Get() { return v; }
};

// Operators of the search functions: the valid ones and a few that are not.
template <>
struct TArg<const std::string&> {
  std::string v;
  explicit TArg(TFuzzInput& in) {
    static const char* const kTexts[] = {"<", "<=", "=", ">=", ">", "<>", "", "=>", "x", " <"};
    v = kTexts[in.Byte() % 10];
  }
  const std::string& Get() { return v; }
};

// Other output structures, default-constructed.
template <class T>
struct TArg<T&, std::enable_if_t<std::is_class_v<T> && !std::is_const_v<T> &&
                                 std::is_default_constructible_v<T> &&
                                 !std::is_base_of_v<TLumexBase, T>>> {
  T v{};
  explicit TArg(TFuzzInput&) {}
  T& Get() { return v; }
};

template <class T>
struct TArg<const T&, std::enable_if_t<std::is_class_v<T> && std::is_default_constructible_v<T> &&
                                       !std::is_base_of_v<TLumexBase, T>>> {
  T v{};
  explicit TArg(TFuzzInput&) {}
  const T& Get() { return v; }
};

// Callbacks of the optimisers: one of a few objectives, chosen by the input, including ones
// that return NaN or +Inf and one that raises.
template <>
struct TArg<const TRealFunction&> {
  TRealFunction v;
  explicit TArg(TFuzzInput& in);
  const TRealFunction& Get() { return v; }
};
template <>
struct TArg<const TGradientFunction&> {
  TGradientFunction v;
  explicit TArg(TFuzzInput& in);
  const TGradientFunction& Get() { return v; }
};
template <>
struct TArg<const TCurvatureFunction&> {
  TCurvatureFunction v;
  explicit TArg(TFuzzInput& in);
  const TCurvatureFunction& Get() { return v; }
};

// The quality criterion of StepwiseRegression: the null function or one of a few criteria,
// including one that returns NaN, one that ties every model and one that raises.
template <>
struct TArg<const TStepwiseQualityCriteria&> {
  TStepwiseQualityCriteria v;
  explicit TArg(TFuzzInput& in);
  const TStepwiseQualityCriteria& Get() { return v; }
};

// Owner pointers handed through to a callback untouched.
template <>
struct TArg<void*> {
  explicit TArg(TFuzzInput&) {}
  void* Get() { return nullptr; }
};

// ---- Fingerprints ------------------------------------------------------------------------------
// Values as the call left them: numbers by their bits, containers by their shape and elements,
// plain structures by their bytes (value-initialised, so padding is zero); callbacks and object
// constants are no outputs and fold nothing.

template <class T>
void TFingerprint::Fold(const T& x) {
  if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
    Bytes(&x, sizeof x);
  } else if constexpr (std::is_base_of_v<TDenseLumex, T>) {
    Fold(x.Rows());
    Fold(x.Cols());
    Fold(x.IsDouble());
    Fold(x.Complex());
    for (int i = 0; i < x.Length(); ++i) {
      if (!x.Complex()) Fold(x.Value(i));
      else if (x.IsDouble()) Fold(x.template Data<std::complex<double>>()[i]);
      else Fold(x.template Data<std::complex<float>>()[i]);
    }
  } else if constexpr (std::is_same_v<T, TVecInt>) {
    Fold(x.Length());
    for (int i = 0; i < x.Length(); ++i) Fold(x[i]);
  } else if constexpr (std::is_same_v<T, TVecList>) {
    Fold(x.Count());
    for (int i = 0; i < x.Count(); ++i) Fold(x[i]);
  } else if constexpr (std::is_pointer_v<T>) {
    Fold(x != nullptr);
    if constexpr (!std::is_void_v<std::remove_pointer_t<T>>) {
      if (x != nullptr) Fold(*x);
    }
  } else if constexpr (std::is_same_v<T, std::string>) {
    Bytes(x.data(), x.size());
  } else if constexpr (std::is_same_v<T, TTwoElmReal> || std::is_same_v<T, std::span<double>> ||
                       std::is_same_v<T, std::span<const double>>) {
    for (double v : x) Fold(v);
  } else if constexpr (std::is_trivially_copyable_v<T>) {
    Bytes(&x, sizeof x);
  }
}

// ---- Invocation -------------------------------------------------------------------------------

// With LUMEX_FUZZ_TRACE set in the environment, each call prints its row and arguments to stderr
// before it runs, so that replaying a finding (target binary + input file) shows the call.
bool TraceCalls();
void TraceArgument(double v);
void TraceArgument(const TDenseLumex& v);
void TraceArgument(const TVecInt& v);
template <class T>
void TraceArgument(const T& v) {
  if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
    TraceArgument(static_cast<double>(v));
  } else if constexpr (std::is_pointer_v<T>) {
    if constexpr (std::is_void_v<std::remove_pointer_t<T>>) TraceArgument(NaN);  // an owner
    else if (v == nullptr) TraceArgument(NaN);
    else TraceArgument(*v);
  } else if constexpr (std::is_base_of_v<TDenseLumex, T> || std::is_same_v<T, TVecInt>) {
    TraceArgument(static_cast<const std::conditional_t<std::is_same_v<T, TVecInt>, TVecInt,
                                                       TDenseLumex>&>(v));
  }
}
template <class... A>
void Trace(A&... args) {
  if (!TraceCalls()) return;
  (TraceArgument(args.Get()), ...);
}

// Makes the call, then folds its result and every argument.
template <class Call, class... A>
void Finish(TFingerprint& print, Call&& call, A&... args) {
  if constexpr (std::is_void_v<decltype(call())>) call();
  else print.Fold(call());
  (print.Fold(args.Get()), ...);
}

// ---- Aliased outputs ---------------------------------------------------------------------------
// After its arguments, an input may carry one more byte that asks for an output to be the same
// object as an input of its type (byte % 4 == 3; byte / 4 picks the pair). The call then runs
// twice: once with distinct objects, the output starting with the input's values, and once
// aliased. Both must raise the same message (or the aliased call a message naming the aliasing),
// or give the same result and outputs; otherwise the row has an aliasing fault, which
// AliasMismatch reports (it aborts, a finding, unless a test installs its own handler).

// An input argument A and an output argument B that can be one object.
template <class A, class B>
constexpr bool AliasPair() {
  if constexpr (requires {
                  typename A::AliasKey;
                  typename B::AliasKey;
                }) {
    return std::is_same_v<typename A::AliasKey, typename B::AliasKey> && A::kAliasInput &&
           !B::kAliasInput;
  } else {
    return false;
  }
}

template <std::size_t I, class Tuple, class F, std::size_t... J>
void ForPairsWith(Tuple& t, F& f, std::index_sequence<J...>) {
  (
      [&] {
        if constexpr (AliasPair<std::tuple_element_t<I, Tuple>, std::tuple_element_t<J, Tuple>>())
          f(std::get<I>(t), std::get<J>(t), I);
      }(),
      ...);
}
// f(input, output, index of the input) for every aliasable pair of the arguments, in a fixed
// order.
template <class Tuple, class F, std::size_t... I>
void ForAliasPairs(Tuple& t, F&& f, std::index_sequence<I...> seq) {
  (ForPairsWith<I>(t, f, seq), ...);
}

// The pair an input asks for (-1: none). A test may force aliasing (pair `choice` modulo the
// number of pairs) with SetAliasOverride, or turn it off (-2); -1 reads the byte.
void SetAliasOverride(int choice);
int AliasOverride();
int AliasChoice(TFuzzInput& in);
// Reports an aliasing fault of a row: message on stderr, then the handler (default: abort).
using TAliasMismatchHandler = void (*)(const char* row, const std::string& detail);
void SetAliasMismatchHandler(TAliasMismatchHandler handler);
void AliasMismatch(const char* row, const std::string& detail);
// The row name of the call in progress (for AliasMismatch).
const char*& CurrentRow();

// Runs the call on args, folding the result and every argument but `skip` (the aliased input)
// into print; returns the message of a clear error, or "" when the call returned.
template <class Tuple, class Call>
std::string RunFolded(Tuple& args, std::size_t skip, TFingerprint& print, Call&& call) {
  try {
    std::apply([&](auto&... a) {
      if constexpr (std::is_void_v<decltype(call(a...))>) call(a...);
      else print.Fold(call(a...));
      std::size_t k = 0;
      ((k++ != skip ? print.Fold(a.Get()) : void()), ...);
    }, args);
  } catch (const ELumexError& e) {
    return std::string("error: ") + e.what();
  }
  return "";
}

// The aliased and the distinct call of `make()`'s arguments (see above); folds the aliased call
// into print as a plain call would be.
template <class Make, class Call>
void RunAliased(int choice, Make&& make, TFingerprint& print, Call&& call) {
  auto aliased = make();
  auto distinct = make();
  constexpr auto seq = std::make_index_sequence<std::tuple_size_v<decltype(aliased)>>();
  int pairs = 0;
  ForAliasPairs(aliased, [&](auto&, auto&, std::size_t) { ++pairs; }, seq);
  choice %= pairs;
  std::size_t skip = 0;  // the aliased input, left out of the comparison
  int k = 0;
  ForAliasPairs(aliased, [&](auto& input, auto& output, std::size_t index) {
    if (k++ != choice) return;
    output.AliasTo(input.Target());
    skip = index;
  }, seq);
  k = 0;
  ForAliasPairs(distinct, [&](auto& input, auto& output, std::size_t) {
    if (k++ == choice) output.CopyFrom(input);
  }, seq);
  TFingerprint printDistinct;
  TFingerprint printAliased;
  const std::string distinctError = RunFolded(distinct, skip, printDistinct, call);
  const std::string aliasedError = RunFolded(aliased, skip, printAliased, call);
  if (!aliasedError.empty()) print.Bytes(aliasedError.data(), aliasedError.size());
  else print.Fold(printAliased.Value());
  if (aliasedError.find("alias") != std::string::npos) return;  // a clear error naming it
  if (aliasedError == distinctError &&
      (!aliasedError.empty() || printAliased.Value() == printDistinct.Value())) {
    return;
  }
  // A call that draws fresh seeds differs from itself: only a repeatable difference counts.
  auto again = make();
  k = 0;
  ForAliasPairs(again, [&](auto& input, auto& output, std::size_t) {
    if (k++ == choice) output.CopyFrom(input);
  }, seq);
  TFingerprint printAgain;
  const std::string againError = RunFolded(again, skip, printAgain, call);
  if (againError != distinctError || printAgain.Value() != printDistinct.Value()) return;
  AliasMismatch(CurrentRow(), aliasedError == distinctError
                                  ? std::string("the aliased call computes something else")
                                  : "distinct objects: \"" + distinctError + "\", aliased: \"" +
                                        aliasedError + "\"");
}

template <class Sig>
struct TInvoker;

template <class R, class... Args>
struct TInvoker<R(Args...)> {
  template <R (*F)(Args...)>
  static void Call(TFuzzInput& in, TFingerprint& print) {
    // Braced initialisation builds the arguments left to right, so a given input always
    // decodes to the same call.
    const TFuzzInput start = in;
    std::tuple<TArg<Args>...> args{TArg<Args>(in)...};
    std::apply([](auto&... a) { Trace(a...); }, args);
    const int choice = AliasChoice(in);
    int pairs = 0;
    ForAliasPairs(args, [&](auto&, auto&, std::size_t) { ++pairs; },
                  std::index_sequence_for<Args...>());
    if (choice >= 0 && pairs > 0) {
      RunAliased(choice, [&] {
        TFuzzInput again = start;
        return std::tuple<TArg<Args>...>{TArg<Args>(again)...};
      }, print, [](auto&... a) { return F(a.Get()...); });
      return;
    }
    std::apply([&](auto&... a) { Finish(print, [&] { return F(a.Get()...); }, a...); }, args);
  }
};

// Methods: the object comes from TObject<C>, made from the input, then the method is called
// with arguments made like those of a free function.
template <class C>
struct TObject;  // a class without a maker fails to compile: add one in fuzz_table.cpp

template <>
struct TObject<TRngStream> {
  TRandomGenerator generator;
  TRngStream* stream = nullptr;
  explicit TObject(TFuzzInput& in);
  TRngStream& Get() { return *stream; }
};
template <>
struct TObject<TPiecePoly> {
  TPiecePoly poly;
  explicit TObject(TFuzzInput& in);
  TPiecePoly& Get() { return poly; }
};

template <class C, class Sig>
struct TMethodInvoker;

template <class C, class R, class... Args>
struct TMethodInvoker<C, R(Args...)> {
  template <R (C::*M)(Args...)>
  static void Call(TFuzzInput& in, TFingerprint& print) {
    TObject<C> object(in);
    std::tuple<TArg<Args>...> args{TArg<Args>(in)...};
    std::apply([](auto&... a) { Trace(a...); }, args);
    std::apply([&](auto&... a) { Finish(print, [&] { return (object.Get().*M)(a.Get()...); }, a...); },
               args);
  }
};
template <class C, class R, class... Args>
struct TMethodInvoker<C, R(Args...) const> {
  template <R (C::*M)(Args...) const>
  static void Call(TFuzzInput& in, TFingerprint& print) {
    TObject<C> object(in);
    std::tuple<TArg<Args>...> args{TArg<Args>(in)...};
    std::apply([](auto&... a) { Trace(a...); }, args);
    std::apply([&](auto&... a) { Finish(print, [&] { return (object.Get().*M)(a.Get()...); }, a...); },
               args);
  }
};

}  // namespace lumex::fuzz

// One row of a method: the class, the method and its signature (with const for const methods).
#define LUMEX_FUZZ_METHOD(Class, Method, ...)                                                 \
  ::lumex::fuzz::TFuzzRow {                                                                   \
    #Class "::" #Method,                                                                      \
        &::lumex::fuzz::TMethodInvoker<Class, __VA_ARGS__>::template Call<&Class::Method>, 0, \
        #__VA_ARGS__                                                                          \
  }

// One row: the function's name and its signature (which selects the overload).
#define LUMEX_FUZZ(Name, ...) LUMEX_FUZZ_CAPPED(0, Name, __VA_ARGS__)
#define LUMEX_FUZZ_CAPPED(Cap, Name, ...)                                                  \
  ::lumex::fuzz::TFuzzRow {                                                                \
    #Name, &::lumex::fuzz::TInvoker<__VA_ARGS__>::template Call<&Name>, Cap, #__VA_ARGS__  \
  }

// The libFuzzer entry point of a target over its table.
// The table is built before main, so that a key collision stops the target at start-up.
#ifdef LUMEX_FUZZ_REGISTER
#define LUMEX_FUZZ_TARGET(rows)                     \
  const ::lumex::fuzz::TFuzzTable kFuzzTable{rows}; \
  [[maybe_unused]] const bool kFuzzRegistered = ::lumex::fuzz::RegisterTarget(__FILE__, kFuzzTable);
#else
#define LUMEX_FUZZ_TARGET(rows)                                                       \
  const ::lumex::fuzz::TFuzzTable kFuzzTable{rows};                                   \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    static_cast<void>(kFuzzTable.RunOne(data, size));                                 \
    return 0;                                                                         \
  }
#endif

// ---- Model callbacks of the nonlinear fits ------------------------------------------------------
// One of a few fixed models chosen by the input: smooth ones (a line, an exponential decay),
// one that returns NaN, one that is infinite for x > 0, one that raises, one (several variables)
// that shortens its output, and the empty function. Derivative procedures: the numeric ones, an
// analytic line, one that raises, and the empty function.
namespace lumex::fuzz {

template <>
struct TArg<const TRegressFun&> {
  TRegressFun v;
  explicit TArg(TFuzzInput& in);
  const TRegressFun& Get() { return v; }
};
template <>
struct TArg<const TMultiRegressFun&> {
  TMultiRegressFun v;
  explicit TArg(TFuzzInput& in);
  const TMultiRegressFun& Get() { return v; }
};
template <>
struct TArg<const TDeriveProc&> {
  TDeriveProc v;
  explicit TArg(TFuzzInput& in);
  const TDeriveProc& Get() { return v; }
};
template <>
struct TArg<const TMultiDeriveProc&> {
  TMultiDeriveProc v;
  explicit TArg(TFuzzInput& in);
  const TMultiDeriveProc& Get() { return v; }
};

}  // namespace lumex::fuzz
