#include "calc/script/evaluate.h"

// Placeholder until the evaluator lands.
namespace sumora {
std::string EvaluateExpression(std::string_view) { return {}; }
}  // namespace sumora
