// The documented cases of the number forms, row for row, and the edges chosen
// (non-finite values, huge and negative decimals, grouping, negative zero).
#include "text/number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace sumora {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

double FromBits(std::uint64_t bits) { return std::bit_cast<double>(bits); }
std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// Compares doubles bit for bit (so 0 and -0 differ, infinities match).
#define EXPECT_SAME_DOUBLE(actual, expected)                        \
  EXPECT_EQ(Bits(actual), Bits(expected))                           \
      << "actual " << (actual) << " (" << std::hexfloat << (actual) \
      << "), expected " << std::defaultfloat << (expected) << " ("  \
      << std::hexfloat << (expected) << ")" << std::defaultfloat

// ---------------------------------------------------------------------------
// TextToNumber
// ---------------------------------------------------------------------------

struct ReadRow {
  std::string text;
  double value;
};

TEST(TextToNumber, DocumentedCases) {
  const ReadRow rows[] = {
      {"", 0},
      {" 12abc", 12},
      {"-0.5e2", -50},
      {"1d3", 1000},
      {"1e", 1},
      {"1e+", 1},
      {".", 0},
      {"- 5", 0},
      {"1,000", 1},
      {"3.14.15", 3.14},
      {"0x1A", 0},
      {"Infinity", 0},
      {"NaN", 0},
      {"undefined", 0},
      {"1.#INF", 1},
      {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", 12.5},  // full-width 12.5
      {"1e400", kInf},
      {"1e-400", 0},
      {"0.30000000000000004", 0.1 + 0.2},
  };
  for (const ReadRow& row : rows) {
    EXPECT_SAME_DOUBLE(TextToNumber(row.text), row.value)
        << " text " << row.text;
  }
}

TEST(TextToNumber, SyntaxEdges) {
  const ReadRow rows[] = {
      {"5", 5},
      {"5.", 5},
      {".5", 0.5},
      {"5.25", 5.25},
      {"+.5", 0.5},
      {"-.5", -0.5},
      {"+", 0},
      {"-", 0},
      {"-.", 0},
      {"+-5", 0},
      {"\t\n\v\f\r 7", 7},
      {"\xA1\xA1 7", 7},         // ideographic space, then a space
      {"\xA3\xAD\xA3\xB3", -3},  // full-width -3
      {"1E2", 100},
      {"1D2", 100},
      {"1e-2", 0.01},
      {"1e+2x", 100},
      {"1e-", 1},
      {"1ex", 1},
      {"1e 2", 1},
      {"1.5e2.5", 150},
      {"1ee2", 1},
      {"2d", 2},
      {"007", 7},
      {"0.000", 0},
      {"00e5", 0},
      {"1e+21", 1e21},
      {"-1e999", -kInf},
      {"+1e999", kInf},
      {"\xB0\xA1", 0},  // a double-byte character
      {"12\xB0\xA1", 12},
  };
  for (const ReadRow& row : rows) {
    EXPECT_SAME_DOUBLE(TextToNumber(row.text), row.value)
        << " text " << row.text;
  }
}

TEST(TextToNumber, ZeroOfEitherSignReadsAsPositiveZero) {
  for (const char* text :
       {"-0", "-0.0", "-0e5", "-.0", "-1e-400", "0", "+0", "-0x", "-4e-325"}) {
    EXPECT_SAME_DOUBLE(TextToNumber(text), 0.0) << " text " << text;
  }
}

TEST(TextToNumber, ExponentsWithManyDigitsDoNotOverflow) {
  const ReadRow rows[] = {
      {"1e0000000000000000000001", 10},
      {"1e-0000000000000000000001", 0.1},
      {"1e-99999999999999999999", 0},
      {"1e99999999999999999999", kInf},
      {"-1e99999999999999999999", -kInf},
      {"1e2147483648", kInf},
      {"1e-2147483649", 0},
      {"1e4294967296", kInf},            // would be 1e0 in wrapping 32 bits
      {"1e18446744073709551617", kInf},  // would be 1e1 in wrapping 64 bits
      {"1e-18446744073709551617", 0},
      {"0e99999999999999999999", 0},
      {"1e0000000000000000000000000000000000000000000000000000308", 1e308},
  };
  for (const ReadRow& row : rows) {
    EXPECT_SAME_DOUBLE(TextToNumber(row.text), row.value)
        << " text " << row.text;
  }
}

TEST(TextToNumber, LongRunsOfDigitsInLinearTimeAndShortMemory) {
  constexpr std::size_t kRun = 10'000'000;
  const std::string zeros(kRun, '0');
  // 10^-(kRun + 1) * 10^kRun.
  EXPECT_SAME_DOUBLE(TextToNumber("0." + zeros + "1e" + std::to_string(kRun)),
                     0.1);
  // 1 and kRun zeros, times 10^-kRun: the cut digits shift the exponent.
  EXPECT_SAME_DOUBLE(TextToNumber("1" + zeros + "e-" + std::to_string(kRun)),
                     1.0);
  EXPECT_SAME_DOUBLE(TextToNumber(zeros + "12.5"), 12.5);
  EXPECT_SAME_DOUBLE(TextToNumber("." + zeros), 0.0);
  EXPECT_SAME_DOUBLE(TextToNumber("1" + zeros), kInf);
  EXPECT_SAME_DOUBLE(TextToNumber("0." + zeros + "1"), 0.0);
  EXPECT_SAME_DOUBLE(TextToNumber("-1" + zeros), -kInf);
  EXPECT_SAME_DOUBLE(TextToNumber("1e" + zeros + "1"), 10.0);
}

TEST(TextToNumber, MantissaIsCutAfter24SignificantDigits) {
  // 2^53 + 1 is halfway between 2^53 and 2^53 + 2. With a 1 in the 26th
  // digit the full number would round up; cut after 24 digits it is the exact
  // tie, which goes to the even 2^53.
  EXPECT_SAME_DOUBLE(TextToNumber("9007199254740993.0000000001"),
                     9007199254740992.0);
  EXPECT_SAME_DOUBLE(TextToNumber("9007199254740993.00000001"),  // 24 digits
                     9007199254740994.0);
  // Leading zeros are not significant, so they do not count.
  EXPECT_SAME_DOUBLE(TextToNumber("0.0000009007199254740993000000001e22"),
                     9007199254740992.0);
  // Cut digits before the point still count as places.
  EXPECT_SAME_DOUBLE(TextToNumber("1234567890123456789012345678"),
                     1.234567890123456789012345e27);
  EXPECT_SAME_DOUBLE(TextToNumber("123456789012345678901234999999.9e-6"),
                     123456789012345678901234.0);
}

TEST(TextToNumber, CorrectlyRoundedAtTheEdgesOfTheDoubleRange) {
  const ReadRow rows[] = {
      // Largest double, and the first text above its rounding boundary.
      {"1.7976931348623157e308", FromBits(0x7FEFFFFFFFFFFFFF)},
      {"1.7976931348623158e308", FromBits(0x7FEFFFFFFFFFFFFF)},
      {"1.7976931348623159e308", kInf},
      {"-1.7976931348623159e308", -kInf},
      // Smallest normal, the largest subnormal, the smallest subnormal.
      {"2.2250738585072014e-308", FromBits(0x0010000000000000)},
      {"2.2250738585072011e-308", FromBits(0x000FFFFFFFFFFFFF)},
      {"4.9406564584124654e-324", FromBits(1)},
      {"-4.9406564584124654e-324", -FromBits(1)},
      {"1e-323", FromBits(2)},
      // Half the smallest subnormal, just above and just below.
      {"2.4703282292062328e-324", FromBits(1)},
      {"2.4703282292062327e-324", 0},
      {"1e-320", FromBits(0x7E8)},
      // Classic hard cases for readers.
      {"0.1", 0.1},
      {"9007199254740993", 9007199254740992.0},
      {"9007199254740995", 9007199254740996.0},
      {"2.2250738585072012e-308", FromBits(0x0010000000000000)},
      {"1e23", 1e23},
      {"8.98846567431158e307", 8.98846567431158e307},
  };
  for (const ReadRow& row : rows) {
    EXPECT_SAME_DOUBLE(TextToNumber(row.text), row.value)
        << " text " << row.text;
  }
}

// ---------------------------------------------------------------------------
// TextToInteger
// ---------------------------------------------------------------------------

TEST(TextToInteger, DocumentedCases) {
  const struct {
    std::string text;
    std::int32_t value;
  } rows[] = {
      {"2", 2},
      {" 2", 2},
      {"+2", 2},
      {"\xA3\xB2", 2},  // full-width 2
      {"2.9", 2},
      {"-2.9", -2},
      {"1e3", 1},
      {"abc", 0},
      {"", 0},
      {"4294967297", 1},
      {"2147483648", kInt32Min},
      // Beyond the table.
      {"2147483647", kInt32Max},
      {"-2147483648", kInt32Min},
      {"-2147483649", kInt32Max},
      {"4294967295", -1},
      {"99999999999999999999", 1661992959},  // 10^20 - 1 mod 2^32
      {"- 2", 0},
      {"-", 0},
      {"\t\r\n 12x", 12},
      {"184", 184},
      {"-309", -309},
      {"\xA3\xAD\xA3\xB5", -5},  // full-width -5
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TextToInteger(row.text), row.value) << " text " << row.text;
  }
}

