# Reference values on both sides of every switch of the incomplete beta and gamma kernels: where the
# continued fraction changes orientation (x = (a + 1)/(a + b + 2)), the gamma series gives way to
# the continued fraction (z = a + 1), the shapes leave the kernels' range [1/2, 100], the prefactor
# nears 1e-300 (beyond which the general route takes over), the quantiles change the tail or the
# variable they solve for (p = 1/2; Student's |t| = sqrt(df); F's u = 1/2), the normal quantile
# changes its rational function (|p - 1/2| = 0.425, -ln p = 25; the log-normal quantile its
# exponential there), the Weibull density its power ((x/A)^B at the smallest normal number), the
# logarithm of the logistic and log-normal laws its kernel (at the smallest normal number), the
# Cauchy quantile its form (p = 1/4, 3/4) and its CDF the reduction of its arctangent, the beta
# law's tail on the side of a large shape its form (the expansion in incomplete gamma functions),
# the Weibull law its power and its quantile their kernels, the Gumbel, Laplace, exponential and
# discrete uniform laws their branch-free forms. Writes distribution_switches.txt beside this script
# in the format of distributions.txt.
#
# Run: Rscript tests/reference/core/distribution_switches.R   (R >= 4.2)
#
# The values are R's d/p/q functions, which keep 14 digits at these moderate shapes. Quantiles
# in far tails are R's, polished by Newton steps on the log of the tail.
rows <- list()
emit <- function(fn, x, v, a = 0, b = 0, c = 0) {
  n <- length(x)
  rows[[length(rows) + 1]] <<- data.frame(fn = fn, x = x, a = rep(a, length.out = n),
                                          b = rep(b, length.out = n),
                                          c = rep(c, length.out = n), v = as.numeric(v))
}
fmt <- function(v) sprintf("%.17g", v)
around <- function(v, rel = 1e-3) signif(c(v * (1 - rel), v * (1 + rel)), 12)

# Newton steps on log of the tail from R's quantile q0, for a law with CDF P and density d. Near
# the median of a symmetric law that cannot help (the tail is known only to 1e-16 absolute),
# and Student quantiles there come from the beta law of t^2 / (df + t^2) instead.
polish <- function(p, q0, P, d) {
  sapply(seq_along(p), function(i) {
    pp <- p[i]; x <- q0[i]
    if (!is.finite(x) || pp == 0.5) return(x)
    for (k in 1:8) {
      # d ln(tail) / dx from the log density, which stays finite where the density underflows
      if (pp < 0.5) {
        lt <- P(x, log.p = TRUE)
        r <- (lt - log(pp)) / exp(d(x, log = TRUE) - lt)
      } else {
        lt <- P(x, lower.tail = FALSE, log.p = TRUE)
        r <- -(lt - log1p(-pp)) / exp(d(x, log = TRUE) - lt)
      }
      if (is.finite(r)) x <- x - r
    }
    x
  })
}
pSplit <- function(p0) sort(c(p0 * (1 - 1e-9), p0 * (1 + 1e-9)))
pCommon <- c(1e-305, 1e-290, 0.5 - 1e-9, 0.5 + 1e-9)

law <- function(name, d, p, q, par, x, pinv, qExact = NULL) {
  pv <- unlist(par)
  a <- pv[1]; b <- if (length(pv) >= 2) pv[2] else 0
  P <- function(v, ...) do.call(p, c(list(v), par, list(...)))
  D <- function(v, ...) do.call(d, c(list(v), par, list(...)))
  emit(paste0(name, "PDF"), x, D(x), a, b)
  emit(paste0(name, "CDF"), x, P(x), a, b)
  emit(paste0(name, "CDFUpper"), x, P(x, lower.tail = FALSE), a, b)
  pinv <- pinv[pinv > 0 & pinv < 1]
  q0 <- do.call(q, c(list(pinv), par))
  qv <- if (is.null(qExact)) polish(pinv, q0, P, D) else qExact(pinv)
  emit(paste0(name, "CDFInv"), pinv, qv, a, b)
}

