#include "text/number.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace sumora {
namespace {

__extension__ typedef unsigned __int128 Uint128;

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

// kPow10[n] is the double nearest to 10 to the power n (the compiler reads
// each literal correctly rounded); 10^308 is the largest finite one.
constexpr double kPow10[] = {
    1e0,   1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,
    1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,
    1e22,  1e23,  1e24,  1e25,  1e26,  1e27,  1e28,  1e29,  1e30,  1e31,  1e32,
    1e33,  1e34,  1e35,  1e36,  1e37,  1e38,  1e39,  1e40,  1e41,  1e42,  1e43,
    1e44,  1e45,  1e46,  1e47,  1e48,  1e49,  1e50,  1e51,  1e52,  1e53,  1e54,
    1e55,  1e56,  1e57,  1e58,  1e59,  1e60,  1e61,  1e62,  1e63,  1e64,  1e65,
    1e66,  1e67,  1e68,  1e69,  1e70,  1e71,  1e72,  1e73,  1e74,  1e75,  1e76,
    1e77,  1e78,  1e79,  1e80,  1e81,  1e82,  1e83,  1e84,  1e85,  1e86,  1e87,
    1e88,  1e89,  1e90,  1e91,  1e92,  1e93,  1e94,  1e95,  1e96,  1e97,  1e98,
    1e99,  1e100, 1e101, 1e102, 1e103, 1e104, 1e105, 1e106, 1e107, 1e108, 1e109,
    1e110, 1e111, 1e112, 1e113, 1e114, 1e115, 1e116, 1e117, 1e118, 1e119, 1e120,
    1e121, 1e122, 1e123, 1e124, 1e125, 1e126, 1e127, 1e128, 1e129, 1e130, 1e131,
    1e132, 1e133, 1e134, 1e135, 1e136, 1e137, 1e138, 1e139, 1e140, 1e141, 1e142,
    1e143, 1e144, 1e145, 1e146, 1e147, 1e148, 1e149, 1e150, 1e151, 1e152, 1e153,
    1e154, 1e155, 1e156, 1e157, 1e158, 1e159, 1e160, 1e161, 1e162, 1e163, 1e164,
    1e165, 1e166, 1e167, 1e168, 1e169, 1e170, 1e171, 1e172, 1e173, 1e174, 1e175,
    1e176, 1e177, 1e178, 1e179, 1e180, 1e181, 1e182, 1e183, 1e184, 1e185, 1e186,
    1e187, 1e188, 1e189, 1e190, 1e191, 1e192, 1e193, 1e194, 1e195, 1e196, 1e197,
    1e198, 1e199, 1e200, 1e201, 1e202, 1e203, 1e204, 1e205, 1e206, 1e207, 1e208,
    1e209, 1e210, 1e211, 1e212, 1e213, 1e214, 1e215, 1e216, 1e217, 1e218, 1e219,
    1e220, 1e221, 1e222, 1e223, 1e224, 1e225, 1e226, 1e227, 1e228, 1e229, 1e230,
    1e231, 1e232, 1e233, 1e234, 1e235, 1e236, 1e237, 1e238, 1e239, 1e240, 1e241,
    1e242, 1e243, 1e244, 1e245, 1e246, 1e247, 1e248, 1e249, 1e250, 1e251, 1e252,
    1e253, 1e254, 1e255, 1e256, 1e257, 1e258, 1e259, 1e260, 1e261, 1e262, 1e263,
    1e264, 1e265, 1e266, 1e267, 1e268, 1e269, 1e270, 1e271, 1e272, 1e273, 1e274,
    1e275, 1e276, 1e277, 1e278, 1e279, 1e280, 1e281, 1e282, 1e283, 1e284, 1e285,
    1e286, 1e287, 1e288, 1e289, 1e290, 1e291, 1e292, 1e293, 1e294, 1e295, 1e296,
    1e297, 1e298, 1e299, 1e300, 1e301, 1e302, 1e303, 1e304, 1e305, 1e306, 1e307,
    1e308,
};
static_assert(sizeof(kPow10) / sizeof(kPow10[0]) == 1 - kMinDecimals);

// kPow10Int[n] is 10 to the power n, exactly (n <= 19 fits 64 bits).
struct Pow10IntTable {
  std::uint64_t value[20];
  constexpr Pow10IntTable() : value() {
    value[0] = 1;
    for (int n = 1; n < 20; ++n) value[n] = value[n - 1] * 10;
  }
  constexpr std::uint64_t operator[](int n) const { return value[n]; }
};
constexpr Pow10IntTable kPow10Int;

// kPow5[k] is 5 to the power k, exactly, for the exact digit path below.
constexpr int kMaxPow5 = 32;  // 2^53 * 5^32 < 2^128
struct Pow5Table {
  Uint128 value[kMaxPow5 + 1];
  constexpr Pow5Table() : value() {
    value[0] = 1;
    for (int k = 1; k <= kMaxPow5; ++k) value[k] = value[k - 1] * 5;
  }
};
constexpr Pow5Table kPow5;

// kNegativePow10[n] is the double nearest to 10 to the power -n, for the
// first guess of a decimal exponent (not exact, and not needed to be).
constexpr int kNegativePow10Count = 18;
constexpr double kNegativePow10[kNegativePow10Count] = {
    1e0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,
    1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17};

// The double nearest to one trillionth, added to every scaled magnitude
// before rounding to places.
constexpr double kOneTrillionth = 1e-12;

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

constexpr bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True if a byte of the text is 0x80 or more; eight bytes a step.
bool HasLeadByte(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  const char* p = text.data();
  const char* const end = p + text.size();
  std::uint64_t any = 0;
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    any |= word;
  }
  for (; p < end; ++p) any |= static_cast<unsigned char>(*p);
  return (any & kHighBits) != 0;
}

