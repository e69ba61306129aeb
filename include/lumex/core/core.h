// The core layer in one include.
#pragma once

#include "lumex/core/cache.h"
#include "lumex/core/containers.h"
#include "lumex/core/frame.h"
#include "lumex/core/histogram.h"
#include "lumex/core/linalg.h"
#include "lumex/core/ops.h"
#include "lumex/core/ops_columns.h"
#include "lumex/core/optimize.h"
#include "lumex/core/polynomial.h"
#include "lumex/core/probability.h"
#include "lumex/core/random.h"
#include "lumex/core/series.h"
#include "lumex/core/types.h"