# Student's t: the fraction switches at x = t^2/(df + t^2) = 1.5/(df/2 + 2.5); the quantile
# at P(T > sqrt(df)); the prefactor's floor in the far tails (t where P is near 1e-300).
for (nu in c(0.99, 1, 7.5, 10, 200, 201)) {
  xs <- 1.5 / (nu / 2 + 2.5)
  ts <- sqrt(nu * xs / (1 - xs))
  far <- abs(qt(c(1e-295, 1e-305), nu))
  x <- c(around(ts), -around(ts), around(sqrt(nu)), -signif(far, 12), 0.25)
  split <- pt(sqrt(nu), nu, lower.tail = FALSE)
  qStudent <- function(p) sapply(p, function(pp) {
    q <- min(pp, 1 - pp)
    if (q < 0.25) return(polish(pp, qt(pp, nu), function(v, ...) pt(v, nu, ...),
                                function(v, ...) dt(v, nu, ...)))
    xb <- qbeta(1 - 2 * q, 0.5, nu / 2)  # P(|T| < |t|) = 1 - 2 q, exact here
    sign(pp - 0.5) * sqrt(nu * xb / (1 - xb))
  })
  law("Student", dt, pt, qt, list(nu), x, sort(c(pCommon, pSplit(split), 1 - pSplit(split))),
      qStudent)
}

# Gamma and chi-square: series below z = a + 1, fraction above; the prefactor's floor. Whole
# and half-integer shapes up to 40 take closed forms from z = a on.
for (a in c(0.49, 0.5, 2, 2.5, 3.75, 40, 40.5, 41, 100, 100.5)) {
  x <- c(around(a + 1), around(a), signif(qgamma(c(1e-295, 1e-305), a), 12),
         signif(qgamma(c(1e-295, 1e-305), a, lower.tail = FALSE), 12))
  law("Gamma", dgamma, function(v, a, b, ...) pgamma(v, a, scale = b, ...),
      function(pp, a, b) qgamma(pp, a, scale = b), list(a, 1), x[x > 0], pCommon)
}
for (nu in c(1, 4, 7.5, 200, 201)) {
  law("ChiSquare", dchisq, pchisq, qchisq, list(nu), around(nu + 2), pCommon)
}

# Beta: the fraction changes orientation at (a + 1)/(a + b + 2); whole shapes with
# a + b - 1 <= 40 take binomial sums, generated from the end nearer x (x = 1/2).
for (par in list(c(2.5, 4), c(0.5, 30), c(100, 0.5), c(0.49, 3), c(100.5, 2), c(2, 6),
                 c(20, 21), c(20, 22))) {
  a <- par[1]; b <- par[2]
  x <- c(around((a + 1) / (a + b + 2)), around(0.5))
  law("Beta", dbeta, pbeta, qbeta, list(a, b), x[x < 1], pCommon)
}

# Beta with one shape L from 15 on and the other in [1/2, 1]: the tail on L's side comes from
# its expansion in incomplete gamma functions while -ln of L's variable is at most 0.35, from
# the fraction beyond; both sides of each shape limit and of that bound, and a point inside.
for (par in list(c(0.5, 30), c(30, 0.5), c(0.5, 15), c(0.5, 14.9), c(1, 30), c(1.01, 30),
                 c(0.75, 100), c(100, 0.99))) {
  a <- par[1]; b <- par[2]
  w <- exp(-c(0.35, 0.1))  # L's variable at the bound and inside
  x <- if (b > a) 1 - w else w
  law("Beta", dbeta, pbeta, qbeta, list(a, b), c(around(x[1]), signif(x[2], 12)), pCommon)
}
# Student's t from 30 degrees of freedom (L = df/2 >= 15): t^2 = df (e^0.35 - 1) at the bound.
for (nu in c(29.9, 30, 60)) {
  x <- c(around(sqrt(nu * expm1(0.35))), signif(sqrt(nu * expm1(0.1)), 12))
  law("Student", dt, pt, qt, list(nu), c(x, -x), pCommon)
}

