#!/usr/bin/python3
"""Times LogisticRegress (binomial) and PoissonRegress against statsmodels' GLM and R's glm.fit on
the same data; prints the ratios.

usage: /usr/bin/python3 bench/glm_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_glm. Every side fits 10^5 rows and 10 columns (an intercept and nine
covariates) made by splitmix64 exactly as bench/glm_bench.cpp makes them, by IRLS, and produces
the coefficients, the fitted means and the standard errors; each reports the best of N
repetitions in milliseconds. statsmodels runs GLM(...).fit() with its default IRLS (an absolute
deviance change of 1e-8, as ours) and reads bse; R runs glm.fit with its default control (a
relative deviance change of 1e-8, looser at these deviances) and takes the standard errors from
chol2inv of its QR factor, as summary.glm does. R is skipped when Rscript is missing. The last
slope, its standard error and the IRLS pass counts are printed as a check that every side did
the same work.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from bench_common import best_of_benchmarks, run_python

ROWS = 100_000
COLS = 10

PYTHON_TIMER = r"""
import json, sys, timeit, warnings
import numpy as np
import statsmodels.api as sm
rows, cols, repeats, dump = json.loads(sys.argv[1])
u = uniforms(rows * 40)
A = np.ones((rows, cols))
s = np.zeros(rows)
for j in range(1, cols):
    A[:, j] = u[np.arange(rows) * cols + j]
    s = s + (j / 100.0) * (A[:, j] - 0.5)
succ = np.zeros(rows)
for k in range(10):
    succ += u[10 * rows + 10 * np.arange(rows) + k] < 0.5 + s
counts = np.zeros(rows)
for k in range(20):
    counts += u[20 * rows + 20 * np.arange(rows) + k] < (1.0 + 4.0 * s) * 3.0 / 20.0
trials = np.full(rows, 10.0)
if dump:
    A.T.tofile(dump + ".A")   # column by column, as R reads a matrix
    succ.tofile(dump + ".succ")
    counts.tofile(dump + ".counts")
endog = np.column_stack([succ, trials - succ])
def logistic():
    r = sm.GLM(endog, A, family=sm.families.Binomial()).fit()
    return r.params, r.fittedvalues, r.bse, r.fit_history["iteration"]
def poisson():
    r = sm.GLM(counts, A, family=sm.families.Poisson()).fit()
    return r.params, r.fittedvalues, r.bse, r.fit_history["iteration"]
out = {}
for name, fit in (("logistic", logistic), ("poisson", poisson)):
    b, mu, se, it = fit()
    best = min(timeit.Timer("fit()", globals={"fit": fit}).repeat(repeat=repeats, number=1))
    out[name] = {"ms": best * 1e3, "b": float(b[cols - 1]), "se": float(se[cols - 1]),
                 "passes": int(it)}
print(json.dumps(out))
"""

R_TIMER = r"""
args <- commandArgs(trailingOnly = TRUE)
rows <- as.integer(args[1]); cols <- as.integer(args[2]); repeats <- as.integer(args[3])
A <- matrix(readBin(paste0(args[4], ".A"), "double", rows * cols), rows, cols)
succ <- readBin(paste0(args[4], ".succ"), "double", rows)
counts <- readBin(paste0(args[4], ".counts"), "double", rows)
fit <- function(y, w, family) {
  f <- glm.fit(A, y, weights = w, family = family)
  p <- f$rank
  V <- chol2inv(f$qr$qr[1:p, 1:p, drop = FALSE])
  V[f$qr$pivot, f$qr$pivot] <- V
  list(b = f$coefficients, mu = f$fitted.values, se = sqrt(diag(V)), iter = f$iter)
}
for (case in list(list(succ / 10, rep(10, rows), binomial()),
                  list(counts, rep(1, rows), poisson()))) {
  r <- fit(case[[1]], case[[2]], case[[3]])
  best <- Inf
  for (i in seq_len(repeats)) {
    best <- min(best, system.time(fit(case[[1]], case[[2]], case[[3]]))[["elapsed"]])
  }
  cat(sprintf("%.6f %.15g %.15g %d\n", best * 1e3, r$b[cols], r$se[cols], r$iter))
}
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_glm")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    best, labels = best_of_benchmarks(args.binary, args.repetitions,
                                      "^BM_(LogisticRegress|PoissonRegress)$")
    for name in ("BM_LogisticRegress", "BM_PoissonRegress"):
        if name not in best:
            sys.exit(f"glm_compare.py: {name} missing from the benchmark output")

    rscript = shutil.which("Rscript")
    with tempfile.TemporaryDirectory() as tmp:
        dump = os.path.join(tmp, "data") if rscript else ""
        peers = run_python(PYTHON_TIMER, [ROWS, COLS, args.repetitions, dump])
        r = {}
        if rscript:
            script = os.path.join(tmp, "timer.R")
            with open(script, "w") as f:
                f.write(R_TIMER)
            lines = subprocess.run([rscript, script, str(ROWS), str(COLS),
                                    str(args.repetitions), dump], check=True,
                                   stdout=subprocess.PIPE, text=True).stdout.splitlines()
            for name, line in zip(("logistic", "poisson"), lines):
                ms, b, se, passes = line.split()
                r[name] = {"ms": float(ms), "b": float(b), "se": float(se),
                           "passes": int(passes)}

    print(f"IRLS with fitted values and standard errors, {ROWS:,} x {COLS}, best of "
          f"{args.repetitions}")
    for name, bench, title in (("logistic", "BM_LogisticRegress", "binomial LogisticRegress"),
                               ("poisson", "BM_PoissonRegress", "PoissonRegress")):
        ours = best[bench]
        fields = labels[bench].split()
        our_b, our_se = float(fields[0]), float(fields[1])
        our_passes = fields[2] if len(fields) > 2 else "-"
        sm = peers[name]
        print(f"{title}")
        print(f"  ours                          {ours:8.1f} ms   passes {our_passes}")
        print(f"  statsmodels GLM               {sm['ms']:8.1f} ms   passes {sm['passes']}"
              f"   ours/statsmodels {ours / sm['ms']:.2f}")
        faster = sm["ms"]
        if name in r:
            print(f"  R glm.fit                     {r[name]['ms']:8.1f} ms   passes "
                  f"{r[name]['passes']}   ours/R {ours / r[name]['ms']:.2f}")
            faster = min(faster, r[name]["ms"])
        print(f"  ours/faster peer {ours / faster:.2f}")
        print(f"  last slope: ours {our_b:.15g}, statsmodels {sm['b']:.15g}"
              + (f", R {r[name]['b']:.15g}" if name in r else ""))
        print(f"  its std. error: ours {our_se:.15g}, statsmodels {sm['se']:.15g}"
              + (f", R {r[name]['se']:.15g}" if name in r else ""))


if __name__ == "__main__":
    main()
