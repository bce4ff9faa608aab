// Reading numeric literals into doubles, correctly rounded.
#ifndef SUMORA_CALC_SCRIPT_NUMERIC_H_
#define SUMORA_CALC_SCRIPT_NUMERIC_H_

#include <string_view>

namespace sumora::script {

// Reads `digits` in radix 8 or 16 and rounds the exact integer to the nearest
// double (ties to even), however many digits there are. False, leaving `out`
// alone, when `digits` is empty or holds a byte that is not a digit of the
// radix. ("777", 8) -> 511; ("20000000000001", 16) -> 2^53.
bool DigitsToDouble(std::string_view digits, int radix, double& out);

// Reads a decimal literal without sign: digits with an optional point and
// fraction (at least one digit in all), then an optional exponent
// (e or E, optional sign, digits). The caller has checked that form. The
// result is the nearest double; an overflowing value is Infinity, an
// underflowing one 0. "5." -> 5, ".5" -> 0.5, "1e400" -> Infinity.
double DecimalToDouble(std::string_view literal);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_NUMERIC_H_
