// The standard-mode sanitizer: one line of free text in, an arithmetic
// expression over the digits, + - * / ^ ( ) and "." out.
//
// The line is code page 936 text (Text). Full-width forms become their
// one-byte forms and spaces go; then every byte outside the eighteen allowed
// ones is dropped, one byte at a time (so the second byte of a double-byte
// character survives when it is itself allowed: 0x81 0x5E leaves "^"), and a
// fixed sequence of repairs runs over what is left:
//   - a point that starts the line gets a "0" in front, a point that ends it
//     is removed;
//   - every run of digits and points keeps only its first point;
//   - a point after anything but a digit gets a "0" in front; a point stays
//     only when a digit or "^" follows it;
//   - if the first ")" comes before the first "(", it becomes "("; then the
//     missing ")" are appended or the missing "(" put in front;
//   - a leading or trailing operator gets a "0" operand, and so does an
//     operator right after "(";
//   - every run of operators keeps its first operator;
//   - "*" goes between a digit or ")" and "(", and between ")" and a digit.
//
// Guarantees on the expression, on which the evaluator may rely:
//   1. It holds only the eighteen bytes 0-9 + - * / ^ ( ) and "."; never "#",
//      a space or a double-byte character.
//   2. Every "." has a digit right before it and a digit or "^" right after
//      it; no run of digits and points holds more than one ".".
//   3. If it holds a parenthesis, it holds as many "(" as ")".
//   4. No two operators stand side by side; it neither begins nor ends with
//      one; none directly follows "(".
//   5. No digit and no ")" directly precedes "("; no digit and no "("
//      directly follows ")".
//   6. It may be empty (a line without any allowed byte).
//
// Left to the evaluator to reject, on purpose: an operator before ")" as in
// "(5+)", an empty pair "()", and parentheses in the wrong order beyond the
// first ")" ("(1))(" gives "(1))*("). Leading zeros stay ("007"), a point
// before "^" stays ("2.^3"), and a sign after another operator is lost
// ("3*-2" gives "3*2").
//
// Limits: none on the line's length. Time is linear in the line's length, the
// expression of a line of n bytes has at most 5n + 3 bytes, and all counts
// are 64-bit, so no line is too long to count.
#ifndef SUMORA_CALC_STANDARD_H_
#define SUMORA_CALC_STANDARD_H_

#include <string_view>

#include "text/text.h"

namespace sumora {

// StandardSanitizer("3x+（2") -> "3+(2)", StandardSanitizer(".5++2)(") ->
// "0.5+2*(())", StandardSanitizer("abc") -> "". Never fails.
Text StandardSanitizer(std::string_view line);

// The same expression, written into `expression` (its old content is
// replaced). Reusing one buffer line after line keeps its capacity, so a
// caller that sanitizes many lines allocates only when a line is longer than
// any before it.
void StandardSanitizer(std::string_view line, Text& expression);

}  // namespace sumora

#endif  // SUMORA_CALC_STANDARD_H_
