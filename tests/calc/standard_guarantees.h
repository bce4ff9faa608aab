// An independent check of what every standard-mode expression guarantees to
// the evaluator. Shared by the sanitizer's tests and its fuzzer.
#ifndef SUMORA_TESTS_CALC_STANDARD_GUARANTEES_H_
#define SUMORA_TESTS_CALC_STANDARD_GUARANTEES_H_

#include <cstddef>
#include <string_view>

namespace sumora::test_support {

// The first broken guarantee, described, or nullptr when the expression keeps
// them all (the empty expression keeps them all).
inline const char* BrokenGuarantee(std::string_view e) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const auto op = [](char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
  };
  const std::size_t n = e.size();
  std::size_t open = 0, close = 0;
  bool point_in_run = false;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = e[i];
    const char before = i > 0 ? e[i - 1] : '\0';
    const char after = i + 1 < n ? e[i + 1] : '\0';
    if (!digit(c) && !op(c) && c != '(' && c != ')' && c != '.') {
      return "a byte outside 0-9 + - * / ^ ( ) .";
    }
    if (c == '.') {
      if (!digit(before)) return "a point without a digit before it";
      if (!digit(after) && after != '^') {
        return "a point without a digit or ^ after it";
      }
      if (point_in_run) return "two points in one number";
      point_in_run = true;
    } else if (!digit(c)) {
      point_in_run = false;
    }
    if (op(c)) {
      if (i == 0) return "an operator at the start";
      if (i + 1 == n) return "an operator at the end";
      if (op(after)) return "two operators side by side";
      if (before == '(') return "an operator right after (";
    }
    if (c == '(') {
      ++open;
      if (digit(before) || before == ')') return "a digit or ) right before (";
    }
    if (c == ')') {
      ++close;
      if (digit(after) || after == '(') return "a digit or ( right after )";
    }
  }
  if (open != close) return "unequal numbers of ( and )";
  return nullptr;
}

}  // namespace sumora::test_support

#endif  // SUMORA_TESTS_CALC_STANDARD_GUARANTEES_H_