// ---------------------------------------------------------------------------
// TextToFloat
// ---------------------------------------------------------------------------

TEST(TextToFloat, RoundsTheDoubleToTheNearestSingle) {
  constexpr float kFloatInf = std::numeric_limits<float>::infinity();
  constexpr float kFloatMax = std::numeric_limits<float>::max();
  EXPECT_EQ(TextToFloat("0.1"), 0.1f);
  EXPECT_EQ(static_cast<double>(TextToFloat("0.1")),
            0.100000001490116119384765625);
  EXPECT_EQ(TextToFloat("12.5"), 12.5f);
  EXPECT_EQ(TextToFloat("123456789"), 123456792.0f);
  EXPECT_EQ(TextToFloat(""), 0.0f);
  EXPECT_EQ(TextToFloat("1e39"), kFloatInf);
  EXPECT_EQ(TextToFloat("-1e39"), -kFloatInf);
  EXPECT_EQ(TextToFloat("1e400"), kFloatInf);
  EXPECT_EQ(TextToFloat("3.4028235e38"), kFloatMax);
  // Halfway between the largest single and 2^128 rounds to even: infinity;
  // the double just below it rounds to the largest single.
  EXPECT_EQ(TextToFloat("340282356779733661637539395458142568448"), kFloatInf);
  EXPECT_EQ(TextToFloat("340282356779733642748073463979561713663"), kFloatMax);
  EXPECT_EQ(TextToFloat("-340282356779733642748073463979561713663"),
            -kFloatMax);
  EXPECT_EQ(TextToFloat("1e-50"), 0.0f);
  EXPECT_EQ(TextToFloat("1.5e-45"), std::numeric_limits<float>::denorm_min());
}

