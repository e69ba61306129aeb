#!/usr/bin/python3
# Reference values for single, double and triple exponential smoothing with given constants,
# their forecasts, and the moving average: the recursions written out independently of the
# library, in plain Python floats (IEEE double) with math.fsum for the error sums.
#
# Series: the monthly airline passengers 1949-1960 (Box and Jenkins, series G), the annual level
# of Lake Huron 1875-1972 and a short trending series.
#
# Run: /usr/bin/python3 smoothing.py  (writes smoothing_series.txt, smoothing.txt,
# smoothing_forecast.txt, moving_average.txt)
import csv
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "..", "examples", "data")


def column(path, name):
    with open(path) as f:
        return [float(r[name]) for r in csv.DictReader(f)]


series = {
    "air": column(os.path.join(DATA, "air_passengers.csv"), "passengers"),
    "huron": column(os.path.join(DATA, "lake_huron.csv"), "level"),
    "trend": [10.0, 12.5, 13.1, 15.8, 16.2, 18.9, 19.4, 22.0, 21.7, 24.3, 26.1, 25.8],
}


def fmt(x):
    return "%.17g" % x


def single(y, alpha, init):
    n = len(y)
    level = [0.0] * (n - 1)
    level[0] = (y[0] + y[1] + y[2] + y[3]) / 4 if init == 1 else y[0]
    for t in range(1, n - 1):
        level[t] = level[t - 1] + alpha * (y[t] - level[t - 1])
    mse = math.fsum((y[i + 1] - level[i]) ** 2 for i in range(n - 1)) / (n - 1)
    return level, mse


def double(y, alpha, gamma, init, m):
    n = len(y)
    level = [0.0] * m
    trend = [0.0] * m
    level[0] = y[0]
    if init == 1:
        trend[0] = (y[3] - y[0]) / 3
    elif init == 2:
        trend[0] = (y[n - 1] - y[0]) / (n - 1)
    else:
        trend[0] = y[1] - y[0]
    for t in range(1, m):
        level[t] = alpha * y[t] + (1 - alpha) * (level[t - 1] + trend[t - 1])
        trend[t] = gamma * (level[t] - level[t - 1]) + (1 - gamma) * trend[t - 1]
    mse = math.fsum((level[i] + trend[i] - y[i + 1]) ** 2 for i in range(m - 1)) / (n - 1)
    return level, trend, mse


def triple(y, alpha, beta, gamma, L):
    n = len(y)
    N = n // L
    A = [sum(y[j * L:(j + 1) * L]) / L for j in range(N)]
    level = [0.0] * (n - L)
    trend = [0.0] * (n - L)
    season = [0.0] * n
    trend[0] = sum(y[L + i] - y[i] for i in range(L)) / (L * L)
    for i in range(L):
        season[i] = sum(y[j * L + i] / A[j] for j in range(N)) / N
    level[0] = sum(y[:L]) / L
    for t in range(1, n - L):
        v = y[t + L - 1]
        level[t] = alpha * v / season[t - 1] + (1 - alpha) * (level[t - 1] + trend[t - 1])
        season[t + L - 1] = beta * v / level[t] + (1 - beta) * season[t - 1]
        trend[t] = gamma * (level[t] - level[t - 1]) + (1 - gamma) * trend[t - 1]
    mse = math.fsum(((level[i] + trend[i]) * season[i] - y[L + i]) ** 2
                    for i in range(n - L)) / (n - L)
    return level, trend, season, mse


def moving_average(y, N, centred):
    def mm(v, w):
        return [math.fsum(v[i:i + w]) / w for i in range(len(v) - w + 1)]
    if not centred:
        lag, ma = N - 1, mm(y, N)
    elif N % 2 == 1:
        lag, ma = (N - 1) // 2, mm(y, N)
    else:
        lag, ma = (N - 1) // 2, mm(mm(y, N // 2), N // 2)
    mse = math.fsum((y[lag + i] - ma[i]) ** 2 for i in range(len(ma))) / len(ma)
    return ma, lag, mse


with open(os.path.join(HERE, "smoothing_series.txt"), "w") as f:
    f.write("name t value\n")
    for name, y in series.items():
        for t, v in enumerate(y):
            f.write("%s %d %s\n" % (name, t, fmt(v)))

