/// @file
/// The core layer in one include: containers, the object cache, constants and the library
/// exception, the hypothesis-test frame, linear algebra, elementwise and column operations,
/// optimisers, polynomials, probability functions, random numbers, series operations and the
/// histogram kernels.
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
