#include "calc/script/regexp.h"

#include <cstddef>

#include "calc/script/value.h"

namespace sumora::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Compares two decimal digit strings by value, whatever their length.
int CompareDecimal(std::string_view a, std::string_view b) {
  while (a.size() > 1 && a[0] == '0') a.remove_prefix(1);
  while (b.size() > 1 && b[0] == '0') b.remove_prefix(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

// Reads a braced quantifier "{n}", "{n,}" or "{n,m}" at s[i] == '{'. On
// success sets `end` past the "}" and `ordered` to whether n <= m.
bool ReadBracedQuantifier(std::string_view s, std::size_t i, std::size_t& end,
                          bool& ordered) {
  std::size_t j = i + 1;
  const std::size_t low_start = j;
  while (j < s.size() && IsDigit(s[j])) ++j;
  if (j == low_start) return false;
  const std::string_view low = s.substr(low_start, j - low_start);
  ordered = true;
  if (j < s.size() && s[j] == ',') {
    ++j;
    const std::size_t high_start = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > high_start) {
      ordered = CompareDecimal(low, s.substr(high_start, j - high_start)) <= 0;
    }
  }
  if (j >= s.size() || s[j] != '}') return false;
  end = j + 1;
  return true;
}

// The width in bytes of the character at s[i]: two for a lead byte with a
// byte after it, else one.
std::size_t CharWidth(std::string_view s, std::size_t i) {
  return IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

// One atom of a class, at s[i] (not the closing "]"). Sets `end` past it and
// either `is_set` (a class escape such as \d) or `code`, the character's
// value used to order a range.
void ReadClassAtom(std::string_view s, std::size_t i, std::size_t& end,
                   bool& is_set, unsigned& code) {
  is_set = false;
  const std::size_t w = CharWidth(s, i);
  if (s[i] != '\\' || i + 1 >= s.size()) {
    code = w == 2 ? (static_cast<unsigned char>(s[i]) << 8 |
                     static_cast<unsigned char>(s[i + 1]))
                  : static_cast<unsigned char>(s[i]);
    end = i + w;
    return;
  }
  const char e = s[i + 1];
  end = i + 2;
  switch (e) {
    case 'd':
    case 'D':
    case 's':
    case 'S':
    case 'w':
    case 'W':
      is_set = true;
      return;
    case 'b':
      code = 8;
      return;
    case 't':
      code = 9;
      return;
    case 'n':
      code = 10;
      return;
    case 'v':
      code = 11;
      return;
    case 'f':
      code = 12;
      return;
    case 'r':
      code = 13;
      return;
    case 'c':
      // \c with a letter (or, in a class, a digit or "_") is a control
      // character; otherwise the backslash stands for itself.
      if (i + 2 < s.size() &&
          (IsLetter(s[i + 2]) || IsDigit(s[i + 2]) || s[i + 2] == '_')) {
        code = static_cast<unsigned char>(s[i + 2]) % 32;
        end = i + 3;
      } else {
        code = '\\';
        end = i + 1;
      }
      return;
    case 'x':
      if (i + 3 < s.size() && IsHexDigit(s[i + 2]) && IsHexDigit(s[i + 3])) {
        code = 0;
        for (std::size_t k = i + 2; k < i + 4; ++k) {
          const char h = s[k];
          code = code * 16 + (IsDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        end = i + 4;
      } else {
        code = 'x';
      }
      return;
    case 'u':
      if (i + 5 < s.size() && IsHexDigit(s[i + 2]) && IsHexDigit(s[i + 3]) &&
          IsHexDigit(s[i + 4]) && IsHexDigit(s[i + 5])) {
        code = 0;
        for (std::size_t k = i + 2; k < i + 6; ++k) {
          const char h = s[k];
          code = code * 16 + (IsDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        end = i + 6;
      } else {
        code = 'u';
      }
      return;
    default:
      break;
  }
  if (e >= '0' && e <= '7') {
    // An octal escape of up to three digits, at most \377.
    code = static_cast<unsigned>(e - '0');
    std::size_t k = i + 2;
    while (k < s.size() && k < i + 4 && s[k] >= '0' && s[k] <= '7' &&
           code * 8 + static_cast<unsigned>(s[k] - '0') <= 0377) {
      code = code * 8 + static_cast<unsigned>(s[k] - '0');
      ++k;
    }
    end = k;
    return;
  }
  // Any other escaped character is that character.
  const std::size_t ew = CharWidth(s, i + 1);
  code = ew == 2 ? (static_cast<unsigned char>(e) << 8 |
                    static_cast<unsigned char>(s[i + 2]))
                 : static_cast<unsigned char>(e);
  end = i + 1 + ew;
}

// A class at s[i] == '['. Sets `end` past its "]"; false if it is
// unterminated or holds a range out of order.
bool ReadClass(std::string_view s, std::size_t i, std::size_t& end) {
  std::size_t j = i + 1;
  if (j < s.size() && s[j] == '^') ++j;
  while (j < s.size() && s[j] != ']') {
    bool first_set;
    unsigned first;
    ReadClassAtom(s, j, j, first_set, first);
    if (j + 1 < s.size() && s[j] == '-' && s[j + 1] != ']') {
      bool second_set;
      unsigned second;
      ReadClassAtom(s, j + 1, j, second_set, second);
      if (!first_set && !second_set && first > second) return false;
    }
  }
  if (j >= s.size()) return false;
  end = j + 1;
  return true;
}

}  // namespace

bool IsValidRegExpPattern(std::string_view s) {
  // One scan. Groups only need counting, since every group may be
  // quantified; `can_quantify` says whether the last item was an atom.
  std::size_t depth = 0;
  bool can_quantify = false;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    switch (c) {
      case '|':
        can_quantify = false;
        ++i;
        break;
      case '(':
        if (i + 1 < s.size() && s[i + 1] == '?') {
          if (i + 2 >= s.size() ||
              (s[i + 2] != ':' && s[i + 2] != '=' && s[i + 2] != '!')) {
            return false;
          }
          i += 3;
        } else {
          ++i;
        }
        ++depth;
        can_quantify = false;
        break;
      case ')':
        if (depth == 0) return false;
        --depth;
        can_quantify = true;
        ++i;
        break;
      case '^':
      case '$':
        can_quantify = false;
        ++i;
        break;
      case '*':
      case '+':
      case '?':
        if (!can_quantify) return false;
        ++i;
        if (i < s.size() && s[i] == '?') ++i;  // lazy
        can_quantify = false;
        break;
      case '{': {
        std::size_t end;
        bool ordered;
        if (ReadBracedQuantifier(s, i, end, ordered)) {
          if (!can_quantify || !ordered) return false;
          i = end;
          if (i < s.size() && s[i] == '?') ++i;
          can_quantify = false;
        } else {
          ++i;  // a plain "{"
          can_quantify = true;
        }
        break;
      }
      case '[':
        if (!ReadClass(s, i, i)) return false;
        can_quantify = true;
        break;
      case '\\':
        if (i + 1 >= s.size()) return false;
        if (s[i + 1] == 'b' || s[i + 1] == 'B') {
          can_quantify = false;  // word boundaries are assertions
          i += 2;
        } else {
          // Every other escape is one atom; its exact length does not matter
          // for validity except that a lead byte takes its partner along.
          i += 1 + CharWidth(s, i + 1);
          can_quantify = true;
        }
        break;
      default:
        i += CharWidth(s, i);
        can_quantify = true;
        break;
    }
  }
  return depth == 0;
}

bool ParseRegExpFlags(std::string_view flags, std::uint8_t& out) {
  out = 0;
  for (const char c : flags) {
    std::uint8_t bit;
    if (c == 'g') {
      bit = kRegExpGlobal;
    } else if (c == 'i') {
      bit = kRegExpIgnoreCase;
    } else if (c == 'm') {
      bit = kRegExpMultiline;
    } else {
      return false;
    }
    if (out & bit) return false;
    out |= bit;
  }
  return true;
}

}  // namespace sumora::script
