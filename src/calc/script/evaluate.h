// The expression evaluator: the system's own interpreter of the ECMAScript 3
// expression language. It keeps no state between calls.
#ifndef SUMORA_CALC_SCRIPT_EVALUATE_H_
#define SUMORA_CALC_SCRIPT_EVALUATE_H_

#include <string>
#include <string_view>

namespace sumora {

// The value of the expression as text, or the empty text on any failure
// (see calc/script/interpreter.h for the language and the failure kinds).
// Never throws; any bytes are accepted.
//
// The text of each kind of value:
// - a string: itself, up to any zero byte (a text holds none);
// - a finite number: its shortest round-trip digits in the language's own
//   form, which TextToNumber reads back as the same double: "0.1", "1e+21",
//   "1.5e-7", "-3";
// - an infinity: "1e999" or "-1e999", which read back as that infinity
//   (the language's "Infinity" would read as 0);
// - NaN: "NaN" (which reads as 0);
// - undefined: the empty text;
// - anything else: its string form, "true", "null", "[object Math]",
//   "function sqrt() { [native code] }", "/a/g".
//
// EvaluateExpression("1+2^3") -> "0", EvaluateExpression("1/0") -> "1e999",
// EvaluateExpression("2(3)") -> "", EvaluateExpression("Math.sqrt9") -> "".
std::string EvaluateExpression(std::string_view expression);

}  // namespace sumora

#endif  // SUMORA_CALC_SCRIPT_EVALUATE_H_