// Applies `read` to the half-width form of the text. ToHalfWidth changes
// only double-byte characters, so a text without a byte of 0x80 or more is
// read in place, without a copy.
template <typename Read>
auto ReadHalfWidth(std::string_view text, Read read) {
  if (!HasLeadByte(text)) return read(text);
  const Text half_width = ToHalfWidth(text);
  return read(std::string_view(half_width));
}

// An exponent's digits stop adding once its magnitude passes this: any
// exponent beyond it already puts every mantissa of a real text (far shorter
// than 10^15 bytes) beyond the double range, and the sum with the digit counts
// stays far inside 64 bits.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

// Decimal exponents of the first significant digit beyond which the value is
// certainly infinite (10^309 > largest double) or certainly 0 (10^-324 is
// below half the smallest subnormal, 4.94e-324).
constexpr std::int64_t kMaxLeadExponent = 308;
constexpr std::int64_t kMinLeadExponent = -324;

// Integers up to 2^53 and powers of ten up to 10^22 are exact doubles, so one
// multiplication or division of them is correctly rounded.
constexpr std::uint64_t kMaxExactInteger = 1ULL << 53;
constexpr int kMaxExactPow10 = 22;
constexpr int kMaxUint64Digits = 19;

// The value of `value` followed by the digits [p, end), at most 19 digits in
// all. Runs of eight go in one step (the bytes as one little-endian word,
// combined pairwise), the rest one by one.
std::uint64_t AppendDigits(std::uint64_t value, const char* p,
                           const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; end - p >= 8; p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      word -= 0x3030303030303030;      // eight digit values
      word = word * 10 + (word >> 8);  // pairs, in bytes
      word = (((word & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
              (((word >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
             32;
      value = value * 100000000 + word;
    }
  }
  for (; p < end; ++p)
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  return value;
}

// The value of the digits [a, a_end) followed by [b, b_end).
std::uint64_t DigitsValue(const char* a, const char* a_end, const char* b,
                          const char* b_end) {
  return AppendDigits(AppendDigits(0, a, a_end), b, b_end);
}

// Moves p past leading white space and an optional sign; true for "-".
bool SkipBlanksAndSign(const char*& p, const char* end) {
  while (p < end && IsBlank(*p)) ++p;
  if (p < end && (*p == '+' || *p == '-')) return *p++ == '-';
  return false;
}

double ReadNumber(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();

  // 1. Leading white space. 2. An optional sign, followed directly by the
  //    mantissa.
  const bool negative = SkipBlanksAndSign(p, end);

  // 3. The mantissa: integer digits [p, integer_end), then after a point the
  // fraction digits [fraction_begin, fraction_end).
  const char* const integer_begin = p;
  while (p < end && IsDigit(*p)) ++p;
  const char* const integer_end = p;
  const char* fraction_begin = p;
  const char* fraction_end = p;
  if (p < end && *p == '.') {
    fraction_begin = ++p;
    while (p < end && IsDigit(*p)) ++p;
    fraction_end = p;
  }
  // 7. No mantissa digit (a lone point, a sign alone, a word): 0.
  if (integer_begin == integer_end && fraction_begin == fraction_end) return 0;

  // 4. The exponent: a letter, an optional sign and at least one digit, or
  // nothing (the number then ends before the letter). 5. Whatever follows is
  // ignored.
  std::int64_t exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
    const char* q = p + 1;
    bool exponent_negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
      exponent_negative = *q == '-';
      ++q;
    }
    for (; q < end && IsDigit(*q) && exponent < kExponentCap; ++q) {
      exponent = exponent * 10 + (*q - '0');
    }
    if (exponent_negative) exponent = -exponent;
  }

  // 6. The significant digits run from the first non-zero digit to the end
  // of the mantissa; the value is their integer times 10^(exponent minus the
  // number of fraction digits). Leading zeros are skipped in place, so a long
  // run of them costs one pass and no memory.
  const char* first = integer_begin;
  while (first < integer_end && *first == '0') ++first;
  const char* fraction_first = fraction_begin;
  if (first == integer_end) {
    while (fraction_first < fraction_end && *fraction_first == '0') {
      ++fraction_first;
    }
  }
  const std::int64_t significant =
      (integer_end - first) + (fraction_end - fraction_first);
  if (significant == 0) return 0;  // zeros, of either sign, read as +0
  // Only the first kMaxMantissaDigits digits are kept; each cut digit shifts
  // the decimal exponent by one.
  const int kept =
      static_cast<int>(std::min<std::int64_t>(significant, kMaxMantissaDigits));
  const std::int64_t scale =
      exponent - (fraction_end - fraction_begin) + (significant - kept);
  const std::int64_t lead = scale + kept - 1;  // exponent of the first digit

  double magnitude;
  std::uint64_t head = 0;
  if (lead > kMaxLeadExponent) {
    magnitude = std::numeric_limits<double>::infinity();
  } else if (lead < kMinLeadExponent) {
    return 0;
  } else if (kept <= kMaxUint64Digits && scale >= -kMaxExactPow10 &&
             scale <= kMaxExactPow10 &&
             (head = DigitsValue(first, integer_end, fraction_first,
                                 fraction_end)) <= kMaxExactInteger) {
    // Fast path: both operands exact, one correctly rounded operation.
    const double integer = static_cast<double>(head);
    magnitude = scale >= 0 ? integer * kPow10[scale] : integer / kPow10[-scale];
  } else {
    // The normalised form "ddd...e-123": at most 24 digits and a 3-digit
    // exponent, read by the locale-independent, correctly rounding
    // std::from_chars. Out of range means overflow for a large exponent and
    // underflow for a small one.
    char buffer[kMaxMantissaDigits + 8];
    char* out = buffer;
    for (const char* d = first; d < integer_end && out < buffer + kept; ++d) {
      *out++ = *d;
    }
    for (const char* d = fraction_first; out < buffer + kept; ++d) *out++ = *d;
    *out++ = 'e';
    out = std::to_chars(out, buffer + sizeof buffer, scale).ptr;
    const auto result =
        std::from_chars(buffer, out, magnitude, std::chars_format::scientific);
    if (result.ec == std::errc::result_out_of_range) {
      if (lead < 0) return 0;
      magnitude = std::numeric_limits<double>::infinity();
    }
  }
  return negative ? -magnitude : magnitude;
}

std::int32_t ReadInteger(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = SkipBlanksAndSign(p, end);
  // Unsigned arithmetic wraps by definition; the conversion back to a signed
  // integer is modulo 2^32 (C++20).
  std::uint32_t value = 0;
  for (; p < end && IsDigit(*p); ++p) {
    value = value * 10U + static_cast<std::uint32_t>(*p - '0');
  }
  return static_cast<std::int32_t>(negative ? 0U - value : value);
}

// ---------------------------------------------------------------------------
// The general form
// ---------------------------------------------------------------------------

// A positive value rounded to kExactDigits significant digits: `digits` has
// exactly 17 digits (10^16 <= digits < 10^17) and the value is about
// digits * 10^(exponent - 16), so `exponent` is that of the first digit.
struct ExactDigits {
  std::uint64_t digits;
  int exponent;
};

constexpr std::uint64_t kMinExact = kPow10Int[kExactDigits - 1];
constexpr std::uint64_t kMaxExact = kPow10Int[kExactDigits];  // exclusive

// The exact path, for normal magnitudes from about 10^-16 to 10^36 (false
// elsewhere). The double is M * 2^q exactly. Below 10^17 the 17 digits are
// floor(M * 2^q * 10^k) with k = 16 - exponent, computed exactly as M * 5^k
// shifted by q + k in 128 bits, the bits shifted out deciding the rounding;
// from 10^17 on they are the integer M * 2^q divided by 10^-k, the remainder
// deciding. Either way half up: the rule (an 18th digit of 5 or more
// rounds up) also when the expansion ends in that 5 exactly, which
// std::to_chars would round to even. Such ties need a double odd * 2^q with
// -25 <= q <= -1 whose expansion has 18 digits, so they all lie between
// 10^-8 and 10^17, inside this path.
bool ExactDigitsByShift(double magnitude, ExactDigits* out) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return false;  // subnormal: far below 10^-16
  const std::uint64_t significand = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
  const int q = biased - 1075;
  // floor(log10(2) * binary exponent) is the decimal exponent or one less
  // (78913 / 2^18 approximates log10(2)); a comparison with the next power of
  // ten mostly settles which. The loop corrects any miss either way.
  int exponent = ((biased - 1023) * 78913) >> 18;
  if (exponent + 1 >= 0) {
    if (magnitude >= kPow10[exponent + 1]) ++exponent;
  } else if (-(exponent + 1) < kNegativePow10Count &&
             magnitude >= kNegativePow10[-(exponent + 1)]) {
    ++exponent;
  }
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = kExactDigits - 1 - exponent;
    Uint128 whole;
    bool round_up = false;
    if (k < 0) {
      // At 10^17 and above the double is the integer M * 2^q (q >= 4):
      // divided by 10^-k exactly in 128 bits, while M * 2^q < 2^127 and
      // 10^-k fits 64 bits (below 10^36).
      if (q < 0 || q > 74 || -k > kMaxUint64Digits) return false;
      const std::uint64_t divisor = kPow10Int[-k];
      const Uint128 integer = static_cast<Uint128>(significand) << q;
      whole = integer / divisor;
      round_up = integer - whole * divisor >= divisor / 2;
    } else {
      if (k > kMaxPow5) return false;
      const Uint128 product =
          static_cast<Uint128>(significand) * kPow5.value[k];
      const int shift = -(q + k);
      if (shift <= 0) {
        if (shift < -8) return false;  // cannot happen below 10^17
        whole = product << -shift;
      } else {
        whole = product >> shift;
        const Uint128 rest = product - (whole << shift);
        round_up = rest >= (static_cast<Uint128>(1) << (shift - 1));
      }
    }
    if (whole >= kMaxExact) {
      ++exponent;
    } else if (whole < kMinExact) {
      --exponent;
    } else {
      std::uint64_t digits = static_cast<std::uint64_t>(whole) + round_up;
      if (digits == kMaxExact) {  // 99...9 carried into a new digit
        digits = kMinExact;
        ++exponent;
      }
      *out = {digits, exponent};
      return true;
    }
  }
  return false;
}

