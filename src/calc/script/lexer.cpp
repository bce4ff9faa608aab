#include "calc/script/lexer.h"

#include <array>

#include "calc/script/name_index.h"
#include "calc/script/numeric.h"
#include "calc/script/regexp.h"

namespace sumora::script {
namespace {

// Classes of bytes, looked up in one table on the lexer's hot path.
enum : std::uint8_t {
  kClassBlank = 1,       // TAB VT FF SP
  kClassNewline = 2,     // LF CR
  kClassDigit = 4,       // 0-9
  kClassNameStart = 8,   // a-z A-Z $ _ and every byte from 0x80
  kClassPunctuator = 16  // the first byte of a punctuator
};
constexpr std::array<std::uint8_t, 256> kByteClass = [] {
  std::array<std::uint8_t, 256> table{};
  for (const char c : std::string_view("\t\v\f ")) {
    table[static_cast<unsigned char>(c)] = kClassBlank;
  }
  table['\n'] = table['\r'] = kClassNewline;
  for (int c = '0'; c <= '9'; ++c) table[c] = kClassDigit;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = kClassNameStart;
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = kClassNameStart;
  table['$'] = table['_'] = kClassNameStart;
  for (int c = 0x80; c <= 0xFF; ++c) table[c] = kClassNameStart;
  for (const char c : std::string_view("()[].,?:~!+-*/%^&|<>={};")) {
    table[static_cast<unsigned char>(c)] = kClassPunctuator;
  }
  return table;
}();
// The ASCII bytes that may go on a name: letters, digits, "$" and "_".
constexpr std::array<bool, 256> kAsciiNamePart = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 0x80; ++c) {
    table[c] = kByteClass[c] == kClassNameStart || kByteClass[c] == kClassDigit;
  }
  return table;
}();
std::uint8_t ByteClass(char c) {
  return kByteClass[static_cast<unsigned char>(c)];
}

bool IsDigit(char c) { return ByteClass(c) == kClassDigit; }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }
bool IsAsciiIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' ||
         c == '_';
}
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }
bool IsLineTerminator(char c) { return c == '\n' || c == '\r'; }

// The ideographic space, two bytes in code page 936, is white space.
bool IsIdeographicSpace(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0xA1 &&
         static_cast<unsigned char>(s[i + 1]) == 0xA1;
}

