// The core layer in one include.
#pragma once

#include "lumex/core/cache.h"
#include "lumex/core/containers.h"
#include "lumex/core/frame.h"
#include "lumex/core/ops.h"
#include "lumex/core/probability.h"
#include "lumex/core/types.h"