// Any other positive finite value: std::to_chars with precision 16 writes the
// correctly rounded 17-digit scientific form "d.dddddddddddddddde-123".
ExactDigits ExactDigitsByToChars(double magnitude) {
  char buffer[32];
  const char* const buffer_end =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                    std::chars_format::scientific, kExactDigits - 1)
          .ptr;
  std::uint64_t digits = static_cast<std::uint64_t>(buffer[0] - '0');
  for (int i = 2; i <= kExactDigits; ++i)
    digits = digits * 10 + (buffer[i] - '0');
  const char* p = buffer + kExactDigits + 1;  // the 'e'
  const bool negative = p[1] == '-';
  int exponent = 0;
  for (p += 2; p < buffer_end; ++p) exponent = exponent * 10 + (*p - '0');
  return {digits, negative ? -exponent : exponent};
}

// Exponent notation for X below this or at or above kGeneralFormDigits.
constexpr int kMinFixedExponent = -4;
constexpr int kMinExponentDigits = 3;

// "00" "01" ... "99": two digits a step.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324"
    "25262728293031323334353637383940414243444546474849"
    "50515253545556575859606162636465666768697071727374"
    "75767778798081828384858687888990919293949596979899";

void WriteFourDigits(std::uint32_t value, char* out) {
  std::memcpy(out, kDigitPairs + 2 * (value / 100), 2);
  std::memcpy(out + 2, kDigitPairs + 2 * (value % 100), 2);
}

