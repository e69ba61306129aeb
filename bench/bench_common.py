"""What the bench/<family>_compare.py scripts share: running one of our Google Benchmark programs
and a peer's timing script, and reading what they report."""

import json
import os
import subprocess

UNIT_TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# The benchmark programs' data (bench/bench_data.h) in NumPy: splitmix64 of the keys 0 .. n-1,
# and the top 53 bits of each as a uniform number on [0, 1). Every script that run_python starts
# has these two functions.
NUMPY_DATA = r"""
import numpy as np
def splitmix64(n):
    z = np.arange(n, dtype=np.uint64)
    with np.errstate(over="ignore"):
        z = z + np.uint64(0x9E3779B97F4A7C15)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        return z ^ (z >> np.uint64(31))
def uniforms(n):
    return (splitmix64(n) >> np.uint64(11)).astype(np.float64) * 2.0**-53
"""


def best_of_benchmarks(binary, repetitions, pattern=None, time_key="real_time"):
    """Runs `binary` (the benchmarks whose names match the regular expression `pattern`, or all)
    `repetitions` times; returns ({name: best milliseconds}, {name: label})."""
    command = [binary, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}"]
    if pattern:
        command.append(f"--benchmark_filter={pattern}")
    out = subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True).stdout
    best, labels = {}, {}
    for run in json.loads(out)["benchmarks"]:
        if run.get("run_type", "iteration") != "iteration":
            continue
        name = run.get("run_name", run["name"])
        ms = run[time_key] * UNIT_TO_MS[run["time_unit"]]
        best[name] = min(ms, best.get(name, float("inf")))
        labels[name] = run.get("label", "")
    return best, labels


def run_python(script, payload):
    """Runs `script`, after NUMPY_DATA, in a child /usr/bin/python3 with `payload` as JSON in its
    argv[1]; returns the JSON the script prints. The OpenBLAS tuning variables of this environment are removed
    first, so that NumPy loads with its defaults."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("OPENBLAS_CORETYPE", "OPENBLAS_L2_SIZE")}
    out = subprocess.run(["/usr/bin/python3", "-c", NUMPY_DATA + script, json.dumps(payload)],
                         check=True, stdout=subprocess.PIPE, text=True, env=env).stdout
    return json.loads(out)
