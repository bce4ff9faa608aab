#include "calc/script/value.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "calc/script/numeric.h"

namespace sumora::script {
namespace {

constexpr std::array<std::string_view, 18> kMathFunctionNames = {
    "abs", "acos", "asin", "atan", "atan2",  "ceil",  "cos", "exp",  "floor",
    "log", "max",  "min",  "pow",  "random", "round", "sin", "sqrt", "tan"};

// White space of a numeric string: TAB, VT, FF, SP, the line terminators, and
// the ideographic space (two bytes A1 A1 in code page 936).
std::size_t SkipStringSpace(std::string_view s, std::size_t i) {
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D)) {
      ++i;
    } else if (c == 0xA1 && i + 1 < s.size() &&
               static_cast<unsigned char>(s[i + 1]) == 0xA1) {
      i += 2;
    } else {
      break;
    }
  }
  return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view MathFunctionName(MathFunction f) {
  return kMathFunctionNames[static_cast<std::size_t>(f)];
}

void AppendNumber(double d, std::string& out) {
  // Number::toString, base 10:
  // 1. NaN, zero and the infinities have fixed texts; a negative number is
  //    "-" followed by the text of its magnitude.
  if (std::isnan(d)) {
    out += "NaN";
    return;
  }
  if (d == 0) {
    out += '0';
    return;
  }
  if (d < 0) {
    out += '-';
    d = -d;
  }
  if (std::isinf(d)) {
    out += "Infinity";
    return;
  }
  // 2. Fast paths for the everyday results, integers and short fractions
  //    (36.75): the first k for which d x 10^k is an integer m that reads
  //    back as m / 10^k == d gives the shortest digits. Below 2^50 the
  //    product rounds to m exactly, and a shorter string would have been
  //    found at a smaller k. Only values written in fixed notation qualify.
  static constexpr double kPowersOfTen[16] = {1e0,  1e1,  1e2,  1e3, 1e4,  1e5,
                                              1e6,  1e7,  1e8,  1e9, 1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15};
  constexpr double kExactLimit = 1125899906842624.0;  // 2^50
  if (d >= 1e-6 && d < kExactLimit) {
    for (int k = 0; k < 16; ++k) {
      const double m = d * kPowersOfTen[k];
      if (m >= kExactLimit) break;
      const auto integer = static_cast<std::uint64_t>(m + 0.5);
      if (static_cast<double>(integer) / kPowersOfTen[k] != d) continue;
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits, integer);
      const std::string_view text(digits,
                                  static_cast<std::size_t>(end.ptr - digits));
      const auto places = static_cast<std::size_t>(k);
      if (text.size() > places) {
        out += text.substr(0, text.size() - places);
        if (places > 0) {
          out += '.';
          out += text.substr(text.size() - places);
        }
      } else {
        out += "0.";
        out.append(places - text.size(), '0');
        out += text;
      }
      return;
    }
  }
  // 3. Otherwise take the shortest digits s (k of them) and the exponent n
  //    such that s x 10^(n-k) reads back as d; std::to_chars gives them as
  //    d.ddde+XX.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, d,
                                    std::chars_format::scientific);
  char digits[20];
  int k = 0;
  const char* p = buffer;
  for (; p < result.ptr && *p != 'e'; ++p) {
    if (*p != '.') digits[k++] = *p;
  }
  int exponent = 0;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  const int n = exponent + 1;
  const std::string_view s(digits, static_cast<std::size_t>(k));
  // 4. Up to 21 integer digits are written out in full, with zeros after the
  //    digits if needed; a point goes inside them when there is a fraction.
  if (k <= n && n <= 21) {
    out += s;
    out.append(static_cast<std::size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out += s.substr(0, static_cast<std::size_t>(n));
    out += '.';
    out += s.substr(static_cast<std::size_t>(n));
  } else if (-6 < n && n <= 0) {
    // 5. Small magnitudes down to 1e-7 get "0." and leading zeros.
    out += "0.";
    out.append(static_cast<std::size_t>(-n), '0');
    out += s;
  } else {
    // 6. Everything else is e-notation with an explicit exponent sign.
    out += s[0];
    if (k > 1) {
      out += '.';
      out += s.substr(1);
    }
    out += 'e';
    out += n - 1 < 0 ? '-' : '+';
    char exp_text[8];
    const auto e = std::to_chars(exp_text, exp_text + sizeof exp_text,
                                 n - 1 < 0 ? 1 - n : n - 1);
    out.append(exp_text, e.ptr);
  }
}