// Writes the 13 digits of 10^12 <= value < 10^13 (four groups of four after
// the first, each independent of the others) and returns how many remain
// once the zeros at the end are dropped.
int WriteThirteenDigits(std::uint64_t value, char* out) {
  const auto high = static_cast<std::uint32_t>(value / 100000000);  // 5 digits
  const auto low = static_cast<std::uint32_t>(value % 100000000);   // 8 digits
  const std::uint32_t groups[3] = {high % 10000, low / 10000, low % 10000};
  out[0] = static_cast<char>('0' + high / 10000);
  WriteFourDigits(groups[0], out + 1);
  WriteFourDigits(groups[1], out + 5);
  WriteFourDigits(groups[2], out + 9);
  int length = groups[2] != 0   ? 13
               : groups[1] != 0 ? 9
               : groups[0] != 0 ? 5
                                : 1;
  while (length > 1 && out[length - 1] == '0') --length;
  return length;
}

struct GeneralForm {
  int length;           // bytes written
  int fraction_digits;  // digits after the point (fixed notation)
  bool exponent_form;   // exponent notation
};

// Writes the general form of a finite value at `out` (room for 24 bytes).
GeneralForm WriteGeneralForm(double value, char* out) {
  // 1. Zero, positive or negative, is 0.
  if (value == 0) {
    out[0] = '0';
    return {1, 0, false};
  }
  // 2. The 17-digit rounding of the exact expansion, then the 13-digit cut of
  // that digit string: a 14th digit of 5 or more rounds up.
  const double magnitude = std::fabs(value);
  ExactDigits exact;
  if (!ExactDigitsByShift(magnitude, &exact)) {
    exact = ExactDigitsByToChars(magnitude);
  }
  constexpr std::uint64_t kCut = kPow10Int[kExactDigits - kGeneralFormDigits];
  std::uint64_t kept = exact.digits / kCut;
  if (exact.digits - kept * kCut >= kCut / 2) ++kept;
  // 3. X after the carry: thirteen nines become 1 and twelve zeros.
  int x = exact.exponent;
  if (kept == kPow10Int[kGeneralFormDigits]) {
    kept = kPow10Int[kGeneralFormDigits - 1];
    ++x;
  }
  // 6. Zeros at the end of the digits are never shown (after the point they
  // are removed; before it they are written as place holders below).
  char digits[kGeneralFormDigits];
  const int significant = WriteThirteenDigits(kept, digits);

  // 7. The sign.
  char* p = out;
  if (value < 0) *p++ = '-';
  if (x < kMinFixedExponent || x >= kGeneralFormDigits) {
    // 4. Exponent notation: d.ddd e, sign, the exponent in three digits (it
    // never needs more: doubles lie between 10^-324 and 10^309).
    *p++ = digits[0];
    if (significant > 1) {
      *p++ = '.';
      std::memcpy(p, digits + 1, significant - 1);
      p += significant - 1;
    }
    *p++ = 'e';
    *p++ = x < 0 ? '-' : '+';
    const int magnitude_x = x < 0 ? -x : x;
    static_assert(kMinExponentDigits == 3);
    *p++ = static_cast<char>('0' + magnitude_x / 100);
    std::memcpy(p, kDigitPairs + 2 * (magnitude_x % 100), 2);
    p += 2;
    return {static_cast<int>(p - out), 0, true};
  }
  int fraction_digits;
  if (x >= 0) {
    // 5. Fixed notation, the point after the first X + 1 digits.
    const int integer_digits = x + 1;
    std::memcpy(p, digits, integer_digits);
    p += integer_digits;
    fraction_digits =
        significant > integer_digits ? significant - integer_digits : 0;
    if (fraction_digits > 0) {
      *p++ = '.';
      std::memcpy(p, digits + integer_digits, fraction_digits);
      p += fraction_digits;
    }
  } else {
    // 5. Fixed notation below 1: 0, the point and -X - 1 zeros first.
    *p++ = '0';
    *p++ = '.';
    std::memset(p, '0', -x - 1);
    p += -x - 1;
    std::memcpy(p, digits, significant);
    p += significant;
    fraction_digits = -x - 1 + significant;
  }
  return {static_cast<int>(p - out), fraction_digits, false};
}

