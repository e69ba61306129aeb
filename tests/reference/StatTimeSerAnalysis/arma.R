# Reference values for ARMA estimation and forecasting.
#
# arma_series.txt  the series used (simulated here, plus Lake Huron and the log airline series)
# arma_acf.txt     ARMAacf autocorrelations and unit-noise autocovariances (gamma(0) = sum psi^2)
# arma_innov.txt   the innovations algorithm, written out below, on kappa = T Gamma T^T formed
#                  directly from R's ARMAacf (an independent route to the transformed covariance)
# arma_fits.txt    innovations and Hannan-Rissanen preliminary fits, written out from their
#                  recursions on acf(type = "covariance", demean = TRUE) and lm.fit
# arma_mle.txt     the likelihood criterion n log(|u|^2/n) + log det R (Cholesky of the full
#                  correlation matrix, GLS mean) minimised by optim, and arima(method = "ML")
# arima_fc.txt     predict(arima(...)) with fixed coefficients and a drift regressor whose
#                  coefficient is the mean of the differenced series (the library's ruling), the
#                  standard errors turned into the library's units: se / sqrt(sigma2) /
#                  sqrt(gamma(0)) * RMS of the centred differenced series
#
# Run: Rscript arma.R

set.seed(20261206)
fmt <- function(x) formatC(x, digits = 17, format = "g")

series <- list(
  arma11 = as.numeric(arima.sim(list(ar = 0.6, ma = 0.4), n = 200)) + 10,
  ma2 = as.numeric(arima.sim(list(ma = c(0.5, -0.3)), n = 150)),
  arma21 = as.numeric(arima.sim(list(ar = c(0.5, 0.3), ma = -0.4), n = 300)),
  huron = as.numeric(datasets::LakeHuron),
  logair = log(as.numeric(datasets::AirPassengers)),
  walk2 = cumsum(cumsum(as.numeric(arima.sim(list(ma = 0.5), n = 80)))) / 10
)
lines <- "name t value"
for (nm in names(series)) {
  x <- series[[nm]]
  lines <- c(lines, paste(nm, seq_along(x) - 1, fmt(x)))
}
writeLines(lines, "arma_series.txt")

gamma0 <- function(ar, ma) 1 + sum(ARMAtoMA(ar, ma, 20000)^2)

# ---- ARMAacf ----------------------------------------------------------------------------------
models <- list(
  ar1 = list(ar = 0.5, ma = numeric(0)),
  ma1 = list(ar = numeric(0), ma = 0.4),
  arma11 = list(ar = 0.6, ma = 0.4),
  arma22 = list(ar = c(1.2, -0.5), ma = c(0.3, -0.2)),
  arma31 = list(ar = c(0.5, -0.2, 0.1), ma = 0.7),
  nearunit = list(ar = 0.99, ma = 0.5),
  ma3 = list(ar = numeric(0), ma = c(0.4, -0.3, 0.2))
)
coef_lines <- "name kind j value"
acf_lines <- "name lag rho gamma"
for (nm in names(models)) {
  m <- models[[nm]]
  if (length(m$ar)) coef_lines <- c(coef_lines, paste(nm, "ar", seq_along(m$ar), fmt(m$ar)))
  if (length(m$ma)) coef_lines <- c(coef_lines, paste(nm, "ma", seq_along(m$ma), fmt(m$ma)))
  rho <- ARMAacf(m$ar, m$ma, lag.max = 12)
  acf_lines <- c(acf_lines, paste(nm, 0:12, fmt(rho), fmt(rho * gamma0(m$ar, m$ma))))
}
writeLines(acf_lines, "arma_acf.txt")

