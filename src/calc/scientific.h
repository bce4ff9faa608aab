// The scientific-mode rewriter: function names, percentages and powers.
#ifndef SUMORA_CALC_SCIENTIFIC_H_
#define SUMORA_CALC_SCIENTIFIC_H_

#include <string_view>

#include "text/text.h"

namespace sumora {

struct ScientificRewrite {
  Text expression;  // what the evaluator computes
  Text snapshot;    // the line after its percentages, before its powers
};

// Turns a line of free text into an expression of the evaluator, in this
// order:
//  1. the line is lower-cased;
//  2. the names pow, sqrt, abs, log, exp, asin, atan, acos, tan, sin, cos
//     (in this order, also inside longer words) become one double-byte
//     placeholder character each: ☆ √ ║ ㏒ ㏑ ╠ ╬ ╣ ⊿ ∟ ∠;
//  3. every character but the digits, ( ) + - * / ^ . %, the full-width
//     parentheses （ ） and the placeholders is deleted (a lone final byte
//     too);
//  4. each placeholder, also one the user typed, becomes Math.<name>;
//  5. every run of digits and dots followed by "%" becomes its value (read
//     as a single, widened, divided by 100) in the general number form,
//     leftmost first, until none is left: "100%%" -> "0.01", "5%3" ->
//     "0.053", a number beyond the single range -> "Infinity";
//  6. the snapshot is taken;
//  7. every "a^b" with a and b runs of digits and dots becomes
//     "Math.pow(a,b)", leftmost first: "2^3^2" -> "Math.pow(2,3)^2";
//  8. every "a^(b)" likewise becomes "Math.pow(a,(b))";
//  9. the full-width parentheses become ASCII ones.
// Each repeated step gives exactly what searching again from the start of
// the line after every replacement gives, in time linear in the line's
// length. Never fails: a line with nothing left gives two empty texts. (The
// pattern offsets are 32-bit: in a line of more than 2 GiB the repeated steps
// stop at the first match that ends past that offset.)
// ScientificRewriter("sqrt(16)+2^3") ->
//   {"Math.sqrt(16)+Math.pow(2,3)", "Math.sqrt(16)+2^3"}.
ScientificRewrite ScientificRewriter(std::string_view line);

}  // namespace sumora

#endif  // SUMORA_CALC_SCIENTIFIC_H_
