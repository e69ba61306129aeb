#!/usr/bin/python3
"""Times ANOVA1 (indexed form) against scipy.stats.f_oneway on the same data; prints the ratio.

usage: /usr/bin/python3 bench/anova_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_anova. Both sides see 10^6 observations in 10 groups made by
splitmix64 exactly as bench/anova_bench.cpp makes them, and report the best of N repetitions in
milliseconds. f_oneway takes one array per group, so its time is given twice: on groups split
beforehand (the call alone), and including the split by group number that ANOVA1 does itself.
The two F statistics are printed as a check that both sides did the same work.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

LENGTH = 1_000_000
GROUPS = 10

SCIPY_TIMER = r"""
import json, sys, timeit
import numpy as np
from scipy.stats import f_oneway
length, groups, repeats = json.loads(sys.argv[1])
z = splitmix64(length)
g = (z % np.uint64(groups)).astype(np.int32)
x = g / 10.0 + (z >> np.uint64(11)).astype(np.float64) * 2.0**-53
parts = [x[g == k] for k in range(groups)]
env = {"np": np, "f_oneway": f_oneway, "x": x, "g": g, "parts": parts, "groups": groups}
out = {"F": float(f_oneway(*parts).statistic)}
for key, stmt in (("call", "f_oneway(*parts)"),
                  ("split", "f_oneway(*[x[g == k] for k in range(groups)])")):
    timer = timeit.Timer(stmt, globals=env)
    number = timer.autorange()[0]
    out[key] = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
print(json.dumps(out))
"""

def run_ours(binary, repetitions):
    best, labels = best_of_benchmarks(binary, repetitions, "^BM_ANOVA1Indexed$")
    if "BM_ANOVA1Indexed" not in best:
        sys.exit("anova_compare.py: BM_ANOVA1Indexed missing from the benchmark output")
    return best["BM_ANOVA1Indexed"], float(labels["BM_ANOVA1Indexed"][2:] or "nan")


def run_scipy(repetitions):
    return run_python(SCIPY_TIMER, [LENGTH, GROUPS, repetitions])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_anova")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    ours, our_f = run_ours(args.binary, args.repetitions)
    theirs = run_scipy(args.repetitions)
    print(f"ANOVA1 (indexed), {LENGTH:,} doubles in {GROUPS} groups, best of {args.repetitions}")
    print(f"  ours                               {ours:8.2f} ms")
    print(f"  f_oneway on split groups           {theirs['call']:8.2f} ms"
          f"   ours/SciPy {ours / theirs['call']:.2f}")
    print(f"  f_oneway including the split       {theirs['split']:8.2f} ms"
          f"   ours/SciPy {ours / theirs['split']:.2f}")
    print(f"  F: ours {our_f:.15g}, SciPy {theirs['F']:.15g}")


if __name__ == "__main__":
    main()
