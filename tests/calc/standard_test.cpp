#include "calc/standard.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "standard_guarantees.h"
#include "text/text.h"

namespace sumora {
namespace {

using test_support::BrokenGuarantee;

// Code page 936 bytes used below.
#define FW_OPEN "\xA3\xA8"     // （
#define FW_CLOSE "\xA3\xA9"    // ）
#define FW_POINT "\xA3\xAE"    // ．
#define FW_PLUS "\xA3\xAB"     // ＋
#define FW_MINUS "\xA3\xAD"    // －
#define FW_STAR "\xA3\xAA"     // ＊
#define FW_SLASH "\xA3\xAF"    // ／
#define FW_CARET "\xA3\xDE"    // ＾
#define FW_ZERO "\xA3\xB0"     // ０
#define FW_ONE "\xA3\xB1"      // １
#define FW_TWO "\xA3\xB2"      // ２
#define FW_THREE "\xA3\xB3"    // ３
#define FW_FIVE "\xA3\xB5"     // ５
#define IDEO_SPACE "\xA1\xA1"  // the ideographic space
#define TIMES "\xA1\xC1"       // ×
#define DIVIDE "\xA1\xC2"      // ÷
#define WHITE_STAR "\xA1\xEE"  // ☆
#define BLACK_STAR "\xA1\xEF"  // ★
#define WAVE "\xA1\xAB"        // ～
#define CARET_PAIR "\x81\x5E"  // a character whose second byte is "^"

// ---------------------------------------------------------------------------
// The sanitizer as the system describes it, step by step, with the text
// operations, the restarting scans and a fresh text for every edit. Slow on
// purpose; the fast sanitizer must give exactly its results.
// ---------------------------------------------------------------------------

bool Is(std::string_view byte, std::string_view literal) {
  return CompareText(byte, literal) == 0;
}

bool IsOneOf(std::string_view byte, std::initializer_list<const char*> set) {
  for (const char* literal : set) {
    if (Is(byte, literal)) return true;
  }
  return false;
}

Text ReferenceSanitizer(std::string_view line) {
  // 1. Normalise.
  Text w = RemoveAllSpaces(ToHalfWidth(line));

  // 2. Filter, deleting from M at positions shifted by the deletions so far.
  Text m = w;
  TextPos d = 0;
  TextPos length = TextLength(w);
  for (TextPos i = 1; i <= length; ++i) {
    if (!IsOneOf(TextMid(w, i, 1),
                 {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "+", "-",
                  "*", "/", "^", "(", ")", "."})) {
      m = ReplaceAt(m, i - d, 1);
      ++d;
    }
  }
  w = m;

  // 3. Leading point.
  if (Is(TextLeft(w, 1), ".")) w = ConcatText({"0", w});

  // 4. Trailing point.
  if (Is(TextRight(w, 1), ".")) w = ReplaceAt(w, TextLength(w), 1);

  // 5. Number marks: "#" at operators and parentheses, and at both ends.
  m = w;
  length = TextLength(w);
  for (TextPos i = 1; i <= length; ++i) {
    if (FindText("()+*-/^", TextMid(w, i, 1)) != -1) {
      m = ReplaceAt(m, i, 1, "#");
    }
  }
  m = ConcatText({"#", m, "#"});

  // 6. One point per number: reads M and its tail T, deletes from W.
  d = 0;
  length = TextLength(m);
  for (TextPos i = 1; i <= length; ++i) {
    if (!Is(TextMid(m, i, 1), "#")) continue;
    int n = 0;
    const Text t = TextRight(m, TextLength(m) - i);
    const TextPos t_length = TextLength(t);
    for (TextPos j = 1; j <= t_length; ++j) {
      const Text byte = TextMid(t, j, 1);
      if (Is(byte, ".")) {
        ++n;
        if (n > 1) {
          w = ReplaceAt(w, i + j - d - 1, 1);
          ++d;
        }
      }
      if (Is(byte, "#")) break;
    }
  }

  // 7. Points beside operators: reads W, writes M.
  m = w;
  TextPos s = 0;
  length = TextLength(w);
  for (TextPos i = 1; i <= length; ++i) {
    if (!Is(TextMid(w, i, 1), ".")) continue;
    if (FindText("()+*-/.^", TextMid(w, i - 1, 1)) != -1) {
      m = ReplaceAt(m, i - s, 1, "0.");
      --s;
    }
    if (FindText("()+*-/.=", TextMid(w, i + 1, 1)) != -1) {
      m = ReplaceAt(m, i - s, 1);
      ++s;
    }
  }
  w = m;

  // 8. Parentheses.
  if (FindText(w, "(") != -1 || FindText(w, ")") != -1) {
    if (FindText(w, "(") != -1 && FindText(w, ")") != -1 &&
        FindText(w, ")") < FindText(w, "(")) {
      w = ReplaceAt(w, FindText(w, ")"), 1, "(");
    }
    int p = 0;
    int q = 0;
    length = TextLength(w);
    for (TextPos i = 1; i <= length; ++i) {
      if (Is(TextMid(w, i, 1), "(")) ++p;
      if (Is(TextMid(w, i, 1), ")")) ++q;
    }
    for (; p > q; --p) w = ConcatText({w, ")"});
    for (; p < q; --q) w = ConcatText({"(", w});
  }

  // 9. Operator marks.
  m = w;
  length = TextLength(w);
  for (TextPos i = 1; i <= length; ++i) {
    if (IsOneOf(TextMid(w, i, 1), {"+", "-", "*", "/", "^"})) {
      m = ReplaceAt(m, i, 1, "#");
    }
  }

  // 10. Leading operator.
  if (FindText(m, "#") == 1) {
    w = ConcatText({"0", w});
    m = ConcatText({"0", m});
  }

  // 11. Trailing operator.
  if (FindTextReverse(m, "#") == TextLength(m)) {
    w = ConcatText({w, "0"});
    m = ConcatText({m, "0"});
  }

  // 12. Operator after an opening parenthesis.
  for (const char* x : {"+", "-", "*", "/", "^"}) {
    w = ReplaceAll(w, ConcatText({"(", x}), ConcatText({"(0", x}));
  }
  m = ReplaceAll(m, "(#", "(0#");

  // 13. Runs of operators, rescanning from the start after every deletion.
  for (bool changed = true; changed;) {
    changed = false;
    length = TextLength(m);
    for (TextPos i = 1; i <= length; ++i) {
      if (Is(TextMid(m, i, 1), "#") && Is(TextMid(m, i + 1, 1), "#")) {
        m = ReplaceAt(m, i + 1, 1);
        w = ReplaceAt(w, i + 1, 1);
        changed = true;
        break;
      }
    }
  }

  // 14. Implicit multiplication, rescanning after every insertion.
  m = w;
  for (bool changed = true; changed;) {
    changed = false;
    length = TextLength(m);
    for (TextPos i = 1; i <= length; ++i) {
      const Text byte = TextMid(m, i, 1);
      if (Is(byte, "(")) {
        if (IsOneOf(TextMid(m, i - 1, 1),
                    {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ")"})) {
          m = ReplaceAt(m, i, 1, "*(");
          changed = true;
          break;
        }
      } else if (Is(byte, ")")) {
        if (IsOneOf(TextMid(m, i + 1, 1),
                    {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "("})) {
          m = ReplaceAt(m, i, 1, ")*");
          changed = true;
          break;
        }
      }
    }
  }

  // 15. Result.
  return m;
}

// ---------------------------------------------------------------------------
// Random lines over the bytes that matter: the allowed ones, the marker "#",
// spaces, letters, full-width forms, signs that are not operators, characters
// that leave a byte behind, arbitrary double-byte pairs and lone lead bytes.
// ---------------------------------------------------------------------------

class LineGenerator {
 public:
  explicit LineGenerator(unsigned seed) : random_(seed) {}

