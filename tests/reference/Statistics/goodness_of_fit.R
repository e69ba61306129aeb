# Reference values for the goodness-of-fit tests.
#
# - Kolmogorov-Smirnov statistics from ks.test (one sample against pnorm, two samples). The
#   library's significance is the asymptotic Kolmogorov law with Stephens' scaling
#   (sqrt(n) + 0.11/sqrt(n) + 0.12) D at every n, not R's exact p-value, so the script applies
#   that formula to R's statistic. The library's right-tailed two-sample statistic is
#   max(F2 - F1), R's alternative "less"; its left-tailed one is R's "greater".
# - Chi-square: the statistic and upper tail as chisq.test computes them from O and E; the
#   sample form fits the law (normal: mean and sd; exponential: the mean), bins the sample in
#   equal bins between its extremes (right-open, the last closed) and takes n * diff(F(edges))
#   as expected counts, with NumBins - k - 1 degrees of freedom.
# - Lilliefors: nortest's lillie.test statistic and p-value.
# - Anderson-Darling: nortest's ad.test statistic A^2 times the library's correction
#   (1 + 0.75/n + 2.25/n^2); for the exponential and Weibull forms the statistic of the
#   definition with y = (x/a)^b, times (1 + 0.2/sqrt(n)), the Weibull parameters from MASS's
#   fitdistr polished by optim (they are written out, so the statistic is checked at them).
# - Jarque-Bera: the library's form n (S^2/6 + K^2/24) from z-scores with sd (divisor n - 1),
#   which differs from tseries' moments with divisor n; written out here from its definition.
#
# Run: Rscript goodness_of_fit.R  (writes goodness_of_fit_data.txt and goodness_of_fit.txt)