// The bytes of the character at s[i]: a lead byte takes the next byte along.
std::size_t CharWidth(std::string_view s, std::size_t i) {
  return IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

// Whether an identifier may start at s[i]: a letter, "$", "_", a double-byte
// character other than the ideographic space, or a \u escape.
bool IsIdentifierStartAt(std::string_view s, std::size_t i) {
  if (i >= s.size()) return false;
  const char c = s[i];
  if (IsAsciiIdentifierStart(c) || c == '\\') return true;
  return IsLeadByte(c) && !IsIdeographicSpace(s, i);
}

// Reserved words of the language. The first group are the keywords the
// evaluator gives a meaning; every other one is kReserved.
using ReservedWords = NameIndex<TokenKind, 59>;
constexpr std::array<ReservedWords::Entry, 59> kReservedWordList = {{
    {"true", TokenKind::kTrue},
    {"false", TokenKind::kFalse},
    {"null", TokenKind::kNull},
    {"this", TokenKind::kThis},
    {"typeof", TokenKind::kTypeof},
    {"void", TokenKind::kVoid},
    {"delete", TokenKind::kDelete},
    {"new", TokenKind::kNew},
    {"in", TokenKind::kIn},
    {"instanceof", TokenKind::kInstanceof},
    {"break", TokenKind::kReserved},
    {"case", TokenKind::kReserved},
    {"catch", TokenKind::kReserved},
    {"continue", TokenKind::kReserved},
    {"default", TokenKind::kReserved},
    {"do", TokenKind::kReserved},
    {"else", TokenKind::kReserved},
    {"finally", TokenKind::kReserved},
    {"for", TokenKind::kReserved},
    {"function", TokenKind::kReserved},
    {"if", TokenKind::kReserved},
    {"return", TokenKind::kReserved},
    {"switch", TokenKind::kReserved},
    {"throw", TokenKind::kReserved},
    {"try", TokenKind::kReserved},
    {"var", TokenKind::kReserved},
    {"while", TokenKind::kReserved},
    {"with", TokenKind::kReserved},
    {"abstract", TokenKind::kReserved},
    {"boolean", TokenKind::kReserved},
    {"byte", TokenKind::kReserved},
    {"char", TokenKind::kReserved},
    {"class", TokenKind::kReserved},
    {"const", TokenKind::kReserved},
    {"debugger", TokenKind::kReserved},
    {"double", TokenKind::kReserved},
    {"enum", TokenKind::kReserved},
    {"export", TokenKind::kReserved},
    {"extends", TokenKind::kReserved},
    {"final", TokenKind::kReserved},
    {"float", TokenKind::kReserved},
    {"goto", TokenKind::kReserved},
    {"implements", TokenKind::kReserved},
    {"import", TokenKind::kReserved},
    {"int", TokenKind::kReserved},
    {"interface", TokenKind::kReserved},
    {"long", TokenKind::kReserved},
    {"native", TokenKind::kReserved},
    {"package", TokenKind::kReserved},
    {"private", TokenKind::kReserved},
    {"protected", TokenKind::kReserved},
    {"public", TokenKind::kReserved},
    {"short", TokenKind::kReserved},
    {"static", TokenKind::kReserved},
    {"super", TokenKind::kReserved},
    {"synchronized", TokenKind::kReserved},
    {"throws", TokenKind::kReserved},
    {"transient", TokenKind::kReserved},
    {"volatile", TokenKind::kReserved},
}};

constexpr ReservedWords kReservedWords(kReservedWordList);

TokenKind WordKind(std::string_view word) {
  const TokenKind* kind = kReservedWords.Find(word);
  return kind != nullptr ? *kind : TokenKind::kIdentifier;
}

// Reads a \uXXXX escape at s[i] == '\\'; -1 if malformed.
long ReadUnicodeEscape(std::string_view s, std::size_t i) {
  if (i + 6 > s.size() || s[i + 1] != 'u') return -1;
  long value = 0;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    if (!IsHexDigit(s[k])) return -1;
    value = value * 16 + HexValue(s[k]);
  }
  return value;
}

Token Make(TokenKind kind, std::string_view source, std::size_t start,
           std::size_t end) {
  Token t;
  t.kind = kind;
  t.text = source.substr(start, end - start);
  return t;
}

}  // namespace

bool Lexer::SkipSpaceAndComments(bool& newline) {
  const std::string_view s = source_;
  while (pos_ < s.size()) {
    const char c = s[pos_];
    if (c == ' ' || c == '\t' || c == '\v' || c == '\f') {
      ++pos_;
    } else if (IsLineTerminator(c)) {
      newline = true;
      ++pos_;
    } else if (IsIdeographicSpace(s, pos_)) {
      pos_ += 2;
    } else if (c == '/' && pos_ + 1 < s.size() && s[pos_ + 1] == '/') {
      // A line comment runs to the next line terminator.
      pos_ += 2;
      while (pos_ < s.size() && !IsLineTerminator(s[pos_])) {
        pos_ += CharWidth(s, pos_);
      }
    } else if (c == '/' && pos_ + 1 < s.size() && s[pos_ + 1] == '*') {
      // A block comment must be closed; one that spans a line terminator
      // counts as one.
      pos_ += 2;
      for (;;) {
        if (pos_ >= s.size()) return false;
        if (s[pos_] == '*' && pos_ + 1 < s.size() && s[pos_ + 1] == '/') {
          pos_ += 2;
          break;
        }
        if (IsLineTerminator(s[pos_])) newline = true;
        pos_ += CharWidth(s, pos_);
      }
    } else {
      break;
    }
  }
  return true;
}

