// Scientific-mode lines as the result box shows them: the snapshot with the
// function names written short, "=", and the value of the rewritten
// expression.
#include <gtest/gtest.h>

#include <string>

#include "calc/pass.h"

namespace sumora {
namespace {

#define FW_OPEN "\xA3\xA8"   // （
#define FW_CLOSE "\xA3\xA9"  // ）

struct ShownCase {
  std::string line;
  std::string shown;
};

void ExpectShown(const ShownCase& c) {
  EXPECT_EQ(CalculateLine(c.line, true, ""), c.shown) << c.line;
}

TEST(ScientificPassTest, FunctionsAndTheFilter) {
  const ShownCase cases[] = {
      {"sqrt(16)+2^3", "sqrt(16)+2^3=12"},
      {"SIN(0)", "sin(0)=0"},
      {"sin(0)+cos(0)", "sin(0)+cos(0)=1"},
      {"asin(1)", "asin(1)=1.570796326795"},
      {"basin(1)", "asin(1)=1.570796326795"},
      {"\xA1\xCC(9)", "sqrt(9)=3"},  // √(9)
      // Math.sqrt9 is no call: its value is undefined.
      {"sqrt 9", "sqrt9=0"},
      // Math.pow(210) lacks its second argument: not a number.
      {"pow(2,10)", "pow(210)=0"},
      {"3,000 + 1", "3000+1=3001"},
      {"2x+1", "2+1=3"},
      {"", "=0"},
      {"\xCE\xE7\xB2\xCD", "=0"},  // 午餐
      {"\xCE\xE7\xB2\xCD 35.5 + \xD2\xFB\xC1\xCF 12", "35.5+12=47.5"},
  };
  for (const ShownCase& c : cases) ExpectShown(c);
}

TEST(ScientificPassTest, PercentagesAreShownAsNumbers) {
  const ShownCase cases[] = {
      {"200*15%", "200*0.15=30"},
      {"50%+20%", "0.5+0.2=0.7"},
      {"12.3%", "0.1230000019073=0.1230000019073"},
      {"5%3", "0.053=0.053"},
      {"1.2.3%", "0.01200000047684=0.01200000047684"},
      {".%", "0=0"},
      {"100%%", "0.01=0.01"},
      {FW_OPEN "50%" FW_CLOSE "*2", FW_OPEN "0.5" FW_CLOSE "*2=1"},
      // Beyond the single range the percentage is written "Infinity", the
      // evaluator's name of that value.
      {"1" + std::string(39, '0') + "%", "Infinity=Infinity"},
  };
  for (const ShownCase& c : cases) ExpectShown(c);
}

TEST(ScientificPassTest, PowersAreShownWithTheirCaret) {
  const ShownCase cases[] = {
      {FW_OPEN "1+2^3" FW_CLOSE, FW_OPEN "1+2^3" FW_CLOSE "=9"},
      {"1.5^2", "1.5^2=2.25"},
      {"2^(3)", "2^(3)=8"},
      // Not rewritten: "^" is the exclusive or of 2 and 3.
      {"2^" FW_OPEN "3" FW_CLOSE, "2^" FW_OPEN "3" FW_CLOSE "=1"},
      {"2^3^2", "2^3^2=10"},  // Math.pow(2,3)^2
      {"2^50%", "2^0.5=1.414213562373"},
      {"2^-1", "2^-1=-3"},
  };
  for (const ShownCase& c : cases) ExpectShown(c);
}

TEST(ScientificPassTest, EveryLineOfAPassIsRewritten) {
  EXPECT_EQ(CalculationPass("50%+20%\r\n\r\nsqrt(16)+2^3", true, "2"),
            "0.5+0.2=0.70\r\n=0.00\r\nsqrt(16)+2^3=12.00\r\n");
}

}  // namespace
}  // namespace sumora
