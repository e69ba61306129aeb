#!/usr/bin/python3
"""Times the ARAR method (ShortenFilter, ARARFit + ARARForecast) against the same algorithm in
NumPy; prints the ratios.

usage: /usr/bin/python3 bench/arar_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_arar. Both sides work on the 10^5-point series of
bench/arar_bench.cpp (a yearly cycle plus an AR(1) driven by the splitmix64 uniforms) with lags up
to 15 for memory shortening, up to 26 for the subset AR, and 24 forecasts, and report the best of
N repetitions in milliseconds. No library ships ARAR, so the peer is the algorithm of Brockwell and
Davis (section 9.1) written in vectorised NumPy: dot products per lag, one batched solve of all
2300 Yule-Walker systems, np.convolve for the filter and its residuals. The last forecast of both
sides is printed as a check that they computed the same thing.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

N, MAX_TAU, MAX_LAG, HORIZON = 100_000, 15, 26, 24

NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
from scipy.signal import lfilter
n, max_tau, max_lag, h, repeats = json.loads(sys.argv[1])
t = np.arange(n, dtype=np.float64)
y = 10.0 * np.sin(2.0 * np.pi * t / 12.0) + lfilter([1.0], [1.0, -0.5], uniforms(n) - 0.5)

def shorten(y, max_tau):
    psi = np.array([1.0])
    for _ in range(3):
        m = len(y)
        best_err, best_tau, best_phi = np.inf, 0, 0.0
        for tau in range(1, max_tau + 1):
            cur, lag = y[tau:], y[:-tau]
            sxx = lag @ lag
            phi = (cur @ lag) / sxx if sxx > 0 else 0.0
            r = cur - phi * lag
            err = (r @ r) / (cur @ cur)
            if err < best_err:
                best_err, best_tau, best_phi = err, tau, phi
        if best_tau == 0:
            break
        tau, phi = best_tau, best_phi
        if best_err <= 8.0 / m or (phi >= 0.93 and tau >= 3):
            y = y[tau:] - phi * y[:-tau]
            f = np.zeros(tau + 1)
            f[0], f[tau] = 1.0, -phi
        elif phi >= 0.93:
            X = np.column_stack((y[1:-1], y[:-2]))
            c = np.linalg.lstsq(X, y[2:], rcond=None)[0]
            y = y[2:] - c[0] * y[1:-1] - c[1] * y[:-2]
            f = np.array([1.0, -c[0], -c[1]])
        else:
            break
        psi = np.convolve(psi, f)
        if len(y) < max_tau:
            break
    return y, psi

def fit(s, m):
    d = s - s.mean()
    g = np.array([d[: len(d) - k] @ d[k:] for k in range(m + 1)]) / len(d)
    rho = g / g[0]
    ijk = np.array([(i, j, k) for i in range(2, m - 1) for j in range(i + 1, m)
                    for k in range(j + 1, m + 1)])
    i, j, k = ijk.T
    one = np.ones(len(ijk))
    R = np.stack([np.stack([one, rho[i - 1], rho[j - 1], rho[k - 1]], 1),
                  np.stack([rho[i - 1], one, rho[j - i], rho[k - i]], 1),
                  np.stack([rho[j - 1], rho[j - i], one, rho[k - j]], 1),
                  np.stack([rho[k - 1], rho[k - i], rho[k - j], one], 1)], 1)
    b = np.stack([one * rho[1], rho[i], rho[j], rho[k]], 1)
    phi = np.linalg.solve(R, b[..., None])[..., 0]
    s2 = g[0] * (1.0 - np.einsum("ij,ij->i", phi, b))
    best = int(np.argmin(s2))
    return phi[best], ijk[best], s2[best]

def forecast(y, phi, psi, lags, smean, h):
    l1, l2, l3 = lags
    a = np.zeros(l3 + 1)
    a[0], a[1], a[l1], a[l2], a[l3] = 1.0, -phi[0], -phi[1], -phi[2], -phi[3]
    xi = np.convolve(psi, a)
    K = len(xi) - 1
    c = (1.0 - phi.sum()) * smean
    e = np.convolve(y, xi, "valid") - c
    scale = np.sqrt(e @ e / len(e))
    ext = np.concatenate((y[-K:], np.zeros(h)))
    back = xi[:0:-1]
    for step in range(h):
        ext[K + step] = c - ext[step : K + step] @ back
    w = np.zeros(h)
    w[0] = 1.0
    for i in range(1, h):
        jj = np.arange(max(0, i - K), i)
        w[i] = -(w[jj] @ xi[i - jj])
    return ext[K:], scale * np.sqrt(np.cumsum(w * w))

def fit_forecast(s, psi):
    phi, lags, _ = fit(s, max_lag)
    return forecast(y, phi, psi, lags, s.mean(), h)

def pipeline():
    s, psi = shorten(y, max_tau)
    return fit_forecast(s, psi)

s, psi = shorten(y, max_tau)
out = {"yhat": float(pipeline()[0][-1])}
env = {"shorten": shorten, "fit_forecast": fit_forecast, "pipeline": pipeline, "y": y, "s": s,
       "psi": psi, "max_tau": max_tau}
for key, stmt in (("shorten", "shorten(y, max_tau)"), ("fitforecast", "fit_forecast(s, psi)"),
                  ("pipeline", "pipeline()")):
    timer = timeit.Timer(stmt, globals=env)
    number = timer.autorange()[0]
    out[key] = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
print(json.dumps(out))
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_arar")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    ours, labels = best_of_benchmarks(args.binary, args.repetitions)
    theirs = run_python(NUMPY_TIMER, [N, MAX_TAU, MAX_LAG, HORIZON, args.repetitions])
    rows = [("ShortenFilter", "BM_ShortenFilter", "shorten"),
            ("ARARFit + ARARForecast", "BM_ARARFitForecast", "fitforecast"),
            ("all three", "BM_ARARPipeline", "pipeline")]
    print(f"ARAR on {N:,} points (MaxTau {MAX_TAU}, MaxLag {MAX_LAG}, {HORIZON} forecasts), "
          f"best of {args.repetitions}")
    print(f"{'operation':<24} {'ours (ms)':>10} {'NumPy (ms)':>11} {'ours/NumPy':>11}")
    for label, name, key in rows:
        if name not in ours:
            sys.exit(f"arar_compare.py: {name} missing from the benchmark output")
        print(f"{label:<24} {ours[name]:>10.3f} {theirs[key]:>11.3f} "
              f"{ours[name] / theirs[key]:>11.2f}")
    print(f"last forecast: ours {labels['BM_ARARPipeline'][5:]}, NumPy {theirs['yhat']:.12g}")


if __name__ == "__main__":
    main()
