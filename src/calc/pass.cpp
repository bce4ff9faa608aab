#include "calc/pass.h"

#include <array>

#include "calc/scientific.h"
#include "calc/script/evaluate.h"
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

Text CalculateLine(std::string_view line, bool scientific,
                   std::string_view decimals_text) {
  Text expression;
  Text result;
  if (scientific) {
    ScientificRewrite rewrite = ScientificRewriter(line);
    expression = std::move(rewrite.expression);
    result = DisplayForm(rewrite.snapshot);
  } else {
    // A sanitized expression holds only digits, operators, parentheses and
    // points, so its display form is itself.
    expression = StandardSanitizer(line);
    result = expression;
  }
  result.push_back('=');
  const double value = TextToNumber(EvaluateExpression(expression));
  if (decimals_text.empty()) {
    result.append(FormatNumber(value, std::nullopt));
  } else {
    result.append(FormatNumber(value, TextToInteger(decimals_text)));
  }
  return result;
}

Text CalculationPass(std::string_view input, bool scientific,
                     std::string_view decimals_text) {
  Text output;
  for (const Text& line : SplitText(input, "\r\n")) {
    output.append(CalculateLine(line, scientific, decimals_text));
    output.append("\r\n");
  }
  return output;
}

}  // namespace sumora
