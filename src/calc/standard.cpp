#include "calc/standard.h"

#include <algorithm>
#include <cstddef>

// The sanitizer is written as the system describes its repairs, as a sequence
// of passes over the working text, but every pass here is a stage of one
// stream: each stage takes one byte at a time, keeps the byte or two of
// context its repair needs, and hands zero, one or two bytes to the next
// stage. The line is therefore read twice (once to count its parentheses,
// once to rewrite it) and the expression is written once, into a buffer
// reserved up front; nothing else is allocated.
//
// Two of the repairs are described as scans that start again from the first
// byte after every change (runs of operators, implicit multiplication). Each
// of their changes is local (it removes the second of two adjacent operators,
// or puts "*" between two adjacent bytes), no change creates or destroys the
// condition for another one, and the bytes a change looks at are never
// affected by a change elsewhere; so the fixed point those scans reach is the
// one a single left-to-right pass gives.

namespace sumora {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// The eighteen bytes an expression is made of.
constexpr bool IsAllowed(char c) {
  return IsDigit(c) || IsOperator(c) || c == '(' || c == ')' || c == '.';
}

// Normalises the line and drops every byte outside the allowed ones, calling
// emit(c) for each byte that stays, in order.
//
// This is the full-width mapping of ToHalfWidth followed by RemoveAllSpaces
// and a byte-wise filter, done without building either text: the line is
// scanned by characters; a lone final byte goes (both text operations drop
// it); a double-byte character that has a one-byte form becomes that byte;
// any other double-byte character is tested byte by byte, and as its first
// byte is never allowed, only its second byte can stay. Spaces are not
// allowed bytes, so the filter removes them with everything else.
template <typename Emit>
inline void ForEachAllowedByte(std::string_view line, Emit&& emit) {
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = line[i];
    if (!IsLeadByte(c)) {
      if (IsAllowed(c)) emit(c);
      continue;
    }
    if (i + 1 == n) break;  // lone final byte
    const auto first = static_cast<unsigned char>(c);
    const auto second = static_cast<unsigned char>(line[++i]);
    char single;
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      single = static_cast<char>(second - 0x80);  // ！ to ￣
    } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
      single = '*';  // ☆ and ★
    } else if (first == 0xA1 && (second == 0xA1 || second == 0xAB)) {
      continue;  // the ideographic space and ～: never allowed
    } else {
      single = static_cast<char>(second);
    }
    if (IsAllowed(single)) emit(single);
  }
}

// What the parentheses repair does to a line, decided from a first reading of
// its allowed bytes (the repairs before it neither add nor remove nor reorder
// parentheses).
struct ParenthesisPlan {
  bool turn_first_close = false;  // the first ")" becomes "("
  std::size_t open_in_front = 0;  // "(" put in front of the expression
  std::size_t close_at_end = 0;   // ")" appended
  std::size_t reserve = 0;        // an upper bound of the expression's length
};

ParenthesisPlan PlanFor(std::string_view line) {
  std::size_t allowed = 0, points = 0, open = 0, close = 0;
  char first_parenthesis = 0;
  ForEachAllowedByte(line, [&](char c) {
    ++allowed;
    if (c == '.') {
      ++points;
    } else if (c == '(' || c == ')') {
      if (first_parenthesis == 0) first_parenthesis = c;
      ++(c == '(' ? open : close);
    }
  });
  ParenthesisPlan plan;
  if (first_parenthesis == ')' && open > 0) {
    plan.turn_first_close = true;
    ++open;
    --close;
  }
  if (open > close) plan.close_at_end = open - close;
  if (close > open) plan.open_in_front = close - open;
  // Every byte that stays, plus: one "0" before a leading point and one per
  // point, the completing parentheses, a "0" at each end, one "0" after each
  // "(" and at most one "*" beside each parenthesis.
  const std::size_t pairs = std::max(open, close);
  plan.reserve = allowed + 1 + points + plan.open_in_front + plan.close_at_end +
                 2 + pairs + 2 * pairs;
  return plan;
}

// The repairs as stages of one stream. Each stage's method takes the next
// byte of the text that stage works on; its Finish method is called once,
// after the last byte. A zero byte, which no text holds, stands for "no
// byte" (before the first or after the last).
class Sanitizer {
 public:
  Sanitizer(const ParenthesisPlan& plan, Text& out)
      : out_(out), turn_first_close_(plan.turn_first_close) {
    for (std::size_t k = 0; k < plan.open_in_front; ++k) Operators('(');
    close_at_end_ = plan.close_at_end;
  }

  // The allowed bytes of the line, in order.
  void Push(char c) { EndPoints(c); }

