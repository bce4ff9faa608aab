// The expression evaluator: the system's own interpreter of the ECMAScript 3
// expression language. It keeps no state between calls.
#ifndef SUMORA_CALC_SCRIPT_EVALUATE_H_
#define SUMORA_CALC_SCRIPT_EVALUATE_H_

#include <string>
#include <string_view>

namespace sumora {

// The value of the expression as text, or the empty text on any failure.
// EvaluateExpression("1+2^3") -> "0", EvaluateExpression("2(3)") -> "".
std::string EvaluateExpression(std::string_view expression);

}  // namespace sumora

#endif  // SUMORA_CALC_SCRIPT_EVALUATE_H_
