# Reference values for LogisticRegress (binomial and ordinal) and PoissonRegress from R.
# Run from this folder: Rscript logistic_poisson.R
# Writes logistic_poisson_data.txt, the data as "set row col value" rows (column 0 the response,
# column 1 the trials of a binomial set or the frequency of an ordinal row, columns 2.. the
# design), and logistic_poisson.txt, "name index value" rows with 17 significant digits.
#
# Sets: 1 esoph (cases of oesophageal cancer out of cases + controls, on age and alcohol group
# dummies with an intercept column); 2 a simulated binomial set with three covariates, offset 0.4;
# 3 set 2 with the intercept alone (no design), offset -0.3; 4 InsectSprays (counts on spray
# dummies); 5 a simulated Poisson set with two covariates, offset 1.2; 6 housing (satisfaction 1-3
# on influence, type and contact dummies, each row standing for Freq observations); 7 a simulated
# ordinal set with four categories and two covariates, no frequencies.
#
# glm runs with epsilon = 1e-12, so its relative deviance change criterion is tight; the scalar
# offset is rep(offset, n). Standard errors are summary(fit)'s (dispersion 1), after a restart
# (see glm_set).
# polr (logit link) runs with reltol 1e-15, restarted three times from its own answer; its
# thresholds zeta and slopes are the theta_c - x b parameterisation directly, and its standard
# errors come from its Hessian. The script
# checks them against a Newton polish of the same likelihood with its analytic gradient and
# Hessian (optim ndeps 1e-4 for polr's Hessian), and stops when they differ by more than 2e-7
# (relative), a fifth of the tolerance of the tests.
library(MASS)

g17 <- function(x) sprintf("%.17g", x)
rows <- character(0)
out <- function(name, x) {
  x <- as.vector(x)
  rows <<- c(rows, paste(name, seq_along(x) - 1, g17(x)))
}
drows <- character(0)
data_set <- function(set, y, second, A) {
  M <- cbind(y, second, A)
  for (i in seq_len(nrow(M))) for (j in seq_len(ncol(M))) {
    drows <<- c(drows, paste(set, i - 1, j - 1, g17(M[i, j])))
  }
}
dummies <- function(f) {
  f <- factor(f)
  sapply(levels(f)[-1], function(l) as.numeric(f == l))
}

glm_set <- function(set, family, y, second, A, offset) {
  n <- length(y)
  off <- rep(offset, n)
  fam <- if (family == "binomial") binomial else poisson
  resp <- if (family == "binomial") cbind(y, second - y) else y
  X <- if (is.null(A)) matrix(1, n, 1) else A
  run <- function(start) glm(resp ~ X - 1, family = fam, offset = off, start = start,
                             control = glm.control(epsilon = 1e-12, maxit = 100))
  # summary's standard errors come from the weights of glm's last pass, computed before that
  # pass's update, so they lag the returned coefficients: by 3e-6 (relative) on esoph at
  # epsilon 1e-12. One more fit started from the coefficients puts that pass at the optimum.
  first <- run(NULL)
  fit <- run(coef(first))
  cat("set", set, "standard errors moved by the restart:",
      max(abs(sqrt(diag(summary(fit)$cov.unscaled)) /
              sqrt(diag(summary(first)$cov.unscaled)) - 1)), "\n")
  stopifnot(fit$converged)
  data_set(set, y, if (is.null(second)) 0 else second, if (is.null(A)) matrix(0, n, 0) else A)
  s <- paste0("set", set, "_")
  out(paste0(s, "offset"), offset)
  out(paste0(s, "b"), coef(fit))
  out(paste0(s, "se"), sqrt(diag(summary(fit)$cov.unscaled)))
  out(paste0(s, "deviance"), deviance(fit))
  out(paste0(s, "fitted"), fitted(fit) * (if (family == "binomial") second else 1))
  out(paste0(s, "dfE"), fit$df.residual)
}

# The ordinal log-likelihood with weights w, its gradient and Hessian in (zeta, b).
ordinal_parts <- function(par, y, A, w, q) {
  zeta <- par[1:q]; b <- par[-(1:q)]
  eta <- drop(A %*% b)
  up <- c(zeta, Inf)[y]; lo <- c(-Inf, zeta)[y]
  g1 <- plogis(up - eta); g2 <- plogis(lo - eta)
  P <- g1 - g2
  u1 <- g1 * (1 - g1) / P; u2 <- g2 * (1 - g2) / P
  q1 <- (1 - 2 * g1) * u1; q2 <- (1 - 2 * g2) * u2
  n <- length(y); p <- ncol(A)
  D1 <- cbind(outer(y, 1:q, "=="), -A) * 1
  D2 <- cbind(outer(y - 1, 1:q, "=="), -A) * 1
  D1[y == q + 1, ] <- 0; D2[y == 1, ] <- 0
  u1[y == q + 1] <- 0; u2[y == 1] <- 0; q1[y == q + 1] <- 0; q2[y == 1] <- 0
  J <- u1 * D1 - u2 * D2
  list(ll = sum(w * log(P)), grad = colSums(w * J),
       hess = t(D1) %*% (w * q1 * D1) - t(J) %*% (w * J) - t(D2) %*% (w * q2 * D2))
}