# ---- Innovations ------------------------------------------------------------------------------
# The innovations algorithm (Brockwell and Davis, 5.2.2) on a covariance function K(i, j),
# i, j = 0 .. N.
innovations <- function(K, N) {
  th <- matrix(0, N + 1, N + 1); th[, 1] <- 1
  v <- numeric(N + 1); v[1] <- K(0, 0)
  for (k in 1:N) {
    for (j in 0:(k - 1)) {
      s <- 0
      if (j > 0) for (l in 0:(j - 1)) s <- s + th[j + 1, j - l + 1] * th[k + 1, k - l + 1] * v[l + 1]
      th[k + 1, k - j + 1] <- (K(k, j) - s) / v[j + 1]
    }
    v[k + 1] <- K(k, k) - sum(th[k + 1, (k:1) + 1]^2 * v[1:k])
  }
  list(theta = th, v = v)
}
innov_lines <- "name form k j value"
for (nm in c("arma11", "arma22", "arma31", "ma3")) {
  m <- models[[nm]]
  N <- 12
  g <- ARMAacf(m$ar, m$ma, lag.max = N) * gamma0(m$ar, m$ma)
  G <- toeplitz(g)
  p <- length(m$ar); mm <- max(p, length(m$ma))
  Tm <- diag(N + 1)
  for (t in seq_len(N + 1)) if (t > mm) for (j in seq_len(p)) Tm[t, t - j] <- -m$ar[j]
  Kmat <- Tm %*% G %*% t(Tm)
  r <- innovations(function(i, j) Kmat[i + 1, j + 1], N)
  for (k in 0:N) {
    innov_lines <- c(innov_lines, paste(nm, "kappa", k, 0:N, fmt(Kmat[k + 1, ])))
    innov_lines <- c(innov_lines, paste(nm, "theta", k, 0:N, fmt(r$theta[k + 1, ])))
  }
  innov_lines <- c(innov_lines, paste(nm, "v", 0:N, 0, fmt(r$v)))
  # The stationary (vector) form on the autocovariances of the model.
  rv <- innovations(function(i, j) g[abs(i - j) + 1], N)
  innov_lines <- c(innov_lines, paste(nm, "vtheta", N, 0:N, fmt(rv$theta[N + 1, ])))
  innov_lines <- c(innov_lines, paste(nm, "vv", 0:N, 0, fmt(rv$v)))
}
writeLines(innov_lines, "arma_innov.txt")

# ---- Preliminary fits -------------------------------------------------------------------------
fit_lines <- "name method p q maxlags what j value"
acov <- function(x, m) acf(x, lag.max = m, type = "covariance", plot = FALSE, demean = TRUE)$acf[, 1, 1]
innov_fit <- function(x, p, q, maxlags) {
  n <- length(x)
  m <- if (maxlags < 0) ceiling(10 * log10(n)) else maxlags
  g <- acov(x, m)
  r <- innovations(function(i, j) g[abs(i - j) + 1], m)
  w <- r$theta[m + 1, 2:(p + q + 1)]
  tm <- function(j) if (j == 0) 1 else if (j < 0) 0 else w[j]
  out <- list(sigma2 = r$v[m + 1])
  if (p == 0) {
    out$theta <- w[1:q]
    out$se <- sqrt(cumsum(c(1, w[1:q]^2))[1:q] / n)
  } else {
    A <- matrix(0, p, p)
    for (i in 1:p) for (k in 1:p) A[i, k] <- tm(q + i - k)
    phi <- solve(A, sapply(1:p, function(i) tm(q + i)))
    psi <- c(1, w)
    theta <- sapply(1:q, function(j) psi[j + 1] - sum(phi[1:min(j, p)] * psi[j - (1:min(j, p)) + 1]))
    out$phi <- phi; out$theta <- theta
    out$se <- sqrt(cumsum(psi[1:q]^2) / n)
  }
  out
}
hannan <- function(x, p, q) {
  n <- length(x); m <- max(p, q) + 1
  g <- acov(x, m)
  a <- solve(toeplitz(g[1:m]), g[2:(m + 1)])
  sigma2 <- g[1] - sum(a * g[2:(m + 1)])
  e <- sapply((m + 1):n, function(t) x[t] - sum(a * x[t - (1:m)]))   # e[t - m]
  rows <- (m + q + 1):n
  Z <- cbind(sapply(seq_len(p), function(k) x[rows - k]),
             sapply(seq_len(q), function(k) e[rows - k - m]))
  b <- lm.fit(matrix(Z, nrow = length(rows)), x[rows])$coefficients
  list(phi = b[seq_len(p)], theta = b[p + seq_len(q)], sigma2 = sigma2)
}
emit <- function(nm, method, p, q, ml, f) {
  l <- character(0)
  if (length(f$phi)) l <- c(l, paste(nm, method, p, q, ml, "phi", seq_along(f$phi), fmt(f$phi)))
  l <- c(l, paste(nm, method, p, q, ml, "theta", seq_along(f$theta), fmt(f$theta)))
  if (!is.null(f$se)) l <- c(l, paste(nm, method, p, q, ml, "se", seq_along(f$se), fmt(f$se)))
  c(l, paste(nm, method, p, q, ml, "sigma2", 1, fmt(f$sigma2)))
}
for (cs in list(list("ma2", 0, 2, 15), list("ma2", 0, 2, -1), list("arma11", 1, 1, 20),
                list("arma21", 2, 1, 25), list("huron", 1, 1, 10))) {
  fit_lines <- c(fit_lines, emit(cs[[1]], "innov", cs[[2]], cs[[3]], cs[[4]],
                                 innov_fit(series[[cs[[1]]]], cs[[2]], cs[[3]], cs[[4]])))
}
for (cs in list(list("arma11", 1, 1), list("arma21", 2, 1), list("ma2", 0, 2),
                list("huron", 1, 1), list("arma21", 1, 2))) {
  fit_lines <- c(fit_lines, emit(cs[[1]], "hannan", cs[[2]], cs[[3]], 0,
                                 hannan(series[[cs[[1]]]], cs[[2]], cs[[3]])))
}
writeLines(fit_lines, "arma_fits.txt")

