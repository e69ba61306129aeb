// The RegModels module: evaluation, derivatives and starting fits of the built-in regression models.
#pragma once

#include "lumex/core/core.h"

namespace lumex {}  // namespace lumex
