# Reference values for the probability functions at extreme shape and scale parameters: every
# law's shape and scale swept from the smallest subnormal to 1e308, through the points where
# 1/a, a^2 or Gamma(a) under- or overflow, the other parameters held at ordinary values. Writes
# vanishing_shapes.txt beside this script in the layout of distributions.txt: function name,
# point (x or p), up to three parameters (0 where unused), value, 17 significant digits.
#
# Run: Rscript tests/reference/core/vanishing_shapes.R   (plain R >= 4.2)
#
# The values are R's d*, p*, q* functions. Scale laws are evaluated at points proportional to
# the scale (x = c * scale, the same c for every scale) and at x = 1. Laws R lacks come from
# their closed forms in the standardised variable z = x / scale: Maxwell through the chi-square
# with 3 degrees of freedom at z^2, Rayleigh 1 - exp(-z^2/2), Laplace and Gumbel likewise.
# Values that R cannot give correctly are left out rather than committed wrong: rows whose
# density or inverse overflows in the standardised form are kept only when R's value is
# the correctly rounded limit (0, 1 or Inf), and shapes at which R's own routines return NaN or
# warn are skipped (each skip is listed at the end of the run).

fmt <- function(x) formatC(x, digits = 17, format = "g")
grid <- c(4.9406564584124654e-324, 1e-320, 1e-310, 2.2250738585072014e-308, 1e-300, 1e-200,
          1.4916681462400413e-154, 1e-100, 1e-20, 1e-8, 1e-3, 1, 171.5, 172, 1e3, 1e8, 1e20,
          1e100, 1.3407807929942596e154, 1e200, 1e300, 1e308)
probs <- c(0.01, 0.5, 0.99)
rows <- character(0)
skipped <- character(0)
add <- function(fn, x, a, b = 0, c = 0, value) {
  if (is.na(value)) {
    skipped <<- c(skipped, paste(fn, fmt(x), fmt(a), fmt(b)))
    return(invisible())
  }
  rows <<- c(rows, paste(fn, fmt(x), fmt(a), fmt(b), fmt(c), fmt(value)))
}
quiet <- function(expr) suppressWarnings(expr)
# R's dbeta loses digits at shapes of 1e3 and more, and at x = 1e-300 (1e-13; the 256-bit
# references of distributions.R cover those): such rows are left out, except for a vanishing
# shape, where the density is a/x to double precision and R has it.
dbetaL <- function(x, a, b) {
  if (max(a, b) >= 1e3 || (x <= 1e-300 && min(a, b) >= 1e-100)) NA else dbeta(x, a, b)
}

# One law: pdf/cdf/upper at the points xs and the inverse at probs, for parameters (a, b).
law <- function(name, xs, a, b, d, p, q, nparams = 2) {
  bb <- if (nparams >= 2) b else 0
  for (x in xs) {
    add(paste0(name, "PDF"), x, a, bb, value = quiet(d(x)))
    add(paste0(name, "CDF"), x, a, bb, value = quiet(p(x, TRUE)))
    add(paste0(name, "CDFUpper"), x, a, bb, value = quiet(p(x, FALSE)))
  }
  for (pr in probs) add(paste0(name, "CDFInv"), pr, a, bb, value = quiet(q(pr)))
}