Text NonFiniteText(double value) {
  if (std::isnan(value)) return Text(kNaNText);
  return Text(value < 0 ? kNegativeInfinityText : kInfinityText);
}

// ---------------------------------------------------------------------------
// Rounding to places
// ---------------------------------------------------------------------------

// The integer part of u, plus one if its fraction is 0.5 or more. u - i is
// exact for every double u >= 0 (and 0 from 2^52 on).
double RoundHalfUp(double u) {
  double i = std::trunc(u);
  if (u - i >= 0.5) i += 1;
  return i;
}

// Rounding to `places` (already capped at kMaxDecimals). Every
// step is a separate statement, each result a double, so that no compiler
// fuses a multiplication and an addition.
double RoundToPlaces(double value, std::int32_t places) {
  // 1. Zero (either sign) is returned unchanged.
  if (value == 0) return value;
  // 2. The magnitude and the sign.
  const bool negative = value < 0;
  const double m = std::fabs(value);
  double rounded;
  if (places > 0) {
    // 3. u = m * f + 1e-12, rounded half up, divided by f. An overflowing
    // m * f (m above 10^124) leaves the value as it is: it has no digits at
    // that place anyway.
    const double f = kPow10[places];
    const double t = m * f;
    if (!std::isfinite(t)) return value;
    const double u = t + kOneTrillionth;
    rounded = RoundHalfUp(u) / f;
  } else if (places == 0) {
    // 4. u = m + 1e-12, rounded half up.
    const double u = m + kOneTrillionth;
    rounded = RoundHalfUp(u);
  } else if (places < kMinDecimals) {
    // 10^-places is beyond the double range: every finite value rounds to 0.
    rounded = 0;
  } else {
    // 5. u = m / f + 1e-12, rounded half up, times f (may overflow to
    // infinity when m lies within half a unit of the largest double).
    const double f = kPow10[-places];
    const double t = m / f;
    const double u = t + kOneTrillionth;
    rounded = RoundHalfUp(u) * f;
  }
  // 6. The sign back; a negative value rounding to 0 becomes -0 (shown as 0).
  return negative ? -rounded : rounded;
}