  void Finish() {
    // A point held back as the last byte is the trailing point: it goes.
    held_point_ = false;
    FinishPointsBeside();
  }

 private:
  // A point at the start gets a "0" in front of it; a point at the end is
  // removed (once: a second trailing point is handled with the points
  // beside operators). The last point seen is held back until the next byte
  // shows that it was not the last.
  void EndPoints(char c) {
    if (at_start_) {
      at_start_ = false;
      if (c == '.') OnePointPerNumber('0');
    }
    if (held_point_) {
      held_point_ = false;
      OnePointPerNumber('.');
    }
    if (c == '.') {
      held_point_ = true;
    } else {
      OnePointPerNumber(c);
    }
  }

  // A number is a run of digits and points; it keeps only its first point
  // (1.2.3 becomes 1.23).
  void OnePointPerNumber(char c) {
    if (c == '.') {
      if (point_in_number_) return;
      point_in_number_ = true;
    } else if (!IsDigit(c)) {
      point_in_number_ = false;
    }
    PointsBeside(c);
  }

  // A point after anything but a digit (or at the start) gets a "0" in
  // front of it. A point stays only when a digit or "^" follows it: before
  // an operator, a parenthesis or the end it is removed, so +.+ reads +0+.
  // Both tests look at the text as it came into this stage. The point waits
  // until the byte after it is known.
  void PointsBeside(char c) {
    if (point_waiting_) ResolvePoint(c);
    if (c == '.') {
      point_waiting_ = true;
      byte_before_point_ = byte_before_;
    } else {
      Parentheses(c);
    }
    byte_before_ = c;
  }

  void ResolvePoint(char next) {
    point_waiting_ = false;
    if (!IsDigit(byte_before_point_)) Parentheses('0');
    if (IsDigit(next) || next == '^') Parentheses('.');
  }

  void FinishPointsBeside() {
    if (point_waiting_) ResolvePoint(0);
    FinishParentheses();
  }

  // The first ")" turns into "(" when it comes before the first "("; the
  // missing "(" were put in front by the constructor, the missing ")" come
  // at the end. Parentheses are not reordered beyond that.
  void Parentheses(char c) {
    if (c == ')' && turn_first_close_) {
      turn_first_close_ = false;
      c = '(';
    }
    Operators(c);
  }

  void FinishParentheses() {
    for (std::size_t k = 0; k < close_at_end_; ++k) Operators(')');
    FinishOperators();
  }

  // A leading operator and an operator right after "(" get a "0" operand in
  // front, a trailing one a "0" after it; of a run of operators only the
  // first stays, also when the later one was meant as a sign (3*-2 becomes
  // 3*2). byte_before_operator_ is the previous byte of the text as it came
  // into this stage, so a dropped operator still counts as part of its run.
  void Operators(char c) {
    const char before = byte_before_operator_;
    byte_before_operator_ = c;
    if (IsOperator(c)) {
      if (IsOperator(before)) return;
      if (before == 0 || before == '(') ImplicitMultiplication('0');
    }
    ImplicitMultiplication(c);
  }

  void FinishOperators() {
    if (IsOperator(byte_before_operator_)) ImplicitMultiplication('0');
  }

  // "*" goes between a digit or ")" and "(", and between ")" and a digit:
  // 2(3) is 2*(3), (3)4 is (3)*4, (3)(4) is (3)*(4).
  void ImplicitMultiplication(char c) {
    const char before = last_written_;
    if ((c == '(' && (IsDigit(before) || before == ')')) ||
        (before == ')' && (IsDigit(c) || c == '('))) {
      out_.push_back('*');
    }
    out_.push_back(c);
    last_written_ = c;
  }

  Text& out_;
  bool at_start_ = true;
  bool held_point_ = false;
  bool point_in_number_ = false;
  bool point_waiting_ = false;
  char byte_before_ = 0;
  char byte_before_point_ = 0;
  bool turn_first_close_;
  std::size_t close_at_end_ = 0;
  char byte_before_operator_ = 0;
  char last_written_ = 0;
};

}  // namespace

void StandardSanitizer(std::string_view line, Text& expression) {
  const ParenthesisPlan plan = PlanFor(line);
  expression.clear();
  expression.reserve(plan.reserve);
  Sanitizer sanitizer(plan, expression);
  ForEachAllowedByte(line, [&](char c) { sanitizer.Push(c); });
  sanitizer.Finish();
}

Text StandardSanitizer(std::string_view line) {
  Text expression;
  StandardSanitizer(line, expression);
  return expression;
}

}  // namespace sumora