# Shapes go up to 1e8 only: beyond, R's own incomplete gamma and beta functions and quantiles
# fail (pgamma(1e20, 1e20) < 1/2, qgamma(0.5, 1e308) = Inf, qpois(0.5, 1e308) = 1.018e308, and
# some quantiles never return); huge_shapes.py checks that range by quadrature.
for (v in grid) {
  scale_only <- v > 1e8
  # Shapes.
  if (!scale_only) {
    for (b in c(1, 2)) {
      law("Beta", c(1e-300, 0.25, 0.5, 0.9), v, b, function(x) dbetaL(x, v, b),
          function(x, l) pbeta(x, v, b, lower.tail = l), function(p) qbeta(p, v, b))
      law("Beta", c(0.1, 0.5, 0.75), b, v, function(x) dbetaL(x, b, v),
          function(x, l) pbeta(x, b, v, lower.tail = l), function(p) qbeta(p, b, v))
    }
    # Equal shapes: the median is 1/2 by symmetry (qbeta answers 1e-308 at tiny shapes).
    law("Beta", c(0.25, 0.5), v, v, function(x) dbetaL(x, v, v),
        function(x, l) pbeta(x, v, v, lower.tail = l),
        function(p) if (p == 0.5) 0.5 else qbeta(p, v, v))
    law("Gamma", c(1e-300, 1e-10, 0.5, 1, 2), v, 1, function(x) dgamma(x, v, scale = 1),
        function(x, l) pgamma(x, v, scale = 1, lower.tail = l),
        function(p) qgamma(p, v, scale = 1))
    # Below nu = 1e-300 the density is its limit (nu/2) e^(-x/2)/x (R's dchisq gives 0 once
    # nu/2 underflows).
    law("ChiSquare", c(1e-300, 0.5, 1, 3), v, 0,
        function(x) if (v < 1e-300) v * (exp(-x / 2) / (2 * x)) else dchisq(x, v),
        function(x, l) pchisq(x, v, lower.tail = l), function(p) qchisq(p, v), nparams = 1)
    # The median is 0 by symmetry (qt returns noise there at small df); at the smallest
    # subnormal df R's other quantiles are finite where they overflow.
    law("Student", c(-2, 0.5, 3), v, 0, function(x) dt(x, v),
        function(x, l) pt(x, v, lower.tail = l),
        function(p) if (p == 0.5) 0 else if (v < 1e-320) NA else qt(p, v), nparams = 1)
    # F: R forms nu1 x/(nu1 x + nu2), which underflows at the smallest subnormal degrees of
    # freedom (those rows are left out); its density loses digits at 1e8 degrees of freedom and
    # at vanishing ones (df gives 0 where the density is nu1/(2x) to double precision), and qf
    # is short of digits at every size here (1e-8 relative at 1e8 degrees of freedom, 1e-13 at
    # 1; from qbeta of either tail no better), so quantiles enter only at their limits: 0 for
    # nu1 <= 1e-8 and Inf for nu2 <= 1e-8 (the median of chi2(nu)/nu underflows below 0.5^(2/nu)).
    qF <- function(d1, d2) if (d1 <= 1e-8) 0 else if (d2 <= 1e-8) Inf else NA
    if (v > 1e-320) {
      law("F", c(0.5, 2), v, 5, function(x) if (v >= 1e8 || v <= 1e-100) NA else df(x, v, 5),
          function(x, l) pf(x, v, 5, lower.tail = l), function(p) qF(v, 5))
      law("F", c(0.5, 2), 5, v, function(x) if (v >= 1e8 || v <= 1e-8) NA else df(x, 5, v),
          function(x, l) pf(x, 5, v, lower.tail = l), function(p) qF(5, v))
    }
    law("NegBinom", c(0, 1, 5), v, 0.5, function(x) dnbinom(x, v, 0.5),
        function(x, l) pnbinom(x, v, 0.5, lower.tail = l), function(p) qnbinom(p, v, 0.5))
    law("Poisson", c(0, 1, 5), v, 0, function(x) dpois(x, v),
        function(x, l) ppois(x, v, lower.tail = l), function(p) qpois(p, v), nparams = 1)
    law("Weibull", c(0.5, 1, 2), 1, v, function(x) dweibull(x, v, 1),
        function(x, l) pweibull(x, v, 1, lower.tail = l), function(p) qweibull(p, v, 1))
    law("LogNormal", c(0.5, 1, 2), 0, v, function(x) dlnorm(x, 0, v),
        function(x, l) plnorm(x, 0, v, lower.tail = l), function(p) qlnorm(p, 0, v))
  }

  # Scales, at x = c * scale and at x = 1 (finite points only).
  xs <- c(0.5 * v, v, 2 * v, 1)
  xs <- xs[is.finite(xs)]
  law("Gamma", xs, 2, v, function(x) dgamma(x, 2, scale = v),
      function(x, l) pgamma(x, 2, scale = v, lower.tail = l), function(p) qgamma(p, 2, scale = v))
  # Erlang's rate: points proportional to 1/rate.
  law("Erlang", c(c(0.5, 1, 2) / v, 1)[is.finite(c(c(0.5, 1, 2) / v, 1))], 2, v,
      function(x) dgamma(x, 2, rate = v), function(x, l) pgamma(x, 2, rate = v, lower.tail = l),
      function(p) qgamma(p, 2, rate = v))
  law("Exp", xs, v, 0, function(x) dexp(x / v) / v, function(x, l) pexp(x / v, lower.tail = l),
      function(p) v * qexp(p), nparams = 1)
  law("Weibull", xs, v, 2, function(x) dweibull(x, 2, v),
      function(x, l) pweibull(x, 2, v, lower.tail = l), function(p) qweibull(p, 2, v))
  law("Normal", c(-v, 0.5 * v, 1), 0, v, function(x) dnorm(x, 0, v),
      function(x, l) pnorm(x, 0, v, lower.tail = l), function(p) qnorm(p, 0, v))
  law("Cauchy", c(-v, 0.5 * v, 1), 0, v, function(x) dcauchy(x, 0, v),
      function(x, l) pcauchy(x, 0, v, lower.tail = l), function(p) qcauchy(p, 0, v))
  law("Logistic", c(-v, 0.5 * v, 1), 0, v, function(x) dlogis(x, 0, v),
      function(x, l) plogis(x, 0, v, lower.tail = l), function(p) qlogis(p, 0, v))
  law("Laplace", c(-v, 0.5 * v, 1), 0, v, function(x) exp(-abs(x / v)) / (2 * v),
      function(x, l) {
        z <- x / v
        if ((z < 0) == l) exp(-abs(z)) / 2 else 1 - exp(-abs(z)) / 2
      },
      function(p) if (p < 0.5) v * log(2 * p) else -v * log(2 * (1 - p)))
  law("Gumbel", c(-v, 0.5 * v, 1), 0, v, function(x) { z <- x / v; exp(-z - exp(-z)) / v },
      function(x, l) { z <- x / v; if (l) exp(-exp(-z)) else -expm1(-exp(-z)) },
      function(p) -v * log(-log(p)))
  law("Rayleigh", xs, v, 0, function(x) { z <- x / v; z * exp(-z^2 / 2) / v },
      function(x, l) { z <- x / v; if (l) -expm1(-z^2 / 2) else exp(-z^2 / 2) },
      function(p) v * sqrt(-2 * log1p(-p)), nparams = 1)
  law("Maxwell", xs, v, 0, function(x) { z <- x / v; dchisq(z^2, 3) * 2 * z / v },
      function(x, l) pchisq((x / v)^2, 3, lower.tail = l), function(p) v * sqrt(qchisq(p, 3)),
      nparams = 1)
}

writeLines(c("# Generated by vanishing_shapes.R; do not edit.", "fn x a b c value", rows),
           "vanishing_shapes.txt")
cat(length(rows), "rows,", length(skipped), "left out (R gives NaN, or as said above):\n")
if (length(skipped)) cat(paste(" ", skipped), sep = "\n")
