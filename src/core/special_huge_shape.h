// Internal: the incomplete gamma and beta functions at huge shapes, where Boost's lose their
// digits and their speed. The gamma, chi-square, Erlang and Poisson laws call the gamma forms;
// the beta, F, binomial and negative binomial laws the beta forms.
#pragma once

namespace lumex::detail {

// Shapes from which the forms below replace Boost's incomplete gamma and beta functions.
inline constexpr double kHugeShape = 1e10;

// Both shapes of an incomplete beta at least kHugeShape: Boost's ibeta loses digits there
// (I_0.5(1e13, 1e13) comes out 0.50000007) and takes seconds beyond 1e17, and the saddlepoint
// form takes over. HugeShapeBeta is I_x(a, b), or 1 - I_x(a, b) when upper; HugeShapeBetaInv
// its inverse in x.
inline bool HugeShapes(double a, double b) { return a >= kHugeShape && b >= kHugeShape; }
double HugeShapeBeta(double x, double a, double b, bool upper);
double HugeShapeBetaInv(double p, double a, double b);

// The incomplete gamma function from a shape of kHugeShape on, where Boost's loses its digits
// (P(1e20, 1e20) came out 0.99996) and costs milliseconds: HugeShapeGamma is P(a, z), or
// Q(a, z) = 1 - P(a, z) when upper; HugeShapeGammaInv the z at which that tail equals p.
double HugeShapeGamma(double z, double a, bool upper);
double HugeShapeGammaInv(double p, double a, bool upper);

}  // namespace lumex::detail
