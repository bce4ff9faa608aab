#include "calc/scientific.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scientific_step_by_step.h"
#include "text/text.h"

namespace sumora {
namespace {

// Code page 936 bytes of the characters the cases use.
#define FW_OPEN "\xA3\xA8"   // （
#define FW_CLOSE "\xA3\xA9"  // ）
#define ROOT "\xA1\xCC"      // √
#define ABS_SIGN "\xA8\x55"  // ║, the abs placeholder

struct RewriteCase {
  std::string_view line;
  std::string_view expression;
  std::string_view snapshot;
};

void ExpectRewrites(const RewriteCase& c) {
  const ScientificRewrite rewrite = ScientificRewriter(c.line);
  EXPECT_EQ(rewrite.expression, c.expression) << c.line;
  EXPECT_EQ(rewrite.snapshot, c.snapshot) << c.line;
}

TEST(ScientificRewriterTest, FunctionNamesAndTheFilter) {
  const RewriteCase cases[] = {
      {"sqrt(16)+2^3", "Math.sqrt(16)+Math.pow(2,3)", "Math.sqrt(16)+2^3"},
      {"SIN(0)", "Math.sin(0)", "Math.sin(0)"},
      {"asin(1)", "Math.asin(1)", "Math.asin(1)"},
      {"basin(1)", "Math.asin(1)", "Math.asin(1)"},
      {ROOT "(9)", "Math.sqrt(9)", "Math.sqrt(9)"},
      {"sqrt 9", "Math.sqrt9", "Math.sqrt9"},
      {"pow(2,10)", "Math.pow(210)", "Math.pow(210)"},
      {"3,000 + 1", "3000+1", "3000+1"},
      {"2x+1", "2+1", "2+1"},
      {"", "", ""},
      {"\xCE\xE7\xB2\xCD \xD2\xFB\xC1\xCF", "", ""},  // 午餐 饮料
      // Every name, in the order that keeps the inverse ones whole.
      {"atan(1)+acos(1)+tan(1)+cos(1)+log(2)*exp(1)-abs(-1)",
       "Math.atan(1)+Math.acos(1)+Math.tan(1)+Math.cos(1)+Math.log(2)*"
       "Math.exp(1)-Math.abs(-1)",
       "Math.atan(1)+Math.acos(1)+Math.tan(1)+Math.cos(1)+Math.log(2)*"
       "Math.exp(1)-Math.abs(-1)"},
      // An earlier name wins over a later one that overlaps it.
      {"cosqrt(4)", "Math.sqrt(4)", "Math.sqrt(4)"},
      {"tangent(0)", "Math.tan(0)", "Math.tan(0)"},
      // A placeholder the user typed counts like a name.
      {ABS_SIGN "(-2)", "Math.abs(-2)", "Math.abs(-2)"},
      // A double-byte character goes whole, with a second byte that looks
      // like a digit; so does a lone final byte.
      {"\x81"
       "5+1",
       "+1", "+1"},
      {"7\xA8", "7", "7"},
  };
  for (const RewriteCase& c : cases) ExpectRewrites(c);
}

TEST(ScientificRewriterTest, Percentages) {
  // Beyond the single range: the general form of an infinity.
  const std::string beyond = "1" + std::string(39, '0') + "%";
  const RewriteCase cases[] = {
      {beyond, "Infinity", "Infinity"},
      {"200*15%", "200*0.15", "200*0.15"},
      {"50%+20%", "0.5+0.2", "0.5+0.2"},
      {"12.3%", "0.1230000019073", "0.1230000019073"},
      {"5%3", "0.053", "0.053"},
      {"1.2.3%", "0.01200000047684", "0.01200000047684"},
      {".%", "0", "0"},
      {"100%%", "0.01", "0.01"},
      {FW_OPEN "50%" FW_CLOSE "*2", "(0.5)*2", FW_OPEN "0.5" FW_CLOSE "*2"},
      {"2^50%", "Math.pow(2,0.5)", "2^0.5"},
      {"%5", "%5", "%5"},
      {"0.01%", "9.999999776483e-005", "9.999999776483e-005"},
      // A value in exponent form: only its exponent digits meet the next "%".
      {"0.01%%", "9.999999776483e-0.05", "9.999999776483e-0.05"},
      // A value joins the digits after it: 0.012%.
      {"1%2%", "0.0001200000010431", "0.0001200000010431"},
  };
  for (const RewriteCase& c : cases) ExpectRewrites(c);
}

TEST(ScientificRewriterTest, Powers) {
  const RewriteCase cases[] = {
      {FW_OPEN "1+2^3" FW_CLOSE, "(1+Math.pow(2,3))", FW_OPEN "1+2^3" FW_CLOSE},
      {"1.5^2", "Math.pow(1.5,2)", "1.5^2"},
      {"2^(3)", "Math.pow(2,(3))", "2^(3)"},
      {"2^" FW_OPEN "3" FW_CLOSE, "2^(3)", "2^" FW_OPEN "3" FW_CLOSE},
      {"2^3^2", "Math.pow(2,3)^2", "2^3^2"},
      {"2^-1", "2^-1", "2^-1"},
      {"(1+2)^2", "(1+2)^2", "(1+2)^2"},
      {"sqrt(2)^2", "Math.sqrt(2)^2", "Math.sqrt(2)^2"},
      {"2^(1+2)", "2^(1+2)", "2^(1+2)"},
      {"2^3+4^(5)+6^7", "Math.pow(2,3)+Math.pow(4,(5))+Math.pow(6,7)",
       "2^3+4^(5)+6^7"},
      {"2^(3)^(4)", "Math.pow(2,(3))^(4)", "2^(3)^(4)"},
  };
  for (const RewriteCase& c : cases) ExpectRewrites(c);
}

// --- Against the line-by-line reading of the steps -------------------------

TEST(ScientificRewriterTest, AgreesWithSearchingFromTheStartEveryTime) {
  // Pieces that meet in every way the steps care about: digits and dots
  // around "%" and "^", parentheses of both widths, names and placeholders,
  // letters the filter deletes (also "e" of an exponent form), a double-byte
  // character whose second byte is a digit, and a lone final byte.
  const std::vector<std::string> pieces = {
      "1",
      "2",
      "0",
      "9",
      ".",
      "%",
      "%%",
      "^",
      "^(",
      "(",
      ")",
      FW_OPEN,
      FW_CLOSE,
      "+",
      "-",
      "*",
      "/",
      " ",
      "x",
      "e",
      "e-",
      ",",
      "12.5",
      "0.01",
      "3",
      "sqrt",
      "pow",
      "sin",
      "asin",
      "SIN",
      "ta",
      "n",
      ROOT,
      "\x81"
      "5",
      "\xB0\xA1",
      "1e39",
      "1000000000000000000000000000000000000000"};
  std::mt19937 random(7);
  for (int round = 0; round < 30000; ++round) {
    std::string line;
    const int count = static_cast<int>(random() % 14);
    for (int i = 0; i < count; ++i) line += pieces[random() % pieces.size()];
    if (random() % 16 == 0) line += '\xA8';
    const ScientificRewrite expected = test_support::ScientificStepByStep(line);
    const ScientificRewrite actual = ScientificRewriter(line);
    ASSERT_EQ(actual.expression, expected.expression) << line;
    ASSERT_EQ(actual.snapshot, expected.snapshot) << line;
  }
}

TEST(ScientificRewriterTest, LongRunsOfReplacementsAgreeWithSearchingAgain) {
  // Each replacement of these lines meets the next: the value of "1%" joins
  // the next "1%", each call is followed by "^" and digits.
  for (const std::string_view unit : {"1%", "2^2", "2^(2)", "9.5%%", "3^4%"}) {
    std::string line;
    while (line.size() < 3000) line += unit;
    const ScientificRewrite expected = test_support::ScientificStepByStep(line);
    const ScientificRewrite actual = ScientificRewriter(line);
    EXPECT_EQ(actual.expression, expected.expression) << unit;
    EXPECT_EQ(actual.snapshot, expected.snapshot) << unit;
  }
}

TEST(ScientificRewriterTest, MegabyteLinesAreRewrittenWhole) {
  // Searching from the start after every replacement would take hours here.
  constexpr std::size_t kUnits = 350000;  // "2^2" repeated: about 1 MB
  std::string powers;
  for (std::size_t i = 0; i < kUnits; ++i) powers += "2^2";
  // 2^22^22^2...: the calls pair the numbers off from the left.
  const ScientificRewrite rewrite = ScientificRewriter(powers);
  std::size_t calls = 0;
  for (std::size_t at = rewrite.expression.find("Math.pow("); at != Text::npos;
       at = rewrite.expression.find("Math.pow(", at + 1)) {
    ++calls;
  }
  EXPECT_EQ(calls, (kUnits + 1) / 2);
  EXPECT_EQ(rewrite.snapshot, powers);

  std::string percentages;
  for (std::size_t i = 0; i < 500000; ++i) percentages += "1%";
  const ScientificRewrite rewritten = ScientificRewriter(percentages);
  EXPECT_EQ(rewritten.expression.find('%'), Text::npos);
  EXPECT_EQ(rewritten.expression, rewritten.snapshot);
}

}  // namespace
}  // namespace sumora
