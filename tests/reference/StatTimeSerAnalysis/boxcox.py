# Reference values for the Box-Cox transform and its inverse, computed with 60-digit arithmetic
# (mpmath) from their definitions, so that every value is the correctly rounded result:
#   BoxCox:    ln x (lambda = 0), (x^lambda - 1)/lambda (lambda > 0);
#   BoxCoxInv: exp(y) (lambda = 0), (lambda y + 1)^(1/lambda) (lambda > 0).
# The points include lambda near 0 and x^lambda near 1, where the two formulas cancel in double
# arithmetic, and large lambda ln x, where exp would magnify the error of a rounded logarithm.
#
# Run: python3 boxcox.py  (writes boxcox.txt)
import mpmath as mp

mp.mp.dps = 60
lambdas = ["0", "1e-12", "1e-6", "0.001", "0.25", "0.5", "1", "2", "3.7", "50"]
xs = ["1e-300", "1e-8", "0.5", "0.999999", "1", "1.000001", "1.5", "2", "10", "12345.678", "1e100"]
ys = ["-50", "-3", "-0.5", "-1e-8", "0", "1e-8", "0.3", "2", "10", "300"]

def fmt(v):
    return mp.nstr(v, 17, min_fixed=-mp.inf, max_fixed=mp.inf) if v != 0 else "0"

rows = ["kind lambda arg value"]
for ls in lambdas:
    lam = mp.mpf(float(ls))  # the double the test reads, exactly
    for xs_ in xs:
        x = mp.mpf(float(xs_))
        v = mp.log(x) if lam == 0 else (mp.power(x, lam) - 1) / lam
        if abs(v) < mp.mpf("1e308"):
            rows.append(f"boxcox {ls} {xs_} {fmt(v)}")
    for ys_ in ys:
        y = mp.mpf(float(ys_))
        if lam == 0:
            v = mp.exp(y)
        elif lam * y + 1 > 0:
            v = mp.power(lam * y + 1, 1 / lam)
        else:
            continue
        if mp.mpf("1e-300") < v < mp.mpf("1e308"):
            rows.append(f"inverse {ls} {ys_} {fmt(v)}")
open("boxcox.txt", "w").write("\n".join(rows) + "\n")
