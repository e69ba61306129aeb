"""Exact summary statistics of the NIST StRD univariate sets as stored in doubles.

The certified values describe the decimal data. NumAcc3 and NumAcc4 differ only in the ninth
significant digit, which a double cannot hold exactly, so the standard deviation of the values a
program actually stores differs from the certified one by about 1e-9 relative. This script
computes, in exact rational arithmetic, the mean and standard deviation (divisor n - 1) of the
doubles nearest to each datum, which is the best any double-precision algorithm can return.

Run: python3 nist_univariate_exact.py ../../../../shared/data/nist > nist_univariate_exact.txt
"""
import re
import sys
from fractions import Fraction
from math import isqrt

NUMBER = re.compile(r"^\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*$")


def data_of(path):
    with open(path) as f:
        return [float(line) for line in f if NUMBER.match(line)]


def sqrt_fraction(q, digits=30):
    # floor(sqrt(q) * 10^digits) / 10^digits, enough for 17 significant digits here
    scale = 10 ** digits
    return Fraction(isqrt(q.numerator * scale * scale // q.denominator), scale)


def main(folder):
    print("# exact mean and standard deviation of the stored doubles")
    print("set mean sd")
    for name in ["NumAcc1", "NumAcc2", "NumAcc3", "NumAcc4", "Michelso", "Lew", "Lottery",
                 "Mavro", "PiDigits"]:
        y = [Fraction(v) for v in data_of(f"{folder}/{name}.dat")]
        n = len(y)
        mean = sum(y) / n
        var = sum((v - mean) ** 2 for v in y) / (n - 1)
        print(name, repr(float(mean)), repr(float(sqrt_fraction(var))))


if __name__ == "__main__":
    main(sys.argv[1])
