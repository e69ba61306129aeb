// The StatControlCharts module: quality-control charts and capability indexes.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
