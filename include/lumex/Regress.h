// The Regress module: linear, nonlinear, logistic, Poisson and stepwise regression, analysis of variance.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
