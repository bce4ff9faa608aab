// Any bytes into the expression evaluator: it must answer, never crash,
// hang or leak, and its answer must follow its own rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/script/evaluate.h"
#include "calc/script/interpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string answer = sumora::EvaluateExpression(input);
  // An answer never holds a zero byte.
  if (answer.find('\0') != std::string::npos) std::abort();
  // A failure always gives the empty text.
  const sumora::script::Evaluation e = sumora::script::Evaluate(input);
  if (e.failure != sumora::script::Failure::kNone && !answer.empty()) {
    std::abort();
  }
  // The same input gives the same answer (nothing survives an evaluation),
  // unless Math.random may be reached: by name, through an escaped name or
  // through a computed member.
  const bool may_be_random = input.find("random") != std::string_view::npos ||
                             input.find('\\') != std::string_view::npos ||
                             input.find('[') != std::string_view::npos;
  if (!may_be_random && sumora::EvaluateExpression(input) != answer) {
    std::abort();
  }
  return 0;
}