library(nortest)
library(MASS)
set.seed(20261208)
samples <- list(
  rnorm(10),                # 0
  rnorm(25, 0.3, 1.2),      # 1
  rnorm(200),               # 2
  rexp(40, 0.5),            # 3
  rweibull(60, 1.5, 2),     # 4
  rt(120, 4),               # 5
  rnorm(15, 1, 1),          # 6
  runif(300) * 4 - 2,       # 7
  rexp(500, 2),             # 8
  rgamma(50, 8),            # 9
  rlogis(80),               # 10
  rt(40, 3), rt(40, 3),     # 11, 12: heavy tails, moderate significances
  runif(60), runif(60),     # 13, 14: flat
  rt(150, 5)                # 15
)
fmt <- function(x) formatC(x, digits = 17, format = "g")
rows <- c("test case case2 htype stat signif p1 p2")
add <- function(test, k, k2, ht, stat, signif, p1 = NaN, p2 = NaN) {
  rows <<- c(rows, paste(test, k, k2, ht, fmt(stat), fmt(signif), fmt(p1), fmt(p2)))
}
ks_signif <- function(D, ne, ht) {
  lambda <- max(0, (sqrt(ne) + 0.11 / sqrt(ne) + 0.12) * D)
  if (ht != 0) return(exp(-2 * lambda^2))
  j <- 1:51
  min(1, max(0, 2 * sum((-1)^(j - 1) * exp(-2 * j^2 * lambda^2))))
}
alt <- c("two.sided", "greater", "less")
for (k in c(0, 1, 2, 5, 6, 7)) {
  x <- samples[[k + 1]]
  for (ht in 0:2) {
    D <- unname(suppressWarnings(ks.test(x, "pnorm", alternative = alt[ht + 1]))$statistic)
    add("KS1", k, -1, ht, D, ks_signif(D, length(x), ht))
  }
}
for (pair in list(c(0, 1), c(2, 5), c(3, 8), c(6, 0))) {
  x <- samples[[pair[1] + 1]]; y <- samples[[pair[2] + 1]]
  ne <- length(x) * length(y) / (length(x) + length(y))
  ralt <- c("two.sided", "less", "greater")
  for (ht in 0:2) {
    D <- unname(suppressWarnings(ks.test(x, y, alternative = ralt[ht + 1]))$statistic)
    add("KS2", pair[1], pair[2], ht, D, ks_signif(D, ne, ht))
  }
}
# Counts form: O and E written as the case's p1/p2 columns of consecutive rows would be clumsy;
# they are samples 100 and 101 of the data file.
O <- c(12, 18, 25, 21, 14, 10); E <- c(14.5, 17.2, 20.1, 20.1, 17.2, 10.9)
for (ht in 0:2) {
  st <- unname(suppressWarnings(chisq.test(O, p = E / sum(E)))$statistic)
  st <- sum((O - E)^2 / E)  # chisq.test rescales E to sum(O); the library takes E as given
  lower <- pchisq(st, 3); upper <- pchisq(st, 3, lower.tail = FALSE)
  sig <- c(2 * min(lower, upper), upper, lower)[ht + 1]
  add("Chi2Counts", 100, 101, ht, st, sig, 3)
}
for (spec in list(list(k = 2, law = "normal", bins = 10), list(k = 1, law = "normal", bins = 6),
                  list(k = 3, law = "exp", bins = 8), list(k = 8, law = "exp", bins = 12))) {
  x <- samples[[spec$k + 1]]; n <- length(x)
  edges <- seq(min(x), max(x), length.out = spec$bins + 1)
  O <- hist(x, breaks = edges, right = FALSE, include.lowest = TRUE, plot = FALSE)$counts
  if (spec$law == "normal") {
    E <- n * diff(pnorm(edges, mean(x), sd(x))); np <- 2; code <- 29
  } else {
    E <- n * diff(pexp(edges, 1 / mean(x))); np <- 1; code <- 7
  }
  st <- sum((O - E)^2 / E); df <- spec$bins - np - 1
  add("Chi2Dist", spec$k, code, 1, st, pchisq(st, df, lower.tail = FALSE), spec$bins, df)
}
for (k in c(1, 2, 5, 6, 7, 9:15)) {
  x <- samples[[k + 1]]
  lt <- lillie.test(x)
  add("Lillie", k, -1, 0, unname(lt$statistic), lt$p.value)
}
for (k in c(0, 1, 2, 5, 7)) {
  x <- samples[[k + 1]]; n <- length(x)
  A <- unname(ad.test(x)$statistic) * (1 + 0.75 / n + 2.25 / n^2)
  add("ADNormal", k, 29, 0, A, NaN)
}
x <- samples[[5]]; n <- length(x)
A <- unname(ad.test(log(x))$statistic) * (1 + 0.75 / n + 2.25 / n^2)
add("ADLogNormal", 4, 25, 0, A, NaN)
adw <- function(x, a, b) {
  n <- length(x); y <- (sort(x) / a)^b; i <- 1:n
  S <- sum((1 - 2 * i) * (log(1 - exp(-y)) - rev(y)))
  (S / n - n) * (1 + 0.2 / sqrt(n))
}
for (k in c(3, 8, 4)) {
  x <- samples[[k + 1]]
  add("ADExp", k, 7, 0, adw(x, mean(x), 1), NaN, mean(x), 1)
}
for (k in c(4, 3)) {
  x <- samples[[k + 1]]
  f <- fitdistr(x, "weibull")$estimate
  nll <- function(p) -sum(dweibull(x, shape = p[1], scale = p[2], log = TRUE))
  o <- optim(f, nll, control = list(reltol = 1e-15, maxit = 10000))
  a <- o$par[2]; b <- o$par[1]
  add("ADWeibull", k, 38, 0, adw(x, a, b), NaN, a, b)
}
for (k in c(0, 2, 4, 5)) {
  x <- samples[[k + 1]]; n <- length(x); z <- (x - mean(x)) / sd(x)
  S <- sum(z^3) / n; K <- sum(z^4) / n - 3; JB <- n * (S^2 / 6 + K^2 / 24)
  add("JB", k, -1, 0, JB, pchisq(JB, 2, lower.tail = FALSE))
}

data <- c("case value")
for (k in seq_along(samples)) data <- c(data, paste(k - 1, fmt(samples[[k]])))
data <- c(data, paste(100, fmt(c(12, 18, 25, 21, 14, 10))), paste(101, fmt(c(14.5, 17.2, 20.1, 20.1, 17.2, 10.9))))
writeLines(data, "goodness_of_fit_data.txt")
writeLines(rows, "goodness_of_fit.txt")
