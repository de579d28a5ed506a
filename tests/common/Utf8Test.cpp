#include <gtest/gtest.h>

#include "host-bridge/HostApi.h"

namespace {

using HostApi::Tools::Utf8Decode;
using HostApi::Tools::Utf8Encode;

TEST(Utf8, ValidTextRoundTrips) {
  const std::string samples[] = {"",
                                 "Hunt",
                                 "Jägerin Ölfeld",
                                 "дракон",
                                 "狩猎",
                                 "\xF0\x9F\x90\x89 dragon",
                                 std::string("a\0b", 3)};
  for (const std::string& text : samples) {
    EXPECT_EQ(Utf8Encode(Utf8Decode(text)), text) << text;
  }
}

TEST(Utf8, SupplementaryCharactersBecomeSurrogatePairs) {
  const WideString wide = Utf8Decode("\xF0\x9F\x90\x89");  // U+1F409
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(static_cast<uint32_t>(wide[0]), 0xD83Du);
  EXPECT_EQ(static_cast<uint32_t>(wide[1]), 0xDC09u);
}

TEST(Utf8, EachMaximalMalformedSequenceBecomesOneReplacement) {
  const WideString replacement(1, static_cast<WideChar>(0xFFFD));
  struct Case {
    const char* bytes;
    WideString expected;
  };
  const Case cases[] = {
      {"\x80", replacement},                                      // stray continuation
      {"a\xC3", QV_WIDE("a") + replacement},                      // cut at the end
      {"\xE2\x82x", replacement + QV_WIDE("x")},                  // cut before a letter
      {"\xC3x", replacement + QV_WIDE("x")},                      // a two-byte lead, then a letter
      {"\xC0\xAF", replacement + replacement},                    // overlong: C0 is never a lead
      {"\xE0\x80\xAF", replacement + replacement + replacement},  // overlong three-byte form
      {"\xED\xA0\x80", replacement + replacement + replacement},  // an encoded surrogate
      {"\xF4\x90\x80\x80", replacement + replacement + replacement + replacement},  // > U+10FFFF
      {"\xFF", replacement},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8Decode(c.bytes), c.expected) << "bytes: " << testing::PrintToString(c.bytes);
  }
}

TEST(Utf8, UnpairedSurrogatesEncodeAsReplacement) {
  const WideString lone{static_cast<WideChar>(0xD800), static_cast<WideChar>('x'),
                        static_cast<WideChar>(0xDC00)};
  EXPECT_EQ(Utf8Encode(lone), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