  Text Next(std::size_t max_pieces) {
    static const std::vector<std::string_view> kPieces = {
        "0",        "1",     "2",      "5",        "9",        ".",
        ".",        ".",     "+",      "-",        "*",        "/",
        "^",        "(",     "(",      ")",        ")",        "#",
        " ",        "a",     "x",      "e",        ",",        "%",
        "=",        "\t",    FW_OPEN,  FW_CLOSE,   FW_POINT,   FW_PLUS,
        FW_MINUS,   FW_STAR, FW_SLASH, FW_CARET,   FW_ZERO,    FW_FIVE,
        IDEO_SPACE, TIMES,   DIVIDE,   WHITE_STAR, BLACK_STAR, WAVE,
        CARET_PAIR, "\x81(", "\xA3",   "\xA1",     "\x81",     "\xFE",
    };
    const std::size_t pieces = Uniform(max_pieces + 1);
    Text line;
    for (std::size_t k = 0; k < pieces; ++k) {
      switch (Uniform(12)) {
        case 0:  // any byte but zero
          line.push_back(static_cast<char>(1 + Uniform(255)));
          break;
        case 1:  // a lead byte with any second byte, mapped or not
          line.push_back(static_cast<char>(Uniform(2) ? 0xA3 : 0xA1));
          line.push_back(static_cast<char>(1 + Uniform(255)));
          break;
        default:
          line.append(kPieces[Uniform(kPieces.size())]);
      }
    }
    return line;
  }