# ---- Maximum likelihood -----------------------------------------------------------------------
criterion <- function(par, x, np, nq) {
  p <- np; q <- nq
  n <- length(x)
  phi <- par[seq_len(p)]; theta <- par[p + seq_len(q)]
  if (min(Mod(polyroot(c(1, theta)))) <= 1) return(1e300)
  rho <- ARMAacf(phi, theta, lag.max = n - 1)
  L <- t(chol(toeplitz(as.numeric(rho))))
  u <- forwardsolve(L, x); w <- forwardsolve(L, rep(1, n))
  u <- u - sum(u * w) / sum(w * w) * w
  n * log(sum(u^2) / n) + 2 * sum(log(diag(L)))
}
mle_lines <- "name p q what j value"
for (cs in list(list("arma11", 1, 1), list("huron", 1, 1), list("ma2", 0, 2),
                list("arma21", 2, 1))) {
  nm <- cs[[1]]; p <- cs[[2]]; q <- cs[[3]]; x <- series[[nm]]
  fit <- arima(x, order = c(p, 0, q), method = "ML", include.mean = TRUE,
               optim.control = list(reltol = 1e-12))
  start <- rep(0.1, p + q)
  best <- optim(fit$coef[1:(p + q)], criterion, x = x, np = p, nq = q, method = "BFGS",
                control = list(reltol = 1e-15, maxit = 2000, ndeps = rep(1e-6, p + q)))
  best <- optim(best$par, criterion, x = x, np = p, nq = q, method = "Nelder-Mead",
                control = list(reltol = 1e-15, maxit = 5000))
  best <- optim(best$par, criterion, x = x, np = p, nq = q, method = "BFGS",
                control = list(reltol = 1e-15, maxit = 2000, ndeps = rep(1e-6, p + q)))
  mle_lines <- c(mle_lines,
                 paste(nm, p, q, "start", seq_len(p + q), fmt(start)),
                 paste(nm, p, q, "optim", seq_len(p + q), fmt(best$par)),
                 paste(nm, p, q, "fmin", 1, fmt(best$value)),
                 paste(nm, p, q, "arima", seq_len(p + q), fmt(fit$coef[1:(p + q)])))
}
writeLines(mle_lines, "arma_mle.txt")

# ---- ARIMA forecasts --------------------------------------------------------------------------
fc_lines <- "name case d h fc se"
fc_cases <- list(list("logair", c(-0.3), c(0.2), 1), list("logair", c(0.4, -0.2), numeric(0), 1),
                list("walk2", numeric(0), c(0.5), 2), list("walk2", c(0.3), c(0.4), 2))
for (ic in seq_along(fc_cases)) {
  cs <- fc_cases[[ic]]; case <- paste0("fc", ic)
  nm <- cs[[1]]; ar <- cs[[2]]; ma <- cs[[3]]; d <- cs[[4]]
  x <- series[[nm]]; n <- length(x); h <- 12
  y <- diff(x, differences = d)
  mu <- mean(y); s <- sqrt(mean((y - mu)^2))
  reg <- function(t) if (d == 1) t else t^2 / 2
  fit <- arima(x, order = c(length(ar), d, length(ma)), xreg = reg(1:n),
               fixed = c(ar, ma, mu), transform.pars = FALSE)
  pr <- predict(fit, n.ahead = h, newxreg = reg((n + 1):(n + h)))
  se <- pr$se / sqrt(fit$sigma2) / sqrt(gamma0(ar, ma)) * s
  if (length(ar)) coef_lines <- c(coef_lines, paste(case, "ar", seq_along(ar), fmt(ar)))
  if (length(ma)) coef_lines <- c(coef_lines, paste(case, "ma", seq_along(ma), fmt(ma)))
  fc_lines <- c(fc_lines, paste(nm, ic, d, 1:h, fmt(as.numeric(pr$pred)), fmt(as.numeric(se))))
}
writeLines(fc_lines, "arima_fc.txt")
writeLines(coef_lines, "arma_models.txt")
