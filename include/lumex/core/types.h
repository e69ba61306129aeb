/// @file
/// Basic vocabulary of the core layer: constants, storage kinds, the library exception and the
/// allocation limit that every caller-chosen size is checked against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "lumex/core/export.h"

namespace lumex {

/// @name Constants
/// NAN and INFINITY are macros of the C header cmath, so the core spells its constants NaN and Inf.
/// @{

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();  ///< A quiet NaN.
inline constexpr double Inf = std::numeric_limits<double>::infinity();   ///< Positive infinity.
inline constexpr double PI = 3.141592653589793238462643383279502884;     ///< pi.
inline constexpr double LN2 = 0.693147180559945309417232121458176568;    ///< ln(2).
inline constexpr double SQRT2 = 1.414213562373095048801688724209698079;  ///< sqrt(2).
/// sqrt(2 pi), the normalising constant of the normal density.
inline constexpr double SQRT2PI = 2.506628274631000502415765284811045253;
/// Machine epsilon of double, 2^-52.
inline constexpr double EPS_DOUBLE = std::numeric_limits<double>::epsilon();
/// Machine epsilon of float, 2^-23.
inline constexpr double EPS_SINGLE = std::numeric_limits<float>::epsilon();
inline constexpr double SQRTEPS_DOUBLE = 1.4901161193847656e-08;  ///< sqrt(EPS_DOUBLE), 2^-26.
inline constexpr double SQRTEPS_SINGLE = 3.4526698300124393e-04;  ///< sqrt(EPS_SINGLE).
/// Relative step of forward-difference gradients in double precision, (2^-52)^(1/3).
///
/// About the cube root of the epsilon of the storage precision, which balances truncation
/// against rounding error.
inline constexpr double GradStepSize = 6.0554544523933395e-06;
/// Relative step of forward-difference gradients in single precision, (2^-23)^(1/3).
inline constexpr double GradStepSizeSingle = 4.9215666011689197e-03;

/// @}

/// Storage precision of a dense object.
///
/// Complexity is the separate Complex() flag, so the four storage kinds are
/// (fpDouble | fpSingle) x (real | complex).
enum TMtxFloatPrecision : std::uint8_t {
  fpSingle,  ///< 32-bit float elements (std::complex<float> when complex).
  fpDouble   ///< 64-bit double elements (std::complex<double> when complex).
};

/// What kind of dense object a TDenseLumex is.
enum TLumexType : std::uint8_t {
  ltVec,  ///< A TVec.
  ltMtx   ///< A TMtx.
};

/// The library exception. what() is the message exactly as raised.
class LUMEX_API ELumexError : public std::runtime_error {
public:
  /// An exception whose what() is `msg`.
  /// @param msg  the message, conventionally "<Function>: <condition>".
  explicit ELumexError(const std::string& msg) : std::runtime_error(msg) {}
};

/// Raises ELumexError with the given message; never returns.
/// @param msg  the message.
/// @throws ELumexError always, with what() equal to `msg`.
[[noreturn]] LUMEX_API void ERaise(const std::string& msg);

/// True when x is NaN or +-Inf.
/// @param x  the value tested.
/// @return   false exactly when x is finite.
inline bool IsNanInf(double x) { return !(x - x == 0.0); }

/// @name Allocation limit
/// @{

/// The largest buffer, in bytes, that the library allocates for a size its caller chooses (a
/// vector length, a lag count, a forecast horizon, a number of bins).
///
/// By default half the memory the machine has available at the time of the request
/// (MemAvailable), or the process's address-space or data limit when that is lower: a call
/// needs working storage besides its output, and a larger request could not be served without
/// swapping or the out-of-memory killer (on a machine with 20 GB available,
/// TVec(2147483647), 16 GiB, is refused). A size past the limit, or past 2^31 - 1 elements,
/// raises ELumexError "<Function>: <Parameter> too large" before anything is allocated, so
/// std::bad_alloc only escapes when memory runs out for a request that fits. Requests of at
/// most 64 MiB are always attempted (a limit below that acts as 64 MiB). Thread-safe.
/// @return the limit set by SetAllocationLimit, or the machine's default when none is set.
LUMEX_API std::size_t AllocationLimit() noexcept;
/// Sets the limit of AllocationLimit for the whole process (a server capping what one request
/// may take).
///
/// Thread-safe; calls already running keep the old limit.
/// @param bytes  the new limit in bytes; 0 restores the default.
LUMEX_API void SetAllocationLimit(std::size_t bytes) noexcept;

/// @}

namespace detail {

// Requests up to this many bytes skip the query of the limit (it reads /proc/meminfo).
inline constexpr unsigned long long kAlwaysAllocated = 64ull << 20;

// The one check of every caller-given size that allocates: raises "<fn>: <param> too large"
// when `count` elements of `elementBytes` bytes exceed 2^31 - 1 elements or AllocationLimit().
// A negative count is the caller's own error and is checked before.
inline void CheckAllocation(const char* fn, const char* param, long long count,
                            std::size_t elementBytes = sizeof(double)) {
  if (count <= 0) return;
  const unsigned long long bytes = static_cast<unsigned long long>(count) * elementBytes;
  if (count > std::numeric_limits<int>::max() ||
      (bytes > kAlwaysAllocated && bytes > AllocationLimit())) {
    ERaise(std::string(fn) + ": " + param + " too large");
  }
}

// The one check of every enumeration argument whose out-of-range values have no defined
// outcome: raises "<fn>: unknown <param>" unless value is one of the `count` enumerators.
inline void CheckEnum(const char* fn, const char* param, int value, int count) {
  if (value < 0 || value >= count) ERaise(std::string(fn) + ": unknown " + param);
}

}  // namespace detail

}  // namespace lumex