# F: u = nu1 x / (nu2 + nu1 x) crosses the switch, and the quantile's variable changes at
# u = 1/2, x = nu2/nu1.
for (par in list(c(4, 12), c(2.5, 7.5), c(1, 200), c(201, 3), c(1, 30), c(2, 40))) {
  n1 <- par[1]; n2 <- par[2]
  us <- (n1 / 2 + 1) / ((n1 + n2) / 2 + 2)
  x <- c(around(n2 / n1 * us / (1 - us)), around(n2 / n1))
  split <- pf(n2 / n1, n1, n2)
  # qf is 1/qbeta - 1, which cancels in the lower tail (and gives 0 far out): the quantile
  # comes from the beta law of u, or of w = 1 - u from the reflected law where u > 1/2.
  qF <- function(p) {
    y <- qbeta(p, n1 / 2, n2 / 2)
    w <- qbeta(p, n2 / 2, n1 / 2, lower.tail = FALSE)
    q0 <- ifelse(y < 0.5, n2 / n1 * y / (1 - y), n2 / n1 * (1 - w) / w)
    polish(p, q0, function(v, ...) pf(v, n1, n2, ...), function(v, ...) df(v, n1, n2, ...))
  }
  law("F", df, pf, qf, list(n1, n2), x, sort(c(pCommon, pSplit(split))), qF)
}

# The normal quantile at the ends of its three rational functions.
pn <- c(pSplit(0.075), pSplit(0.925), pSplit(exp(-25)), 1 - pSplit(exp(-25)))
emit("NormalCDFInv", pn, qnorm(pn), 0, 1)
# The log-normal quantile takes the exponential kernel in the central region while mu -+ 1.5
# sigma stay inside [-1000, 280].
for (ms in list(c(0, 1), c(278, 1.3), c(278, 1.4), c(-700, 2))) {
  emit("LogNormalCDFInv", pn[1:4], qlnorm(pn[1:4], ms[1], ms[2]), ms[1], ms[2])
}

# The logistic quantile at u = 1 (p = 1/3 and 2/3), where ln(1 + u) once changed its form.
pl <- c(pSplit(1 / 3), pSplit(2 / 3))
emit("LogisticCDFInv", pl, qlogis(pl), 0, 1)

# The branch-free logarithm takes the probabilities from the smallest normal number up to 1
# (the logistic quantile) and the positive normal points (the log-normal law); the C library's
# logarithm the subnormal ones (the Gumbel quantile is checked at the same points). The Cauchy
# quantile changes its form at p = 1/4 and 3/4, its CDF at the location.
tiny <- .Machine$double.xmin
pt <- c(1e-310, pSplit(tiny), 0.5 - 1e-9, 0.5 + 1e-9, 1 - 2^-53)
# (qlogis forms log(p/(1 - p)), which cancels near 1/2: there ln(1 + (2p - 1)/(1 - p)), exact
# but for log1p's rounding.)
emit("LogisticCDFInv", pt, ifelse(abs(pt - 0.5) < 0.25, log1p((2 * pt - 1) / (1 - pt)), qlogis(pt)),
     0, 1)
emit("GumbelCDFInv", pt, -log(-log(pt)), 0, 1)
xt <- c(1e-310, pSplit(tiny), 1e-300, 0.5, 3e5)
emit("LogNormalPDF", xt, dlnorm(xt, 0, 30), 0, 30)
emit("LogNormalCDF", xt, plnorm(xt, 0, 30), 0, 30)
emit("LogNormalCDFUpper", xt, plnorm(xt, 0, 30, lower.tail = FALSE), 0, 30)
pc <- c(pSplit(0.25), pSplit(0.75), 1e-300, 1 - 2^-53)
emit("CauchyCDFInv", pc, qcauchy(pc, 1, 2), 1, 2)
# The arctangent kernel of its CDF changes its reduction at w = 7/16, 11/16, 19/16 and 39/16,
# where w = z above the location and 1/|z| below it.
wc <- c(7, 11, 19, 39) / 16
xc <- c(1 - 1e-9, 1 + 1e-9, -1e300, 1e300, 1 + 2 * c(around(wc), -around(1 / wc)))
emit("CauchyCDF", xc, pcauchy(xc, 1, 2), 1, 2)
emit("CauchyCDFUpper", xc, pcauchy(xc, 1, 2, lower.tail = FALSE), 1, 2)

