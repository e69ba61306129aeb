#!/usr/bin/python3
"""Runs the ARMA benchmarks and times the same work in R and statsmodels; prints ratios.

usage: /usr/bin/python3 bench/arma_compare.py BENCH_BINARY [--repetitions N]

Every side works on the ARMA(2,1) series of arma_bench.cpp: x_t = 0.5 x_{t-1} + 0.3 x_{t-2} +
e_t - 0.4 e_{t-1} + 10 with e_t = sqrt(12) (u_t - 1/2), u_t the splitmix64 uniforms of
bench_data.h; NumPy builds it and hands it to R in a file. Times are the best of the repetitions,
in milliseconds per operation.
  ML fit, n = 5000:      ours: Hannan-Rissanen start and ARMAMLE; R: arima(x, c(2,0,1),
                         method = "ML"); statsmodels: ARIMA(x, order=(2,0,1), trend="c").fit()
  likelihood, n = 10^6:  ours: ARMALogLike; R: arima with every coefficient fixed (one exact
                         likelihood by its Kalman filter); statsmodels: ARIMA(...).loglike(params)
  forecast h = 20 after n = 10^5: ours: ARMAForecast with standard errors; R: the fixed arima
                         and predict(n.ahead = 20); statsmodels: ARIMA(...).filter(params)
                         .get_forecast(20) (mean and standard errors)
The ratio is ours over the faster peer. The growth rows show our time per 10^5 points at 10^3 to
10^6 points: constant when the cost is linear in n.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from bench_common import best_of_benchmarks, run_python

SERIES = r"""
from scipy.signal import lfilter
def arma_series(n):
    e = np.sqrt(12.0) * (uniforms(n) - 0.5)
    return lfilter([1.0, -0.4], [1.0, -0.5, -0.3], e) + 10.0
"""

PY_TIMER = SERIES + r"""
import json, sys, timeit, warnings
from statsmodels.tsa.arima.model import ARIMA
warnings.simplefilter("ignore")
path, repeats = json.loads(sys.argv[1])
np.savetxt(path, arma_series(1_000_000), fmt="%.17g")
x5, x5e5, x1e6 = arma_series(5000), arma_series(100_000), arma_series(1_000_000)
params = [10.0, 0.5, 0.3, -0.4, 1.0]
m6 = ARIMA(x1e6, order=(2, 0, 1), trend="c")
m5 = ARIMA(x5e5, order=(2, 0, 1), trend="c")
def forecast():
    f = m5.filter(params).get_forecast(20)
    return f.predicted_mean, f.se_mean
best = {}
for label, fn, reps in (("mle", lambda: ARIMA(x5, order=(2, 0, 1), trend="c").fit(), repeats),
                        ("loglike", lambda: m6.loglike(params), 2),
                        ("forecast", forecast, repeats)):
    best[label] = min(timeit.repeat(fn, repeat=reps, number=1)) * 1e3
print(json.dumps(best))
"""

R_TIMER = r"""
args <- commandArgs(TRUE); x <- scan(args[1], quiet = TRUE); repeats <- as.integer(args[2])
timed <- function(f, reps) min(replicate(reps, system.time(f())[["elapsed"]])) * 1e3
fixed <- c(0.5, 0.3, -0.4, 10)
x5 <- x[1:5000]; x5e5 <- x[1:100000]
mle <- timed(function() arima(x5, order = c(2, 0, 1), method = "ML"), repeats)
ll <- timed(function() arima(x, order = c(2, 0, 1), fixed = fixed, transform.pars = FALSE,
                             method = "ML"), 2)
fc <- timed(function() predict(arima(x5e5, order = c(2, 0, 1), fixed = fixed,
                                     transform.pars = FALSE, method = "ML"), n.ahead = 20),
            repeats)
cat(mle, ll, fc, "\n")
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_arma")
    parser.add_argument("--repetitions", type=int, default=3)
    args = parser.parse_args()
    ours, labels = best_of_benchmarks(args.binary, args.repetitions)
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "series.txt")
        py = run_python(PY_TIMER, [path, args.repetitions])
        r = None
        if shutil.which("Rscript"):
            out = subprocess.run(["Rscript", "-e", R_TIMER, path, str(args.repetitions)],
                                 check=True, stdout=subprocess.PIPE, text=True).stdout
            r = dict(zip(("mle", "loglike", "forecast"), map(float, out.split())))
    rows = [("ML fit ARMA(2,1), n=5000", "BM_ARMAMLE/5000", "mle"),
            ("likelihood, n=10^6", "BM_ARMALogLike/1000000", "loglike"),
            ("forecast h=20, n=10^5", "BM_ARMAForecast/100000", "forecast")]
    print(f"best of {args.repetitions}; milliseconds per operation")
    print(f"{'operation':<26} {'ours':>9} {'R':>9} {'statsm.':>9} {'ours/faster':>12}")
    for label, name, key in rows:
        if name not in ours:
            sys.exit(f"arma_compare.py: {name} missing from the benchmark output")
        theirs = [t for t in (r[key] if r else None, py[key]) if t is not None]
        rt = f"{r[key]:>9.2f}" if r else f"{'-':>9}"
        print(f"{label:<26} {ours[name]:>9.2f} {rt} {py[key]:>9.2f} "
              f"{ours[name] / min(theirs):>12.3f}")
    print(f"  ({labels.get('BM_ARMAMLE/5000', '')})")
    print("growth: our milliseconds per 10^5 points")
    for family in ("BM_ARMALogLike", "BM_ARMAForecast"):
        cells = []
        for n in (1000, 10000, 100000, 1000000):
            name = f"{family}/{n}"
            if name in ours:
                cells.append(f"n={n:>7}: {ours[name] / n * 1e5:6.3f}")
        print(f"  {family[3:]:<13} " + "   ".join(cells))


if __name__ == "__main__":
    main()
