// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer then saves the input), a switch for slower self-checks, and
// reading UTF-16 text from fuzz bytes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

namespace quillon::fuzz {

// QUILLON_FUZZ_SELF_CHECK=1 (scripts/test-fuzz.sh sets it for its replays):
// the targets' shortcuts are checked against the slower ways they replace.
inline bool SelfChecking() {
  static const bool on = std::getenv("QUILLON_FUZZ_SELF_CHECK") != nullptr;
  return on;
}

// UTF-16LE code units from the front of the input; at most maxUnits. (Numbers
// and flags come from its end, so sample files keep readable text up front.)
inline std::u16string ConsumeUtf16(FuzzedDataProvider& input, std::size_t maxUnits) {
  const std::vector<std::uint8_t> bytes = input.ConsumeBytes<std::uint8_t>(maxUnits * 2);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

}  // namespace quillon::fuzz
