#!/usr/bin/python3
"""Derives the coefficients of the branch-free kernels in src/core/prob_fastmath.h.

usage: /usr/bin/python3 tools/fastmath_fit.py      (needs mpmath; about a minute)

1. The Mills ratio M(x) = Phi(-x)/phi(x) on [0, 40] as P(x)/Q(x), degrees 10 and 11 with
   Q(0) = 1: the rational function of least maximum relative error, found by Remez exchange in
   60-digit arithmetic. M is smooth and positive on [0, Inf) and behaves like 1/x, which a
   rational function of these degrees follows over the whole range.
2. exp(r) = 1 + r + r^2 g(r) on |r| <= ln(2)/2: g as the degree-9 Chebyshev interpolant of
   (exp(r) - 1 - r)/r^2.
3. atan(u) = u + u s P(s), s = u^2, on |u| <= 7/16: P as the degree-10 Chebyshev interpolant
   of (atan(u)/u - 1)/s in s.
Prints the tables as C++ initialisers (17 significant digits) and the relative error of each
approximation with its coefficients rounded to double, measured on a fine grid.
"""

import mpmath as mp

mp.mp.dps = 60


def mills(x):
    return mp.ncdf(-x) / mp.npdf(x)


def remez_rational(f, a, b, n, m, iterations=40, grid=4000):
    """P_n/Q_m (Q's constant term 1) of least maximum relative error to f on [a, b]."""
    count = n + m + 2
    xs = [(a + b) / 2 - (b - a) / 2 * mp.cos(mp.pi * i / (count - 1)) for i in range(count)]
    q = [mp.mpf(1)] + [mp.mpf(0)] * m
    points = [a + (b - a) * mp.mpf(k) / grid for k in range(grid + 1)]
    best = None
    for _ in range(iterations):
        # The levelled equations P(x_i) - f_i Q(x_i) = (-1)^i E |f_i| Q(x_i) are linear once the
        # Q multiplying E is taken from the previous pass; a few passes settle it.
        for _ in range(6):
            A = mp.matrix(count, count)
            rhs = mp.matrix(count, 1)
            for i, x in enumerate(xs):
                fx = f(x)
                for j in range(n + 1):
                    A[i, j] = x**j
                for j in range(1, m + 1):
                    A[i, n + j] = -fx * x**j
                A[i, count - 1] = -((-1) ** i) * abs(fx) * mp.polyval(q[::-1], x)
                rhs[i] = fx
            sol = mp.lu_solve(A, rhs)
            p = [sol[j] for j in range(n + 1)]
            q = [mp.mpf(1)] + [sol[n + j] for j in range(1, m + 1)]
            level = abs(sol[count - 1])
        err = [(mp.polyval(p[::-1], x) / mp.polyval(q[::-1], x) - f(x)) / f(x) for x in points]
        worst = max(abs(e) for e in err)
        if best is None or worst < best[0]:
            best = (worst, p, q)
        if worst / level - 1 < 1e-8:
            break
        # New reference: the largest error of each run of one sign, as many as needed.
        runs, run = [], [0]
        for k in range(1, len(points)):
            if mp.sign(err[k]) == mp.sign(err[run[0]]):
                run.append(k)
            else:
                runs.append(run)
                run = [k]
        runs.append(run)
        peaks = [max(r, key=lambda k: abs(err[k])) for r in runs]
        while len(peaks) > count:
            peaks.pop(0 if abs(err[peaks[0]]) < abs(err[peaks[-1]]) else -1)
        if len(peaks) < count:
            break
        xs = [points[k] for k in peaks]
    return best


def as_doubles(coefficients):
    return [float(c) for c in coefficients]


def table(name, values):
    body = ",\n    ".join(", ".join(f"{v:.17g}" for v in values[i:i + 3])
                          for i in range(0, len(values), 3))
    return f"constexpr double {name}[] = {{\n    {body}}};"


def main():
    _, p, q = remez_rational(mills, mp.mpf(0), mp.mpf(40), 10, 11)
    pd, qd = as_doubles(p), as_doubles(q)
    worst = max(abs(mp.polyval([mp.mpf(c) for c in pd[::-1]], x) /
                    mp.polyval([mp.mpf(c) for c in qd[::-1]], x) / mills(x) - 1)
                for x in (mp.mpf(k) / 1000 for k in range(40001)))
    print(table("kMillsP", pd))
    print(table("kMillsQ", qd))
    print(f"// Mills ratio, double coefficients: max relative error {mp.nstr(worst, 3)}")

    h = mp.log(2) / 2 + mp.mpf("1e-9")
    g = lambda r: mp.mpf(1) / 2 if r == 0 else (mp.expm1(r) - r) / r**2
    poly = mp.chebyfit(g, [-h, h], 10)
    gd = as_doubles(poly[::-1])
    worst = max(abs((1 + r + r * r * mp.polyval([mp.mpf(c) for c in gd[::-1]], r)) / mp.exp(r) - 1)
                for r in (h * k / 4000 for k in range(-4000, 4001)))
    print(table("kExpG", gd))
    print(f"// exp(r), double coefficients: max relative error {mp.nstr(worst, 3)}")

    top = mp.mpf(7) / 16
    f = lambda s: -mp.mpf(1) / 3 if s == 0 else (mp.atan(mp.sqrt(s)) / mp.sqrt(s) - 1) / s
    pa = as_doubles(mp.chebyfit(f, [0, top**2], 11)[::-1])
    worst = max(abs((u + u**3 * mp.polyval([mp.mpf(c) for c in pa[::-1]], u * u)) / mp.atan(u) - 1)
                for u in (top * k / 4000 for k in range(1, 4001)))
    print(table("kAtanP", pa))
    print(f"// atan(u), double coefficients: max relative error {mp.nstr(worst, 3)}")


if __name__ == "__main__":
    main()
