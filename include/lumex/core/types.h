// Basic vocabulary of the core layer: constants, storage kinds and the library exception.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "lumex/core/export.h"

namespace lumex {

// NAN and INFINITY are <cmath> macros, so the core spells its constants NaN and Inf.
inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double Inf = std::numeric_limits<double>::infinity();
inline constexpr double PI = 3.141592653589793238462643383279502884;
inline constexpr double LN2 = 0.693147180559945309417232121458176568;
inline constexpr double SQRT2 = 1.414213562373095048801688724209698079;
inline constexpr double SQRT2PI = 2.506628274631000502415765284811045253;
inline constexpr double EPS_DOUBLE = std::numeric_limits<double>::epsilon();  // 2^-52
inline constexpr double EPS_SINGLE = std::numeric_limits<float>::epsilon();   // 2^-23
inline constexpr double SQRTEPS_DOUBLE = 1.4901161193847656e-08;              // 2^-26
inline constexpr double SQRTEPS_SINGLE = 3.4526698300124393e-04;              // sqrt(2^-23)
// Relative step of forward-difference gradients: about the cube root of the epsilon of the
// storage precision, which balances truncation against rounding error.
inline constexpr double GradStepSize = 6.0554544523933395e-06;       // 2^-52 ^ (1/3)
inline constexpr double GradStepSizeSingle = 4.9215666011689197e-03;  // 2^-23 ^ (1/3)

// Storage precision of a dense object. Complexity is the separate Complex() flag, so the four
// storage kinds are (fpDouble | fpSingle) x (real | complex).
enum TMtxFloatPrecision : std::uint8_t { fpSingle, fpDouble };

// What kind of dense object a TDenseLumex is.
enum TLumexType : std::uint8_t { ltVec, ltMtx };

// The library exception. what() is the message exactly as raised.
class LUMEX_API ELumexError : public std::runtime_error {
public:
  explicit ELumexError(const std::string& msg) : std::runtime_error(msg) {}
};

// Raises ELumexError with the given message; never returns.
[[noreturn]] LUMEX_API void ERaise(const std::string& msg);

// True when x is NaN or +-Inf.
inline bool IsNanInf(double x) { return !(x - x == 0.0); }

}  // namespace lumex
