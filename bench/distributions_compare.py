#!/usr/bin/python3
"""Times every law's density, CDF, upper tail and inverse against SciPy and R; prints ratios.

usage: /usr/bin/python3 bench/distributions_compare.py BENCH_BINARY [--repetitions N]
                                                       [--filter REGEX]

BENCH_BINARY is lumex_bench_distributions. Each row evaluates one function of one law with
fixed parameters at 10^6 points (the label of each benchmark says which: lo + (hi - lo) u_k,
floored for a discrete law, with u_k the splitmix64 uniforms that bench_common.py reproduces;
an inverse takes p = u_k). All three sides report the best of N repetitions in milliseconds of
CPU time of the one thread each runs on, which other work on the machine disturbs less than
the wall clock. A peer's row that takes more than 0.1 s on the first tenth of the points (some
scipy.stats quantiles search numerically, at tens of microseconds a point) is timed on that
tenth alone and scaled by ten, which keeps the whole comparison to about three minutes.
SciPy uses scipy.special where it has the function (ndtr, stdtr, fdtr, gammainc, ...) and
scipy.stats otherwise; R uses its d/p/q functions (p with lower.tail = FALSE for the upper tail),
and, for the laws it lacks, the same closed forms vectorised (Rayleigh, Laplace, Gumbel,
triangular, inverse Gaussian, discrete uniform; Maxwell through chi-square(3)). R has no
inverse Gaussian quantile: that row is compared with SciPy alone. The ratio is ours over the
faster peer. R is skipped when Rscript is missing.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

from bench_common import best_of_benchmarks, run_python

LENGTH = 1_000_000

# Per law: (SciPy density, CDF, upper tail, inverse), then the same in R. The point vector is
# x (p for the inverses), the parameters a, b, c in the order of the library's signature.
SCIPY = {
    "Normal": ("st.norm.pdf(x, a, b)", "sp.ndtr((x - a) / b)", "sp.ndtr((a - x) / b)",
               "a + b * sp.ndtri(x)"),
    "Student": ("st.t.pdf(x, a)", "sp.stdtr(a, x)", "sp.stdtr(a, -x)", "sp.stdtrit(a, x)"),
    "ChiSquare": ("st.chi2.pdf(x, a)", "sp.chdtr(a, x)", "sp.chdtrc(a, x)",
                  "2 * sp.gammaincinv(a / 2, x)"),
    "F": ("st.f.pdf(x, a, b)", "sp.fdtr(a, b, x)", "sp.fdtrc(a, b, x)", "sp.fdtri(a, b, x)"),
    "Gamma": ("st.gamma.pdf(x, a, scale=b)", "sp.gammainc(a, x / b)", "sp.gammaincc(a, x / b)",
              "b * sp.gammaincinv(a, x)"),
    "Erlang": ("st.gamma.pdf(x, a, scale=1 / b)", "sp.gammainc(a, b * x)",
               "sp.gammaincc(a, b * x)", "sp.gammaincinv(a, x) / b"),
    "Exp": ("st.expon.pdf(x, scale=a)", "st.expon.cdf(x, scale=a)", "st.expon.sf(x, scale=a)",
            "st.expon.ppf(x, scale=a)"),
    "Beta": ("st.beta.pdf(x, a, b)", "sp.btdtr(a, b, x)", "st.beta.sf(x, a, b)",
             "sp.btdtri(a, b, x)"),
    "Weibull": ("st.weibull_min.pdf(x, b, scale=a)", "st.weibull_min.cdf(x, b, scale=a)",
                "st.weibull_min.sf(x, b, scale=a)", "st.weibull_min.ppf(x, b, scale=a)"),
    "Maxwell": ("st.maxwell.pdf(x, scale=a)", "st.maxwell.cdf(x, scale=a)",
                "st.maxwell.sf(x, scale=a)", "st.maxwell.ppf(x, scale=a)"),
    "Rayleigh": ("st.rayleigh.pdf(x, scale=a)", "st.rayleigh.cdf(x, scale=a)",
                 "st.rayleigh.sf(x, scale=a)", "st.rayleigh.ppf(x, scale=a)"),
    "LogNormal": ("st.lognorm.pdf(x, b, scale=np.exp(a))", "st.lognorm.cdf(x, b, scale=np.exp(a))",
                  "st.lognorm.sf(x, b, scale=np.exp(a))", "st.lognorm.ppf(x, b, scale=np.exp(a))"),
    "InverseGaussian": ("st.invgauss.pdf(x, a / b, scale=b)", "st.invgauss.cdf(x, a / b, scale=b)",
                        "st.invgauss.sf(x, a / b, scale=b)", "st.invgauss.ppf(x, a / b, scale=b)"),
    "Cauchy": ("st.cauchy.pdf(x, a, b)", "st.cauchy.cdf(x, a, b)", "st.cauchy.sf(x, a, b)",
               "st.cauchy.ppf(x, a, b)"),
    "Laplace": ("st.laplace.pdf(x, a, b)", "st.laplace.cdf(x, a, b)", "st.laplace.sf(x, a, b)",
                "st.laplace.ppf(x, a, b)"),
    "Logistic": ("st.logistic.pdf(x, a, b)", "st.logistic.cdf(x, a, b)",
                 "st.logistic.sf(x, a, b)", "st.logistic.ppf(x, a, b)"),
    "Gumbel": ("st.gumbel_r.pdf(x, a, b)", "st.gumbel_r.cdf(x, a, b)", "st.gumbel_r.sf(x, a, b)",
               "st.gumbel_r.ppf(x, a, b)"),
    "Uniform": ("st.uniform.pdf(x, a, b - a)", "st.uniform.cdf(x, a, b - a)",
                "st.uniform.sf(x, a, b - a)", "st.uniform.ppf(x, a, b - a)"),
    "Triangular": ("st.triang.pdf(x, (c - a) / (b - a), a, b - a)",
                   "st.triang.cdf(x, (c - a) / (b - a), a, b - a)",
                   "st.triang.sf(x, (c - a) / (b - a), a, b - a)",
                   "st.triang.ppf(x, (c - a) / (b - a), a, b - a)"),
    "Binom": ("st.binom.pmf(x, a, b)", "sp.bdtr(x, a, b)", "sp.bdtrc(x, a, b)",
              "st.binom.ppf(x, a, b)"),
    "Poisson": ("st.poisson.pmf(x, a)", "sp.pdtr(x, a)", "sp.pdtrc(x, a)",
                "st.poisson.ppf(x, a)"),
    "Geometric": ("st.nbinom.pmf(x, 1, a)", "st.nbinom.cdf(x, 1, a)", "st.nbinom.sf(x, 1, a)",
                  "st.nbinom.ppf(x, 1, a)"),
    "NegBinom": ("st.nbinom.pmf(x, a, b)", "st.nbinom.cdf(x, a, b)", "st.nbinom.sf(x, a, b)",
                 "st.nbinom.ppf(x, a, b)"),
    "HypGeometric": ("st.hypergeom.pmf(x, a, b, c)", "st.hypergeom.cdf(x, a, b, c)",
                     "st.hypergeom.sf(x, a, b, c)", "st.hypergeom.ppf(x, a, b, c)"),
    "UniformD": ("st.randint.pmf(x, 1, a + 1)", "st.randint.cdf(x, 1, a + 1)",
                 "st.randint.sf(x, 1, a + 1)", "st.randint.ppf(x, 1, a + 1)"),
}

R = {
    "Normal": ("dnorm(x, a, b)", "pnorm(x, a, b)", "pnorm(x, a, b, lower.tail = FALSE)",
               "qnorm(x, a, b)"),
    "Student": ("dt(x, a)", "pt(x, a)", "pt(x, a, lower.tail = FALSE)", "qt(x, a)"),
    "ChiSquare": ("dchisq(x, a)", "pchisq(x, a)", "pchisq(x, a, lower.tail = FALSE)",
                  "qchisq(x, a)"),
    "F": ("df(x, a, b)", "pf(x, a, b)", "pf(x, a, b, lower.tail = FALSE)", "qf(x, a, b)"),
    "Gamma": ("dgamma(x, a, scale = b)", "pgamma(x, a, scale = b)",
              "pgamma(x, a, scale = b, lower.tail = FALSE)", "qgamma(x, a, scale = b)"),
    "Erlang": ("dgamma(x, a, rate = b)", "pgamma(x, a, rate = b)",
               "pgamma(x, a, rate = b, lower.tail = FALSE)", "qgamma(x, a, rate = b)"),
    "Exp": ("dexp(x, 1 / a)", "pexp(x, 1 / a)", "pexp(x, 1 / a, lower.tail = FALSE)",
            "qexp(x, 1 / a)"),
    "Beta": ("dbeta(x, a, b)", "pbeta(x, a, b)", "pbeta(x, a, b, lower.tail = FALSE)",
             "qbeta(x, a, b)"),
    "Weibull": ("dweibull(x, b, a)", "pweibull(x, b, a)", "pweibull(x, b, a, lower.tail = FALSE)",
                "qweibull(x, b, a)"),
    "Maxwell": ("sqrt(2 / pi) * x^2 * exp(-x^2 / (2 * a^2)) / a^3", "pchisq((x / a)^2, 3)",
                "pchisq((x / a)^2, 3, lower.tail = FALSE)", "a * sqrt(qchisq(x, 3))"),
    "Rayleigh": ("ifelse(x < 0, 0, x / a^2 * exp(-x^2 / (2 * a^2)))",
                 "ifelse(x < 0, 0, -expm1(-x^2 / (2 * a^2)))",
                 "ifelse(x < 0, 1, exp(-x^2 / (2 * a^2)))", "a * sqrt(-2 * log1p(-x))"),
    "LogNormal": ("dlnorm(x, a, b)", "plnorm(x, a, b)", "plnorm(x, a, b, lower.tail = FALSE)",
                  "qlnorm(x, a, b)"),
    "InverseGaussian": (
        "ifelse(x > 0, sqrt(b / (2 * pi * x^3)) * exp(-b * (x - a)^2 / (2 * a^2 * x)), 0)",
        "pnorm(sqrt(b / x) * (x / a - 1)) + exp(2 * b / a) * pnorm(-sqrt(b / x) * (x / a + 1))",
        "pnorm(-sqrt(b / x) * (x / a - 1)) - exp(2 * b / a) * pnorm(-sqrt(b / x) * (x / a + 1))",
        None),
    "Cauchy": ("dcauchy(x, a, b)", "pcauchy(x, a, b)", "pcauchy(x, a, b, lower.tail = FALSE)",
               "qcauchy(x, a, b)"),
    "Laplace": ("exp(-abs(x - a) / b) / (2 * b)",
                "ifelse(x < a, exp((x - a) / b) / 2, 1 - exp((a - x) / b) / 2)",
                "ifelse(x < a, 1 - exp((x - a) / b) / 2, exp((a - x) / b) / 2)",
                "ifelse(x < 0.5, a + b * log(2 * x), a - b * log(2 - 2 * x))"),
    "Logistic": ("dlogis(x, a, b)", "plogis(x, a, b)", "plogis(x, a, b, lower.tail = FALSE)",
                 "qlogis(x, a, b)"),
    "Gumbel": ("exp(-(x - a) / b - exp(-(x - a) / b)) / b", "exp(-exp(-(x - a) / b))",
               "-expm1(-exp(-(x - a) / b))", "a - b * log(-log(x))"),
    "Uniform": ("dunif(x, a, b)", "punif(x, a, b)", "punif(x, a, b, lower.tail = FALSE)",
                "qunif(x, a, b)"),
    "Triangular": (
        "ifelse(x < a | x > b, 0, ifelse(x < c, 2 * (x - a) / ((b - a) * (c - a)),"
        " 2 * (b - x) / ((b - a) * (b - c))))",
        "ifelse(x <= a, 0, ifelse(x >= b, 1, ifelse(x <= c, (x - a)^2 / ((b - a) * (c - a)),"
        " 1 - (b - x)^2 / ((b - a) * (b - c)))))",
        "ifelse(x <= a, 1, ifelse(x >= b, 0, ifelse(x <= c, 1 - (x - a)^2 / ((b - a) * (c - a)),"
        " (b - x)^2 / ((b - a) * (b - c)))))",
        "ifelse(x < (c - a) / (b - a), a + sqrt((b - a) * (c - a) * x),"
        " b - sqrt((b - a) * (b - c) * (1 - x)))"),
    "Binom": ("dbinom(x, a, b)", "pbinom(x, a, b)", "pbinom(x, a, b, lower.tail = FALSE)",
              "qbinom(x, a, b)"),
    "Poisson": ("dpois(x, a)", "ppois(x, a)", "ppois(x, a, lower.tail = FALSE)", "qpois(x, a)"),
    "Geometric": ("dgeom(x, a)", "pgeom(x, a)", "pgeom(x, a, lower.tail = FALSE)",
                  "qgeom(x, a)"),
    "NegBinom": ("dnbinom(x, a, b)", "pnbinom(x, a, b)", "pnbinom(x, a, b, lower.tail = FALSE)",
                 "qnbinom(x, a, b)"),
    "HypGeometric": ("dhyper(x, b, a - b, c)", "phyper(x, b, a - b, c)",
                     "phyper(x, b, a - b, c, lower.tail = FALSE)", "qhyper(x, b, a - b, c)"),
    "UniformD": ("ifelse(x >= 1 & x <= a & x == floor(x), 1 / a, 0)",
                 "pmin(pmax(floor(x), 0), a) / a", "(a - pmin(pmax(floor(x), 0), a)) / a",
                 "pmax(1, ceiling(x * a))"),
}

FORMS = ("PDF", "CDFUpper", "CDFInv", "CDF")  # suffixes, longest match first
FORM_INDEX = {"PDF": 0, "CDF": 1, "CDFUpper": 2, "CDFInv": 3}

# Runs in a child interpreter. Prints {row name: best seconds} as JSON.
SCIPY_TIMER = r"""
import json, sys, time, timeit
import scipy.special as sp
import scipy.stats as st
length, repeats, rows = json.loads(sys.argv[1])
SLOW = 0.1
u = uniforms(length)
best = {}
for name, stmt, lo, hi, discrete, a, b, c in rows:
    x = lo + (hi - lo) * u
    if discrete:
        x = np.floor(x)
    # A slow peer is timed on the first tenth of the points and scaled (see the docstring).
    env = {"np": np, "sp": sp, "st": st, "x": x[: length // 10], "a": a, "b": b, "c": c}
    timer = timeit.Timer(stmt, globals=env, timer=time.process_time)
    tenth = min(timer.repeat(repeat=repeats, number=1))
    if tenth > SLOW:
        best[name] = 10 * tenth
        continue
    env["x"] = x
    best[name] = min(timer.repeat(repeat=repeats, number=1))
print(json.dumps(best))
"""

# Reads the uniforms written by the SciPy side, then one row per line of the row file:
# name, lo, hi, discrete, a, b, c, statement (tab separated). Prints "name<TAB>seconds".
R_TIMER = r"""
args <- commandArgs(TRUE)
u <- readBin(args[1], "double", n = as.integer(args[3]))
reps <- as.integer(args[4])
rows <- strsplit(readLines(args[2]), "\t")
for (r in rows) {
  lo <- as.numeric(r[2]); hi <- as.numeric(r[3])
  x <- lo + (hi - lo) * u
  if (r[4] == "1") x <- floor(x)
  a <- as.numeric(r[5]); b <- as.numeric(r[6]); c <- as.numeric(r[7])
  expr <- parse(text = r[8])[[1]]
  cpu <- function() sum(proc.time()[c("user.self", "sys.self")])
  timed <- function(x) {  # best of reps
    best <- Inf
    for (i in seq_len(reps)) {
      t0 <- cpu()
      v <- suppressWarnings(eval(expr))
      best <- min(best, cpu() - t0)
    }
    best
  }
  # A slow row is timed on the first tenth of the points and scaled (see the docstring).
  tenth <- timed(x[seq_len(length(x) %/% 10)])
  best <- if (tenth > 0.1) 10 * tenth else timed(x)
  cat(r[1], "\t", best, "\n", sep = "")
}
"""

WRITE_UNIFORMS = r"""
import json, sys
length, path = json.loads(sys.argv[1])
uniforms(length).tofile(path)
print("{}")
"""


def split_name(name):
    """'StudentCDFInv(7.5)' -> ('Student', 'CDFInv')."""
    fn = name.split("(")[0]
    for form in FORMS:
        if fn.endswith(form):
            return fn[: -len(form)], form
    raise ValueError(name)


def run_r(rows, repetitions):
    rscript = shutil.which("Rscript")
    if not rscript:
        return {}
    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "u.bin")
        run_python(WRITE_UNIFORMS, [LENGTH, data])
        table = os.path.join(tmp, "rows.tsv")
        script = os.path.join(tmp, "timer.R")
        with open(table, "w") as f:
            for name, stmt, lo, hi, discrete, a, b, c in rows:
                f.write("\t".join([name, repr(lo), repr(hi), "1" if discrete else "0",
                                   repr(a), repr(b), repr(c), stmt]) + "\n")
        with open(script, "w") as f:
            f.write(R_TIMER)
        out = subprocess.run([rscript, script, data, table, str(LENGTH), str(repetitions)],
                             check=True, stdout=subprocess.PIPE, text=True).stdout
    best = {}
    for line in out.splitlines():
        name, seconds = line.split("\t")
        best[name] = float(seconds) * 1e3
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_distributions")
    parser.add_argument("--repetitions", type=int, default=2)
    parser.add_argument("--filter", default=".", help="regular expression on the row names")
    args = parser.parse_args()

    pattern = re.compile(args.filter)
    ours, labels = best_of_benchmarks(args.binary, args.repetitions, args.filter,
                                      time_key="cpu_time")
    # Google Benchmark appends "/iterations:1" to the names of fixed-iteration runs.
    strip = lambda n: re.sub(r"/iterations:\d+$", "", n)
    ours = {strip(k): v for k, v in ours.items()}
    labels = {strip(k): v for k, v in labels.items()}
    names = [n for n in labels if pattern.search(n)]
    scipy_rows, r_rows = [], []
    for name in names:
        law, form = split_name(name)
        lo, hi, discrete, a, b, c = labels[name].split()
        point = [float(lo), float(hi), discrete == "1", float(a), float(b), float(c)]
        scipy_rows.append([name, SCIPY[law][FORM_INDEX[form]]] + point)
        r_stmt = R[law][FORM_INDEX[form]]
        if r_stmt:
            r_rows.append([name, r_stmt] + point)
    scipy = {k: v * 1e3 for k, v in
             run_python(SCIPY_TIMER, [LENGTH, args.repetitions, scipy_rows]).items()}
    r = run_r(r_rows, args.repetitions)

    print(f"{LENGTH:,} points per call, best of {args.repetitions} (ms)")
    print(f"{'function':<34} {'ours':>9} {'SciPy':>9} {'R':>9} {'ours/best':>10}")
    above = 0
    for name in names:
        peers = [v for v in (scipy.get(name), r.get(name)) if v is not None]
        ratio = ours[name] / min(peers)
        above += ratio > 1.0
        r_text = f"{r[name]:>9.1f}" if name in r else f"{'-':>9}"
        print(f"{name:<34} {ours[name]:>9.1f} {scipy[name]:>9.1f} {r_text} {ratio:>10.2f}"
              + ("  *" if ratio > 1.0 else ""))
    print(f"{above} of {len(names)} rows above 1.0 (*)")


if __name__ == "__main__":
    if len(sys.argv) > 1 and not os.path.exists(sys.argv[1]):
        sys.exit(f"distributions_compare.py: no benchmark program {sys.argv[1]}")
    main()
