#include "calc/script/evaluate.h"

#include <cmath>

#include "calc/script/interpreter.h"
#include "calc/script/value.h"

namespace sumora {

std::string EvaluateExpression(std::string_view expression) {
  script::Evaluation result = script::Evaluate(expression);
  if (result.failure != script::Failure::kNone) return {};
  if (result.kind == script::ValueKind::kNumber) {
    const double d = result.number;
    if (std::isinf(d)) return d > 0 ? "1e999" : "-1e999";
    std::string text = script::NumberToString(d);
    // A fraction below 1 always has its leading zero.
    if (text[0] == '.') text.insert(0, 1, '0');
    return text;
  }
  // Strings as they are (a text holds no zero byte, so one ends there),
  // other values by their string form; undefined has the empty text.
  std::string text = std::move(result.text);
  const std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

}  // namespace sumora
