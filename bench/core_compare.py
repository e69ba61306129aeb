#!/usr/bin/python3
"""Runs the core benchmarks and times the same work in NumPy/SciPy; prints ours/NumPy ratios.

usage: /usr/bin/python3 bench/core_compare.py BENCH_BINARY [--repetitions N]

Both sides report the best of several repetitions, in milliseconds per operation, on 10^7
standard normal doubles from a fixed seed. Sorting excludes the copy of the unsorted data on
both sides (Google Benchmark pauses its timer for it; NumPy copies in the untimed setup and sorts
in place). The median and the five quantiles include their internal copy on both sides. The
distribution function and the normal variates write into a preallocated vector on both sides
(out=).

The floor row is ours alone: one plain read pass over the same data with eight running sums,
the least a reduction can cost. Mean is compared with one floor pass and StdDev, which reads the
data twice (its mean, then the deviations from it), with two.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

LENGTH = 10_000_000
FLOOR = "BM_Floor"
# (benchmark name, passes over the data) of the reductions measured against the floor
FLOOR_RATIOS = [("BM_Mean", 1), ("BM_StdDev", 2)]

# (benchmark name, label, NumPy statement, NumPy setup run untimed before each repetition)
OPERATIONS = [
    ("BM_Mean", "Mean", "np.mean(a)", "pass"),
    ("BM_StdDev", "StdDev", "np.std(a, ddof=1)", "pass"),
    ("BM_SortAscend", "SortAscend", "w.sort()", "w[:] = a"),
    ("BM_Median", "Median", "np.median(a)", "pass"),
    ("BM_Percentile5", "Percentile5", "np.percentile(a, [5, 25, 50, 75, 95])", "pass"),
    ("BM_Histogram100", "Histogram100", "np.histogram(a, bins=100)", "pass"),
    ("BM_NormalCDF", "NormalCDF", "ndtr(a, out=w)", "pass"),
    ("BM_RandomGaussian", "RandGaussian", "g.standard_normal(out=w)", "pass"),
]

# Runs in a child interpreter, so that the OpenBLAS tuning variables of this environment can be
# removed before NumPy is imported. Prints {statement: best seconds per operation} as JSON.
NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
from scipy.special import ndtr
length, repeats, ops = json.loads(sys.argv[1])
a = np.random.default_rng(20240611).standard_normal(length)
w = np.empty_like(a)
g = np.random.default_rng(20240611)
env = {"np": np, "a": a, "w": w, "ndtr": ndtr, "g": g}
best = {}
for stmt, setup in ops:
    timer = timeit.Timer(stmt, setup, globals=env)
    # A sort must find unsorted data, which its setup restores once per repetition.
    number = 1 if setup != "pass" else timer.autorange()[0]
    best[stmt] = min(timer.repeat(repeat=repeats, number=number)) / number
print(json.dumps(best))
"""

def run_ours(binary, repetitions):
    names = "|".join([name for name, _, _, _ in OPERATIONS] + [FLOOR])
    return best_of_benchmarks(binary, repetitions, f"^({names})$")[0]


def run_numpy(repetitions):
    ops = [(stmt, setup) for _, _, stmt, setup in OPERATIONS]
    best = run_python(NUMPY_TIMER, [LENGTH, repetitions, ops])
    return {stmt: seconds * 1e3 for stmt, seconds in best.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_core")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    ours = run_ours(args.binary, args.repetitions)
    theirs = run_numpy(args.repetitions)

    print(f"{LENGTH:,} doubles, best of {args.repetitions}")
    print(f"{'operation':<12} {'ours (ms)':>10} {'NumPy (ms)':>11} {'ours/NumPy':>11}  NumPy")
    for name, label, stmt, _ in OPERATIONS:
        if name not in ours:
            sys.exit(f"core_compare.py: {name} missing from the benchmark output")
        ratio = ours[name] / theirs[stmt]
        print(f"{label:<12} {ours[name]:>10.2f} {theirs[stmt]:>11.2f} {ratio:>11.2f}  {stmt}")
    if FLOOR not in ours:
        sys.exit(f"core_compare.py: {FLOOR} missing from the benchmark output")
    print(f"\nfloor: one plain read pass, 8 sums: {ours[FLOOR]:.2f} ms")
    for name, passes in FLOOR_RATIOS:
        ratio = ours[name] / (passes * ours[FLOOR])
        print(f"{name[3:]:<12} {ours[name]:>10.2f} ms = {ratio:.2f} x {passes} floor pass(es)")


if __name__ == "__main__":
    main()
