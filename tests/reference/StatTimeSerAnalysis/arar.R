# Reference values for the ARAR method, written from its description in Brockwell and Davis,
# Introduction to Time Series and Forecasting (2nd ed.), section 9.1:
#   memory shortening: for tau = 1..maxtau the least-squares phi(tau) of Y_t on Y_{t-tau} and
#   Err(tau) = sum (Y_t - phi Y_{t-tau})^2 / sum Y_t^2; the first tau of smallest Err; long memory
#   (L) when Err <= 8/n or phi >= 0.93 and tau > 2, moderately long (M: least-squares AR(2)) when
#   phi >= 0.93 and tau <= 2, short (S) otherwise; at most three transformations, each composed
#   into psi(B); passes also stop when the shortened series is shorter than maxtau;
#   subset AR: over 1 < l1 < l2 < l3 <= m the Yule-Walker solution on lags 1, l1, l2, l3 of the
#   mean-corrected shortened series with the smallest sigma^2 = gamma(0) (1 - phi . rho);
#   forecasts: xi(B) = psi(B) phi(B), Y_t = c - sum xi_k Y_{t-k}, c = (1 - sum phi) mean(S);
#   h-step error variance sigma^2 sum_{j<h} tau_j^2 with sum tau_j z^j = 1/xi(z).
# The library's scale is the root mean square of the one-step residuals xi(B) Y_t - c over the
# times with all past values (column `scale`); `se` is that scale times sqrt(sum tau_j^2).
# The book's example (accidental deaths, section 9.1.3) reports phi(12) = 0.9779 and the lags
# 1, 3, 12, 13 (L1, L2, L3 = 3, 12, 13); the run prints both for a check.
#
# Run: Rscript arar.R  (writes arar_series.txt, arar_fit.txt, arar_filter.txt, arar_forecast.txt)

set.seed(20261206)
fmt <- function(x) formatC(x, digits = 17, format = "g")

polymul <- function(a, b) {
  out <- numeric(length(a) + length(b) - 1)
  for (i in seq_along(a)) {
    idx <- i:(i + length(b) - 1)
    out[idx] <- out[idx] + a[i] * b
  }
  out
}

shorten <- function(y, maxtau) {
  psi <- 1
  states <- character(0)
  for (pass in 1:3) {
    n <- length(y)
    err <- phi <- rep(NA_real_, maxtau)
    for (tau in 1:maxtau) {
      x <- y[1:(n - tau)]
      cur <- y[(tau + 1):n]
      phi[tau] <- sum(cur * x) / sum(x^2)
      err[tau] <- sum((cur - phi[tau] * x)^2) / sum(cur^2)
    }
    tau <- which.min(err)
    if (err[tau] <= 8 / n || (phi[tau] >= 0.93 && tau > 2)) {
      y <- y[(tau + 1):n] - phi[tau] * y[1:(n - tau)]
      psi <- polymul(psi, c(1, rep(0, tau - 1), -phi[tau]))
      states <- c(states, paste0("L", tau))
    } else if (phi[tau] >= 0.93) {
      X <- cbind(y[2:(n - 1)], y[1:(n - 2)])
      co <- qr.solve(X, y[3:n])
      y <- y[3:n] - co[1] * y[2:(n - 1)] - co[2] * y[1:(n - 2)]
      psi <- polymul(psi, c(1, -co[1], -co[2]))
      states <- c(states, "M")
    } else {
      states <- c(states, "S")
      break
    }
    if (length(y) < maxtau) break
  }
  list(s = y, psi = psi, states = states)
}

subset_ar <- function(s, m) {
  g <- as.numeric(acf(s, lag.max = m, type = "covariance", plot = FALSE, demean = TRUE)$acf)
  r <- function(k) g[k + 1] / g[1]
  best <- list(s2 = Inf)
  for (i in 2:(m - 2)) for (j in (i + 1):(m - 1)) for (k in (j + 1):m) {
    R <- matrix(c(1, r(i - 1), r(j - 1), r(k - 1),
                  r(i - 1), 1, r(j - i), r(k - i),
                  r(j - 1), r(j - i), 1, r(k - j),
                  r(k - 1), r(k - i), r(k - j), 1), 4, 4)
    b <- c(r(1), r(i), r(j), r(k))
    phi <- solve(R, b)
    s2 <- g[1] * (1 - sum(phi * b))
    if (s2 < best$s2) best <- list(s2 = s2, lags = c(i, j, k), phi = phi)
  }
  best
}

