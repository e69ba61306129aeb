// Outputs passed as inputs, for every exported overload.
//
// The core promises that an output may be the same object as an input. The fuzz tables hold one
// row per exported overload, and their harness can make any output the same object as an input
// of its type and compare the call with the same call on distinct objects (fuzz_table.h,
// RunAliased). This test forces that for every row and every such pair on seeded inputs: each
// call must give what distinct objects give, or raise a clear error naming the aliasing.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fuzz_table.h"

namespace lumex {
namespace {

constexpr int kInputsPerRow = 40;
constexpr std::size_t kSeededBytes = 96;

std::set<std::string>& Faults() {
  static std::set<std::string> faults;
  return faults;
}

void Record(const char* row, const std::string& detail) {
  Faults().insert(std::string(row) + ": " + detail);
}

TEST(Aliasing, EveryOutputPassedAsAnInputGivesTheDistinctResult) {
  fuzz::SetAliasMismatchHandler(Record);
  std::size_t calls = 0;
  for (const fuzz::TFuzzTarget& target : fuzz::FuzzTargets()) {
    for (const fuzz::TFuzzTable::TKeyed& row : target.Table->Rows()) {
      for (int s = 0; s < kInputsPerRow; ++s) {
        std::mt19937_64 stream(row.Key * 131ull + static_cast<std::uint64_t>(s));
        std::vector<std::uint8_t> bytes(4 + kSeededBytes);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(row.Key >> (8 * i));
        for (std::size_t i = 4; i < bytes.size(); ++i) {
          bytes[i] = static_cast<std::uint8_t>(stream());
        }
        fuzz::SetAliasOverride(s);  // pair s modulo the row's number of pairs
        target.Table->RunOne(bytes.data(), bytes.size());
        ++calls;
      }
    }
  }
  fuzz::SetAliasOverride(-1);
  fuzz::SetAliasMismatchHandler(nullptr);
  std::string list;
  for (const std::string& f : Faults()) list += f + "\n";
  EXPECT_TRUE(Faults().empty()) << Faults().size() << " rows alias wrongly:\n" << list;
  EXPECT_GT(calls, 1000u);
}

}  // namespace
}  // namespace lumex
