#include "text/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace sumora {
namespace {

// Code page 936 bytes used below.
const Text kIdeographicSpace = "\xA1\xA1";
const Text kFullWidthOne = "\xA3\xB1";
const Text kAbsSign = "\xA8\x55";  // ║: its second byte is the value of "U"

TEST(TextCuts, CountRawBytesAndClamp) {
  struct Row {
    Text text;
    TextPos p, n;
    Text mid;
  };
  const Row rows[] = {
      {"abc", 0, 1, ""},  {"abc", 4, 1, ""},           {"", 1, 1, ""},
      {"abc", 2, 1, "b"}, {"abc", 2, 99, "bc"},        {"abc", 1, 0, ""},
      {"abc", -5, 2, ""}, {"\xB0\xA1x", 2, 1, "\xA1"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TextMid(row.text, row.p, row.n), row.mid)
        << row.text << " p=" << row.p << " n=" << row.n;
  }
  EXPECT_EQ(TextLeft("", 1), "");
  EXPECT_EQ(TextRight("", 1), "");
  EXPECT_EQ(TextLeft("abc", 10), "abc");
  EXPECT_EQ(TextRight("abc", 10), "abc");
  EXPECT_EQ(TextRight("abc", 0), "");
  EXPECT_EQ(TextLeft("abc", -1), "");
  EXPECT_EQ(TextLeft("\xB0\xA1", 1), "\xB0");  // half a character
  EXPECT_EQ(TextLength("\xB0\xA1"
                       "a"),
            3);
}

TEST(FindText, EmptySoughtTextIsFoundInAnyNonEmptyText) {
  EXPECT_EQ(FindText("()+*-/^", ""), 1);
  EXPECT_EQ(FindText("", ""), -1);
  EXPECT_EQ(FindTextReverse("()+*-/^", ""), 1);
  EXPECT_EQ(FindTextReverse("", ""), -1);
  EXPECT_EQ(FindText("", "a"), -1);
}

TEST(FindText, FindsAtCharacterBoundariesOnly) {
  EXPECT_EQ(FindText("#12", "#"), 1);
  EXPECT_EQ(FindTextReverse("12#", "#"), 3);
  EXPECT_EQ(FindTextReverse("aaa", "aa"), 2);  // overlapping occurrences
  EXPECT_EQ(FindText("abcabc", "ca"), 3);
  EXPECT_EQ(FindText("ab", "abc"), -1);
  // "U" is the second byte of ║ and is not a character there.
  EXPECT_EQ(FindText(kAbsSign, "U"), -1);
  EXPECT_EQ(FindText(kAbsSign + "U", "U"), 3);
  // A1 EE straddles the two characters B0 A1 and EE A1.
  EXPECT_EQ(FindText("\xB0\xA1\xEE\xA1", "\xA1\xEE"), -1);
  EXPECT_EQ(FindTextReverse("\xB0\xA1\xEE\xA1", "\xA1\xEE"), -1);
  // A lone final byte is still a candidate, and the last one.
  EXPECT_EQ(FindText("a\xB0", "\xB0"), 2);
}

TEST(ReplaceAt, ClampsPositionAndCount) {
  struct Row {
    Text text;
    TextPos p, k;
    std::optional<std::string_view> replacement;
    Text expected;
  };
  const Row rows[] = {
      {"abc", 0, 1, std::nullopt, "bc"},
      {"abc", 1, 1, std::nullopt, "bc"},
      {"abc", 9, 1, "d", "abcd"},
      {"abc", 3, 5, std::nullopt, "ab"},
      {"abc", 2, 0, "X", "aXbc"},
      {"abc", 2, -3, std::nullopt, "abc"},
      {"abc", 2, 1, "", "ac"},
      {"abc", 2, 1, "*(", "a*(c"},
      {"", 1, 1, "#", "#"},
      {"\xB0\xA1", 2, 1, std::nullopt, "\xB0"},  // byte-wise: splits
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReplaceAt(row.text, row.p, row.k, row.replacement), row.expected)
        << row.text << " p=" << row.p << " k=" << row.k;
  }
}

