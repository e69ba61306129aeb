// The library exception and the limit on caller-given allocation sizes.
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <limits>

#include "lumex/core/types.h"

namespace lumex {

void ERaise(const std::string& msg) { throw ELumexError(msg); }

namespace {

std::atomic<std::size_t> gAllocationLimit{0};  // 0: the machine's default

// Half the memory available now (MemAvailable of /proc/meminfo, else the free physical pages),
// lowered to a finite address-space or data-segment limit of the process. Half, because a call
// that writes an output of some size usually needs working storage of a similar size, and the
// rest of the machine goes on needing memory too.
std::size_t MachineLimit() {
  std::size_t limit = std::numeric_limits<std::size_t>::max();
  if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[128];
    unsigned long long kb = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) {
      if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
        limit = static_cast<std::size_t>(kb) * 512;
        break;
      }
    }
    std::fclose(f);
  }
  if (limit == std::numeric_limits<std::size_t>::max()) {
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) {
      limit = static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 2;
    }
  }
  for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
    rlimit rl{};
    if (getrlimit(resource, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY &&
        rl.rlim_cur < limit) {
      limit = static_cast<std::size_t>(rl.rlim_cur);
    }
  }
  return limit;
}

}  // namespace

std::size_t AllocationLimit() noexcept {
  const std::size_t set = gAllocationLimit.load(std::memory_order_relaxed);
  return set != 0 ? set : MachineLimit();
}

void SetAllocationLimit(std::size_t bytes) noexcept {
  gAllocationLimit.store(bytes, std::memory_order_relaxed);
}

}  // namespace lumex
