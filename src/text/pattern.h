// The pattern facility of the scientific rewriter: a small regular-expression
// matcher over code page 936 characters. A double-byte character is one
// character: it is never split, and its second byte never matches an ASCII
// element of the pattern on its own.
//
// Pattern syntax (nothing else is accepted):
//   c        a plain character (single- or double-byte) matches itself
//   \p       p one of the ASCII punctuation characters, matched literally
//            ("\+", "\-", "\*", "\^", "\.", "\%", "\(", "\)", ...)
//   [...]    one character of the set; inside, "x-y" is the range of
//            characters from x to y by code ("0-9"; a double-byte character
//            counts as lead byte * 256 + second byte), "\p" stands for p, a "-"
//            first or last stands for itself, every other character stands for
//            itself ("(", ")", "%", "/", double-byte characters)
//   [^...]   one character of any kind, double-byte characters, line breaks
//            and a lone final byte included, that is not in the set
//   e+       the element e one or more times, greedy
// The ASCII characters . * ? ( ) | { } ^ $ [ ] have meanings in other regular
// expression dialects; outside a set they must be escaped, and a pattern that
// uses them bare is invalid rather than silently read another way.
//
// Searches are leftmost, and at the leftmost start each "+" takes as many
// characters as it can and gives back only as many as the rest needs. Every
// element takes at least one character, so no match is ever empty. The search
// runs in time proportional to the length of the searched text times the
// number of elements; it never backtracks over the text.
//
// A lone final byte of a searched text (0x80 or more, with no second byte) is
// a character of its own that no plain character, set member or range
// includes; only a negated set matches it.
#ifndef SUMORA_TEXT_PATTERN_H_
#define SUMORA_TEXT_PATTERN_H_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace sumora {

// One search's outcome. Offsets are 0-based byte offsets into the searched
// text, the end exclusive; they are meaningful only when is_matched is true.
// The result holds its own copy of the matched bytes.
struct MatchResult {
  bool is_matched = false;
  std::int32_t match_start = 0;
  std::int32_t match_end = 0;
  Text match_text;
};

// The offsets of a MatchResult are 32-bit: PatternSearch reports no match
// that would end past this byte offset of the text it is given.
inline constexpr std::size_t kMaxMatchOffset =
    std::numeric_limits<std::int32_t>::max();

// A compiled pattern. It keeps nothing from one search to the next, so one
// pattern serves any number of searches, also from several threads at once.
class Pattern {
 public:
  // The longest pattern the calculator builds has five elements; the limit
  // keeps a search's working lists on the stack.
  static constexpr std::size_t kMaxElements = 32;

  // Compiles the pattern text. A text outside the syntax above, an empty
  // text, or one of more than kMaxElements elements gives an invalid pattern,
  // which matches nothing. Pattern("[0-9\\.]+\\%") is valid, Pattern("a**")
  // is not.
  explicit Pattern(std::string_view pattern_text);

  bool IsValid() const { return valid_; }

 private:
  // One element: a set of characters (a plain character is a set of one),
  // possibly negated, possibly repeated.
  struct Element {
    std::uint64_t ascii[2] = {0, 0};  // members below 0x80, one bit each
    // Members from 0x80 up, as inclusive code ranges (lead * 256 + second).
    std::vector<std::uint32_t> wide_first;
    std::vector<std::uint32_t> wide_last;
    bool negated = false;
    bool repeated = false;

    bool Matches(std::uint32_t code) const {
      const bool member = code < 0x80
                              ? ((ascii[code >> 6] >> (code & 63)) & 1) != 0
                              : MatchesWide(code);
      return member != negated;
    }
    bool MatchesWide(std::uint32_t code) const;
  };

  struct Span {
    std::size_t start;
    std::size_t end;
  };

  // The leftmost match that starts at or after `start`, if any.
  bool Find(std::string_view text, std::size_t start, Span& match) const;

  std::vector<Element> elements_;
  bool valid_ = false;

  friend MatchResult PatternSearch(const Pattern& pattern,
                                   std::string_view text, std::size_t start);
  friend Text PatternReplace(const Pattern& pattern, std::string_view text,
                             std::string_view replacement);
};

// The leftmost match in the text, searched from its first character.
// PatternSearch(Pattern("[0-9\\.]+\\%"), "12+3%") -> {true, 3, 5, "3%"}.
// The empty text, an invalid pattern, or no match gives is_matched false.
MatchResult PatternSearch(const Pattern& pattern, std::string_view text);

// The leftmost match that starts at or after byte offset `start`, which must
// be a character boundary of the text (0, or the end of an earlier match, for
// example). Offsets stay those of the whole text; the bytes before `start`
// are not looked at. A start past the end gives no match.
MatchResult PatternSearch(const Pattern& pattern, std::string_view text,
                          std::size_t start);

// Every match, found from left to right with each search resuming right
// after the previous match (so matches never overlap), replaced by the
// replacement; the text between matches is copied unchanged. Has no length
// limit. PatternReplace(Pattern("[^0-9]"), "1 a2", "") -> "12".
Text PatternReplace(const Pattern& pattern, std::string_view text,
                    std::string_view replacement);

}  // namespace sumora

#endif  // SUMORA_TEXT_PATTERN_H_
