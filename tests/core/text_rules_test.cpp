// The two case rules: identity texts compare like Windows' ordinal comparison
// without regard to case; registry and protocol texts fold ASCII letters only.
#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "platform/text.h"

namespace quillon::text {
namespace {

TEST(TextRules, IdentityRuleMapsEachCodeUnitThroughItsSimpleUppercase) {
  const std::pair<std::u16string_view, std::u16string_view> same[] = {
      {u"Čapek", u"čAPEK"}, {u"Ирина", u"ИРИНА"}, {u"Σοφία", u"ΣΟΦΊΑ"},
      {u"σ ς", u"Σ Σ"},                // final sigma has the same capital
      {u"ǆ ǅ", u"Ǆ Ǆ"},                // title case digraph
      {u"ı ſ", u"I S"},                // dotless i, long s
      {u"\xD83D\xDE00", u"\xD83D\xDE00"}};
  for (const auto& [a, b] : same) EXPECT_TRUE(EqualsIdentityIgnoringCase(a, b));
  const std::pair<std::u16string_view, std::u16string_view> apart[] = {
      {u"ß", u"SS"},     // full folding only
      {u"k", u"\u212A"},  // Kelvin sign: lower case k, but no uppercase of its own
      {u"i", u"İ"},      // dotted capital I has no simple lowercase partner here
      {u"\xD801\xDC28", u"\xD801\xDC00"}};  // Deseret: outside the BMP, units kept
  for (const auto& [a, b] : apart) EXPECT_FALSE(EqualsIdentityIgnoringCase(a, b));
  EXPECT_TRUE(StartsWithIdentityIgnoringCase(u"ex mbx Sales", u"EX MBX"));
  EXPECT_TRUE(StartsWithIdentityIgnoringCase(u"ex mbx", u"EX MBX"));
  EXPECT_FALSE(StartsWithIdentityIgnoringCase(u"EX M", u"EX MBX"));
}

TEST(TextRules, AsciiRuleFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(StartsWithAsciiIgnoringCase(u"SMTP:a@x", u"smtp:"));
  EXPECT_FALSE(StartsWithAsciiIgnoringCase(u"\u017Fmtp:a@x", u"smtp:"));
  EXPECT_FALSE(EqualsAsciiIgnoringCase(u"Č", u"č"));
  EXPECT_TRUE(ContainsAsciiIgnoringCase(u"MyPop3Class", u"POP3"));
  EXPECT_FALSE(ContainsAsciiIgnoringCase(u"POP", u"POP3"));
}

// The code page's 0x80-0x9F block is not Latin-1: each byte has its own character.
TEST(TextRules, CodePageBytesBecomeTheirWindows1252Characters) {
  const std::string bytes = "\x80\x91\x92\x93\x94\x9F\xE9";
  const std::u16string text = u"\u20AC\u2018\u2019\u201C\u201D\u0178\u00E9";
  EXPECT_EQ(platform::FromAnsi(bytes), text);
  EXPECT_EQ(platform::ToAnsi(text), bytes);
  // Latin-1 ends at U+00FF; a lone surrogate is one '?', a surrogate pair too.
  EXPECT_EQ(platform::ToAnsi(u"\u00A0\u00FF\u0100\xD800x\U00010000\U0010FFFF"), "\xA0\xFF??x??");
}

// Account numbers are up to eight hex digits; stored numbers fit 32 bits signed.
TEST(TextRules, NumbersAreReadUpToTheirLastFittingDigit) {
  EXPECT_EQ(ParseHex(u" 7fffffFF "), 0x7FFFFFFF);
  EXPECT_EQ(ParseHex(u"FFFFFFFF"), -1);
  EXPECT_EQ(ParseHex(u"0000000AB"), std::nullopt);
  EXPECT_EQ(ParseHex(u"0g"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(u"2147483647"), INT32_MAX);
  EXPECT_EQ(ParseWholeNumber(u"2147483648"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseWholeNumber(u"-2147483649"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(u"+7"), 7);
  EXPECT_EQ(ParseWholeNumber(std::u16string(u" 12\0 3", 6)), 12);
}

}  // namespace
}  // namespace quillon::text