// Room for the longest result: kMaxFormattedLength bytes, and a comma before
// every group of three of at most 13 integer digits.
constexpr int kMaxGroupingCommas = (kGeneralFormDigits - 1) / 3;
constexpr int kFormatBufferSize = kMaxFormattedLength + kMaxGroupingCommas;

// Step 4 of FormatNumber: commas in the integer part of a text made of an
// optional - and digits and points; any other text unchanged.
int InsertGrouping(char* text, int length) {
  const int start = length > 0 && text[0] == '-' ? 1 : 0;
  int integer_end = length;
  for (int i = start; i < length; ++i) {
    if (text[i] == '.') {
      if (integer_end == length) integer_end = i;
    } else if (!IsDigit(text[i])) {
      return length;
    }
  }
  const int integer_digits = integer_end - start;
  const int commas = integer_digits > 0 ? (integer_digits - 1) / 3 : 0;
  if (commas == 0) return length;
  // Move from the back: the tail, then the integer digits with commas.
  std::memmove(text + integer_end + commas, text + integer_end,
               length - integer_end);
  int to = integer_end + commas;
  for (int from = integer_end - 1, n = 0; from >= start; --from, ++n) {
    if (n > 0 && n % 3 == 0) text[--to] = ',';
    text[--to] = text[from];
  }
  return length + commas;
}

}  // namespace

