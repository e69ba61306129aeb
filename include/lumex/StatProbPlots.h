// The StatProbPlots module: coordinates of probability plots.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
