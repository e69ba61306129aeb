// Goodness-of-fit statistics for the random-variate tests: a Kolmogorov-Smirnov significance for
// continuous laws and Pearson's chi-square for discrete ones, both at n = 10^5 draws, computed
// here from Boost so that they do not lean on the library's own distribution functions.
#pragma once

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "lumex/core/containers.h"

namespace lumex::test {

// A seed of its own for each case of a parameterised test, from its name: laws drawn by
// inverting the same uniforms would otherwise share one Kolmogorov-Smirnov statistic.
inline std::uint32_t CaseSeed(const std::string& name, std::uint32_t base) {
  for (char ch : name) base = base * 31 + static_cast<unsigned char>(ch);
  return base;
}

inline std::vector<double> Values(const TDenseLumex& v) {
  std::vector<double> out(static_cast<std::size_t>(v.Length()));
  for (int i = 0; i < v.Length(); ++i) out[static_cast<std::size_t>(i)] = v.Value(i);
  return out;
}

inline std::vector<double> Values(const TVecInt& k) {
  std::vector<double> out(static_cast<std::size_t>(k.Length()));
  for (int i = 0; i < k.Length(); ++i) out[static_cast<std::size_t>(i)] = k[i];
  return out;
}

// Significance of the one-sample Kolmogorov-Smirnov statistic of `x` against `cdf`: the
// asymptotic law with Stephens' small-sample factor, ample at n = 10^5.
//
// The statistic D = max_i max(F(x(i)) - (i-1)/n, i/n - F(x(i))) is computed exactly with few
// evaluations of F: F is evaluated at every 16th order statistic, and between two evaluated
// points a < b it lies in [F(x(a)), F(x(b))], which bounds the terms of the points inside. Only
// blocks whose bound exceeds the largest term found so far are evaluated point by point.
inline double KolmogorovSignificance(std::vector<double> x,
                                     const std::function<double(double)>& cdf) {
  std::sort(x.begin(), x.end());
  const std::size_t count = x.size();
  const double n = static_cast<double>(count);
  double d = 0.0;
  auto term = [&](std::size_t i, double f) {
    d = std::max({d, f - static_cast<double>(i) / n, static_cast<double>(i + 1) / n - f});
  };
  constexpr std::size_t kStep = 16;
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < count; i += kStep) at.push_back(i);
  if (at.back() != count - 1) at.push_back(count - 1);
  std::vector<double> f(at.size());
  for (std::size_t j = 0; j < at.size(); ++j) {
    f[j] = cdf(x[at[j]]);
    term(at[j], f[j]);
  }
  // Blocks by decreasing bound, so that the largest terms are found first.
  std::vector<std::pair<double, std::size_t>> blocks;
  for (std::size_t j = 0; j + 1 < at.size(); ++j) {
    const double a = static_cast<double>(at[j]);
    const double b = static_cast<double>(at[j + 1]);
    blocks.push_back({std::max(f[j + 1] - (a + 1) / n, b / n - f[j]), j});
  }
  std::sort(blocks.rbegin(), blocks.rend());
  for (const auto& [bound, j] : blocks) {
    if (bound <= d) break;
    for (std::size_t i = at[j] + 1; i < at[j + 1]; ++i) term(i, cdf(x[i]));
  }
  const double lambda = (std::sqrt(n) + 0.12 + 0.11 / std::sqrt(n)) * d;
  double p = 0.0;
  for (int j = 1; j <= 100; ++j) {
    p += 2.0 * ((j % 2 == 1) ? 1.0 : -1.0) * std::exp(-2.0 * j * j * lambda * lambda);
  }
  return std::clamp(p, 0.0, 1.0);
}

// Pearson's chi-square significance of whole-number draws against a law given by its mass
// function from `start` on and the mass `massBelow` below start. Cells are closed from the left
// as soon as each holds an expected count of 5 and at least that much remains above; the first
// cell takes the mass below start, the last the rest.
inline double ChiSquareSignificance(const std::vector<double>& draws, std::int64_t start,
                                    double massBelow, const std::function<double(double)>& pmf) {
  const double n = static_cast<double>(draws.size());
  std::vector<double> edges;
  std::vector<double> expected;
  double f = massBelow;  // P(X <= k)
  double closed = 0.0;   // P(X <= last edge)
  for (std::int64_t k = start; n * (1.0 - f) >= 5.0 && k < start + 10000000; ++k) {
    f += pmf(static_cast<double>(k));
    if (n * (f - closed) >= 5.0 && n * (1.0 - f) >= 5.0) {
      edges.push_back(static_cast<double>(k));
      expected.push_back(n * (f - closed));
      closed = f;
    }
  }
  expected.push_back(n * (1.0 - closed));
  if (expected.size() < 2) return 1.0;
  std::vector<double> observed(expected.size(), 0.0);
  for (double v : draws) {
    const auto cell = std::lower_bound(edges.begin(), edges.end(), v) - edges.begin();
    observed[static_cast<std::size_t>(cell)] += 1.0;
  }
  double stat = 0.0;
  for (std::size_t j = 0; j < expected.size(); ++j) {
    stat += (observed[j] - expected[j]) * (observed[j] - expected[j]) / expected[j];
  }
  const boost::math::chi_squared_distribution<> law(static_cast<double>(expected.size() - 1));
  return boost::math::cdf(boost::math::complement(law, stat));
}

}  // namespace lumex::test