// The tokens of everyday arithmetic, read straight into `out`: a decimal
// number of at most 15 digits without exponent, and the punctuators that
// cannot begin a longer one (nor, for ".", a number). Each function takes the
// token's first byte at `p` (before `end`) and returns where the token ends, or
// nullptr, having written nothing, for anything else (a line terminator, a
// comment and the ideographic space among it).
//
// Only `kind`, `text` and, for a number, `number` are written: the other
// fields of a token matter only for kinds this path never gives.
namespace {
const char* ScanPlainNumber(const char* p, const char* end, Token& out) {
  const char* const start = p;
  // No octal or hexadecimal literal takes this path.
  if (*p == '0' && p + 1 < end &&
      (IsDigit(p[1]) || p[1] == 'x' || p[1] == 'X')) {
    return nullptr;
  }
  std::uint64_t mantissa = 0;
  // The value of the digit at q; 10 for any other byte and at the end.
  const auto digit_at = [end](const char* q) -> unsigned {
    return q < end ? static_cast<unsigned char>(*q) - unsigned{'0'} : 10;
  };
  for (unsigned d = digit_at(p); d <= 9; d = digit_at(++p)) {
    mantissa = mantissa * 10 + d;
  }
  std::size_t digits = static_cast<std::size_t>(p - start);
  std::size_t fraction_digits = 0;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    for (unsigned d = digit_at(p); d <= 9; d = digit_at(++p)) {
      mantissa = mantissa * 10 + d;
    }
    fraction_digits = static_cast<std::size_t>(p - fraction);
    digits += fraction_digits;
  }
  // Below 10^15 both the integer and the power of ten are exact, so the
  // quotient is the correctly rounded value.
  if (digits > 15) return nullptr;
  if (p < end) {
    const char after = *p;
    if (after == '.' || after == 'e' || after == 'E' || after == '\\' ||
        ByteClass(after) == kClassNameStart) {
      return nullptr;
    }
  }
  static constexpr double kPowersOfTen[16] = {1e0,  1e1,  1e2,  1e3, 1e4,  1e5,
                                              1e6,  1e7,  1e8,  1e9, 1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15};
  out.kind = TokenKind::kNumber;
  out.text = std::string_view(start, static_cast<std::size_t>(p - start));
  // Fewer than 16 digits fit a signed integer, which converts in one step.
  out.number = static_cast<double>(static_cast<std::int64_t>(mantissa)) /
               kPowersOfTen[fraction_digits];
  return p;
}

const char* ScanCommon(const char* p, const char* end, bool operand_expected,
                       Token& out) {
  const char c = *p;
  const char next = p + 1 < end ? p[1] : '\0';
  TokenKind kind;
  switch (c) {
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
      return ScanPlainNumber(p, end, out);
    case '(':
      kind = TokenKind::kLeftParen;
      break;
    case ')':
      kind = TokenKind::kRightParen;
      break;
    case ',':
      kind = TokenKind::kComma;
      break;
    case '.':
      // ".5" is a number.
      if (IsDigit(next)) return nullptr;
      kind = TokenKind::kDot;
      break;
    case '*':
      if (next == '=') return nullptr;
      kind = TokenKind::kStar;
      break;
    case '/':
      if (operand_expected || next == '=' || next == '/' || next == '*') {
        return nullptr;
      }
      kind = TokenKind::kSlash;
      break;
    case '+':
      if (next == '+' || next == '=') return nullptr;
      kind = TokenKind::kPlus;
      break;
    case '-':
      if (next == '-' || next == '=') return nullptr;
      kind = TokenKind::kMinus;
      break;
    case '^':
      if (next == '=') return nullptr;
      kind = TokenKind::kCaret;
      break;
    case '%':
      if (next == '=') return nullptr;
      kind = TokenKind::kPercent;
      break;
    default:
      return nullptr;
  }
  out.kind = kind;
  out.text = std::string_view(p, 1);
  return p + 1;
}
}  // namespace

