#include "calc/script/evaluate.h"

#include <cmath>

#include "calc/script/interpreter.h"
#include "calc/script/value.h"

namespace sumora {

std::string EvaluateExpression(std::string_view expression) {
  script::Evaluation result = script::Evaluate(expression);
  if (result.failure != script::Failure::kNone) return {};
  script::Value& value = result.value;
  switch (value.kind) {
    case script::ValueKind::kUndefined:
      return {};
    case script::ValueKind::kString: {
      std::string text = std::move(value.string);
      const std::size_t zero = text.find('\0');
      if (zero != std::string::npos) text.resize(zero);
      return text;
    }
    case script::ValueKind::kNumber: {
      const double d = value.number;
      if (std::isinf(d)) return d > 0 ? "1e999" : "-1e999";
      std::string text = script::NumberToString(d);
      // A fraction below 1 always has its leading zero.
      if (text[0] == '.') text.insert(0, 1, '0');
      return text;
    }
    default:
      return script::ToString(value);
  }
}

}  // namespace sumora
