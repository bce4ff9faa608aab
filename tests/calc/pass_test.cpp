#include "calc/pass.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace sumora