void Lexer::Next(bool operand_expected, Token& out) {
  const char* const begin = source_.data();
  const char* const end = begin + source_.size();
  const char* p = begin + pos_;
  // 1. Blanks are skipped here, then the end, the everyday tokens and names
  //    are read without going through NextSlow.
  while (p < end && ByteClass(*p) == kClassBlank) ++p;
  out.newline_before = false;
  if (p == end) {
    pos_ = source_.size();
    out.kind = TokenKind::kEnd;
    out.text = std::string_view(end, 0);
    return;
  }
  const char* const token_end = ScanCommon(p, end, operand_expected, out);
  if (token_end != nullptr) {
    pos_ = static_cast<std::size_t>(token_end - begin);
    return;
  }
  pos_ = static_cast<std::size_t>(p - begin);
  if (IsAsciiIdentifierStart(*p)) {
    IdentifierOrKeyword(pos_, out);
    return;
  }
  NextSlow(operand_expected, out);
}

void Lexer::NextSlow(bool operand_expected, Token& out) {
  const std::string_view s = source_;
  bool newline = false;
  // 2. Comments, line terminators and the ideographic space.
  const char c = s[pos_];
  if (ByteClass(c) == kClassNewline || c == '/' ||
      static_cast<unsigned char>(c) == 0xA1) {
    if (!SkipSpaceAndComments(newline)) {
      out = Make(TokenKind::kError, s, pos_, pos_);
      return;
    }
  }
  // 3. Every other token, and an everyday one after a comment.
  out = Scan(operand_expected);
  out.newline_before = newline;
}

Token Lexer::Scan(bool operand_expected) {
  const std::string_view s = source_;
  const std::size_t start = pos_;
  if (start >= s.size()) return Make(TokenKind::kEnd, s, start, start);
  const char c = s[start];
  switch (ByteClass(c)) {
    case kClassDigit:
      return Number(start);
    case kClassPunctuator:
      if (c == '.' && start + 1 < s.size() && IsDigit(s[start + 1])) {
        return Number(start);
      }
      if (c == '/' && operand_expected) return RegExpLiteral(start);
      return Punctuator(start);
    default:
      if (c == '"' || c == '\'') return StringLiteral(start);
      if (IsIdentifierStartAt(s, start)) {
        Token t;
        IdentifierOrKeyword(start, t);
        return t;
      }
      return Punctuator(start);
  }
}

Token Lexer::Number(std::size_t start) {
  const std::string_view s = source_;
  std::size_t i = start;
  Token t;
  bool ok = true;
  if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    // 1. Hexadecimal: at least one hex digit.
    i += 2;
    const std::size_t digits = i;
    while (i < s.size() && IsHexDigit(s[i])) ++i;
    ok = DigitsToDouble(s.substr(digits, i - digits), 16, t.number);
  } else {
    // 2. A 0 followed by digits is octal when every digit is below 8, and
    //    then the literal ends before any point (010.5 is 010 and .5); with
    //    an 8 or a 9 it is a decimal literal that may go on (08.5 is 8.5).
    bool octal = false;
    if (s[i] == '0' && i + 1 < s.size() && IsDigit(s[i + 1])) {
      std::size_t j = i + 1;
      octal = true;
      while (j < s.size() && IsDigit(s[j])) {
        octal = octal && IsOctalDigit(s[j]);
        ++j;
      }
      if (octal) ok = DigitsToDouble(s.substr(i + 1, j - i - 1), 8, t.number);
      i = j;
    }
    if (!octal) {
      // 3. Decimal: digits, a point and digits, an exponent. The digits are
      //    gathered as an integer on the way: when it is below 2^53 and
      //    there is no exponent, integer / 10^fraction_digits is the
      //    correctly rounded value (both operands exact), which spares the
      //    general conversion for everyday numbers.
      std::uint64_t mantissa = 0;
      int fraction_digits = 0;
      bool simple = true;
      const auto digit = [&](char c) {
        if (mantissa < (std::uint64_t{1} << 53) / 10) {
          mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        } else {
          simple = false;
        }
      };
      i = start;
      while (i < s.size() && IsDigit(s[i])) digit(s[i++]);
      if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
          digit(s[i++]);
          ++fraction_digits;
        }
      }
      if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        simple = false;
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t digits = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        ok = i > digits;
      }
      if (simple && fraction_digits <= 22) {
        static constexpr double kPowersOfTen[23] = {
            1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        t.number =
            static_cast<double>(mantissa) / kPowersOfTen[fraction_digits];
      } else if (ok) {
        t.number = DecimalToDouble(s.substr(start, i - start));
      }
    }
  }
  // 4. The character after a numeric literal must not be a digit or begin an
  //    identifier: 3in and 2Math are errors, not two tokens.
  if (i < s.size() && (IsDigit(s[i]) || IsIdentifierStartAt(s, i))) ok = false;
  pos_ = i;
  const double value = t.number;
  t = Make(ok ? TokenKind::kNumber : TokenKind::kError, s, start, i);
  t.number = value;
  return t;
}

