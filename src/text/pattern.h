// The pattern facility of the scientific rewriter: a small regular-expression
// matcher over code page 936 characters. A double-byte character is one
// character: it is never split, and its second byte never matches an ASCII
// element of the pattern on its own.
#ifndef SUMORA_TEXT_PATTERN_H_
#define SUMORA_TEXT_PATTERN_H_

#include <cstdint>
#include <string_view>

#include "text/text.h"

namespace sumora {

// One search's outcome. Offsets are 0-based byte offsets into the searched
// text, the end exclusive; they are meaningful only when is_matched is true.
struct MatchResult {
  bool is_matched = false;
  std::int32_t match_start = 0;
  std::int32_t match_end = 0;
  Text match_text;
};

class Pattern;  // defined by the implementation of this header

}  // namespace sumora

#endif  // SUMORA_TEXT_PATTERN_H_
