#!/usr/bin/python3
"""Runs the hypothesis-test benchmarks and times SciPy on the same data; prints ours/SciPy.

usage: /usr/bin/python3 bench/tests_compare.py BENCH_BINARY [--repetitions N]

Both sides use splitmix64 uniforms of the same seeds (tests_bench.cpp): Shapiro-Wilk on 5000
normal scores of them, Mann-Whitney (asymptotic, no continuity correction) on two samples of
10^5 and exact on two samples of 40, tied ranks (average ranks) of 10^6 uniforms rounded down to
three decimals, Spearman on 10^6 pairs. Best of several repetitions, milliseconds of process CPU time
per call (CPU time rather than wall time, so that a machine shared with other work compares
the two fairly; on an idle machine both are close).
"""

import argparse

from bench_common import best_of_benchmarks, run_python

SCIPY_TIMER = r"""
import json, sys, time, timeit
import numpy as np
from scipy import stats
def uniforms(seed, n):
    with np.errstate(over="ignore"):
        z = (np.arange(n, dtype=np.uint64) + np.uint64(seed)) * np.uint64(0x9E3779B97F4A7C15)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        z ^= z >> np.uint64(31)
    return (z >> np.uint64(11)).astype(np.float64) * 2.0 ** -53
sw = stats.norm.ppf(uniforms(1, 5000))
a = uniforms(2, 100000); b = uniforms(3, 100000) + 0.001
x = uniforms(4, 1000000); y = uniforms(5, 1000000) + x
e1 = uniforms(6, 40); e2 = uniforms(7, 40) + 0.1
tied = np.floor(uniforms(8, 1000000) * 1000.0) / 1000.0
ops = {"BM_ShapiroWilks5000": lambda: stats.shapiro(sw),
       "BM_MannWhitneyNormal1e5": lambda: stats.mannwhitneyu(a, b, use_continuity=False,
                                                             method="asymptotic"),
       "BM_MannWhitneyExact40": lambda: stats.mannwhitneyu(e1, e2, method="exact"),
       "BM_TiedRanks1e6": lambda: stats.rankdata(tied),
       "BM_SpearmanRankCorr1e6": lambda: stats.spearmanr(x, y)}
best = {}
for name, f in ops.items():
    t = timeit.Timer(f, timer=time.process_time)
    number = t.autorange()[0]
    best[name] = min(t.repeat(repeat=json.loads(sys.argv[1]), number=number)) / number * 1e3
print(json.dumps(best))
"""

LABELS = {"BM_ShapiroWilks5000": "ShapiroWilks n=5000 / shapiro",
          "BM_MannWhitneyNormal1e5": "MannWhitneyTest 1e5+1e5 / mannwhitneyu",
          "BM_MannWhitneyExact40": "MannWhitneyTest exact 40+40 / mannwhitneyu",
          "BM_TiedRanks1e6": "TiedRanks 1e6 with ties / rankdata",
          "BM_SpearmanRankCorr1e6": "SpearmanRankCorr 1e6 / spearmanr"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_tests")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    ours = best_of_benchmarks(args.binary, args.repetitions, time_key="cpu_time")[0]
    theirs = run_python(SCIPY_TIMER, args.repetitions)
    print(f"{'operation':<44} {'ours (ms)':>10} {'SciPy (ms)':>11} {'ours/SciPy':>11}")
    for name, label in LABELS.items():
        print(f"{label:<44} {ours[name]:>10.3f} {theirs[name]:>11.3f} "
              f"{ours[name] / theirs[name]:>11.2f}")


if __name__ == "__main__":
    main()
