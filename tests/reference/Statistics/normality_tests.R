# Reference values for the Shapiro-Wilk and Shapiro-Francia tests.
#
# W: shapiro.test for n = 3 and n >= 6. For n = 4 and 5 R's swilk corrects only the outermost
# coefficient, while the library's algorithm corrects the two outermost ones at every n >= 4, so
# there the script computes W by the library's algorithm (the AS R94 polynomials applied to
# R's qnorm scores).
# Significance: z from the library's transformation of R's W; p = pnorm(z); right tail 1 - p,
# left p, two-tailed min(p, 1 - p) (not doubled). For n >= 12 the transformation is R's own, and
# the script checks that R's p-value equals the right tail. For 4 <= n <= 11 the library's
# polynomials are in ln n (R's are in n), and n = 3 takes the large-sample transformation (R
# uses the exact law); these sizes therefore rest on the library's formulas alone.
# Shapiro-Francia: W' = cor(sort(x), m)^2 with m = qnorm(ppoints(n, 3/8)) (nortest's sf.test
# statistic) and the transformation mu = 1.0521 (ln ln n - ln n) - 1.2725,
# sigma = 1.0308 - 0.026758 (ln ln n + 2 / ln n).
#
# Run: Rscript normality_tests.R  (writes normality_tests_data.txt and normality_tests.txt)

set.seed(20261208)
fmt <- function(x) formatC(x, digits = 17, format = "g")
samples <- list(
  c(2.1, 3.4, 1.9),
  c(5.2, 4.8, 6.1, 5.5),
  c(1.0, 2.0, 2.5, 3.0, 9.0),
  rnorm(6), rnorm(7, 10, 2), rexp(10), rnorm(11), rnorm(12), rexp(12),
  rnorm(13, -5, 0.1), round(rnorm(20, 0, 3)), rnorm(50), rlnorm(50),
  runif(100), rnorm(500), rt(1000, 5), rnorm(5000), rexp(5000)
)
data_lines <- c("case value")
for (k in seq_along(samples)) data_lines <- c(data_lines, paste(k - 1, fmt(samples[[k]])))
writeLines(data_lines, "normality_tests_data.txt")

lib_w <- function(x) {
  n <- length(x); x <- sort(x)
  m <- qnorm(((1:n) - 0.375) / (n + 0.25)); s2 <- sum(m^2); u <- 1 / sqrt(n)
  an <- m[n] / sqrt(s2) + 0.221157 * u - 0.147981 * u^2 - 2.071190 * u^3 + 4.434685 * u^4 -
        2.706056 * u^5
  an1 <- m[n - 1] / sqrt(s2) + 0.042981 * u - 0.293762 * u^2 - 1.752461 * u^3 +
         5.682633 * u^4 - 3.582633 * u^5
  phi <- max(2.220446049250313e-16, (s2 - 2 * m[n]^2 - 2 * m[n - 1]^2) / (1 - 2 * an^2 - 2 * an1^2))
  a <- m / sqrt(phi); a[n] <- an; a[n - 1] <- an1; a[1] <- -an; a[2] <- -an1
  sum(a * x)^2 / sum((x - mean(x))^2)
}
sw_z <- function(w, n) {
  l <- log(n)
  if (n >= 4 && n <= 11) {
    y <- -log(-2.273 + 0.459 * l - log(1 - w))
    mu <- 0.544 - 0.39978 * l + 0.025054 * l^2 - 0.0006714 * l^3
    sigma <- exp(1.3822 - 0.77857 * l + 0.062767 * l^2 - 0.0020322 * l^3)
  } else {
    y <- log(1 - w)
    mu <- -1.5861 - 0.31082 * l - 0.083751 * l^2 + 0.0038915 * l^3
    sigma <- exp(-0.4803 - 0.082676 * l + 0.0030302 * l^2)
  }
  (y - mu) / sigma
}
tails <- function(z) c(min(pnorm(z), pnorm(z, lower.tail = FALSE)),
                       pnorm(z, lower.tail = FALSE), pnorm(z))

out <- c("# test: 0 Shapiro-Wilk, 1 Shapiro-Francia; signif0..2 by htype 0 (two), 1 (right), 2 (left)",
         "test case n w signif0 signif1 signif2")
for (k in seq_along(samples)) {
  x <- samples[[k]]; n <- length(x)
  st <- shapiro.test(x)
  w <- if (n == 4 || n == 5) lib_w(x) else unname(st$statistic)
  z <- suppressWarnings(sw_z(w, n))
  p <- tails(z)
  if (n >= 12) stopifnot(abs(p[2] - st$p.value) <= 1e-12 * st$p.value)
  if (n >= 6) stopifnot(abs(lib_w(x) - w) <= 1e-13)
  out <- c(out, paste(0, k - 1, n, fmt(w), fmt(p[1]), fmt(p[2]), fmt(p[3])))

  m <- qnorm(ppoints(n, a = 3 / 8))
  wf <- cor(sort(x), m)^2
  l <- log(n)
  zf <- (log(1 - wf) - (1.0521 * (log(l) - l) - 1.2725)) / (1.0308 - 0.026758 * (log(l) + 2 / l))
  pf <- tails(zf)
  out <- c(out, paste(1, k - 1, n, fmt(wf), fmt(pf[1]), fmt(pf[2]), fmt(pf[3])))
}
writeLines(out, "normality_tests.txt")
