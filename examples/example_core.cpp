// The core layer: containers, a probability function, linear algebra and random numbers.
#include <cstdio>

#include "lumex/core/core.h"

namespace {

void Containers() {
  std::printf("== Containers: vectors and matrices\n");
  // [containers]
  lumex::TVec v{3.0, 1.0, 2.0};      // a real vector of three values
  lumex::TMtx m{{1, 2}, {3, 4}};     // a 2 x 2 matrix, given row by row
  lumex::TVec zeros(4);              // four zeros
  v[1] = 10.0;                       // element access
  m(1, 0) = -3.0;                    // row 1, column 0
  std::printf("v has %d values, v[1] = %g; m is %d x %d, m(1, 0) = %g; zeros has %d values\n",
              v.Length(), v[1], m.Rows(), m.Cols(), m(1, 0), zeros.Length());
  std::printf("sum of v = %g, mean of v = %g\n", lumex::Sum(v), lumex::Mean(v));
  // [containers]
}

void Probability() {
  std::printf("\n== Probability functions: normal and Student's t\n");
  // [probability]
  const double p = lumex::NormalCDF(1.96);             // P(Z <= 1.96), Z standard normal
  const double q = lumex::StudentCDFInv(0.975, 10.0);  // 97.5% quantile of t(10)
  std::printf("P(Z <= 1.96) = %.6g; t(10) 97.5%% quantile = %.6g\n", p, q);
  // [probability]
}

void LinearAlgebra() {
  std::printf("\n== Linear algebra: solve A x = b, determinant, eigenvalues\n");
  // [linalg]
  const lumex::TMtx a{{4, 1, 0}, {1, 3, 1}, {0, 1, 2}};
  const lumex::TVec b{1, 2, 3};
  lumex::TVec x, eigenvalues;
  lumex::LUSolve(x, a, b);         // x := A^-1 b, by LU decomposition
  lumex::EigSym(a, eigenvalues);   // the eigenvalues of the symmetric A
  std::printf("x = (%.6g, %.6g, %.6g), det A = %.6g\n", x[0], x[1], x[2], lumex::Determinant(a));
  std::printf("eigenvalues of A: %.6g, %.6g, %.6g\n", eigenvalues[0], eigenvalues[1],
              eigenvalues[2]);
  // [linalg]
}

void RandomNumbers() {
  std::printf("\n== Random numbers: a seeded generator\n");
  // [random]
  lumex::TRandomGenerator rng(lumex::brgXoshiro256, 2026);  // same seed, same numbers
  lumex::TVec z(10000);
  rng.GetStream(0).RandomGaussian(z, 10.0, 2.0);            // normal, mean 10, sd 2
  std::printf("10000 normal variates: mean %.4f, standard deviation %.4f\n", lumex::Mean(z),
              lumex::StdDev(z));
  // [random]
}

}  // namespace

int main() {
  Containers();
  Probability();
  LinearAlgebra();
  RandomNumbers();
}
