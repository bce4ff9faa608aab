// Reading and writing numbers: the two conversions behind every value the
// calculator shows (TextToNumber on the evaluator's answer, FormatNumber on
// the value), and the small ones around them. None fails and none depends on
// the C locale: a text with no number reads as 0, and the decimal point is
// always ".".
//
// Every function here is pure and thread-safe. None allocates on the heap
// beyond the returned Text (and the ToHalfWidth copy a reading function makes
// of a text that holds bytes of 0x80 or more).
#ifndef SUMORA_TEXT_NUMBER_H_
#define SUMORA_TEXT_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace sumora {

// Significant digits of a mantissa that TextToNumber reads; the digits after
// them are cut off (not rounded) and only shift the decimal exponent.
inline constexpr int kMaxMantissaDigits = 24;

// Significant digits of the general form: the value is first rounded to
// kExactDigits digits of its exact decimal expansion, then that digit string to
// kGeneralFormDigits (two roundings, both half up; not one).
inline constexpr int kExactDigits = 17;
inline constexpr int kGeneralFormDigits = 13;

// The most decimals FormatNumber applies; more act as this many. With 184
// decimals the longest fixed-notation result, a sign, 13 integer digits, the
// point and 184 decimals, is 199 bytes, the longest result the calculator
// has ever had to show; the cap keeps every call small
// (a stack buffer, one Text of at most kMaxFormattedLength bytes) whatever
// integer the user types into the decimals box.
inline constexpr std::int32_t kMaxDecimals = 184;
inline constexpr int kMaxFormattedLength =
    1 + kGeneralFormDigits + 1 + kMaxDecimals;  // grouping off

// The fewest decimals that still leave a digit to round to: 10 to the power
// 308 is the largest finite power of ten. Decimals below this (-309 or less)
// round every finite value to 0.
inline constexpr std::int32_t kMinDecimals = -308;

// Texts of the values that have no digits.
inline constexpr std::string_view kInfinityText = "Infinity";
inline constexpr std::string_view kNegativeInfinityText = "-Infinity";
inline constexpr std::string_view kNaNText = "NaN";

// The double nearest to the decimal number at the start of the text, after
// full-width forms become ASCII (ToHalfWidth): leading white space (0x20,
// 0x09 to 0x0D) is skipped, then an optional sign, a mantissa (digits with at
// most one point, at least one digit: 5, 5., .5) and an optional exponent
// (e, E, d or D, an optional sign, at least one digit; without a digit the
// letter ends the number). Whatever follows is ignored. A mantissa of more
// than kMaxMantissaDigits significant digits is cut after them first; the
// result is then correctly rounded (ties to even), subnormals included.
// Beyond the largest double (past its rounding boundary): infinity with the
// sign read; at or below half the smallest subnormal: 0. No number, or a zero
// of either sign, gives +0. Exponents of any length and runs of digits of any
// length are read in one pass and in constant memory (beyond the ToHalfWidth
// copy, made only for a text with a byte of 0x80 or more).
// TextToNumber(" 12abc") -> 12, TextToNumber("1d3") -> 1000,
// TextToNumber("1e") -> 1, TextToNumber("- 5") -> 0, TextToNumber("0x1A") -> 0,
// TextToNumber("Infinity") -> 0, TextToNumber("-1e999") -> -infinity.
double TextToNumber(std::string_view text);

// After ToHalfWidth and white space as above, an optional sign and decimal
// digits accumulated as value * 10 + digit in wrapping 32-bit arithmetic; the
// first non-digit ends it (no fraction, no exponent); - negates (wrapping).
// TextToInteger("4294967297") -> 1, TextToInteger("2147483648") -> INT32_MIN,
// TextToInteger("-2.9") -> -2, TextToInteger("1e3") -> 1.
std::int32_t TextToInteger(std::string_view text);

// TextToNumber rounded to the nearest single (ties to even); a magnitude
// from halfway between the largest single and 2^128 on gives infinity with
// its sign.
// TextToFloat("0.1") -> 0.100000001490116119384765625f.
float TextToFloat(std::string_view text);

// The general form: 0 for either zero; otherwise the kExactDigits-digit
// rounding of the exact decimal expansion of the magnitude (an 18th digit of 5
// or more rounds up), cut to kGeneralFormDigits digits (a 14th digit of 5 or
// more rounds up; a carry may add a digit). With X the decimal exponent of the
// first digit after rounding: exponent notation for X < -4 or X >= 13 (the
// exponent signed and of at least three digits), fixed notation otherwise;
// trailing fraction zeros and a bare point removed; - in front of a negative
// value. Infinities give kInfinityText / kNegativeInfinityText, a NaN kNaNText.
// NumberToText(1e21) -> "1e+021", NumberToText(1.0 / 3) -> "0.3333333333333",
// NumberToText(9999999999999.5) -> "1e+013", NumberToText(-1.5e-7) ->
// "-1.5e-007", NumberToText(-0.0) -> "0".
Text NumberToText(double value);
// Plain decimal digits. NumberToText(-5) -> "-5".
Text NumberToText(std::int32_t value);

// The value rounded to `decimals` places (if given) and written in the general
// form; for decimals > 0 a fixed-notation text is then filled with zeros to
// exactly that many decimals (digits are never taken away). With grouping a
// text made of an optional - and digits and a point gets a comma before every
// group of three integer digits (counted from the point), never in front.
//
// Rounding to N places is half away from zero after adding 1e-12 to the scaled
// magnitude (so 1.005, stored as 1.00499999999999989..., still gives 1.01):
// u = |value| * 10^N + 1e-12 (N >= 0) or |value| / 10^-N + 1e-12 (N < 0),
// the integer part of u plus one if its fraction is 0.5 or more, scaled back;
// the sign is put back, and a negative value rounding to zero shows as "0".
// At the edges:
//  - a non-finite value gives its text (see NumberToText) whatever decimals;
//  - decimals above kMaxDecimals act as kMaxDecimals;
//  - decimals below kMinDecimals (-309 or less) round every finite value to 0;
//  - when |value| * 10^N overflows (N > 0), the value is returned unrounded:
//    such a value is above 10^124, an integer with no digit at that place;
//  - when rounding up for N < 0 passes the largest double (|value| within half
//    a unit 10^-N of it), the result is infinity with the value's sign, as
//    reading that rounded number would give;
//  - decimals > 0 with a general form in exponent notation (a rounded magnitude
//    of 10^13 or more, or a non-zero one below 0.0001) return the exponent
//    form unchanged, nothing filled in.
// Every result is at most kMaxFormattedLength bytes (4 more with grouping).
// FormatNumber(1.005, 2) -> "1.01", FormatNumber(1234.5, -2) -> "1200",
// FormatNumber(-0.001, 2) -> "0.00", FormatNumber(123456789012.345, 2) ->
// "123456789012.40", FormatNumber(1e20, 2) -> "1e+020",
// FormatNumber(1234567.5, std::nullopt, true) -> "1,234,567.5".
Text FormatNumber(double value, std::optional<std::int32_t> decimals,
                  bool grouping = false);

// Drops the fraction, toward zero. TruncateToInteger(-3.5) -> -3. Outside the
// integer range (which the system never reaches) it saturates to INT32_MIN or
// INT32_MAX; a NaN gives 0.
std::int32_t TruncateToInteger(double value);

}  // namespace sumora

#endif  // SUMORA_TEXT_NUMBER_H_