# The Weibull density forms z^(B-1) as z^B / z only while z^B = (x/A)^B is a normal number.
for (B in c(2, 4)) {
  xw <- around(.Machine$double.xmin^(1 / B))
  emit("WeibullPDF", xw, dweibull(xw, shape = B, scale = 1), 1, B)
}

# The Weibull law takes (x/A)^B by multiplications and square roots for a shape that is a
# multiple of 1/4 while (x/A)^B is at most 32 over their error bound in units in the last place
# (2 up to B < 2, 3 (floor(B) - 1) + 2 beyond); its quantile takes the branch-free kernels from
# B = 1 on, for p from the smallest normal number.
for (B in c(0.75, 1.5, 2, 7.75)) {
  xw <- around((32 / max(2, 3 * (floor(B) - 1) + 2))^(1 / B))
  emit("WeibullPDF", xw, dweibull(xw, B, 1), 1, B)
  emit("WeibullCDF", xw, pweibull(xw, B, 1), 1, B)
  emit("WeibullCDFUpper", xw, pweibull(xw, B, 1, lower.tail = FALSE), 1, B)
}
for (B in c(0.99, 1, 1.5)) {
  pw <- c(1e-310, pSplit(tiny), 1e-200, 0.5, 1 - 2^-53)
  emit("WeibullCDFInv", pw, qweibull(pw, B, 2), 2, B)
}

# The Gumbel law takes its branch-free exponentials for z = (x - mu)/beta in [-7, 700].
zg <- c(around(-7), around(700))
xg <- 1 + 2 * zg
emit("GumbelPDF", xg, exp(-zg - exp(-zg)) / 2, 1, 2)
emit("GumbelCDF", xg, exp(-exp(-zg)), 1, 2)
emit("GumbelCDFUpper", xg, -expm1(-exp(-zg)), 1, 2)

# The exponential quantile takes the branch-free logarithm for p from the smallest normal
# number, the exponential density and tails their exponentials for x/mu up to 700 (the Laplace
# density for |x - m|/b up to 700), and the discrete uniform quantile its branch-free form for N
# up to 2^52 (the least k with k/N >= p (1 - 64 eps)).
pe <- c(1e-310, pSplit(tiny), 0.5, 1 - 2^-53)
emit("ExpCDFInv", pe, qexp(pe, 1 / 2), 2)
xe <- 2 * c(0, 1e-300, 1e-20, around(700))
emit("ExpPDF", xe, dexp(xe, 1 / 2), 2)
emit("ExpCDF", xe, pexp(xe, 1 / 2), 2)
emit("ExpCDFUpper", xe, pexp(xe, 1 / 2, lower.tail = FALSE), 2)
xl <- 1 + 2 * c(around(700), -around(700))
emit("LaplacePDF", xl, exp(-abs(xl - 1) / 2) / 4, 1, 2)
uniformDInv <- function(p, N) {
  t <- p * (1 - 64 * .Machine$double.eps)
  k <- max(1, ceiling(t * N))
  if (k > 1 && (k - 1) / N >= t) k <- k - 1 else if (k < N && k / N < t) k <- k + 1
  min(k, N)
}
for (N in c(2^52, 2^52 + 2)) {
  pu <- c(0.1, 1 / 3, 0.5, 0.9)
  emit("UniformDCDFInv", pu, sapply(pu, uniformDInv, N), N)
}

tab <- do.call(rbind, rows)
tab <- tab[is.finite(tab$x) & !is.nan(tab$v), ]
out <- file.path(dirname(sub("--file=", "", grep("--file=", commandArgs(FALSE), value = TRUE))),
                 "distribution_switches.txt")
writeLines(c("# Generated by distribution_switches.R; do not edit.",
             "fn x a b c value",
             sprintf("%s %s %s %s %s %s", tab$fn, fmt(tab$x), fmt(tab$a), fmt(tab$b), fmt(tab$c),
                     fmt(tab$v))), out)
cat(nrow(tab), "rows written to", out, "\n")
