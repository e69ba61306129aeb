# Reference values for the autocovariance, autocorrelation, partial autocorrelation, the
# Yule-Walker and Burg AR fits and the Ljung-Box statistic.
#
# acf(type = "covariance"/"correlation") and pacf divide by n at every lag, as the library does.
# Yule-Walker: R's ar.yw(demean = TRUE) gives the coefficients; its var.pred carries the factor
# n/(n - (p+1)), which the library's sigma2 (the plain Durbin-Levinson innovation variance) does
# not, so sigma2 = var.pred * (n - (p+1))/n. Standard errors apply the library's formula
# sqrt(sigma2/n * diag(solve(toeplitz(gamma[0..p-1])))) to R's autocovariances.
# Burg: the library does not remove the mean, and its sigma2 is the mean of the squared forward
# and backward errors of order p with divisor 2(n-p). The recursion is written out below from
# its definition; its coefficients are checked against ar.burg(demean = FALSE) and its variances
# against ar.burg's var.method = 2 (whose var.pred is this quantity, without a factor).
#
# Run: Rscript autocorrelation.R  (writes ts_series.txt, acf.txt, pacf.txt, ar_fits.txt,
# box_ljung.txt)

set.seed(20261205)
fmt <- function(x) formatC(x, digits = 17, format = "g")

series <- list(
  lynx = as.numeric(datasets::lynx),                     # 114 values, strong 10-year cycle
  huron = as.numeric(datasets::LakeHuron),               # 98 values, far from zero mean
  ar2 = as.numeric(arima.sim(list(ar = c(0.6, -0.3)), n = 300)),
  short = c(3.1, -0.4, 2.2, 5.0, 1.7, 0.3, -1.2)         # 7 values: lags beyond n
)

lines <- "name t value"
for (nm in names(series)) {
  x <- series[[nm]]
  lines <- c(lines, paste(nm, seq_along(x) - 1, fmt(x)))
}
writeLines(lines, "ts_series.txt")

acf_lines <- "name lag acov acf"
pacf_lines <- "name lag pacf"
ar_lines <- "name method p j phi se sigma2"
box_lines <- "name h q"
for (nm in names(series)) {
  x <- series[[nm]]
  n <- length(x)
  lagmax <- min(25, n - 1)
  g <- acf(x, lag.max = lagmax, type = "covariance", plot = FALSE, demean = TRUE)$acf[, 1, 1]
  r <- acf(x, lag.max = lagmax, type = "correlation", plot = FALSE, demean = TRUE)$acf[, 1, 1]
  acf_lines <- c(acf_lines, paste(nm, 0:lagmax, fmt(g), fmt(r)))
  pa <- pacf(x, lag.max = lagmax, plot = FALSE)$acf[, 1, 1]
  pacf_lines <- c(pacf_lines, paste(nm, 1:lagmax, fmt(pa)))

  orders <- if (n > 20) c(1, 2, 3, 5, 8) else c(1, 2, 3)
  for (p in orders) {
    # Yule-Walker
    fit <- ar.yw(x, aic = FALSE, order.max = p, demean = TRUE)
    sigma2 <- fit$var.pred * (n - (p + 1)) / n
    G <- toeplitz(g[1:p])
    se <- sqrt(sigma2 / n * diag(solve(G)))
    ar_lines <- c(ar_lines, paste(nm, "yw", p, 1:p, fmt(fit$ar), fmt(se), fmt(sigma2)))

    # Burg, written from its definition: u backward, v forward errors, both the series reversed.
    u <- rev(x); v <- rev(x); coef <- numeric(0); var <- numeric(p)
    for (k in 1:p) {
      idx <- (k + 1):n                       # 1-based positions t = k .. n-1
      num <- sum(u[idx - 1] * v[idx])
      den <- sum(u[k:(n - 1)]^2) + sum(v[idx]^2)
      a <- 2 * num / den
      coef <- if (k == 1) a else c(coef - a * rev(coef), a)
      uo <- u
      u[idx] <- uo[idx - 1] - a * v[idx]
      v[idx] <- v[idx] - a * uo[idx - 1]
      var[k] <- (sum(v[idx]^2) + sum(u[idx]^2)) / (2 * (n - k))
    }
    bfit <- ar.burg(x, aic = FALSE, order.max = p, demean = FALSE, var.method = 2)
    stopifnot(max(abs(bfit$ar - coef)) < 1e-10 * max(1, abs(coef)))
    stopifnot(abs(bfit$var.pred - var[p]) < 1e-10 * var[p])
    bse <- sqrt(var[p] / n * diag(solve(G)))
    ar_lines <- c(ar_lines, paste(nm, "burg", p, 1:p, fmt(coef), fmt(bse), fmt(var[p])))
  }

  for (h in c(1, 2, 5, 10, 20)) {
    if (h > n - 1) next
    q <- Box.test(x, lag = h, type = "Ljung-Box")$statistic
    box_lines <- c(box_lines, paste(nm, h, fmt(q)))
  }
}
writeLines(acf_lines, "acf.txt")
writeLines(pacf_lines, "pacf.txt")
writeLines(ar_lines, "ar_fits.txt")
writeLines(box_lines, "box_ljung.txt")
