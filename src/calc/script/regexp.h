// Checking regular-expression literals.
//
// The evaluator never runs a regular expression (no expression can reach a
// method that would), but a literal with an invalid pattern or flags must be
// rejected as a syntax error. The pattern language is ECMAScript 3's, with the
// leniencies every web engine keeps (ECMAScript's web-compatibility annex):
// a "]", "{" or "}" that is not part of a class or quantifier is a plain
// character, an escape of any other character is that character, a
// back-reference past the last group is an octal escape, lookaheads may be
// quantified, and a class range may have a class escape at either end.
// What stays an error: a quantifier with nothing to repeat ("+", "a**",
// "{1}"), a braced quantifier out of order ("a{2,1}"), an unmatched
// parenthesis, "(?" not followed by ":", "=" or "!", an unterminated class,
// and a class range out of order ("[z-a]").
#ifndef SUMORA_CALC_SCRIPT_REGEXP_H_
#define SUMORA_CALC_SCRIPT_REGEXP_H_

#include <cstdint>
#include <string_view>

namespace sumora::script {

// True if `source` (the text between the slashes of a literal, code page 936
// bytes) is a valid pattern. Linear in the length, no recursion.
bool IsValidRegExpPattern(std::string_view source);

// Reads the flags after a literal: each of g, i and m at most once, nothing
// else. "gi" -> kRegExpGlobal | kRegExpIgnoreCase; "gg", "x" -> false.
bool ParseRegExpFlags(std::string_view flags, std::uint8_t& out);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_REGEXP_H_