Token Lexer::StringLiteral(std::size_t start) {
  const std::string_view s = source_;
  const char quote = s[start];
  std::size_t i = start + 1;
  bool escapes = false;
  for (;;) {
    if (i >= s.size() || IsLineTerminator(s[i])) {
      pos_ = i;
      return Make(TokenKind::kError, s, start, i);
    }
    const char c = s[i];
    if (c == quote) break;
    if (c == '\\') {
      escapes = true;
      ++i;
      if (i >= s.size() || IsLineTerminator(s[i])) {
        pos_ = i;
        return Make(TokenKind::kError, s, start, i);
      }
      if (s[i] == 'x' || s[i] == 'u') {
        // \x takes exactly two hex digits and \u four.
        const std::size_t n = s[i] == 'x' ? 2 : 4;
        for (std::size_t k = 1; k <= n; ++k) {
          if (i + k >= s.size() || !IsHexDigit(s[i + k])) {
            pos_ = i;
            return Make(TokenKind::kError, s, start, i);
          }
        }
        i += n + 1;
        continue;
      }
    }
    i += CharWidth(s, i);
  }
  pos_ = i + 1;
  Token t = Make(TokenKind::kString, s, start + 1, i);
  t.has_escapes = escapes;
  return t;
}

Token Lexer::RegExpLiteral(std::size_t start) {
  const std::string_view s = source_;
  std::size_t i = start + 1;
  bool in_class = false;
  // 1. The body runs to the first "/" outside a class; a backslash takes the
  //    next character along. It may not hold a line terminator.
  for (;;) {
    if (i >= s.size() || IsLineTerminator(s[i])) {
      pos_ = i;
      return Make(TokenKind::kError, s, start, i);
    }
    const char c = s[i];
    if (c == '/' && !in_class) break;
    if (c == '\\') {
      ++i;
      if (i >= s.size() || IsLineTerminator(s[i])) {
        pos_ = i;
        return Make(TokenKind::kError, s, start, i);
      }
    } else if (c == '[') {
      in_class = true;
    } else if (c == ']') {
      in_class = false;
    }
    i += CharWidth(s, i);
  }
  const std::size_t body_end = i;
  ++i;
  // 2. The flags are the identifier characters that follow.
  const std::size_t flags_start = i;
  while (i < s.size() &&
         (IsAsciiIdentifierStart(s[i]) || IsDigit(s[i]) || s[i] == '\\' ||
          (IsLeadByte(s[i]) && !IsIdeographicSpace(s, i)))) {
    i += CharWidth(s, i);
  }
  pos_ = i;
  const std::string_view body = s.substr(start + 1, body_end - start - 1);
  std::uint8_t flags = 0;
  if (!ParseRegExpFlags(s.substr(flags_start, i - flags_start), flags) ||
      !IsValidRegExpPattern(body)) {
    return Make(TokenKind::kError, s, start, i);
  }
  Token t = Make(TokenKind::kRegExp, s, start + 1, body_end);
  t.regexp_flags = flags;
  return t;
}

void Lexer::IdentifierOrKeyword(std::size_t start, Token& out) {
  const std::string_view s = source_;
  // 1. A name without escapes, the usual kind, runs over ASCII letters,
  //    digits, "$", "_" and double-byte characters but the ideographic
  //    space, and views the source.
  std::size_t i = start;
  for (;;) {
    while (i < s.size() && kAsciiNamePart[static_cast<unsigned char>(s[i])]) {
      ++i;
    }
    if (i >= s.size() || !IsLeadByte(s[i]) || IsIdeographicSpace(s, i)) break;
    i += CharWidth(s, i);
  }
  if (i < s.size() && s[i] == '\\') {
    out = EscapedIdentifier(start);
    return;
  }
  pos_ = i;
  out = Make(TokenKind::kIdentifier, s, start, i);
  out.kind = WordKind(out.text);
}