# Case table: one line per output element. Columns: name case method (1 single, 2 double,
# 3 triple) alpha beta gamma param (InitMethod or Period) output (0 level, 1 trend, 2 season)
# index value mse.
rows = ["name case method alpha beta gamma param output i value mse"]
fc = ["name case method alpha beta gamma param T i yhat"]
case = 0
for name in ("air", "huron", "trend"):
    y = series[name]
    n = len(y)
    for alpha in (0.0, 0.3, 1.0):
        for init in (0, 1):
            level, mse = single(y, alpha, init)
            for i, v in enumerate(level):
                rows.append("%s %d 1 %s 0 0 %d 0 %d %s %s" % (name, case, alpha, init, i, fmt(v), fmt(mse)))
            case += 1
    for T in (n - 3, n + 1, n + 6):
        alpha, init = 0.4, 1
        level, _ = single(y, alpha, init)
        K = T - 1
        M = min(K, n - 1)
        yhat = [level[i] if i < M else level[M - 1] for i in range(K)]
        for i, v in enumerate(yhat):
            fc.append("%s %d 1 %s 0 0 %d %d %d %s" % (name, case, alpha, init, T, i, fmt(v)))
        case += 1
    for alpha, gamma in ((0.5, 0.2), (0.9, 0.7), (0.0, 1.0)):
        for init in (0, 1, 2):
            level, trend, mse = double(y, alpha, gamma, init, n)
            for out, vec in ((0, level), (1, trend)):
                for i, v in enumerate(vec):
                    rows.append("%s %d 2 %s 0 %s %d %d %d %s %s" % (name, case, alpha, gamma, init, out, i, fmt(v), fmt(mse)))
            case += 1
    for T in (n - 3, n + 1, n + 6):
        alpha, gamma, init = 0.6, 0.3, 2
        level, trend, _ = double(y, alpha, gamma, init, n - 1)
        K = T - 1
        M = min(K, n - 1)
        yhat = [level[i] + trend[i] if i < M else level[M - 1] + (i - M + 2) * trend[M - 1]
                for i in range(K)]
        for i, v in enumerate(yhat):
            fc.append("%s %d 2 %s 0 %s %d %d %d %s" % (name, case, alpha, gamma, init, T, i, fmt(v)))
        case += 1

for name, L in (("air", 12), ("air", 4), ("trend", 3), ("trend", 6)):
    y = series[name]
    n = len(y)
    for alpha, beta, gamma in ((0.3, 0.4, 0.2), (1.0, 0.0, 1.0), (0.05, 0.9, 0.5)):
        level, trend, season, mse = triple(y, alpha, beta, gamma, L)
        for out, vec in ((0, level), (1, trend), (2, season)):
            for i, v in enumerate(vec):
                rows.append("%s %d 3 %s %s %s %d %d %d %s %s" % (name, case, alpha, beta, gamma, L, out, i, fmt(v), fmt(mse)))
        case += 1
    for T in (n - 2, n, n + 2 * L + 1):
        alpha, beta, gamma = 0.3, 0.4, 0.2
        level, trend, season, _ = triple(y, alpha, beta, gamma, L)
        K = T - L
        M = min(K, n - L)
        yhat = [(level[i] + trend[i]) * season[i] if i < M else
                (level[M - 1] + (i - M + 1) * trend[M - 1]) * season[M - L + (i - M) % L]
                for i in range(K)]
        for i, v in enumerate(yhat):
            fc.append("%s %d 3 %s %s %s %d %d %d %s" % (name, case, alpha, beta, gamma, L, T, i, fmt(v)))
        case += 1

with open(os.path.join(HERE, "smoothing.txt"), "w") as f:
    f.write("\n".join(rows) + "\n")
with open(os.path.join(HERE, "smoothing_forecast.txt"), "w") as f:
    f.write("\n".join(fc) + "\n")

ma_rows = ["name N centred lag i value mse"]
for name in ("air", "trend"):
    y = series[name]
    for N in (1, 2, 3, 4, 7, 12):
        for centred in (0, 1):
            ma, lag, mse = moving_average(y, N, centred)
            for i, v in enumerate(ma):
                ma_rows.append("%s %d %d %d %d %s %s" % (name, N, centred, lag, i, fmt(v), fmt(mse)))
with open(os.path.join(HERE, "moving_average.txt"), "w") as f:
    f.write("\n".join(ma_rows) + "\n")