 private:
  std::size_t Uniform(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

  std::mt19937 random_;
};

// ---------------------------------------------------------------------------
// Results.
// ---------------------------------------------------------------------------

struct Case {
  const char* line;
  const char* expression;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(StandardSanitizer(c.line), c.expression) << "line: " << c.line;
    EXPECT_EQ(ReferenceSanitizer(c.line), c.expression)
        << "reference, line: " << c.line;
  }
}

TEST(StandardSanitizer, WorkedExamples) {
  ExpectAll({
      {"3x+" FW_OPEN "2", "3+(2)"},
      {".5++2)(", "0.5+2*(())"},
      {"1..2.3+.5.*2", "1.23+0.5*2"},
  });
}

TEST(StandardSanitizer, EverydayAndBrokenLines) {
  ExpectAll({
      {"1 + 2", "1+2"},
      {"1 2", "12"},
      {"1,000", "1000"},
      {FW_FIVE FW_ZERO FW_POINT FW_FIVE, "50.5"},
      {"50%", "50"},
      {"1e5", "15"},
      {FW_ONE FW_PLUS FW_TWO TIMES FW_THREE, "1+23"},
      {"-5", "0-5"},
      {"--5", "0-5"},
      {"5--", "5-0"},
      {"+", "0+0"},
      {"3*-2", "3*2"},
      {"1+(-2)", "1+(0-2)"},
      {"(-+5)", "(0-5)"},
      {"..", "0"},
      {"5.", "5"},
      {".5", "0.5"},
      {"(.)", "(0)"},
      {"0.5.5", "0.55"},
      {"2(1+.5)3", "2*(1+0.5)*3"},
      {"8/(2(1+1))", "8/(2*(1+1))"},
      {"2*(3+4", "2*(3+4)"},
      {"(", "()"},
      {")(", "(())"},
      {"(5+)", "(5+)"},
      {"(1))(", "(1))*("},
      {"007", "007"},
      {"2^3", "2^3"},
      {"2.^3", "2.^3"},
      {"2.+3", "2+3"},
      {"abc", ""},
      {"", ""},
      {"\xCE\xE7\xB2\xCD 35.5 + \xD2\xFB\xC1\xCF 12", "35.5+12"},  // 午餐, 饮料
  });
}

TEST(StandardSanitizer, NormalisesFullWidthFormsAndDropsOtherCharacters) {
  ExpectAll({
      // Full-width forms act exactly like their one-byte forms.
      {FW_OPEN FW_ONE FW_MINUS FW_TWO FW_CLOSE FW_STAR FW_THREE FW_SLASH FW_FIVE
           FW_CARET FW_TWO,
       "(1-2)*3/5^2"},
      {"1" IDEO_SPACE "2", "12"},
      // The stars become "*"; the other signs vanish and their neighbours
      // join.
      {"2" WHITE_STAR "3", "2*3"},
      {"2" BLACK_STAR "3", "2*3"},
      {"3" TIMES "2", "32"},
      {"6" DIVIDE "2", "62"},
      {"1" WAVE "2", "12"},
      {"1\t2\r3", "123"},
      // A character whose second byte is "^" leaves it behind.
      {"2" CARET_PAIR "3", "2^3"},
      {CARET_PAIR, "0^0"},
      // Half a character at the end goes; "#" is not an operator.
      {"5\x81", "5"},
      {"\xA3", ""},
      {"1#2", "12"},
      {"#", ""},
  });
}

TEST(StandardSanitizer, RepairsPoints) {
  ExpectAll({
      {".", "0"},
      {"5..", "5"},
      {"(.", "()"},  // the trailing point goes before any "0" is put in front
      {"1.2.3", "1.23"},
      {"+.+", "0+0+0"},
      {"(.5)", "(0.5)"},
      {"2.(3)", "2*(3)"},
      {"2.)", "(2)"},
      {"1.^.5", "1.^0.5"},
      {"2.^", "2.^0"},
      {"1.-.", "1-0"},
  });
}

TEST(StandardSanitizer, BalancesParenthesesButDoesNotReorderThem) {
  ExpectAll({
      {")1+2(", "(1+2*())"},
      {"1)2", "(1)*2"},
      {"))", "(())"},
      {"((1", "((1))"},
      {"())(", "())*("},
      {"(()", "(())"},
      {")(()", "((()))"},
      {"1)(2", "1*((2))"},
  });
}

TEST(StandardSanitizer, RepairsOperators) {
  ExpectAll({
      {"-", "0-0"},
      {"2--3", "2-3"},
      {"1+-*/^2", "1+2"},
      {"(*2)", "(0*2)"},
      {"(/2)", "(0/2)"},
      {"(^2)", "(0^2)"},
      {"(+-2", "(0+2)"},
      {"*", "0*0"},
      {"2+", "2+0"},
      {"(5-)", "(5-)"},
  });
}

TEST(StandardSanitizer, InsertsImplicitMultiplication) {
  ExpectAll({
      {"(1)(2)(3)", "(1)*(2)*(3)"},
      {"2(3)", "2*(3)"},
      {"(3)4", "(3)*4"},
      {"2((3))4", "2*((3))*4"},
      {")(2)(", "((2)*())"},
  });
}

// A zero byte, which no text holds, is dropped like any other stray byte and
// never taken for the start or the end of the line.
TEST(StandardSanitizer, DropsZeroBytes) {
  using std::string_literals::operator""s;
  for (const Text& line : {"\0.5"s, "5.\0"s, "(\0-2\0)\0"s, "\0\0"s}) {
    EXPECT_EQ(StandardSanitizer(line), ReferenceSanitizer(line));
  }
  EXPECT_EQ(StandardSanitizer("1\0+\0.5"s), "1+0.5");
}

// The second form reuses its buffer; the result never depends on what the
// buffer held before.
TEST(StandardSanitizer, ReusedBufferGivesTheSameExpression) {
  Text buffer = "stale content that is longer than any line below (((((";
  for (const char* line : {"2(3", "", "1..2", "abc", ")("}) {
    StandardSanitizer(line, buffer);
    EXPECT_EQ(buffer, StandardSanitizer(line)) << line;
  }
}

// ---------------------------------------------------------------------------
// The fast sanitizer against the step-by-step one.
// ---------------------------------------------------------------------------

TEST(StandardSanitizer, MatchesTheStepByStepSanitizerOnRandomShortLines) {
  LineGenerator generator(20260101);
  Text buffer;
  for (int k = 0; k < 60000; ++k) {
    const Text line = generator.Next(14);
    const Text expected = ReferenceSanitizer(line);
    ASSERT_EQ(StandardSanitizer(line), expected) << "line: " << line;
    StandardSanitizer(line, buffer);
    ASSERT_EQ(buffer, expected) << "reused buffer, line: " << line;
  }
}

TEST(StandardSanitizer, MatchesTheStepByStepSanitizerOnLongerLines) {
  LineGenerator generator(7);
  for (int k = 0; k < 300; ++k) {
    const Text line = generator.Next(300);
    ASSERT_EQ(StandardSanitizer(line), ReferenceSanitizer(line))
        << "line: " << line;
  }
}

// Every line of two bytes: every byte at the start and at the end of a line,
// every lead byte with every second byte, every lone lead byte after another
// byte.
TEST(StandardSanitizer, MatchesTheStepByStepSanitizerOnEveryTwoBytePair) {
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const Text line = {static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(StandardSanitizer(line), ReferenceSanitizer(line))
          << "bytes " << a << " " << b;
    }
  }
}

// ---------------------------------------------------------------------------
// What every expression guarantees.
// ---------------------------------------------------------------------------

TEST(StandardGuarantees, CheckerSpotsEachBrokenGuarantee) {
  for (const char* bad :
       {"1#2", "1 2", "\xB0\xA1", ".5", "5.", "5.+1", "1.2.3", "(1", "1+", "+1",
        "1+-2", "(+1)", "2(1)", ")(", "(1)2", "(1)(2)"}) {
    EXPECT_NE(BrokenGuarantee(bad), nullptr) << bad;
  }
  for (const char* good : {"", "0", "1.5^2", "2.^3", "(5+)", "()", "(1))*("}) {
    EXPECT_EQ(BrokenGuarantee(good), nullptr) << good;
  }
}

TEST(StandardGuarantees, HoldForRandomLines) {
  LineGenerator generator(42);
  for (int k = 0; k < 100000; ++k) {
    const Text line = generator.Next(k % 2 ? 12 : 60);
    const Text expression = StandardSanitizer(line);
    const char* broken = BrokenGuarantee(expression);
    ASSERT_EQ(broken, nullptr)
        << broken << "\nline: " << line << "\nexpression: " << expression;
  }
}

// ---------------------------------------------------------------------------
// Long lines: a megabyte of one pattern, repaired as a short line would be.
// ---------------------------------------------------------------------------

Text Repeat(std::string_view piece, std::size_t times) {
  Text text;
  text.reserve(piece.size() * times);
  for (std::size_t k = 0; k < times; ++k) text.append(piece);
  return text;
}

TEST(StandardSanitizer, RepairsMegabyteLinesLikeShortOnes) {
  constexpr std::size_t kMega = 1 << 20;
  struct LongCase {
    Text line;
    Text expression;
  };
  const LongCase cases[] = {
      {Repeat("(", kMega), Repeat("(", kMega) + Repeat(")", kMega)},
      {Repeat(")", kMega), Repeat("(", kMega) + Repeat(")", kMega)},
      {Repeat(".", kMega), "0"},
      {"1" + Repeat("+-*/^", kMega / 5) + "2", "1+2"},
      {Repeat("(1)", kMega / 3), "(1)" + Repeat("*(1)", kMega / 3 - 1)},
      {Repeat(")(", kMega / 2), "((" + Repeat(")*(", kMega / 2 - 1) + "))"},
      {"1" + Repeat(".2", kMega / 2), "1." + Repeat("2", kMega / 2)},
      {Repeat("x" TIMES IDEO_SPACE, kMega / 5), ""},
      {Repeat("2" FW_OPEN, kMega / 3),
       Repeat("2*(", kMega / 3) + Repeat(")", kMega / 3)},
  };
  for (const LongCase& c : cases) {
    const Text expression = StandardSanitizer(c.line);
    EXPECT_EQ(expression.size(), c.expression.size()) << c.line.substr(0, 20);
    EXPECT_TRUE(expression == c.expression) << c.line.substr(0, 20);
    EXPECT_EQ(BrokenGuarantee(expression), nullptr) << c.line.substr(0, 20);
  }
}

TEST(StandardSanitizer, KeepsTheGuaranteesOnARandomMegabyteLine) {
  LineGenerator generator(99);
  Text line;
  while (line.size() < (1u << 20)) line += generator.Next(40);
  const Text expression = StandardSanitizer(line);
  EXPECT_EQ(BrokenGuarantee(expression), nullptr);
  EXPECT_LE(expression.size(), 5 * line.size() + 3);
}

}  // namespace
}  // namespace sumora
