// Reading and writing numbers: the two conversions behind every value the
// calculator shows, and the small ones around them. None fails: a text with no
// number reads as 0.
#ifndef SUMORA_TEXT_NUMBER_H_
#define SUMORA_TEXT_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace sumora {

// The nearest double to the decimal number at the start of the text (after
// full-width forms become ASCII and leading white space is skipped); mantissas
// are cut after 24 significant digits; 0 when no number starts there.
// TextToNumber(" 12abc") -> 12, TextToNumber("1d3") -> 1000.
double TextToNumber(std::string_view text);

// Decimal digits accumulated in wrapping 32-bit arithmetic; no fraction, no
// exponent. TextToInteger("4294967297") -> 1.
std::int32_t TextToInteger(std::string_view text);

// TextToNumber rounded to the nearest single.
float TextToFloat(std::string_view text);

// The general form: at most 13 significant digits, fixed or exponent notation.
// NumberToText(1e21) -> "1e+021", NumberToText(1.0 / 3) -> "0.3333333333333".
Text NumberToText(double value);
// Plain decimal digits. NumberToText(-5) -> "-5".
Text NumberToText(std::int32_t value);

// The value rounded to `decimals` places (if given) and written in the general
// form, then filled with zeros to that many decimals.
// FormatNumber(1.005, 2) -> "1.01", FormatNumber(1234.5, -2) -> "1200".
Text FormatNumber(double value, std::optional<std::int32_t> decimals,
                  bool grouping = false);

// Drops the fraction, toward zero. TruncateToInteger(-3.5) -> -3.
std::int32_t TruncateToInteger(double value);

}  // namespace sumora

#endif  // SUMORA_TEXT_NUMBER_H_
