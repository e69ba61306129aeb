# Reference values for the closed-form distribution fits.
#
# Estimates are R's own (mean, sd, median, ...); intervals come from R's exact tools where the
# library uses the same construction: t.test for the normal mean, qchisq / qgamma / qpois / qnorm
# quantiles for the pivots, binom.test for Clopper-Pearson. The geometric interval inverts the
# 2 x 2 observed information of the negative binomial log-likelihood at r = 1 with solve(); the
# inverse Gaussian intervals apply the library's choice (the chi-square pivot for lambda, Wald for
# mu) to R's quantiles.
#
# Run: Rscript fit_closed_form.R  (writes fit_closed_form_data.txt and fit_closed_form.txt)

set.seed(20261206)
rinvgauss <- function(n, mu, lambda) {  # Michael, Schucany and Haas (1976)
  y <- rnorm(n)^2
  x <- mu + mu^2 * y / (2 * lambda) - mu / (2 * lambda) * sqrt(4 * mu * lambda * y + mu^2 * y^2)
  u <- runif(n)
  ifelse(u <= mu / (mu + x), x, mu^2 / x)
}
samples <- list(
  rnorm(25, 10, 2),                 # 0 normal
  rlnorm(40, 1, 0.5),               # 1 log-normal
  rexp(30, 1 / 3),                  # 2 exponential, mean 3
  rpois(20, 3),                     # 3 Poisson, n * lambda < 100
  rpois(50, 4),                     # 4 Poisson, n * lambda >= 100
  runif(15, 2, 7),                  # 5 uniform
  rgeom(40, 0.3),                   # 6 geometric
  sqrt(rexp(35, 1 / (2 * 1.7^2))),  # 7 Rayleigh, b = 1.7
  rinvgauss(30, 2, 5),              # 8 inverse Gaussian
  rbinom(12, 20, 0.35),             # 9 binomial counts of 20 trials
  rnbinom(60, size = 3, prob = 0.4),# 10 negative binomial
  c(1, 2, 3, 4, 5),                 # 11 the small textbook sample
  c(2, 3, 2, 3)                     # 12 mean 2.5 exactly: rounding to even
)
# Keep the binomial counts strictly inside (0, 20), where binom.test and the F form agree.
samples[[10]] <- pmin(pmax(samples[[10]], 1), 19)

fmt <- function(x) formatC(x, digits = 17, format = "g")
rows <- c("fn case alpha e1 e2 lo1 hi1 lo2 hi2")
add <- function(fn, k, alpha, e1, e2 = NaN, ci1 = c(NaN, NaN), ci2 = c(NaN, NaN)) {
  rows <<- c(rows, paste(fn, k, fmt(alpha), fmt(e1), fmt(e2), fmt(ci1[1]), fmt(ci1[2]),
                         fmt(ci2[1]), fmt(ci2[2])))
}
twosided <- function(q, alpha) c(q(alpha / 2), q(1 - alpha / 2))

for (alpha in c(0.05, 0.01, 0.2)) {
  for (k in c(0, 11)) {
    x <- samples[[k + 1]]; n <- length(x); s <- sd(x)
    ci <- as.numeric(t.test(x, conf.level = 1 - alpha)$conf.int)
    sci <- s * sqrt((n - 1) / qchisq(c(1 - alpha / 2, alpha / 2), n - 1))
    add("NormalFit", k, alpha, mean(x), s, ci, sci)
  }
  x <- log(samples[[2]]); n <- length(x); s <- sd(x)
  add("LogNormalFit", 1, alpha, mean(x), s, as.numeric(t.test(x, conf.level = 1 - alpha)$conf.int),
      s * sqrt((n - 1) / qchisq(c(1 - alpha / 2, alpha / 2), n - 1)))
  x <- samples[[3]]; n <- length(x); m <- mean(x)
  add("ExponentFit", 2, alpha, m, NaN, twosided(function(p) qgamma(p, n, scale = m / n), alpha))
  for (k in c(3, 4)) {
    x <- samples[[k + 1]]; n <- length(x); S <- sum(x)
    q <- if (S < 100) function(p) qpois(p, S) / n else function(p) qnorm(p, S, sqrt(S)) / n
    add("PoissonFit", k, alpha, mean(x), NaN, twosided(q, alpha))
  }
  x <- samples[[6]]; n <- length(x); lo <- min(x); hi <- max(x); d <- (hi - lo) / alpha^(1 / n)
  add("UniformFit", 5, alpha, lo, hi, c(hi - d, lo), c(hi, lo + d))
  N <- ceiling(max(x))
  add("UniformDFit", 5, alpha, N, NaN, c(N / (1 - alpha)^(1 / n), N / alpha^(1 / n)))
  x <- samples[[7]]; n <- length(x); P <- 1 / (mean(x) + 1); S <- sum(x)
  I <- matrix(c(-sum(trigamma(x + 1) - trigamma(1)), -n / P,
                -n / P, n / P^2 + S / (1 - P)^2), 2, 2)
  se <- sqrt(abs(solve(I)[2, 2]))
  add("GeometricFit", 6, alpha, P, NaN, twosided(function(p) qnorm(p, P, se), alpha))
  x <- samples[[8]]; n <- length(x); B <- sqrt(mean(x^2) / 2)
  add("RayleighFit", 7, alpha, B, NaN,
      B * sqrt(2 * n / qchisq(c(1 - alpha / 2, alpha / 2), 2 * n)))
  x <- samples[[9]]; n <- length(x); mu <- mean(x); lambda <- n / sum(1 / x - 1 / mu)
  se <- sqrt(mu^3 / (lambda * n))
  add("InverseGaussianFit", 8, alpha, mu, lambda, twosided(function(p) qnorm(p, mu, se), alpha),
      lambda * qchisq(c(alpha / 2, 1 - alpha / 2), n - 1) / n)
}

x <- samples[[8]]; add("MaxwellFit", 7, NaN, sqrt(mean(x^2) / 3))
x <- samples[[1]]; add("LaplaceFit", 0, NaN, median(x), mean(abs(x - median(x))))
x <- samples[[12]]; add("LaplaceFit", 11, NaN, median(x), mean(abs(x - median(x))))
x <- samples[[1]]; add("LogisticFit", 0, NaN, mean(x), sd(x) * sqrt(3) / pi)
for (k in c(2, 12)) {
  x <- samples[[k + 1]]
  add("ChiSquareFit", k, NaN, round(mean(x)))  # R's round() takes halves to even
  lambda <- mean(x) / var(x)
  add("ErlangFit", k, NaN, round(mean(x) * lambda), lambda)
}
x <- samples[[11]]; P <- mean(x) / var(x); add("NegBinomFit", 10, NaN, P * mean(x) / (1 - P), P)
x <- samples[[10]]; P <- 1 - var(x) / mean(x); add("BinomFitInt", 9, NaN, round(mean(x) / P), P)

# Clopper-Pearson, one row per element of sample 9 (n = 20 trials); e2 holds the element's index.
for (alpha in c(0.05, 0.01)) {
  for (i in seq_along(samples[[10]])) {
    xi <- samples[[10]][i]
    ci <- as.numeric(binom.test(xi, 20, conf.level = 1 - alpha)$conf.int)
    add("BinomFitCI", 9, alpha, xi / 20, i - 1, ci)
  }
}

data <- c("case value")
for (k in seq_along(samples)) data <- c(data, paste(k - 1, fmt(samples[[k]])))
writeLines(data, "fit_closed_form_data.txt")
writeLines(rows, "fit_closed_form.txt")
