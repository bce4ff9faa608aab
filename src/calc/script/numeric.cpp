#include "calc/script/numeric.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace sumora::script {

bool DigitsToDouble(std::string_view digits, int radix, double& out) {
  if (digits.empty()) return false;
  const int bits_per_digit = radix == 16 ? 4 : 3;
  // 1. Gather the leading bits into a 64-bit integer; once it is nearly full,
  //    later digits only count as dropped bits and a sticky flag (any of them
  //    non-zero), which is all that rounding needs.
  std::uint64_t mantissa = 0;
  long long dropped_bits = 0;
  bool sticky = false;
  for (const char c : digits) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (radix == 16 && c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (radix == 16 && c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      return false;
    }
    if (d >= radix) return false;
    if (mantissa >> 56 == 0) {
      mantissa = mantissa << bits_per_digit | static_cast<std::uint64_t>(d);
    } else {
      dropped_bits += bits_per_digit;
      sticky = sticky || d != 0;
    }
  }
  // 2. Round the integer to 53 significant bits, ties to even.
  const int width = 64 - std::countl_zero(mantissa);
  if (width > 53) {
    const int shift = width - 53;
    const std::uint64_t rest = mantissa & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    mantissa >>= shift;
    dropped_bits += shift;
    if (rest > half || (rest == half && (sticky || (mantissa & 1) != 0))) {
      ++mantissa;  // may carry to 2^53, which is still exact
    }
  }
  // 3. Scale back; ldexp gives Infinity past the double range. The digit
  //    count bounds dropped_bits, so the cast cannot overflow for any input
  //    that fits in memory, but clamp it anyway.
  const int exponent =
      dropped_bits > 4096 ? 4096 : static_cast<int>(dropped_bits);
  out = std::ldexp(static_cast<double>(mantissa), exponent);
  return true;
}

double DecimalToDouble(std::string_view literal) {
  double value = 0;
  const auto result =
      std::from_chars(literal.data(), literal.data() + literal.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone out of range. Overflow or underflow
    // follows from the decimal exponent of the first significant digit: the
    // digits before the point (leading zeros aside), or minus the zeros after
    // it, plus the exponent (saturated: its digits may be many).
    long long position = 0;
    bool seen_digit = false;
    bool after_point = false;
    std::size_t i = 0;
    for (; i < literal.size() && literal[i] != 'e' && literal[i] != 'E'; ++i) {
      const char c = literal[i];
      if (c == '.') {
        after_point = true;
      } else if (!seen_digit && c == '0') {
        if (after_point) --position;
      } else {
        seen_digit = true;
        if (!after_point) ++position;
      }
    }
    long long exponent = 0;
    bool exponent_negative = false;
    if (i < literal.size()) {
      ++i;
      if (i < literal.size() && (literal[i] == '+' || literal[i] == '-')) {
        exponent_negative = literal[i] == '-';
        ++i;
      }
      for (; i < literal.size(); ++i) {
        if (exponent < 1'000'000'000)
          exponent = exponent * 10 + (literal[i] - '0');
      }
    }
    if (position > 1'000'000'000) position = 1'000'000'000;
    if (position < -1'000'000'000) position = -1'000'000'000;
    position += exponent_negative ? -exponent : exponent;
    return position > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

}  // namespace sumora::script
