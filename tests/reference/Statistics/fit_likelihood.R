# Reference values for the maximum-likelihood fits: the optimum of each log-likelihood found by
# R's optim (BFGS on the log-parameters with analytic gradients, relative tolerance 1e-15, then
# restarted from its own answer until it no longer moves), and the outer-product-of-scores
# standard errors (J'J)^-1 with the scores written out analytically at that optimum.
#
# Parameterisations follow the library: beta (a, b); gamma (shape, scale); Weibull (scale,
# shape); Cauchy (location, scale).
#
# Run: Rscript fit_likelihood.R  (writes fit_likelihood_data.txt and fit_likelihood.txt)

set.seed(20261207)
laws <- list(
  beta = list(draw = function(n) rbeta(n, 2, 5),
              ll = function(p, x) dbeta(x, p[1], p[2], log = TRUE),
              score = function(p, x) cbind(log(x) - digamma(p[1]) + digamma(p[1] + p[2]),
                                           log1p(-x) - digamma(p[2]) + digamma(p[1] + p[2])),
              start = c(2, 5), positive = c(TRUE, TRUE)),
  gamma = list(draw = function(n) rgamma(n, shape = 2.5, scale = 1.5),
               ll = function(p, x) dgamma(x, shape = p[1], scale = p[2], log = TRUE),
               score = function(p, x) cbind(log(x) - digamma(p[1]) - log(p[2]),
                                            x / p[2]^2 - p[1] / p[2]),
               start = c(2.5, 1.5), positive = c(TRUE, TRUE)),
  weibull = list(draw = function(n) rweibull(n, shape = 1.7, scale = 3),
                 ll = function(p, x) dweibull(x, shape = p[2], scale = p[1], log = TRUE),
                 score = function(p, x) {
                   z <- x / p[1]; zb <- z^p[2]
                   cbind(-p[2] / p[1] + p[2] * zb / p[1], 1 / p[2] + log(z) - zb * log(z))
                 },
                 start = c(3, 1.7), positive = c(TRUE, TRUE)),
  cauchy = list(draw = function(n) rcauchy(n, 1, 2),
                ll = function(p, x) dcauchy(x, p[1], p[2], log = TRUE),
                score = function(p, x) {
                  z <- (x - p[1]) / p[2]
                  cbind(2 * z / (p[2] * (1 + z^2)), -1 / p[2] + 2 * z^2 / (p[2] * (1 + z^2)))
                },
                start = c(1, 2), positive = c(FALSE, TRUE))
)

# Optimise over theta with the positive parameters on the log scale.
fit <- function(law, x) {
  to <- function(q) ifelse(law$positive, exp(q), q)
  from <- function(p) ifelse(law$positive, log(p), p)
  nll <- function(q) -sum(law$ll(to(q), x))
  gr <- function(q) {
    p <- to(q)
    g <- -colSums(law$score(p, x))
    g * ifelse(law$positive, p, 1)
  }
  q <- from(law$start)
  for (it in 1:20) {
    o <- optim(q, nll, gr, method = "BFGS", control = list(reltol = 1e-15, maxit = 5000))
    if (max(abs(o$par - q)) < 1e-13) break
    q <- o$par
  }
  to(o$par)
}

fmt <- function(x) formatC(x, digits = 17, format = "g")
data <- c("case value")
rows <- c("law case n a b se_a se_b")
case <- 0
for (name in names(laws)) {
  law <- laws[[name]]
  for (n in c(20, 200, 5000)) {
    x <- law$draw(n)
    p <- fit(law, x)
    S <- law$score(p, x)
    se <- sqrt(diag(solve(crossprod(S))))
    data <- c(data, paste(case, fmt(x)))
    rows <- c(rows, paste(name, case, n, fmt(p[1]), fmt(p[2]), fmt(se[1]), fmt(se[2])))
    case <- case + 1
  }
}
writeLines(data, "fit_likelihood_data.txt")
writeLines(rows, "fit_likelihood.txt")