// ---------------------------------------------------------------------------
// The interface
// ---------------------------------------------------------------------------

double TextToNumber(std::string_view text) {
  return ReadHalfWidth(text, [](std::string_view t) { return ReadNumber(t); });
}

std::int32_t TextToInteger(std::string_view text) {
  return ReadHalfWidth(text, [](std::string_view t) { return ReadInteger(t); });
}

float TextToFloat(std::string_view text) {
  const double value = TextToNumber(text);
  // The double halfway between the largest single and 2^128: from it on the
  // nearest single (ties to even) is infinity; between the largest single and
  // it, the largest single. Handled here because the conversion of a value
  // beyond the single range is not defined by the language.
  constexpr double kSingleOverflow = 0x1.ffffffp127;
  constexpr float kMaxSingle = std::numeric_limits<float>::max();
  const double magnitude = std::fabs(value);
  if (magnitude >= kSingleOverflow) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    return value < 0 ? -kInfinity : kInfinity;
  }
  if (magnitude > kMaxSingle) return value < 0 ? -kMaxSingle : kMaxSingle;
  return static_cast<float>(value);
}

Text NumberToText(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  char buffer[kFormatBufferSize];
  return Text(buffer, WriteGeneralForm(value, buffer).length);
}

Text NumberToText(std::int32_t value) {
  char buffer[16];
  char* const end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return Text(buffer, end);
}

Text FormatNumber(double value, std::optional<std::int32_t> decimals,
                  bool grouping) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  // 1. Rounding to the (capped) number of places.
  const std::int32_t places = decimals ? std::min(*decimals, kMaxDecimals) : 0;
  if (decimals) {
    value = RoundToPlaces(value, places);
    if (!std::isfinite(value)) return NonFiniteText(value);
  }
  // 2. The general form.
  char buffer[kFormatBufferSize];
  const GeneralForm form = WriteGeneralForm(value, buffer);
  int length = form.length;
  // 3. Zeros up to exactly `places` decimals, in fixed notation only; an
  // exponent form is returned as it is.
  if (decimals && places > form.fraction_digits && !form.exponent_form) {
    if (form.fraction_digits == 0) buffer[length++] = '.';
    const int zeros = places - form.fraction_digits;
    std::memset(buffer + length, '0', zeros);
    length += zeros;
  }
  // 4. Grouping (never used by the system).
  if (grouping) length = InsertGrouping(buffer, length);
  return Text(buffer, length);
}

std::int32_t TruncateToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);  // toward zero
}

}  // namespace sumora
