#include "calc/standard.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>

// The sanitizer is written as the system describes its repairs, as a sequence
// of passes over the working text, but every pass here is a stage of one
// stream: each stage takes one byte at a time, keeps the byte or two of
// context its repair needs, and hands zero, one or two bytes to the next
// stage. The line is therefore read twice (once to count its parentheses and
// points, once to rewrite it) and the expression is written once, into a
// buffer sized up front from those counts; nothing else is allocated.
//
// Two of the repairs are described as scans that start again from the first
// byte after every change (runs of operators, implicit multiplication). Each
// of their changes is local (it removes the second of two adjacent operators,
// or puts "*" between two adjacent bytes), no change creates or destroys the
// condition for another one, and the bytes a change looks at are never
// affected by a change elsewhere; so the fixed point those scans reach is the
// one a single left-to-right pass gives.

// The stages below are lambdas over the local state of one function; forcing
// them inline lets that state live in registers instead of behind the
// closures, which is most of the sanitizer's speed.
#if defined(__GNUC__) || defined(__clang__)
#define SUMORA_STAGE __attribute__((always_inline))
#else
#define SUMORA_STAGE
#endif

namespace sumora {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// The eighteen bytes an expression is made of, as a table: the filter tests
// every byte of the line.
constexpr auto kAllowed = [] {
  std::array<bool, 256> allowed{};
  for (char c : std::string_view("0123456789+-*/^().")) {
    allowed[static_cast<unsigned char>(c)] = true;
  }
  return allowed;
}();

constexpr bool IsAllowed(char c) {
  return kAllowed[static_cast<unsigned char>(c)];
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

// Reads only the parentheses and points of the line. Every "(", ")" and "."
// byte of the line stays in the expression (such a byte is never a lead byte
// and never the second byte of a character with a one-byte form), and the
// full-width forms （ ） ． join them; so a scan by characters that maps the
// full-width block and looks at every other byte as it stands finds them all.
ParenthesisPlan PlanFor(std::string_view line) {
  std::size_t points = 0, open = 0, close = 0;
  char first_parenthesis = 0;
  const auto count = [&](unsigned char c) SUMORA_STAGE {
    if (c == '.') {
      ++points;
    } else if (c == '(' || c == ')') {
      if (first_parenthesis == 0) first_parenthesis = static_cast<char>(c);
      ++(c == '(' ? open : close);
    }
  };
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (!IsLeadByte(line[i])) {
      count(c);
      continue;
    }
    if (i + 1 == n) break;  // lone final byte
    const auto second = static_cast<unsigned char>(line[++i]);
    count(c == 0xA3 && second >= 0xA1 ? second - 0x80 : second);
  }
  ParenthesisPlan plan;
  if (first_parenthesis == ')' && open > 0) {
    plan.turn_first_close = true;
    ++open;
    --close;
  }
  if (open > close) plan.close_at_end = open - close;
  if (close > open) plan.open_in_front = close - open;
  // The expression is never longer than this. It holds every byte that
  // stays (at most one per byte of the line), plus at most: a "0" before a
  // leading point and one before each point; the completing parentheses; a "0"
  // before a leading and after a trailing operator, and one after each "("; one
  // "*" per "(" (written in front of it) and one per ")" (written after it,
  // before a digit). With the parentheses completed there are `pairs` of each.
  const std::size_t pairs = std::max(open, close);
  plan.reserve = line.size() + 1 + points + plan.open_in_front +
                 plan.close_at_end + 2 + pairs + 2 * pairs;
  return plan;
}

// Writes the expression of the line into `out`, which has room for
// plan.reserve bytes, and returns its length.
std::size_t WriteExpression(std::string_view line, const ParenthesisPlan& plan,
                            char* const out) {
  std::size_t written = 0;
  const auto write = [&](char c) SUMORA_STAGE { out[written++] = c; };

  // Every repair below is one stage of a stream: it takes the next byte of
  // the text it works on and hands zero, one or two bytes to the stage after
  // it; the stages are written last to first. A zero byte, which no text
  // holds, stands for "no byte" (before the first or after the last).

  // Implicit multiplication: "*" goes between a digit or ")" and "(", and
  // between ")" and a digit or "(": 2(3) is 2*(3), (3)4 is (3)*4, (3)(4) is
  // (3)*(4).
  char last_written = 0;
  const auto implicit_multiplication = [&](char c) SUMORA_STAGE {
    if ((c == '(' && (IsDigit(last_written) || last_written == ')')) ||
        (last_written == ')' && (IsDigit(c) || c == '('))) {
      write('*');
    }
    write(c);
    last_written = c;
  };

  // Operators: a leading operator and one right after "(" get a "0" operand
  // in front, a trailing one a "0" after it; of a run of operators only the
  // first stays, also when a later one was meant as a sign (3*-2 becomes
  // 3*2). The byte before is that of the text coming into this stage, so a
  // dropped operator still counts as part of its run.
  char before_operator = 0;
  const auto operators = [&](char c) SUMORA_STAGE {
    const char before = before_operator;
    before_operator = c;
    if (IsOperator(c)) {
      if (IsOperator(before)) return;
      if (before == 0 || before == '(') implicit_multiplication('0');
    }
    implicit_multiplication(c);
  };

  // Parentheses: the first ")" turns into "(" when it comes before the first
  // "("; the missing "(" go in front, the missing ")" at the end. They are
  // not reordered beyond that.
  bool turn_first_close = plan.turn_first_close;
  const auto parentheses = [&](char c) SUMORA_STAGE {
    if (c == ')' && turn_first_close) {
      turn_first_close = false;
      c = '(';
    }
    operators(c);
  };
  for (std::size_t k = 0; k < plan.open_in_front; ++k) operators('(');

  // Points beside other bytes: a point after anything but a digit gets a
  // "0" in front of it; a point stays only when a digit or "^" follows it,
  // so before an operator, a parenthesis or the end it goes (+.+ reads
  // +0+). Both tests look at the text coming into this stage, so a point
  // waits until the byte after it is known.
  char byte_before = 0;
  char byte_before_point = 0;
  bool point_waiting = false;
  const auto resolve_point = [&](char next) SUMORA_STAGE {
    point_waiting = false;
    if (!IsDigit(byte_before_point)) parentheses('0');
    if (IsDigit(next) || next == '^') parentheses('.');
  };
  const auto points_beside = [&](char c) SUMORA_STAGE {
    if (point_waiting) resolve_point(c);
    if (c == '.') {
      point_waiting = true;
      byte_before_point = byte_before;
    } else {
      parentheses(c);
    }
    byte_before = c;
  };

  // One point per number: a run of digits and points keeps only its first
  // point (1.2.3 becomes 1.23).
  bool point_in_number = false;
  const auto one_point_per_number = [&](char c) SUMORA_STAGE {
    if (c == '.') {
      if (point_in_number) return;
      point_in_number = true;
    } else if (!IsDigit(c)) {
      point_in_number = false;
    }
    points_beside(c);
  };

  // Points at the ends: a point at the start gets a "0" in front; a point at
  // the end goes (once: a second trailing point goes with the points beside
  // other bytes). Each point is held back until a byte after it shows that
  // it was not the last.
  bool at_start = true;
  bool held_point = false;
  const auto end_points = [&](char c) SUMORA_STAGE {
    if (at_start) {
      at_start = false;
      if (c == '.') one_point_per_number('0');
    }
    if (held_point) {
      held_point = false;
      one_point_per_number('.');
    }
    if (c == '.') {
      held_point = true;
    } else {
      one_point_per_number(c);
    }
  };

  ForEachAllowedByte(line, end_points);

  // The end of the stream, stage by stage: a held point was the trailing
  // point and goes; a waiting point has no byte after it; the missing ")"
  // come; a trailing operator gets its "0".
  if (point_waiting) resolve_point(0);
  for (std::size_t k = 0; k < plan.close_at_end; ++k) operators(')');
  if (IsOperator(before_operator)) implicit_multiplication('0');

  assert(written <= plan.reserve);
  return written;
}

}  // namespace

void StandardSanitizer(std::string_view line, Text& expression) {
  const ParenthesisPlan plan = PlanFor(line);
  expression.resize(plan.reserve);
  expression.resize(WriteExpression(line, plan, expression.data()));
}

Text StandardSanitizer(std::string_view line) {
  const ParenthesisPlan plan = PlanFor(line);
  // A typical line is written on the stack, so that an expression short
  // enough for the string's own small buffer needs no allocation at all.
  constexpr std::size_t kStackBuffer = 256;
  if (plan.reserve <= kStackBuffer) {
    char buffer[kStackBuffer];
    return Text(buffer, WriteExpression(line, plan, buffer));
  }
  Text expression;
  StandardSanitizer(line, expression);
  // The room is an upper bound; do not hand back much more than is used.
  if (expression.capacity() / 2 > expression.size()) expression.shrink_to_fit();
  return expression;
}

}  // namespace sumora

#undef SUMORA_STAGE
