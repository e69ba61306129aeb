# Reference values for variances, covariance and correlation matrices, from R's var, cov, cor
# and cor.test.
#
# R's var and cov divide by n - 1. The biased forms (divisor n) are R's values times (n - 1) / n.
# The t statistic of a correlation is cor.test's statistic, r * sqrt((n - 2) / (1 - r^2)).
#
# Data sets (matrices, rows are observations):
#   0  longley (16 x 7), the classic ill-conditioned regression data
#   1  50 x 4 normal values about 1e6 with spreads 1e-3 .. 10 (centring must keep the digits)
#   2  200 x 3 strongly correlated columns (correlations near +-0.999)
#   3  3 x 5, fewer observations than variables (a singular covariance matrix)
#   4  1000 x 2 exponential and its noisy square
#
# Output: what set i j value, with what one of
#   cov covb cor      covariance (n - 1, n) and correlation matrices of the columns
#   var varb          variance of column i (n - 1, n)
#   pcov pcovb pcor   the 2 x 2 matrices of the pair (column 0, column 1)
#   t                 the t statistic of the pair's correlation
#
# Run: Rscript covariance.R  (writes covariance_data.txt and covariance.txt)

set.seed(20261207)
sets <- list(
  as.matrix(longley),
  sapply(c(1e-3, 0.1, 1, 10), function(s) 1e6 + rnorm(50, sd = s)),
  {
    z <- rnorm(200)
    cbind(z, 2 * z + rnorm(200, sd = 0.05), -z + rnorm(200, sd = 0.02))
  },
  matrix(c(1, 4, 2, 8, 5, 7, 3, 6, 9, 2, 2, 1, 0.5, 7, 3), nrow = 3),
  {
    e <- rexp(1000)
    cbind(e, e^2 + rnorm(1000, sd = 0.3))
  }
)

fmt <- function(x) formatC(x, digits = 17, format = "g")

data_lines <- c("set i j value")
out_lines <- c("what set i j value")
emit <- function(what, k, i, j, v) {
  out_lines <<- c(out_lines, paste(what, k, i, j, fmt(v)))
}
emit_matrix <- function(what, k, m) {
  for (i in seq_len(nrow(m))) for (j in seq_len(ncol(m))) emit(what, k, i - 1, j - 1, m[i, j])
}

for (k in seq_along(sets)) {
  x <- unname(sets[[k]])
  n <- nrow(x)
  for (i in seq_len(n)) for (j in seq_len(ncol(x))) {
    data_lines <- c(data_lines, paste(k - 1, i - 1, j - 1, fmt(x[i, j])))
  }
  emit_matrix("cov", k - 1, cov(x))
  emit_matrix("covb", k - 1, cov(x) * (n - 1) / n)
  emit_matrix("cor", k - 1, cor(x))
  for (j in seq_len(ncol(x))) {
    emit("var", k - 1, j - 1, 0, var(x[, j]))
    emit("varb", k - 1, j - 1, 0, var(x[, j]) * (n - 1) / n)
  }
  pair <- x[, 1:2]
  emit_matrix("pcov", k - 1, cov(pair))
  emit_matrix("pcovb", k - 1, cov(pair) * (n - 1) / n)
  emit_matrix("pcor", k - 1, cor(pair))
  emit("t", k - 1, 0, 0, unname(cor.test(pair[, 1], pair[, 2])$statistic))
}

writeLines(data_lines, "covariance_data.txt")
writeLines(out_lines, "covariance.txt")
