#include "text/pattern.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace sumora {
namespace {

// The four patterns of the scientific rewriter, in code page 936 bytes.
const char kFilter[] =
    "[^0-9"
    "\xA3\xA8"  // （
    "\xA1\xCC"  // √
    "\xA1\xEE"  // ☆
    "\xA8\x55"  // ║
    "\xA9\x53"  // ㏒
    "\xA8\x53"  // ⊿
    "\xA8\x4E"  // ∟
    "\xA1\xCF"  // ∠
    "\xA8\x64"  // ╠
    "\xA8\x67"  // ╣
    "%"
    "\xA8\x70"  // ╬
    "\xA9\x52"  // ㏑
    "\xA3\xA9"  // ）
    "()\\+\\-\\*/\\^\\.]";
const char kPercentage[] = "[0-9\\.]+\\%";
const char kPlainPower[] = "[0-9\\.]+\\^[0-9\\.]+";
const char kParenthesisedPower[] = "[0-9\\.]+\\^\\([0-9\\.]+\\)";

TEST(PatternTest, TheRewritersPatternsAreValid) {
  for (const char* text :
       {kFilter, kPercentage, kPlainPower, kParenthesisedPower}) {
    EXPECT_TRUE(Pattern(text).IsValid()) << text;
  }
}

TEST(PatternTest, FilterDeletesWholeCharactersOutsideTheSet) {
  const Pattern filter(kFilter);
  struct Case {
    std::string_view text;
    std::string_view kept;
  };
  const Case cases[] = {
      // The abs placeholder survives whole although its second byte is "U";
      // the lone U after it goes.
      {"\xA8\x55U", "\xA8\x55"},
      // （1）+x
      {"\xA3\xA8"
       "1\xA3\xA9+x",
       "\xA3\xA8"
       "1\xA3\xA9+"},
      // 午餐 饮料, with an ideographic space too: nothing stays.
      {"\xCE\xE7\xB2\xCD \xD2\xFB\xC1\xCF\xA1\xA1", ""},
      // A double-byte character whose second byte is a digit or "%" goes
      // whole; the digit is not kept on its own.
      {"\x81"
       "5\x81%7",
       "7"},
      {"3,000 + 1", "3000+1"},
      {"a\tb\r\n=2", "2"},
      {"1+2*3-4/5^6.7%(8)", "1+2*3-4/5^6.7%(8)"},
      // Full-width digits and signs are not in the set.
      {"\xA3\xB1\xA3\xAB"
       "2",
       "2"},
      // A lone final byte is deleted.
      {"12\xA8", "12"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PatternReplace(filter, c.text, ""), c.kept) << c.text;
  }
}

struct SearchCase {
  const char* pattern;
  std::string_view text;
  bool matched;
  std::int32_t start;
  std::int32_t end;
  std::string_view match_text;
};

void ExpectSearch(const SearchCase& c) {
  const MatchResult result = PatternSearch(Pattern(c.pattern), c.text);
  EXPECT_EQ(result.is_matched, c.matched) << c.pattern << " in " << c.text;
  if (result.is_matched && c.matched) {
    EXPECT_EQ(result.match_start, c.start) << c.pattern << " in " << c.text;
    EXPECT_EQ(result.match_end, c.end) << c.pattern << " in " << c.text;
    EXPECT_EQ(result.match_text, c.match_text) << c.pattern << " in " << c.text;
  }
}

TEST(PatternTest, PercentageIsLeftmostAndGreedy) {
  const SearchCase cases[] = {
      {kPercentage, "12+3%", true, 3, 5, "3%"},
      // The full-width parenthesis counts two bytes: （50%）
      {kPercentage,
       "\xA3\xA8"
       "50%\xA3\xA9",
       true, 2, 5, "50%"},
      {kPercentage, "5%+10%", true, 0, 2, "5%"},
      {kPercentage, "1.2.3%", true, 0, 6, "1.2.3%"},
      {kPercentage, ".%", true, 0, 2, ".%"},
      {kPercentage, "100%%", true, 0, 4, "100%"},
      {kPercentage, "%5", false, 0, 0, ""},
      {kPercentage, "12+3", false, 0, 0, ""},
      // A second byte with the value of a digit is no digit.
      {kPercentage,
       "\x81"
       "5%",
       false, 0, 0, ""},
      {kPercentage,
       "\x81"
       "55%",
       true, 2, 4, "5%"},
      // Nor is a second byte with the value of "%" a percent sign.
      {kPercentage, "5\x81%", false, 0, 0, ""},
      {kPercentage, "5%\x81", true, 0, 2, "5%"},
  };
  for (const SearchCase& c : cases) ExpectSearch(c);
}

TEST(PatternTest, PowersNeedPlainNumbers) {
  const SearchCase cases[] = {
      {kPlainPower, "1.5^2.25+1", true, 0, 8, "1.5^2.25"},
      {kPlainPower, "(1+2)^2", false, 0, 0, ""},
      {kPlainPower, "2^-1", false, 0, 0, ""},
      {kPlainPower, "2^3^2", true, 0, 3, "2^3"},
      {kPlainPower, "x)^2+10^3", true, 5, 9, "10^3"},
      {kPlainPower, "2^", false, 0, 0, ""},
      {kParenthesisedPower, "2^(3)+1", true, 0, 5, "2^(3)"},
      {kParenthesisedPower, "2^(1+2)", false, 0, 0, ""},
      {kParenthesisedPower, "2^3", false, 0, 0, ""},
      // （ after ^ is no "(": 2^（3）
      {kParenthesisedPower,
       "2^\xA3\xA8"
       "3\xA3\xA9",
       false, 0, 0, ""},
      {kParenthesisedPower,
       "\xA3\xA8"
       "12^(.5)\xA3\xA9",
       true, 2, 9, "12^(.5)"},
  };
  for (const SearchCase& c : cases) ExpectSearch(c);
}

TEST(PatternTest, AnySearchInTheEmptyTextFails) {
  for (const char* text :
       {kFilter, kPercentage, kPlainPower, kParenthesisedPower}) {
    EXPECT_FALSE(PatternSearch(Pattern(text), "").is_matched) << text;
    EXPECT_EQ(PatternReplace(Pattern(text), "", "x"), "") << text;
  }
}

TEST(PatternTest, SearchFromAnOffsetKeepsWholeTextOffsets) {
  const Pattern percentage(kPercentage);
  const std::string_view text = "5%+10%";
  MatchResult result = PatternSearch(percentage, text, 2);
  ASSERT_TRUE(result.is_matched);
  EXPECT_EQ(result.match_start, 3);
  EXPECT_EQ(result.match_end, 6);
  EXPECT_EQ(result.match_text, "10%");
  // The bytes before the offset are not looked at: "0%" is found alone.
  result = PatternSearch(percentage, text, 4);
  ASSERT_TRUE(result.is_matched);
  EXPECT_EQ(result.match_start, 4);
  EXPECT_EQ(result.match_text, "0%");
  EXPECT_FALSE(PatternSearch(percentage, text, 6).is_matched);
  EXPECT_FALSE(PatternSearch(percentage, text, 100).is_matched);
}

TEST(PatternTest, MatchTextOutlivesTheSearchedText) {
  MatchResult result;
  {
    std::string text = "7*12.5%";
    result = PatternSearch(Pattern(kPercentage), text);
    text.assign(text.size(), 'x');
  }
  ASSERT_TRUE(result.is_matched);
  EXPECT_EQ(result.match_text, "12.5%");
}

TEST(PatternTest, ReplaceResumesAfterEachMatch) {
  struct Case {
    const char* pattern;
    std::string_view text;
    std::string_view replacement;
    std::string_view result;
  };
  const Case cases[] = {
      {"aa", "aaaaa", "x", "xxa"},
      {kPercentage, "1%2%+3", "", "+3"},
      {kPercentage, "1%2%+3", "<%>", "<%><%>+3"},
      {"[^0-9]", "1 a2", "", "12"},
      {kPercentage, "no match", "", "no match"},
      // A double-byte literal is matched whole, never across characters:
      // in B0 A1 EE A1 the pair A1 EE straddles two characters.
      {"\xA1\xEE", "\xB0\xA1\xEE\xA1", "!", "\xB0\xA1\xEE\xA1"},
      {"\xA1\xEE",
       "1\xA1\xEE"
       "2",
       "!", "1!2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PatternReplace(Pattern(c.pattern), c.text, c.replacement),
              c.result)
        << c.pattern << " in " << c.text;
  }
}

TEST(PatternTest, SetsTakeRangesEscapesAndDoubleByteMembers) {
  const SearchCase cases[] = {
      {"[a-c]+", "xxabcd", true, 2, 5, "abc"},
      {"[-a]+", "b-a-", true, 1, 4, "-a-"},
      {"[a-]+", "b-a-", true, 1, 4, "-a-"},
      {"[\\]\\\\]+", "a]\\]b", true, 1, 4, "]\\]"},
      {"[(%/)]+", "a(%/)b", true, 1, 5, "(%/)"},
      // A range of double-byte characters: 啊 (B0 A1) to 芭 (B0 C5).
      {"[\xB0\xA1-\xB0\xC5]+", "a\xB0\xA2\xB0\xC5\xB0\xC6", true, 1, 5,
       "\xB0\xA2\xB0\xC5"},
      // A negated set takes double-byte characters, line breaks and a lone
      // final byte, each whole.
      {"[^a]+", "a\xB0\xA1\r\n\x81", true, 1, 6, "\xB0\xA1\r\n\x81"},
      // A set with only ASCII members never takes a second byte.
      {"[A-Z]", "\xA8\x55", false, 0, 0, ""},
      {"\\(\\)", "()", true, 0, 2, "()"},
      // Case-sensitive.
      {"abc", "ABCabc", true, 3, 6, "abc"},
  };
  for (const SearchCase& c : cases) ExpectSearch(c);
}

TEST(PatternTest, TextsOutsideTheSyntaxGiveAPatternThatMatchesNothing) {
  const char* const invalid[] = {
      "",
      "+a",
      "a++",
      "[",
      "[]",
      "[^]",
      "[a",
      "a.b",
      "a*",
      "a?",
      "(a)",
      "a|b",
      "a{2}",
      "^a",
      "a$",
      "]",
      "\\",
      "\\d",
      "[\\d]",
      "[z-a]",
      "[a-\\",
      "\x81",
      "[\x81]",
      "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",  // 33 elements
  };
  for (const char* text : invalid) {
    const Pattern pattern(text);
    EXPECT_FALSE(pattern.IsValid()) << text;
    EXPECT_FALSE(PatternSearch(pattern, "a.b aaa()").is_matched) << text;
    EXPECT_EQ(PatternReplace(pattern, "a.b", ""), "a.b") << text;
  }
  EXPECT_TRUE(Pattern(std::string(Pattern::kMaxElements, 'a')).IsValid());
}

// --- Against a backtracking matcher ---------------------------------------

// One element of a generated pattern: its text and which characters it takes.
struct GeneratedElement {
  std::string text;
  std::vector<std::string> members;  // characters it takes (if not negated)
  bool negated;
  bool repeated;
};

bool Takes(const GeneratedElement& element, const std::string& character) {
  bool member = false;
  for (const std::string& m : element.members) member |= m == character;
  return member != element.negated;
}

// Splits a text into its characters, as the pattern facility reads them.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length =
        IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
    characters.emplace_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// The end (in characters) of a greedy backtracking match of elements[k..]
// from character index i, or -1.
int MatchFrom(const std::vector<GeneratedElement>& elements, std::size_t k,
              const std::vector<std::string>& characters, std::size_t i) {
  if (k == elements.size()) return static_cast<int>(i);
  std::size_t run = 0;
  while (i + run < characters.size() &&
         Takes(elements[k], characters[i + run]) &&
         (elements[k].repeated || run == 0)) {
    ++run;
  }
  for (std::size_t taken = run; taken >= 1; --taken) {
    const int end = MatchFrom(elements, k + 1, characters, i + taken);
    if (end >= 0) return end;
  }
  return -1;
}

TEST(PatternTest, AgreesWithBacktrackingOnRandomPatternsAndTexts) {
  // Characters of the texts: ASCII, a double-byte character, one whose
  // second byte is "a", and (only at the end) a lone final byte.
  const std::vector<std::string> alphabet = {"a",
                                             "b",
                                             "1",
                                             "^",
                                             "%",
                                             "\xB0\xA1",
                                             "\x81"
                                             "a"};
  const std::vector<GeneratedElement> kinds = {
      {"a", {"a"}, false, false},
      {"b", {"b"}, false, false},
      {"\\^", {"^"}, false, false},
      {"[ab]", {"a", "b"}, false, false},
      {"[0-9\\%]", {"1", "%"}, false, false},
      {"[^a]", {"a"}, true, false},
      {"\xB0\xA1", {"\xB0\xA1"}, false, false},
      {"[a\xB0\xA1]", {"a", "\xB0\xA1"}, false, false},
  };
  std::mt19937 random(4);
  for (int round = 0; round < 20000; ++round) {
    std::vector<GeneratedElement> elements;
    std::string pattern_text;
    const int element_count = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < element_count; ++k) {
      GeneratedElement element = kinds[random() % kinds.size()];
      element.repeated = random() % 2 == 0;
      pattern_text += element.text + (element.repeated ? "+" : "");
      elements.push_back(element);
    }
    std::string text;
    const int length = static_cast<int>(random() % 10);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    // A lone final byte: a character that only negated sets take.
    if (random() % 8 == 0) text += '\xB0';
    const std::vector<std::string> characters = Characters(text);

    bool expected_matched = false;
    std::size_t expected_start = 0;
    std::size_t expected_end = 0;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < characters.size(); ++i) {
      const int end = MatchFrom(elements, 0, characters, i);
      if (end >= 0) {
        expected_matched = true;
        expected_start = offset;
        expected_end = offset;
        for (std::size_t j = i; j < static_cast<std::size_t>(end); ++j) {
          expected_end += characters[j].size();
        }
        break;
      }
      offset += characters[i].size();
    }

    const Pattern pattern(pattern_text);
    ASSERT_TRUE(pattern.IsValid()) << pattern_text;
    const MatchResult result = PatternSearch(pattern, text);
    ASSERT_EQ(result.is_matched, expected_matched)
        << pattern_text << " in " << text;
    if (expected_matched) {
      ASSERT_EQ(result.match_start, static_cast<std::int32_t>(expected_start))
          << pattern_text << " in " << text;
      ASSERT_EQ(result.match_end, static_cast<std::int32_t>(expected_end))
          << pattern_text << " in " << text;
    }
  }
}

TEST(PatternTest, LongTextsAreSearchedInOnePass) {
  // A long run of digits with no "%" and a long run that ends in one: both
  // would take quadratic time in a matcher that retries every start.
  const std::string digits(1 << 20, '7');
  EXPECT_FALSE(PatternSearch(Pattern(kPercentage), digits).is_matched);
  const MatchResult result =
      PatternSearch(Pattern(kPlainPower), digits + "^" + digits);
  ASSERT_TRUE(result.is_matched);
  EXPECT_EQ(result.match_end, static_cast<std::int32_t>(2 * digits.size() + 1));
}

}  // namespace
}  // namespace sumora
