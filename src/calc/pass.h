// The calculation pass: every input line becomes one result line,
// "display form=value" and CR LF.
#ifndef SUMORA_CALC_PASS_H_
#define SUMORA_CALC_PASS_H_

#include <string_view>

#include "text/text.h"

namespace sumora {

// The text shown left of "=": the given text with the eleven Math. names
// written short. DisplayForm("Math.sqrt(4)") -> "sqrt(4)".
Text DisplayForm(std::string_view text);

// The number a line shows for its expression: TextToNumber of the
// evaluator's answer (0 for a failure, for undefined and for NaN), taken
// straight from the evaluated value where that is a number.
// ExpressionValue("1/0") -> +Infinity, ExpressionValue("2(3)") -> 0.
double ExpressionValue(std::string_view expression);

// Appends one result line without its line break to out, e.g. "1+1=2".
void AppendResultLine(std::string_view line, bool scientific,
                      std::string_view decimals_text, Text& out);

// One result line without its line break, e.g. "1+1=2".
Text CalculateLine(std::string_view line, bool scientific,
                   std::string_view decimals_text);

// The whole result text for the input text: one line per CR LF separated input
// line, each ending in CR LF. CalculationPass("1+1", false, "") -> "1+1=2\r\n".
Text CalculationPass(std::string_view input, bool scientific,
                     std::string_view decimals_text);

}  // namespace sumora

#endif  // SUMORA_CALC_PASS_H_
