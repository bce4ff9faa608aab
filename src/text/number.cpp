#include "text/number.h"

// Placeholder until the number forms land.
namespace sumora {
double TextToNumber(std::string_view) { return 0; }
std::int32_t TextToInteger(std::string_view) { return 0; }
float TextToFloat(std::string_view) { return 0; }
Text NumberToText(double) { return "0"; }
Text NumberToText(std::int32_t) { return "0"; }
Text FormatNumber(double, std::optional<std::int32_t>, bool) { return "0"; }
std::int32_t TruncateToInteger(double value) {
  return static_cast<std::int32_t>(value);
}
}  // namespace sumora
