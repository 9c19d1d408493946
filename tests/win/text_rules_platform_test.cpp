// The identity rule against Windows' own CompareStringOrdinal(..., TRUE) for
// every BMP code unit: both must split the 65,536 units into the same classes
// of "equal without regard to case".
#include <windows.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "win_test_support.h"

namespace quillon::win {
namespace {

int CompareOrdinalIgnoringCase(wchar_t a, wchar_t b) {
  return CompareStringOrdinal(&a, 1, &b, 1, TRUE);
}

// Units whose class differs between the two rules: those Windows keeps apart
// from their simple uppercase, and those Windows joins to a unit of another
// uppercase.
std::set<char16_t> UnitsTheRulesDisagreeOn() {
  std::vector<wchar_t> units(0x10000);
  std::iota(units.begin(), units.end(), wchar_t{0});
  std::stable_sort(units.begin(), units.end(), [](wchar_t a, wchar_t b) {
    return CompareOrdinalIgnoringCase(a, b) == CSTR_LESS_THAN;
  });
  std::set<char16_t> disagreeing;
  for (std::size_t first = 0; first < units.size();) {
    std::size_t end = first + 1;
    while (end < units.size() && CompareOrdinalIgnoringCase(units[first], units[end]) == CSTR_EQUAL) ++end;
    std::map<char16_t, std::vector<char16_t>> byOurUpperCase;
    for (std::size_t i = first; i < end; ++i) {
      byOurUpperCase[text::SimpleUpperCase(units[i])].push_back(units[i]);
    }
    if (byOurUpperCase.size() > 1) {
      for (const auto& [upper, members] : byOurUpperCase) disagreeing.insert(members.begin(), members.end());
    }
    first = end;
  }
  for (std::size_t unit = 0; unit < 0x10000; ++unit) {
    const auto c = static_cast<wchar_t>(unit);
    if (CompareOrdinalIgnoringCase(c, text::SimpleUpperCase(c)) != CSTR_EQUAL) disagreeing.insert(c);
  }
  return disagreeing;
}

// Wine 8 upper-cases a unit only when it is the lower case of its own capital.
// Variant forms of another letter keep their own value there, so Wine calls
// them different from the capital that the simple mapping gives them:
const std::set<char16_t> kKnownWineDifferences = {
    0x00B5,                                          // micro sign (capital mu)
    0x0131, 0x017F,                                  // dotless i (I), long s (S)
    0x01C5, 0x01C8, 0x01CB, 0x01F2,                  // title-case digraphs
    0x0345,                                          // combining ypogegrammeni (iota)
    0x03C2, 0x03D0, 0x03D1, 0x03D5, 0x03D6,          // final sigma, Greek symbol forms
    0x03F0, 0x03F1, 0x03F5,
    0x1C80, 0x1C81, 0x1C82, 0x1C83, 0x1C84, 0x1C85,  // old Cyrillic letter forms
    0x1C86, 0x1C87, 0x1C88,
    0x1E9B,                                          // long s with dot above
    0x1FBE,                                          // Greek prosgegrammeni (iota)
};

TEST(TextRulesOnThePlatform, IdentityRuleMatchesCompareStringOrdinal) {
  // gtest prints both sets, each unit as U+XXXX.
  EXPECT_EQ(UnitsTheRulesDisagreeOn(), testing::RunningOnWine() ? kKnownWineDifferences : std::set<char16_t>{});
}

}  // namespace
}  // namespace quillon::win
