// Any bytes as one line: the rewriter must not fail, its expression must hold
// only single-byte characters, and for lines short enough to redo the
// slow way it must give exactly what searching again from the start of the
// line after every replacement gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "../tests/calc/scientific_step_by_step.h"
#include "calc/scientific.h"

namespace {

// The step-by-step rewriter is quadratic; past this length it is skipped so
// that the fuzzer keeps its pace.
constexpr std::size_t kMaxComparedLength = 2048;

[[noreturn]] void Fail(const char* what, std::string_view line,
                       std::string_view text) {
  std::fprintf(stderr, "scientific rewriter: %s\nline: %.*s\ntext: %.*s\n",
               what, static_cast<int>(line.size()), line.data(),
               static_cast<int>(text.size()), text.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const sumora::ScientificRewrite rewrite = sumora::ScientificRewriter(line);
  for (const char c : rewrite.expression) {
    if (sumora::IsLeadByte(c) || c == '\0') {
      Fail("a byte the evaluator cannot take", line, rewrite.expression);
    }
  }
  if (size <= kMaxComparedLength) {
    const sumora::ScientificRewrite expected =
        sumora::test_support::ScientificStepByStep(line);
    if (rewrite.expression != expected.expression) {
      Fail("expression differs from the step-by-step one", line,
           rewrite.expression);
    }
    if (rewrite.snapshot != expected.snapshot) {
      Fail("snapshot differs from the step-by-step one", line,
           rewrite.snapshot);
    }
  }
  return 0;
}
