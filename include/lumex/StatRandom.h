// The StatRandom module: random variate generators.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
