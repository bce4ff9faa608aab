#include "text/cp936.h"

#include <gtest/gtest.h>

#include <string>

namespace sumora {
namespace {

struct Row {
  const char* utf8;
  Text cp936;
};

// Characters the window and the pipeline rely on, with their code page bytes.
const Row kRows[] = {
    {"1+2", "1+2"},
    {"\xEF\xBC\x91\xEF\xBC\x92", "\xA3\xB1\xA3\xB2"},  // １２
    {"\xEF\xBC\x88\xEF\xBC\x89", "\xA3\xA8\xA3\xA9"},  // （）
    {"\xEF\xBC\x8E\xEF\xBC\x8B", "\xA3\xAE\xA3\xAB"},  // ．＋
    {"\xE3\x80\x80", "\xA1\xA1"},                      // ideographic space
    {"\xC3\x97\xC3\xB7", "\xA1\xC1\xA1\xC2"},          // × ÷
    {"\xE2\x98\x86", "\xA1\xEE"},                      // ☆
    {"\xE2\x88\x9A", "\xA1\xCC"},                      // √
    {"\xE2\x95\x91", "\xA8\x55"},                      // ║
    {"\xE3\x8F\x92", "\xA9\x53"},                      // ㏒
    {"\xE3\x8F\x91", "\xA9\x52"},                      // ㏑
    {"\xE2\x95\xA0", "\xA8\x64"},                      // ╠
    {"\xE2\x95\xAC", "\xA8\x70"},                      // ╬
    {"\xE2\x95\xA3", "\xA8\x67"},                      // ╣
    {"\xE2\x8A\xBF", "\xA8\x53"},                      // ⊿
    {"\xE2\x88\x9F", "\xA8\x4E"},                      // ∟
    {"\xE2\x88\xA0", "\xA1\xCF"},                      // ∠
    {"\xE5\x8D\x88\xE9\xA4\x90", "\xCE\xE7\xB2\xCD"},  // 午餐
    {"\xE2\x82\xAC", "\x80"},                          // € is one byte
};

TEST(Cp936, RoundTripsTheCharactersTheCalculatorUses) {
  for (const Row& row : kRows) {
    EXPECT_EQ(Utf8ToCp936(row.utf8), row.cp936) << row.utf8;
    EXPECT_EQ(Cp936ToUtf8(row.cp936), row.utf8) << row.utf8;
    const std::u16string utf16 = Cp936ToUtf16(row.cp936);
    EXPECT_EQ(Utf16ToCp936(utf16), row.cp936) << row.utf8;
  }
  EXPECT_EQ(Cp936ToUtf16("\xA1\xEE"
                         "1"),
            u"\u26061");
}

TEST(Cp936, CharactersTheCodePageCannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp936("1\xF0\x9F\x98\x80+2"), "1?+2");  // an emoji
  EXPECT_EQ(Utf16ToCp936(u"1\U0001F600+2"), "1?+2");      // surrogate pair
  EXPECT_EQ(Utf16ToCp936(std::u16string(u"a") + char16_t(0xD800) + u"b"),
            "a?b");                                       // lone surrogate
  EXPECT_EQ(Utf8ToCp936("\xD7\x90"), "?");                // Hebrew alef
  EXPECT_EQ(Utf8ToCp936(std::string("a\0b", 3)), "a?b");  // never a zero byte
  // Malformed UTF-8: a stray continuation byte, a truncated sequence, an
  // overlong form, an encoded surrogate.
  EXPECT_EQ(Utf8ToCp936("a\x80"
                        "b"),
            "a?b");
  EXPECT_EQ(Utf8ToCp936("a\xE4\xB8"), "a??");
  EXPECT_EQ(Utf8ToCp936("\xC0\xAF"), "??");
  EXPECT_EQ(Utf8ToCp936("\xED\xA0\x80"), "???");
}

TEST(Cp936, InvalidBytesBecomeReplacementCharacters) {
  // A lead byte at the end, a lead byte whose trail is no character (the
  // trail is then read on its own), and 0xFF.
  EXPECT_EQ(Cp936ToUtf8("1\xA3"), "1\xEF\xBF\xBD");
  EXPECT_EQ(Cp936ToUtf8("\x81\x30"
                        "5"),
            "\xEF\xBF\xBD"
            "05");
  EXPECT_EQ(Cp936ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(Cp936ToUtf8(""), "");
}

}  // namespace
}  // namespace sumora
