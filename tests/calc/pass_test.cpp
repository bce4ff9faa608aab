#include "calc/pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "calc/script/evaluate.h"
#include "text/number.h"
#include "text/text.h"

namespace sumora {
namespace {

TEST(CalculationPass, OneResultLinePerInputLine) {
  struct Row {
    std::string input, decimals, output;
  };
  const Row rows[] = {
      {"", "", ""},
      {"1+1", "", "1+1=2\r\n"},
      {"1+1\r\n", "", "1+1=2\r\n"},  // a trailing line break adds no line
      {"1+1\r\n\r\n", "", "1+1=2\r\n=0\r\n"},
      {"\r\n", "", "=0\r\n"},
      {"1\r\n\r\n2", "", "1=1\r\n=0\r\n2=2\r\n"},
      {"1\r\n\r\n2", "2", "1=1.00\r\n=0.00\r\n2=2.00\r\n"},
      // A lone CR or LF stays inside its line, where the sanitizer drops it.
      {"1\r2\n3", "", "123=123\r\n"},
      {"(5+)", "", "(5+)=0\r\n"},
      {"abc", "", "=0\r\n"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CalculationPass(row.input, false, row.decimals), row.output)
        << row.input;
  }
}

TEST(CalculationPass, DecimalsTextIsReadAsAnInteger) {
  struct Row {
    std::string decimals, output;
  };
  const Row rows[] = {
      {"", "2/3=0.6666666666667\r\n"},
      {"2", "2/3=0.67\r\n"},
      {" 2", "2/3=0.67\r\n"},  // spaces: not empty, leading blanks skipped
      {"x", "2/3=1\r\n"},      // letters alone: 0 decimals
      {" ", "2/3=1\r\n"},
      {"3abc", "2/3=0.667\r\n"},
      {"-1", "2/3=0\r\n"},
      {"\xA3\xB2", "2/3=0.67\r\n"},  // full-width ２
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CalculationPass("2/3", false, row.decimals), row.output)
        << "decimals '" << row.decimals << "'";
  }
  EXPECT_EQ(CalculationPass("1250", false, "-2"), "1250=1300\r\n");
}

TEST(CalculationPass, ScientificModeShowsTheSnapshotWithShortNames) {
  EXPECT_EQ(CalculationPass("2^3\r\nsqrt(4)", true, ""),
            "2^3=8\r\nsqrt(4)=2\r\n");
  EXPECT_EQ(CalculationPass("2^3", false, ""), "2^3=1\r\n");
}

TEST(CalculationPass, EveryLineStartsAfresh) {
  // With a stateful engine a ++ on a property replaced it for later lines.
  EXPECT_EQ(CalculationPass("pow++^5\r\n2^3", true, ""),
            "pow++^5=5\r\n2^3=8\r\n");
}

TEST(DisplayForm, WritesTheElevenNamesShort) {
  struct Row {
    std::string text, shown;
  };
  const Row rows[] = {
      {"Math.sqrt(16)+2^3", "sqrt(16)+2^3"},
      {"Math.asin(1)+Math.atan(1)+Math.acos(1)", "asin(1)+atan(1)+acos(1)"},
      {"Math.pow(2,3)+Math.abs(1)+Math.log(1)+Math.exp(0)",
       "pow(2,3)+abs(1)+log(1)+exp(0)"},
      {"Math.sin(0)+Math.cos(0)+Math.tan(0)", "sin(0)+cos(0)+tan(0)"},
      {"Math.sqrt9", "sqrt9"},
      {"Math.PI", "Math.PI"},  // only the eleven names
      {"1+2", "1+2"},
      {"", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DisplayForm(row.text), row.shown) << row.text;
  }
}

// The pass takes a number straight from the evaluator; it must be the number
// the answer text reads as.
TEST(ExpressionValue, EqualsReadingTheAnswerText) {
  std::vector<std::string> expressions = {"1/0",
                                          "-1/0",
                                          "0/0",
                                          "-0",
                                          "0*-1",
                                          "Math.sqrt(-1)",
                                          "1e21",
                                          "1e-7",
                                          "0.1+0.2",
                                          "2(3)",
                                          "",
                                          "Math.sqrt9",
                                          "'12abc'",
                                          "Math.sqrt",
                                          "/x/",
                                          "1+Math.sqrt",
                                          "true",
                                          "5e-324",
                                          "1.7976931348623157e308",
                                          "010+1",
                                          "2^3",
                                          "Math.pow(2,0.5)",
                                          "1/3",
                                          "-2/3",
                                          "123456789012345678901234567"};
  std::ifstream oracle(SUMORA_TEST_DATA_DIR "/script_oracle.tsv");
  for (std::string row; std::getline(oracle, row);) {
    expressions.push_back(row.substr(0, row.find('\t')));
  }
  ASSERT_GT(expressions.size(), 1000u);
  for (const std::string& expression : expressions) {
    const double direct = ExpressionValue(expression);
    const double read = TextToNumber(EvaluateExpression(expression));
    if (expression.find("Math.random") != std::string::npos) continue;
    EXPECT_TRUE(direct == read || (std::isnan(direct) && std::isnan(read)))
        << expression << ": " << direct << " vs " << read;
    EXPECT_FALSE(std::isnan(direct)) << expression;
    EXPECT_FALSE(std::signbit(direct) && direct == 0) << expression;
  }
}

}  // namespace
}  // namespace sumora
