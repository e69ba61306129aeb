// The library exception.
#include "lumex/core/types.h"

namespace lumex {

void ERaise(const std::string& msg) { throw ELumexError(msg); }

}  // namespace lumex
