// The RegModels module. It declares no functions yet; the library counts its load like the other
// modules' (lmRegModels).
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
