// The StatTimeSerAnalysis module: time-series analysis: autocorrelation, AR and ARMA estimation, exponential smoothing, forecasting.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
