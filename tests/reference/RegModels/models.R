# Reference coefficients of the linearising fits from R's lm on the transformed data.
# Run from this folder: Rscript models.R
# Writes models_data.txt (one row per observation: x, y, the weights w, a logistic-shaped
# response ylog and a second regressor x2) and models.txt (one row per coefficient of each fit:
# case name, coefficient index, value), all with 17 significant digits.
#
# The transformations are those of the fits: ln y on ln x over x > 0 and y > 0 (power), ln y on
# x over y > 0 (exponential), y on ln x over x > 0 (logarithmic), the logistic's
# z = ln(R / (y - lower) - 1) over the inner points with the first and last y as asymptotes,
# and the rational function's linearisation y = c0 + c1 x + c2 x^2 - d1 x y. Weighted power and
# exponential fits weight by w y^2, the logistic by w ((y - lower)(y - upper) / R)^2.

g17 <- function(x) sprintf("%.17g", x)
n <- 14
x <- c(-1, 0, seq(0.5, 6, length.out = n - 2))
y <- 2.5 * exp(0.3 * x) + 0.2 * sin(3 * seq_len(n))
y[5] <- -0.4                      # a non-positive response, left out of the log fits
w <- 1 + (seq_len(n) %% 4) / 2
ylog <- 1 + 4 / (1 + exp(2 - 1.3 * x)) + 0.05 * cos(2 * seq_len(n))
ylog[1] <- 1.001; ylog[n] <- 5.02  # asymptotes at the ends
x2 <- cos(seq_len(n)) + 0.1 * seq_len(n)

rows <- character(0)
add <- function(name, b) {
  rows <<- c(rows, paste(name, seq_along(b) - 1, g17(unname(b))))
}

add("LineFit", coef(lm(y ~ x)))
add("LineFitW", coef(lm(y ~ x, weights = w)))

s <- x > 0 & y > 0
b <- coef(lm(log(y[s]) ~ log(x[s]))); b[1] <- exp(b[1]); add("PowerFit", b)
b <- coef(lm(log(y[s]) ~ log(x[s]), weights = (w * y^2)[s])); b[1] <- exp(b[1]); add("PowerFitW", b)

s <- y > 0
b <- coef(lm(log(y[s]) ~ x[s])); b[1] <- exp(b[1]); add("ExpFit", b)
b <- coef(lm(log(y[s]) ~ x[s], weights = (w * y^2)[s])); b[1] <- exp(b[1]); add("ExpFitW", b)

s <- x > 0
add("LnFit", coef(lm(y[s] ~ log(x[s]))))
add("LnFitW", coef(lm(y[s] ~ log(x[s]), weights = w[s])))

logistic <- function(four, weighted) {
  lower <- if (four) ylog[1] else 0
  upper <- ylog[n]
  r <- upper - lower
  inner <- 2:(n - 1)
  yi <- ylog[inner]
  z <- log(r / (yi - lower) - 1)
  wt <- if (weighted) w[inner] * ((yi - lower) * (yi - upper) / r)^2 else rep(1, length(yi))
  l <- coef(lm(z ~ x[inner], weights = wt))
  c(lower, upper, -l[2], l[1])
}
add("LogisticFit4", logistic(TRUE, FALSE))
add("LogisticFit2", logistic(FALSE, FALSE))
add("LogisticFit4W", logistic(TRUE, TRUE))

xy <- -x * y
add("FracFit", coef(lm(y ~ x + I(x^2) + xy)))
add("FracFitW", coef(lm(y ~ x + I(x^2) + xy, weights = w)))
add("FracFitNoConst", c(0, coef(lm(y ~ 0 + x + I(x^2) + xy))))

add("MulLinFit", coef(lm(y ~ x + x2)))
add("MulLinFitW", coef(lm(y ~ x + x2, weights = w)))
add("MulLinFitNoConst", coef(lm(y ~ 0 + x + x2)))

writeLines(c("# written by models.R", "x y w ylog x2",
             paste(g17(x), g17(y), g17(w), g17(ylog), g17(x2))), "models_data.txt")
writeLines(c("# written by models.R", "case k value", rows), "models.txt")