Token Lexer::EscapedIdentifier(std::size_t start) {
  const std::string_view s = source_;
  std::size_t i = start;
  bool escaped = false;
  bool first = true;
  decoded_name_.clear();
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\\') {
      // A \u escape stands for the character it names, which must itself be
      // allowed here. A character beyond ASCII is kept as one marker byte:
      // no such name is known, so all that matters is that it is a name.
      const long code = ReadUnicodeEscape(s, i);
      const bool allowed =
          code >= 0x80 ||
          (code >= 0 && (IsAsciiIdentifierStart(static_cast<char>(code)) ||
                         (!first && IsDigit(static_cast<char>(code)))));
      if (!allowed) {
        pos_ = i;
        return Make(TokenKind::kError, s, start, i);
      }
      if (!escaped) decoded_name_.assign(s.substr(start, i - start));
      escaped = true;
      decoded_name_ += code >= 0x80 ? '\x80' : static_cast<char>(code);
      i += 6;
    } else if (IsAsciiIdentifierStart(c) || IsDigit(c) ||
               (IsLeadByte(c) && !IsIdeographicSpace(s, i))) {
      const std::size_t w = CharWidth(s, i);
      if (escaped) decoded_name_.append(s.substr(i, w));
      i += w;
    } else {
      break;
    }
    first = false;
  }
  pos_ = i;
  Token t = Make(TokenKind::kIdentifier, s, start, i);
  if (escaped) t.text = decoded_name_;
  const TokenKind kind = WordKind(t.text);
  // A reserved word may not be spelled with escapes.
  if (kind != TokenKind::kIdentifier) {
    t.kind = escaped ? TokenKind::kError : kind;
  }
  return t;
}