polr_set <- function(set, y, A, w) {
  q <- max(y) - 1
  fit <- polr(factor(y) ~ A, weights = w, Hess = TRUE,
              control = list(reltol = 1e-15, maxit = 10000, ndeps = rep(1e-4, ncol(A) + q)))
  # BFGS stops on a relative change of the objective: restarting from its own answer lets it
  # take the last digits where the covariates differ in scale.
  for (restart in 1:3) {
    fit <- polr(factor(y) ~ A, weights = w, Hess = TRUE, start = c(coef(fit), fit$zeta),
                control = list(reltol = 1e-15, maxit = 10000, ndeps = rep(1e-4, ncol(A) + q)))
  }
  est <- c(fit$zeta, coef(fit))
  se <- sqrt(diag(vcov(fit)))
  se <- c(se[-(1:ncol(A))], se[1:ncol(A)])
  par <- est
  for (it in 1:20) {
    parts <- ordinal_parts(par, y, A, w, q)
    par <- par - solve(parts$hess, parts$grad)
  }
  parts <- ordinal_parts(par, y, A, w, q)
  se_newton <- sqrt(diag(solve(-parts$hess)))
  cat("set", set, "polr vs Newton: estimates", max(abs(par - est) / abs(par)),
      "se", max(abs(se - se_newton) / se), "\n")
  stopifnot(max(abs(par - est) / abs(par)) < 2e-7, max(abs(se - se_newton) / se) < 2e-7)
  data_set(set, y, w, A)
  s <- paste0("set", set, "_")
  out(paste0(s, "theta"), fit$zeta)
  out(paste0(s, "b"), coef(fit))
  out(paste0(s, "se"), se)
  out(paste0(s, "deviance"), deviance(fit))
}

# 1 esoph.
es <- read.csv("../../../examples/data/esoph.csv")
A1 <- cbind(1, dummies(es$agegp), dummies(es$alcgp))
glm_set(1, "binomial", es$ncases, es$ncases + es$ncontrols, A1, 0)

# 2, 3 simulated binomial.
set.seed(20)
n2 <- 80
X2 <- cbind(1, rnorm(n2), rnorm(n2), runif(n2))
t2 <- sample(1:12, n2, replace = TRUE)
y2 <- rbinom(n2, t2, plogis(drop(X2 %*% c(-0.3, 0.8, -0.5, 1.1)) + 0.4))
glm_set(2, "binomial", y2, t2, X2, 0.4)
glm_set(3, "binomial", y2, t2, NULL, -0.3)

# 4 InsectSprays.
ins <- read.csv("../../../examples/data/insect_sprays.csv")
glm_set(4, "poisson", ins$count, NULL, cbind(1, dummies(ins$spray)), 0)

# 5 simulated Poisson.
n5 <- 100
X5 <- cbind(1, rnorm(n5), runif(n5, 0, 3))
y5 <- rpois(n5, exp(drop(X5 %*% c(0.5, 0.3, -0.2)) + 1.2))
glm_set(5, "poisson", y5, NULL, X5, 1.2)

# 6 housing.
h <- read.csv("../../../examples/data/housing.csv")
y6 <- as.integer(factor(h$Sat, levels = c("Low", "Medium", "High")))
A6 <- cbind(dummies(factor(h$Infl, levels = c("Low", "Medium", "High"))), dummies(h$Type),
            dummies(factor(h$Cont, levels = c("Low", "High"))))
polr_set(6, y6, A6, h$Freq)

# 7 simulated ordinal.
n7 <- 150
X7 <- cbind(rnorm(n7, 2, 1), runif(n7, 0, 3))
latent <- drop(X7 %*% c(0.9, -0.6)) + rlogis(n7)
y7 <- as.integer(cut(latent, c(-Inf, -0.5, 0.7, 1.8, Inf)))
polr_set(7, y7, X7, rep(1, n7))

writeLines(c("set row col value", drows), "logistic_poisson_data.txt")
writeLines(c("name index value", rows), "logistic_poisson.txt")