arar <- function(y, maxtau, m, h) {
  sh <- shorten(y, maxtau)
  fit <- subset_ar(sh$s, m)
  l <- fit$lags
  a <- numeric(l[3] + 1)
  a[1] <- 1
  a[c(2, l + 1)] <- -fit$phi
  xi <- polymul(sh$psi, a)
  K <- length(xi) - 1
  smean <- mean(sh$s)
  cc <- (1 - sum(fit$phi)) * smean
  n <- length(y)
  ext <- c(y, numeric(h))
  for (t in (n + 1):(n + h)) ext[t] <- cc - sum(xi[-1] * ext[(t - 1):(t - K)])
  res <- sapply((K + 1):n, function(t) sum(xi * y[t:(t - K)]) - cc)
  scale <- sqrt(mean(res^2))
  w <- numeric(h)
  w[1] <- 1
  for (i in seq_len(h - 1)) {
    j <- max(0, i - K):(i - 1)
    w[i + 1] <- -sum(w[j + 1] * xi[i - j + 1])
  }
  list(sh = sh, fit = fit, smean = smean, yhat = ext[(n + 1):(n + h)],
       se = scale * sqrt(cumsum(w^2)), scale = scale)
}

series <- list(
  deaths = as.numeric(datasets::USAccDeaths),              # 72 monthly values, 1973-1978
  logair = log(as.numeric(datasets::AirPassengers)),       # trend and season: several passes
  ar97 = as.numeric(arima.sim(list(ar = 0.97), n = 400)),   # phi(1) >= 0.93, Err > 8/n: M
  seasonal = local({                                        # passes L12 then M
    set.seed(2)
    cumsum(cumsum(rnorm(300))) / 10 + 20 * sin(2 * pi * (1:300) / 12)
  })
)
cases <- list(
  list(name = "deaths_15_26", series = "deaths", maxtau = 15, m = 26, h = 24),
  list(name = "deaths_15_13", series = "deaths", maxtau = 15, m = 13, h = 12),
  list(name = "logair_15_26", series = "logair", maxtau = 15, m = 26, h = 24),
  list(name = "ar97_15_26", series = "ar97", maxtau = 15, m = 26, h = 10),
  list(name = "seasonal_15_26", series = "seasonal", maxtau = 15, m = 26, h = 24)
)

out_series <- "name t value"
for (nm in names(series)) {
  out_series <- c(out_series, paste(nm, seq_along(series[[nm]]) - 1, fmt(series[[nm]])))
}
out_fit <- "case maxtau maxlag h tau l1 l2 l3 phi1 phi2 phi3 phi4 sigma2 smean scale"
out_filter <- "case j psi"
out_fc <- "case h yhat se"
for (cs in cases) {
  r <- arar(series[[cs$series]], cs$maxtau, cs$m, cs$h)
  cat(cs$name, ": passes", r$sh$states, "lags", r$fit$lags, "phi", signif(r$fit$phi, 4),
      "psi", signif(r$sh$psi[r$sh$psi != 0], 4), "\n")
  out_fit <- c(out_fit, paste(cs$name, cs$maxtau, cs$m, cs$h, length(r$sh$psi) - 1,
                              paste(r$fit$lags, collapse = " "),
                              paste(fmt(r$fit$phi), collapse = " "),
                              fmt(r$fit$s2), fmt(r$smean), fmt(r$scale)))
  out_filter <- c(out_filter, paste(cs$name, seq_along(r$sh$psi) - 1, fmt(r$sh$psi)))
  out_fc <- c(out_fc, paste(cs$name, seq_len(cs$h), fmt(r$yhat), fmt(r$se)))
}
writeLines(out_series, "arar_series.txt")
writeLines(out_fit, "arar_fit.txt")
writeLines(out_filter, "arar_filter.txt")
writeLines(out_fc, "arar_forecast.txt")