std::string NumberToString(double d) {
  std::string out;
  AppendNumber(d, out);
  return out;
}

void AppendToString(const Value& v, std::string& out) {
  switch (v.kind) {
    case ValueKind::kUndefined:
      out += "undefined";
      return;
    case ValueKind::kNull:
      out += "null";
      return;
    case ValueKind::kBoolean:
      out += v.boolean ? "true" : "false";
      return;
    case ValueKind::kNumber:
      AppendNumber(v.number, out);
      return;
    case ValueKind::kString:
      out += v.text;
      return;
    case ValueKind::kGlobal:
      out += "[object Object]";
      return;
    case ValueKind::kMath:
      out += "[object Math]";
      return;
    case ValueKind::kFunction:
      out += "function ";
      out += MathFunctionName(v.function_id);
      out += "() { [native code] }";
      return;
    case ValueKind::kRegExp:
      // "/" source "/" and the flags in the order g, i, m.
      out += '/';
      out += v.text;
      out += '/';
      if (v.regexp_flags & kRegExpGlobal) out += 'g';
      if (v.regexp_flags & kRegExpIgnoreCase) out += 'i';
      if (v.regexp_flags & kRegExpMultiline) out += 'm';
      return;
  }
}

std::string ToString(const Value& v) {
  if (v.kind == ValueKind::kString) return std::string(v.text);
  std::string out;
  AppendToString(v, out);
  return out;
}

double StringToNumber(std::string_view s) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  // 1. Blanks around the literal are ignored; a blank string is 0.
  std::size_t begin = SkipStringSpace(s, 0);
  std::size_t end = s.size();
  while (end > begin) {
    const unsigned char c = static_cast<unsigned char>(s[end - 1]);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D)) {
      --end;
    } else if (end - begin >= 2 && c == 0xA1 &&
               static_cast<unsigned char>(s[end - 2]) == 0xA1) {
      end -= 2;
    } else {
      break;
    }
  }
  std::string_view t = s.substr(begin, end - begin);
  if (t.empty()) return 0;
  // 2. A hexadecimal integer (no sign).
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    double value = 0;
    return DigitsToDouble(t.substr(2), 16, value) ? value : kNaN;
  }
  // 3. A sign, then "Infinity" or a decimal literal: digits with at most one
  //    point and at least one digit, then an optional exponent.
  bool negative = false;
  if (t[0] == '+' || t[0] == '-') {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  if (t == "Infinity") {
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  std::size_t i = 0;
  std::size_t mantissa_digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++mantissa_digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return kNaN;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t exponent_start = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == exponent_start) return kNaN;
  }
  if (i != t.size()) return kNaN;
  const double value = DecimalToDouble(t);
  return negative ? -value : value;
}

double ToNumber(const Value& v) {
  switch (v.kind) {
    case ValueKind::kUndefined:
      return std::numeric_limits<double>::quiet_NaN();
    case ValueKind::kNull:
      return 0;
    case ValueKind::kBoolean:
      return v.boolean ? 1 : 0;
    case ValueKind::kNumber:
      return v.number;
    case ValueKind::kString:
      return StringToNumber(v.text);
    default:
      // No object text we produce is a numeric literal.
      return std::numeric_limits<double>::quiet_NaN();
  }
}

bool ToBoolean(const Value& v) {
  switch (v.kind) {
    case ValueKind::kUndefined:
    case ValueKind::kNull:
      return false;
    case ValueKind::kBoolean:
      return v.boolean;
    case ValueKind::kNumber:
      return !(v.number == 0 || std::isnan(v.number));
    case ValueKind::kString:
      return !v.text.empty();
    default:
      return true;
  }
}

std::uint32_t ToUint32(double d) {
  // Fast path: a number that already is a 32-bit integer.
  if (d >= -2147483648.0 && d <= 4294967295.0) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(d));
  }
  if (!std::isfinite(d)) return 0;
  // Drop the fraction and reduce modulo 2^32; fmod is exact.
  double m = std::fmod(std::trunc(d), 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<std::uint32_t>(m);
}

std::int32_t ToInt32(double d) {
  return static_cast<std::int32_t>(ToUint32(d));
}

std::string_view TypeOf(const Value& v) {
  switch (v.kind) {
    case ValueKind::kUndefined:
      return "undefined";
    case ValueKind::kBoolean:
      return "boolean";
    case ValueKind::kNumber:
      return "number";
    case ValueKind::kString:
      return "string";
    case ValueKind::kFunction:
      return "function";
    default:
      return "object";
  }
}

}  // namespace sumora::script
