// Internal: conversions shared by the principal-component and multivariate-test sources.
#pragma once

#include "lumex/core/containers.h"

namespace lumex::detail {

// Converts a real single-precision object to double in place; a double object is left as it is.
void ToDouble(TMtx& m);
void ToDouble(TVec& v);

}  // namespace lumex::detail