TEST(TextToFloat, PercentageRows) {
  // Percentages: TextToFloat of the number, widened, divided by 100, written.
  const struct {
    const char* text;
    const char* shown;
  } rows[] = {
      {"12.5", "0.125"},
      {"50", "0.5"},
      {"0.1", "0.001000000014901"},
      {"33.3", "0.3329999923706"},
      {"0.01", "9.999999776483e-005"},
      {"123456789", "1234567.92"},
  };
  for (const auto& row : rows) {
    const double widened = TextToFloat(row.text);
    EXPECT_EQ(NumberToText(widened / 100), row.shown) << " text " << row.text;
  }
}

// ---------------------------------------------------------------------------
// The general form
// ---------------------------------------------------------------------------

struct FormRow {
  double value;
  std::string text;
};

TEST(NumberToText, DocumentedCases) {
  const FormRow rows[] = {
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {-2.0 / 3, "-0.6666666666667"},
      {100, "100"},
      {1e12, "1000000000000"},
      {1e13, "1e+013"},
      {9999999999999, "9999999999999"},
      {9999999999999.5, "1e+013"},
      {1234567890122.5, "1234567890123"},
      {123456789012345, "1.234567890123e+014"},
      {1e21, "1e+021"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {0.000123456789, "0.000123456789"},
      {-1.5e-7, "-1.5e-007"},
      {-0.0, "0"},
  };
  for (const FormRow& row : rows) {
    EXPECT_EQ(NumberToText(row.value), row.text) << " value " << row.value;
    EXPECT_EQ(FormatNumber(row.value, std::nullopt), row.text)
        << " value " << row.value;
  }
}

TEST(NumberToText, ThirteenDigitBoundaries) {
  const FormRow rows[] = {
      {0, "0"},
      {1, "1"},
      {-1, "-1"},
      {12.5, "12.5"},
      {1234567.89, "1234567.89"},
      {9999999999999.4, "9999999999999"},
      {-9999999999999.5, "-1e+013"},
      {999999999999.96, "1000000000000"},   // carry to 13 digits, still fixed
      {999999999999.95, "999999999999.9"},  // exactly ...949951171875
      {1234567890123.4, "1234567890123"},
      {12345678901234, "1.234567890123e+013"},
      {12345678901235, "1.234567890124e+013"},
      {1e100, "1e+100"},
      {1e-100, "1e-100"},
      {1.5e300, "1.5e+300"},
      {123456789012345678.0, "1.234567890123e+017"},
      {0.00009999999999999, "9.999999999999e-005"},
      {0.0000999999999999995, "0.0001"},  // the carry makes X = -4
      {0.000009999999999999501, "1e-005"},
      {0.1, "0.1"},
      {0.7, "0.7"},
      {1e15, "1e+015"},
      {0.5, "0.5"},
      {1.0000000000005, "1.000000000001"},
      {1.0000000000004, "1"},
      {100.25, "100.25"},
  };
  for (const FormRow& row : rows) {
    EXPECT_EQ(NumberToText(row.value), row.text) << " value " << row.value;
  }
}

TEST(NumberToText, TwoRoundingsNotOne) {
  // Each double is written by its bit pattern; the comment gives its exact
  // 17-digit form.
  const struct {
    std::uint64_t bits;
    const char* one_rounding;  // 13 digits of the exact value (not wanted)
    const char* text;
  } rows[] = {
      // Exact value just below ...5 at the 14th digit, 17-digit form ...5000:
      // the second rounding goes up, one rounding would go down.
      {4717879203981369897, "26501691.90701",
       "26501691.90702"},  // 2.6501691907015000e+7
      {4696675683805440994, "981203.2469495",
       "981203.2469496"},  // 9.8120324694955000e+5
      {4679145420130117669, "64847.74746723",
       "64847.74746724"},  // 6.4847747467235000e+4
      {4668452157727138863, "13145.00586645",
       "13145.00586646"},  // 1.3145005866455000e+4
  };
  for (const auto& row : rows) {
    EXPECT_EQ(NumberToText(FromBits(row.bits)), row.text);
    EXPECT_NE(NumberToText(FromBits(row.bits)), row.one_rounding);
  }
}

TEST(NumberToText, SeventeenDigitsOfTheExactValueNotTheShortest) {
  // The shortest text that reads back as each double ends in a 5 at the 14th
  // digit, but the exact value's 17-digit form ends in ...4999x: down.
  const struct {
    std::uint64_t bits;
    const char* shortest;
    const char* text;
  } rows[] = {
      {4711477308881878009, "9714995.1005535",
       "9714995.100553"},  // 9.7149951005534995e+6
      {4766894881075350077, "50278281743.895",
       "50278281743.89"},  // 5.0278281743894997e+10
      {4643632295763234218, "279.93562364505",
       "279.935623645"},  // 2.7993562364504999e+2
      {4489489547563882005, "1.3909734069405e-08",
       "1.39097340694e-008"},  // 1.3909734069404999e-8
  };
  for (const auto& row : rows) {
    EXPECT_SAME_DOUBLE(TextToNumber(row.shortest), FromBits(row.bits));
    EXPECT_EQ(NumberToText(FromBits(row.bits)), row.text);
  }
}

TEST(NumberToText, ExactTieInThe18thDigit) {
  // 2^-25 = 2.98023223876953125e-8 exactly: the 18th digit is a final 5, so
  // the 17-digit form is 2.9802322387695313e-8 (half up, not to even); the
  // 14th digit is 5 either way.
  EXPECT_EQ(NumberToText(std::ldexp(1.0, -25)), "2.98023223877e-008");
  // 2^-24 = 5.9604644775390625e-8 has 17 digits: nothing to round.
  EXPECT_EQ(NumberToText(std::ldexp(1.0, -24)), "5.960464477539e-008");
}

TEST(NumberToText, ExtremesAndSubnormals) {
  const FormRow rows[] = {
      {FromBits(0x7FEFFFFFFFFFFFFF), "1.797693134862e+308"},
      {-FromBits(0x7FEFFFFFFFFFFFFF), "-1.797693134862e+308"},
      {FromBits(0x0010000000000000), "2.225073858507e-308"},
      {FromBits(0x000FFFFFFFFFFFFF), "2.225073858507e-308"},
      {FromBits(1), "4.940656458412e-324"},
      {-FromBits(1), "-4.940656458412e-324"},
      {FromBits(2), "9.881312916825e-324"},
      {FromBits(0x7E8), "9.999888671827e-321"},  // 9.9998886718268301e-321
      {kInf, "Infinity"},
      {-kInf, "-Infinity"},
      {kNaN, "NaN"},
      {-kNaN, "NaN"},
  };
  for (const FormRow& row : rows) {
    EXPECT_EQ(NumberToText(row.value), row.text) << " value " << row.value;
  }
}

TEST(NumberToText, Integers) {
  EXPECT_EQ(NumberToText(std::int32_t{400}), "400");
  EXPECT_EQ(NumberToText(std::int32_t{-5}), "-5");
  EXPECT_EQ(NumberToText(std::int32_t{0}), "0");
  EXPECT_EQ(NumberToText(kInt32Min), "-2147483648");
  EXPECT_EQ(NumberToText(kInt32Max), "2147483647");
}

// ---------------------------------------------------------------------------
// FormatNumber
// ---------------------------------------------------------------------------

struct FormatRow {
  double value;
  std::optional<std::int32_t> decimals;
  std::string text;
};

void CheckFormatRows(const FormatRow* begin, const FormatRow* end,
                     bool grouping = false) {
  for (const FormatRow* row = begin; row != end; ++row) {
    EXPECT_EQ(FormatNumber(row->value, row->decimals, grouping), row->text)
        << " value " << row->value << " decimals "
        << (row->decimals ? std::to_string(*row->decimals) : "none");
  }
}

TEST(FormatNumber, DocumentedCases) {
  const FormatRow rows[] = {
      {1.0 / 3, 2, "0.33"},   {2.0 / 3, 2, "0.67"},
      {2.5, 0, "3"},          {-2.5, 0, "-3"},
      {0.5, 0, "1"},          {0.125, 2, "0.13"},
      {1.005, 2, "1.01"},     {2.675, 2, "2.68"},
      {1.45, 1, "1.5"},       {1, 2, "1.00"},
      {-7, 3, "-7.000"},      {0, 2, "0.00"},
      {-0.001, 2, "0.00"},    {0.1 + 0.2, 2, "0.30"},
      {0.00005, 4, "0.0001"}, {123.456, 5, "123.45600"},
      {1234.5, -2, "1200"},   {1250, -2, "1300"},
      {15, -1, "20"},         {123456789012.345, 2, "123456789012.40"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows));
}

TEST(FormatNumber, NegativeZeroShowsNoSign) {
  const FormatRow rows[] = {
      {-0.0, std::nullopt, "0"}, {-0.0, 2, "0.00"},
      {-0.0, -3, "0"},           {-0.4, 0, "0"},
      {-0.004, 2, "0.00"},       {-4, -1, "0"},
      {-1e-300, 5, "0.00000"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows));
}

TEST(FormatNumber, NonFiniteValuesWhateverTheDecimals) {
  for (const std::optional<std::int32_t> decimals :
       {std::optional<std::int32_t>(), std::optional<std::int32_t>(0),
        std::optional<std::int32_t>(2), std::optional<std::int32_t>(-2),
        std::optional<std::int32_t>(kInt32Max),
        std::optional<std::int32_t>(kInt32Min)}) {
    for (const bool grouping : {false, true}) {
      EXPECT_EQ(FormatNumber(kInf, decimals, grouping), "Infinity");
      EXPECT_EQ(FormatNumber(-kInf, decimals, grouping), "-Infinity");
      EXPECT_EQ(FormatNumber(kNaN, decimals, grouping), "NaN");
    }
  }
}

TEST(FormatNumber, ExponentFormIsNotFilled) {
  const FormatRow rows[] = {
      {1e13, 2, "1e+013"},
      {9999999999999.996, 2, "1e+013"},  // rounds up to 10^13
      {-1.5e20, 3, "-1.5e+020"},
      {0.0000123, 7, "1.23e-005"},
      {0.0000123, 5, "1e-005"},  // rounded to 0.00001: exponent form
      {0.0000123, 4, "0.0000"},  // rounded to 0
      {0.00012, 5, "0.00012"},
      {1e-10, 15, "1e-010"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows));
}

TEST(FormatNumber, HugeDecimalsAreCapped) {
  const std::string zeros183(183, '0');
  const std::string third = "0.3333333333333" + std::string(184 - 13, '0');
  EXPECT_EQ(FormatNumber(1.0 / 3, kMaxDecimals), third);
  EXPECT_EQ(FormatNumber(1.0 / 3, kMaxDecimals + 1), third);
  EXPECT_EQ(FormatNumber(1.0 / 3, 1000000), third);
  EXPECT_EQ(FormatNumber(1.0 / 3, kInt32Max), third);
  EXPECT_EQ(FormatNumber(1, kInt32Max), "1.0" + zeros183);
  // The longest result of all: sign, 13 integer digits, point, 184 decimals.
  const Text longest = FormatNumber(-1234567890123.0, kInt32Max);
  EXPECT_EQ(longest, "-1234567890123." + zeros183 + "0");
  EXPECT_EQ(longest.size(), static_cast<std::size_t>(kMaxFormattedLength));
  EXPECT_EQ(kMaxFormattedLength, 199);
  // A value above 10^124 times 10^184 overflows: returned unrounded.
  EXPECT_EQ(FormatNumber(1e300, kInt32Max), "1e+300");
  EXPECT_EQ(FormatNumber(FromBits(0x7FEFFFFFFFFFFFFF), 184),
            "1.797693134862e+308");
  EXPECT_EQ(FormatNumber(123456.0, 300), FormatNumber(123456.0, 184));
  // Below 0.0001 stays in exponent form, unfilled; below 10^-184, 0.
  EXPECT_EQ(FormatNumber(1.5e-150, kInt32Max), "1.5e-150");
  EXPECT_EQ(FormatNumber(1.5e-300, kInt32Max), "0." + zeros183 + "0");
  EXPECT_EQ(FormatNumber(FromBits(1), kInt32Max), "0." + zeros183 + "0");
}

TEST(FormatNumber, NegativeDecimals) {
  const FormatRow rows[] = {
      {123, -309, "0"},
      {-123, -309, "0"},
      {1e308, -309, "0"},
      {123, kInt32Min, "0"},
      {FromBits(0x7FEFFFFFFFFFFFFF), kInt32Min, "0"},
      {1e308, -308, "1e+308"},
      {5e307, -308, "1e+308"},
      {4e307, -308, "0"},
      {1e-300, -308, "0"},
      {123456, -3, "123000"},
      {123500, -3, "124000"},
      {-123500, -3, "-124000"},
      {9.5, -1, "10"},
      {1234567890123456789.0, -10, "1.23456789e+018"},
      // Rounding up past the largest double: infinity with the sign.
      {FromBits(0x7FEFFFFFFFFFFFFF), -308, "Infinity"},
      {-FromBits(0x7FEFFFFFFFFFFFFF), -308, "-Infinity"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows));
}

TEST(FormatNumber, RoundingSteps) {
  const FormatRow rows[] = {
      {0.285, 2, "0.29"},  // 0.28499999999999998: the 1e-12 lifts it
      {1.0049999999, 2, "1.00"},
      {0.4999999999995, 0, "1"},  // within 1e-12 of a half
      {0.499999999998, 0, "0"},
      {2.5, std::nullopt, "2.5"},
      {1e15 + 0.5, 0, "1e+015"},
      {4503599627370495.5, 0, "4.50359962737e+015"},  // 2^52 - 0.5, up
      {1.5, 1, "1.5"},
      {0.05, 1, "0.1"},
      {99.995, 2, "100.00"},
      {-99.995, 2, "-100.00"},
      {7, 0, "7"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows));
}

TEST(FormatNumber, Grouping) {
  const FormatRow rows[] = {
      {1234567.5, std::nullopt, "1,234,567.5"},
      {-1234567890123.0, 2, "-1,234,567,890,123.00"},
      {123, std::nullopt, "123"},
      {-123, std::nullopt, "-123"},
      {1234, 0, "1,234"},
      {999.5, 0, "1,000"},
      {-999.5, 0, "-1,000"},
      {123456, std::nullopt, "123,456"},
      {0.5, std::nullopt, "0.5"},
      {1234.56789, 3, "1,234.568"},
      {0.0001234, std::nullopt, "0.0001234"},
      {1e13, std::nullopt, "1e+013"},  // not digits and points only
      {-1.5e-7, std::nullopt, "-1.5e-007"},
      {0, 2, "0.00"},
  };
  CheckFormatRows(std::begin(rows), std::end(rows), true);
  EXPECT_EQ(FormatNumber(1234567.5, std::nullopt, false), "1234567.5");
  EXPECT_EQ(FormatNumber(-1234567890123.0, kInt32Max, true).size(),
            static_cast<std::size_t>(kMaxFormattedLength + 4));
}

// ---------------------------------------------------------------------------
// The callers' inputs and the header's examples
// ---------------------------------------------------------------------------

TEST(Callers, EvaluatorAnswersThroughThePass) {
  // What the calculation pass shows for each kind of answer the evaluator
  // gives: TextToNumber, then FormatNumber without and with 2 decimals.
  const struct {
    const char* answer;
    const char* general;
    const char* two_decimals;
  } rows[] = {
      {"Infinity", "0", "0.00"},  // words read as 0
      {"-Infinity", "0", "0.00"},
      {"NaN", "0", "0.00"},
      {"-1e999", "-Infinity", "-Infinity"},
      {"1e999", "Infinity", "Infinity"},
      {"1e+21", "1e+021", "1e+021"},
      {"0.1", "0.1", "0.10"},
      {"-0", "0", "0.00"},
      {"abc", "0", "0.00"},
      {"", "0", "0.00"},
      {"0.30000000000000004", "0.3", "0.30"},
      {"0.3333333333333333", "0.3333333333333", "0.33"},
      {"-2.5", "-2.5", "-2.50"},
      {"1.5e-7", "1.5e-007", "0.00"},
      {"123456789012345680000", "1.234567890123e+020", "1.234567890123e+020"},
  };
  for (const auto& row : rows) {
    const double value = TextToNumber(row.answer);
    EXPECT_EQ(FormatNumber(value, std::nullopt), row.general) << row.answer;
    EXPECT_EQ(FormatNumber(value, TextToInteger("2")), row.two_decimals)
        << row.answer;
  }
}

TEST(Callers, HeaderExamples) {
  EXPECT_EQ(TextToNumber(" 12abc"), 12);
  EXPECT_EQ(TextToNumber("1d3"), 1000);
  EXPECT_EQ(TextToNumber("1e"), 1);
  EXPECT_EQ(TextToNumber("- 5"), 0);
  EXPECT_EQ(TextToNumber("0x1A"), 0);
  EXPECT_EQ(TextToNumber("Infinity"), 0);
  EXPECT_EQ(TextToNumber("-1e999"), -kInf);
  EXPECT_EQ(TextToInteger("4294967297"), 1);
  EXPECT_EQ(TextToInteger("2147483648"), kInt32Min);
  EXPECT_EQ(TextToInteger("-2.9"), -2);
  EXPECT_EQ(TextToInteger("1e3"), 1);
  EXPECT_EQ(static_cast<double>(TextToFloat("0.1")),
            0.100000001490116119384765625);
  EXPECT_EQ(NumberToText(1e21), "1e+021");
  EXPECT_EQ(NumberToText(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(NumberToText(9999999999999.5), "1e+013");
  EXPECT_EQ(NumberToText(-1.5e-7), "-1.5e-007");
  EXPECT_EQ(NumberToText(-0.0), "0");
  EXPECT_EQ(NumberToText(std::int32_t{-5}), "-5");
  EXPECT_EQ(FormatNumber(1.005, 2), "1.01");
  EXPECT_EQ(FormatNumber(1234.5, -2), "1200");
  EXPECT_EQ(FormatNumber(-0.001, 2), "0.00");
  EXPECT_EQ(FormatNumber(123456789012.345, 2), "123456789012.40");
  EXPECT_EQ(FormatNumber(1e20, 2), "1e+020");
  EXPECT_EQ(FormatNumber(1234567.5, std::nullopt, true), "1,234,567.5");
  EXPECT_EQ(TruncateToInteger(-3.5), -3);
}

// ---------------------------------------------------------------------------
// TruncateToInteger
// ---------------------------------------------------------------------------

TEST(TruncateToInteger, TowardZero) {
  const struct {
    double value;
    std::int32_t integer;
  } rows[] = {
      {167.5, 167},
      {-3.5, -3},
      {2.999, 2},
      {0, 0},
      {-0.0, 0},
      {-0.9, 0},
      {2147483647.9, kInt32Max},
      {-2147483648.9, kInt32Min},
      {1e10, kInt32Max},
      {-1e10, kInt32Min},
      {kInf, kInt32Max},
      {-kInf, kInt32Min},
      {kNaN, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TruncateToInteger(row.value), row.integer) << row.value;
  }
}

}  // namespace
}  // namespace sumora
