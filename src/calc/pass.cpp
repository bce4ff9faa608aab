#include "calc/pass.h"

#include <array>
#include <cmath>

#include "calc/scientific.h"
#include "calc/script/interpreter.h"
#include "calc/standard.h"
#include "text/number.h"

namespace sumora {
namespace {

struct ShortName {
  std::string_view full;
  std::string_view shown;
};

// Applied in this order; the inverse names come after the ones they contain
// in the table of the scientific rewriter.
constexpr std::array<ShortName, 11> kShortNames = {{
    {"Math.pow", "pow"},
    {"Math.sqrt", "sqrt"},
    {"Math.abs", "abs"},
    {"Math.log", "log"},
    {"Math.exp", "exp"},
    {"Math.tan", "tan"},
    {"Math.sin", "sin"},
    {"Math.cos", "cos"},
    {"Math.asin", "asin"},
    {"Math.atan", "atan"},
    {"Math.acos", "acos"},
}};

}  // namespace

Text DisplayForm(std::string_view text) {
  Text shown(text);
  for (const ShortName& name : kShortNames) {
    // ReplaceAll of a name that does not occur returns an equal copy; the
    // search alone is cheaper.
    if (shown.find(name.full) != Text::npos) {
      shown = ReplaceAll(shown, name.full, name.shown);
    }
  }
  return shown;
}

double ExpressionValue(std::string_view expression) {
  const script::Evaluation result = script::Evaluate(expression);
  if (result.failure != script::Failure::kNone) return 0;
  if (result.kind == script::ValueKind::kNumber) {
    // The answer text of a number is its shortest round-trip form (an
    // infinity one that reads as that infinity), so reading it back gives
    // this very double; NaN reads as 0, and so does negative zero's "0".
    const double value = result.number;
    return std::isnan(value) || value == 0 ? 0.0 : value;
  }
  return TextToNumber(result.text);
}

void AppendResultLine(std::string_view line, bool scientific,
                      std::string_view decimals_text, Text& out) {
  Text expression;
  if (scientific) {
    ScientificRewrite rewrite = ScientificRewriter(line);
    expression = std::move(rewrite.expression);
    out.append(DisplayForm(rewrite.snapshot));
  } else {
    // A sanitized expression holds only digits, operators, parentheses and
    // points, so its display form is itself.
    expression = StandardSanitizer(line);
    out.append(expression);
  }
  out.push_back('=');
  const double value = ExpressionValue(expression);
  if (decimals_text.empty()) {
    out.append(FormatNumber(value, std::nullopt));
  } else {
    out.append(FormatNumber(value, TextToInteger(decimals_text)));
  }
}

Text CalculateLine(std::string_view line, bool scientific,
                   std::string_view decimals_text) {
  Text result;
  AppendResultLine(line, scientific, decimals_text, result);
  return result;
}

Text CalculationPass(std::string_view input, bool scientific,
                     std::string_view decimals_text) {
  Text output;
  for (const Text& line : SplitText(input, "\r\n")) {
    AppendResultLine(line, scientific, decimals_text, output);
    output.append("\r\n");
  }
  return output;
}

}  // namespace sumora
