// Any bytes as one line: the expression must keep every guarantee the
// evaluator relies on, stay within its length bound, and be the same whether
// it is returned fresh or written into a reused buffer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "../tests/calc/standard_guarantees.h"
#include "calc/standard.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view expression) {
  std::fprintf(stderr, "standard sanitizer: %s\nexpression: %.*s\n", what,
               static_cast<int>(expression.size()), expression.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const sumora::Text expression = sumora::StandardSanitizer(line);
  if (const char* broken = sumora::test_support::BrokenGuarantee(expression)) {
    Fail(broken, expression);
  }
  if (expression.size() > 5 * line.size() + 3) {
    Fail("longer than its bound", expression);
  }
  static sumora::Text buffer;  // reused across inputs on purpose
  sumora::StandardSanitizer(line, buffer);
  if (buffer != expression) Fail("a reused buffer gave another result", buffer);
  return 0;
}