TEST(ReplaceAll, LeftToRightNonOverlappingAtBoundaries) {
  struct Row {
    Text text, sought, replacement, expected;
  };
  const Row rows[] = {
      {"a+b+c", "+", "++", "a++b++c"},      // doubles once and ends
      {"aaa", "aa", "b", "ba"},             // non-overlapping
      {"", "a", "b", ""},                   // empty text
      {"abc", "", "x", "abc"},              // empty sought text
      {"a-b", "-", "", "ab"},               // deletion
      {kAbsSign + "U", "U", "", kAbsSign},  // second byte untouched
      {"\xB0\xA1\xEE\xA1", "\xA1\xEE", "X", "\xB0\xA1\xEE\xA1"},
      {"ab\xB0", "b", "c", "ac"},      // the scan reaches the lone final byte
      {"ab\xB0", "ab", "c", "c\xB0"},  // copied with the remaining bytes
      {"Math.sqrt(9)", "Math.sqrt", "sqrt", "sqrt(9)"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReplaceAll(row.text, row.sought, row.replacement), row.expected)
        << row.text;
  }
}

TEST(SplitText, AtCrLf) {
  struct Row {
    Text text;
    TextArray members;
  };
  const Row rows[] = {
      {"", {}},
      {"abc", {"abc"}},
      {"\r\n", {""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\n", {"a"}},
      {"\r\na", {"", "a"}},
      {"a\rb\nc", {"a\rb\nc"}},  // lone CR and LF stay inside the line
      {"a\r\n\r\n", {"a", ""}},
      // "\r\n" hidden inside a double-byte character is no separator.
      {"\xB0\r\nx", {"\xB0\r\nx"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SplitText(row.text, "\r\n"), row.members) << row.text;
  }
}

TEST(ConcatAndCompare, BytesInOrderUnsignedComparison) {
  EXPECT_EQ(ConcatText({"#", "12", "", "#"}), "#12#");
  EXPECT_EQ(ConcatText({"", ""}), "");
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_EQ(CompareText(std::string_view(), ""), 0);
  EXPECT_EQ(CompareText("a", "b"), -1);
  EXPECT_EQ(CompareText("ab", "a"), 1);
  EXPECT_EQ(CompareText("a", "ab"), -1);
  EXPECT_EQ(CompareText("\xB0", "a"), 1);  // 0xB0 is above 0x61
}

TEST(CaseAndWidth, ScanByCharacters) {
  EXPECT_EQ(ToLowerCase("SIN(0)+Cos"), "sin(0)+cos");
  EXPECT_EQ(ToLowerCase(kAbsSign + "U"), kAbsSign + "u");
  EXPECT_EQ(ToLowerCase("A\xB0"), "a\xB0");  // lone final byte kept

  struct Row {
    Text text, expected;
  };
  const Row half_width[] = {
      {"", ""},
      {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", "12.5"},  // １２．５
      {"\xA3\xA8\xA3\xA9", "()"},                    // （）
      {kIdeographicSpace, " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},                                // ☆★
      {"\xA3\xA4\xA3\xFE", "$~"},                                // ￥￣
      {"\xA1\xA3\xA1\xC1\xA1\xC2", "\xA1\xA3\xA1\xC1\xA1\xC2"},  // 。×÷ kept
      {"1\xA3", "1"},  // lone final byte dropped
      {kFullWidthOne + "\xC4\xE3", "1\xC4\xE3"},
  };
  for (const Row& row : half_width) {
    EXPECT_EQ(ToHalfWidth(row.text), row.expected) << row.text;
  }
}

TEST(RemoveAllSpaces, SpacesAndIdeographicSpacesOnly) {
  EXPECT_EQ(RemoveAllSpaces(" 1 \t2" + kIdeographicSpace + "3\r\n"),
            "1\t23\r\n");
  EXPECT_EQ(RemoveAllSpaces("a\xA1"), "a");  // lone final byte dropped
  // A1 A1 must start at a character boundary to count as a space.
  EXPECT_EQ(RemoveAllSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(RemoveAllSpaces("\xB0\xA1\xA1"), "\xB0\xA1");
}

}  // namespace
}  // namespace sumora