Token Lexer::Punctuator(std::size_t start) {
  const std::string_view s = source_;
  // The longest punctuator that matches wins: look at up to three more
  // bytes after the first.
  const auto at = [&](std::size_t k) {
    return start + k < s.size() ? s[start + k] : '\0';
  };
  TokenKind kind = TokenKind::kError;
  std::size_t length = 1;
  // A one-byte operator, or the same followed by "=" (or doubled).
  const auto with_assign = [&](TokenKind plain, TokenKind assign) {
    if (at(1) == '=') {
      length = 2;
      return assign;
    }
    return plain;
  };
  switch (s[start]) {
    case '(':
      kind = TokenKind::kLeftParen;
      break;
    case ')':
      kind = TokenKind::kRightParen;
      break;
    case '[':
      kind = TokenKind::kLeftBracket;
      break;
    case ']':
      kind = TokenKind::kRightBracket;
      break;
    case '.':
      kind = TokenKind::kDot;
      break;
    case ',':
      kind = TokenKind::kComma;
      break;
    case '?':
      kind = TokenKind::kQuestion;
      break;
    case ':':
      kind = TokenKind::kColon;
      break;
    case '~':
      kind = TokenKind::kTilde;
      break;
    case '{':
    case '}':
    case ';':
      kind = TokenKind::kOther;
      break;
    case '+':
      if (at(1) == '+') {
        kind = TokenKind::kPlusPlus;
        length = 2;
      } else {
        kind = with_assign(TokenKind::kPlus, TokenKind::kPlusAssign);
      }
      break;
    case '-':
      if (at(1) == '-') {
        kind = TokenKind::kMinusMinus;
        length = 2;
      } else {
        kind = with_assign(TokenKind::kMinus, TokenKind::kMinusAssign);
      }
      break;
    case '*':
      kind = with_assign(TokenKind::kStar, TokenKind::kStarAssign);
      break;
    case '/':
      kind = with_assign(TokenKind::kSlash, TokenKind::kSlashAssign);
      break;
    case '%':
      kind = with_assign(TokenKind::kPercent, TokenKind::kPercentAssign);
      break;
    case '^':
      kind = with_assign(TokenKind::kCaret, TokenKind::kCaretAssign);
      break;
    case '&':
      if (at(1) == '&') {
        kind = TokenKind::kAndAnd;
        length = 2;
      } else {
        kind = with_assign(TokenKind::kAmp, TokenKind::kAmpAssign);
      }
      break;
    case '|':
      if (at(1) == '|') {
        kind = TokenKind::kOrOr;
        length = 2;
      } else {
        kind = with_assign(TokenKind::kPipe, TokenKind::kPipeAssign);
      }
      break;
    case '=':
      if (at(1) == '=') {
        kind = at(2) == '=' ? TokenKind::kStrictEqual : TokenKind::kEqual;
        length = at(2) == '=' ? 3 : 2;
      } else {
        kind = TokenKind::kAssign;
      }
      break;
    case '!':
      if (at(1) == '=') {
        kind = at(2) == '=' ? TokenKind::kStrictNotEqual : TokenKind::kNotEqual;
        length = at(2) == '=' ? 3 : 2;
      } else {
        kind = TokenKind::kBang;
      }
      break;
    case '<':
      if (at(1) == '<') {
        kind =
            at(2) == '=' ? TokenKind::kShiftLeftAssign : TokenKind::kShiftLeft;
        length = at(2) == '=' ? 3 : 2;
      } else {
        kind = with_assign(TokenKind::kLess, TokenKind::kLessEqual);
      }
      break;
    case '>':
      if (at(1) == '>' && at(2) == '>') {
        kind = at(3) == '=' ? TokenKind::kShiftRightUnsignedAssign
                            : TokenKind::kShiftRightUnsigned;
        length = at(3) == '=' ? 4 : 3;
      } else if (at(1) == '>') {
        kind = at(2) == '=' ? TokenKind::kShiftRightAssign
                            : TokenKind::kShiftRight;
        length = at(2) == '=' ? 3 : 2;
      } else {
        kind = with_assign(TokenKind::kGreater, TokenKind::kGreaterEqual);
      }
      break;
    default:
      length = CharWidth(s, start);
      break;
  }
  pos_ = start + length;
  return Make(kind, s, start, pos_);
}

void DecodeStringLiteral(std::string_view s, std::string& out) {
  out.reserve(out.size() + s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c != '\\' || i + 1 >= s.size()) {
      const std::size_t w = CharWidth(s, i);
      out.append(s.substr(i, w));
      i += w;
      continue;
    }
    const char e = s[i + 1];
    i += 2;
    switch (e) {
      case 'b':
        out += '\b';
        continue;
      case 't':
        out += '\t';
        continue;
      case 'n':
        out += '\n';
        continue;
      case 'v':
        out += '\v';
        continue;
      case 'f':
        out += '\f';
        continue;
      case 'r':
        out += '\r';
        continue;
      case 'x':
      case 'u': {
        // The lexer has checked the hex digits.
        const std::size_t n = e == 'x' ? 2 : 4;
        long code = 0;
        for (std::size_t k = 0; k < n; ++k)
          code = code * 16 + HexValue(s[i + k]);
        i += n;
        out += code < 0x80 ? static_cast<char>(code) : '?';
        continue;
      }
      default:
        break;
    }
    if (IsOctalDigit(e)) {
      // A legacy octal escape: up to three digits, at most \377.
      int code = e - '0';
      const std::size_t limit = e <= '3' ? 2 : 1;
      for (std::size_t k = 0; k < limit && i < s.size() && IsOctalDigit(s[i]);
           ++k, ++i) {
        code = code * 8 + (s[i] - '0');
      }
      out += code < 0x80 ? static_cast<char>(code) : '?';
      continue;
    }
    // Any other escaped character stands for itself.
    const std::size_t w = CharWidth(s, i - 1);
    out.append(s.substr(i - 1, w));
    i += w - 1;
  }
}

}  // namespace sumora::script
