#include "calc/standard.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// The sanitizer is written as the system describes its repairs, as a sequence
// of passes over the working text, but every pass here is a stage of one
// stream: each stage takes one byte at a time, keeps the byte or two of
// context its repair needs, and hands zero, one or two bytes to the next
// stage. The line is therefore read twice (once to count its parentheses and
// points, once to rewrite it) and the expression is written once, into a
// buffer sized up front from those counts: the caller's text, the stack, or
// for a long line room that is copied out at the expression's own length.
//
// Two of the repairs are described as scans that start again from the first
// byte after every change (runs of operators, implicit multiplication). Each
// of their changes is local (it removes the second of two adjacent operators,
// or puts "*" between two adjacent bytes), no change creates or destroys the
// condition for another one, and the bytes a change looks at are never
// affected by a change elsewhere; so the fixed point those scans reach is the
// one a single left-to-right pass gives.
//
// The context each stage keeps comes down to a handful of yes/no facts, so
// the stages together have fewer than a hundred states a line can reach.
// They run at compile time, for every such state and every input, and the
// writer only looks up what they do in the resulting table (StreamTable): a
// few instructions a byte instead of a branch or two in each of six stages.
// The filter and the plan read the line through 256-entry tables of what
// each byte is to them.

#if defined(__GNUC__) || defined(__clang__)
#define SUMORA_INLINE __attribute__((always_inline))
#else
#define SUMORA_INLINE
#endif

namespace sumora {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// ---------------------------------------------------------------------------
// Bytes as inputs of the stream.
// ---------------------------------------------------------------------------

// The eighteen bytes an expression is made of. The stream numbers them by
// their place here.
constexpr std::string_view kAllowedBytes = "0123456789+-*/^().";
constexpr unsigned kAllowedCount = kAllowedBytes.size();

// Besides the bytes of the line, the stream takes four inputs of its own: a
// "(" put in front, the end of the line, a ")" appended and the last look at
// a trailing operator.
constexpr unsigned kFrontParenthesis = kAllowedCount;
constexpr unsigned kEndOfLine = kAllowedCount + 1;
constexpr unsigned kEndParenthesis = kAllowedCount + 2;
constexpr unsigned kTrailingOperand = kAllowedCount + 3;
constexpr unsigned kInputCount = kAllowedCount + 4;

// What a byte of the line is to the filter: one of the inputs above, a byte
// that goes, or the lead byte of a double-byte character.
constexpr std::uint8_t kDropped = 0xFE;
constexpr std::uint8_t kLead = 0xFF;

constexpr auto kByteInput = [] {
  std::array<std::uint8_t, 256> input{};
  for (unsigned b = 0; b < 256; ++b) {
    input[b] = IsLeadByte(static_cast<char>(b)) ? kLead : kDropped;
  }
  for (unsigned k = 0; k < kAllowedCount; ++k) {
    input[static_cast<unsigned char>(kAllowedBytes[k])] =
        static_cast<std::uint8_t>(k);
  }
  return input;
}();

// The byte a double-byte character leaves for the filter: its one-byte form
// if it has one, else its second byte (its first byte is never allowed).
constexpr unsigned char SingleByteOf(unsigned char first,
                                     unsigned char second) {
  if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
    return static_cast<unsigned char>(second - 0x80);  // ！ to ￣
  }
  if (first == 0xA1) {
    if (second == 0xA1) return ' ';                    // the ideographic space
    if (second == 0xAB) return '~';                    // ～
    if (second == 0xEE || second == 0xEF) return '*';  // ☆ and ★
  }
  return second;
}

// ---------------------------------------------------------------------------
// The repairs as stages of one stream.
// ---------------------------------------------------------------------------

// How the operators stage sees the byte before the one it takes.
enum class Before : std::uint8_t {
  kNothing,   // no byte yet: the start of the expression
  kOpen,      // "("
  kOperator,  // + - * / ^
  kOther,     // a digit, a point or ")"
};

// How implicit multiplication sees the last byte written.
enum class Written : std::uint8_t {
  kOther,  // nothing yet, an operator, a point or "("
  kDigit,
  kClose,  // ")"
};

// Everything the stages remember between two bytes.
struct StreamState {
  // Points at the ends.
  bool at_start = true;
  bool held_point = false;
  // One point per number.
  bool point_in_number = false;
  // Points beside other bytes.
  bool byte_before_is_digit = false;
  bool point_waiting = false;
  bool digit_before_point = false;
  // Parentheses.
  bool turn_first_close = false;
  // Operators.
  Before before_operator = Before::kNothing;
  // Implicit multiplication.
  Written last_written = Written::kOther;

  // A number of its own for each state, below kStateCodes.
  constexpr unsigned Code() const {
    return at_start | held_point << 1 | point_in_number << 2 |
           byte_before_is_digit << 3 | point_waiting << 4 |
           digit_before_point << 5 | turn_first_close << 6 |
           static_cast<unsigned>(before_operator) << 7 |
           static_cast<unsigned>(last_written) << 9;
  }
};
constexpr unsigned kStateCodes = 1 << 11;

// The bytes the stream writes for one input (compile time only).
struct Output {
  std::array<char, 16> bytes{};
  unsigned length = 0;
  constexpr void Write(char c) { bytes[length++] = c; }
};

// Every repair below is one stage of the stream: it takes the next byte of
// the text it works on and hands zero, one or two bytes to the stage after
// it; the stages are written last to first. A zero byte, which no text
// holds, stands for "no byte" (after the last).

// Implicit multiplication: "*" goes between a digit or ")" and "(", and
// between ")" and a digit or "(": 2(3) is 2*(3), (3)4 is (3)*4, (3)(4) is
// (3)*(4).
constexpr void ImplicitMultiplication(StreamState& s, Output& out, char c) {
  const bool after_operand =
      s.last_written == Written::kDigit || s.last_written == Written::kClose;
  if ((c == '(' && after_operand) ||
      (s.last_written == Written::kClose && (IsDigit(c) || c == '('))) {
    out.Write('*');
  }
  out.Write(c);
  s.last_written = IsDigit(c) ? Written::kDigit
                   : c == ')' ? Written::kClose
                              : Written::kOther;
}

// Operators: a leading operator and one right after "(" get a "0" operand
// in front, a trailing one a "0" after it (kTrailingOperand); of a run of
// operators only the first stays, also when a later one was meant as a sign
// (3*-2 becomes 3*2). The byte before is that of the text coming into this
// stage, so a dropped operator still counts as part of its run.
constexpr void Operators(StreamState& s, Output& out, char c) {
  const Before before = s.before_operator;
  s.before_operator = c == '('        ? Before::kOpen
                      : IsOperator(c) ? Before::kOperator
                                      : Before::kOther;
  if (IsOperator(c)) {
    if (before == Before::kOperator) return;
    if (before == Before::kNothing || before == Before::kOpen) {
      ImplicitMultiplication(s, out, '0');
    }
  }
  ImplicitMultiplication(s, out, c);
}

// Parentheses: the first ")" turns into "(" when it comes before the first
// "("; the missing "(" go in front (kFrontParenthesis), the missing ")" at
// the end (kEndParenthesis). They are not reordered beyond that.
constexpr void Parentheses(StreamState& s, Output& out, char c) {
  if (c == ')' && s.turn_first_close) {
    s.turn_first_close = false;
    c = '(';
  }
  Operators(s, out, c);
}

// Points beside other bytes: a point after anything but a digit gets a "0"
// in front of it; a point stays only when a digit or "^" follows it, so
// before an operator, a parenthesis or the end it goes (+.+ reads +0+). Both
// tests look at the text coming into this stage, so a point waits until the
// byte after it is known.
constexpr void ResolvePoint(StreamState& s, Output& out, char next) {
  s.point_waiting = false;
  if (!s.digit_before_point) Parentheses(s, out, '0');
  if (IsDigit(next) || next == '^') Parentheses(s, out, '.');
}

constexpr void PointsBeside(StreamState& s, Output& out, char c) {
  if (s.point_waiting) ResolvePoint(s, out, c);
  if (c == '.') {
    s.point_waiting = true;
    s.digit_before_point = s.byte_before_is_digit;
  } else {
    Parentheses(s, out, c);
  }
  s.byte_before_is_digit = IsDigit(c);
}

// One point per number: a run of digits and points keeps only its first
// point (1.2.3 becomes 1.23).
constexpr void OnePointPerNumber(StreamState& s, Output& out, char c) {
  if (c == '.') {
    if (s.point_in_number) return;
    s.point_in_number = true;
  } else if (!IsDigit(c)) {
    s.point_in_number = false;
  }
  PointsBeside(s, out, c);
}

// Points at the ends: a point at the start gets a "0" in front; a point at
// the end goes (once: a second trailing point goes with the points beside
// other bytes). Each point is held back until a byte after it shows that it
// was not the last.
constexpr void EndPoints(StreamState& s, Output& out, char c) {
  if (s.at_start) {
    s.at_start = false;
    if (c == '.') OnePointPerNumber(s, out, '0');
  }
  if (s.held_point) {
    s.held_point = false;
    OnePointPerNumber(s, out, '.');
  }
  if (c == '.') {
    s.held_point = true;
  } else {
    OnePointPerNumber(s, out, c);
  }
}

// One input of the stream, through the stages it enters at.
constexpr void Feed(StreamState& s, Output& out, unsigned input) {
  if (input < kAllowedCount) {
    EndPoints(s, out, kAllowedBytes[input]);
  } else if (input == kFrontParenthesis) {
    Operators(s, out, '(');
  } else if (input == kEndOfLine) {
    // A held point was the trailing point and goes; a waiting point has no
    // byte after it.
    s.held_point = false;
    if (s.point_waiting) ResolvePoint(s, out, 0);
  } else if (input == kEndParenthesis) {
    Operators(s, out, ')');
  } else if (s.before_operator == Before::kOperator) {  // kTrailingOperand
    ImplicitMultiplication(s, out, '0');
  }
}

// ---------------------------------------------------------------------------
// The stages as a table.
// ---------------------------------------------------------------------------

// What the stream does with one input in one state: the bytes it writes
// (the first `length` of `bytes`) and where the steps of the state it goes to
// begin in the table. Eight bytes, so that the writer copies a whole step
// into the expression in one move and then counts only the bytes that belong
// there.
struct Step {
  char bytes[5];
  std::uint8_t length;
  std::uint16_t next;
};
static_assert(sizeof(Step) == 8);

// The length of a step no line takes (an input a state never gets, such as
// a byte of the line after its end); the writer asserts it never meets one.
constexpr std::uint8_t kNoStep = 0xFF;

// Walks every state a line can lead the stream to, numbering the states as it
// meets them, and calls visit(from, input, output, to) for every step a line
// can take. Returns the number of states.
//
// A line feeds the inputs in this order: the "(" put in front, while no byte
// of the line has come (the points at the ends still wait for the first
// byte); the bytes of the line; the end of the line; the ")" appended; the
// trailing operand, the last input. The walk keeps to that order, which
// leaves out the states no line reaches. A state met both before and after
// the end of the line is walked on both sides, and as the two sides take
// different inputs, one row of steps holds them all.
template <typename Visit>
constexpr unsigned WalkStates(Visit&& visit) {
  // The states met so far, by number, and the number of each by its code.
  std::array<StreamState, kStateCodes> states{};
  std::array<int, kStateCodes> number{};
  number.fill(-1);
  unsigned count = 0;
  // The states to walk, each with its side of the end of the line.
  struct ToWalk {
    unsigned state;
    bool after_end;
  };
  std::array<ToWalk, 2 * kStateCodes> to_walk{};
  std::array<std::array<bool, 2>, kStateCodes> met{};
  unsigned to_walk_count = 0;
  const auto meet = [&](const StreamState& s, bool after_end) {
    const unsigned code = s.Code();
    if (number[code] < 0) {
      number[code] = static_cast<int>(count);
      states[count++] = s;
    }
    const auto state = static_cast<unsigned>(number[code]);
    if (!met[code][after_end]) {
      met[code][after_end] = true;
      to_walk[to_walk_count++] = {state, after_end};
    }
    return state;
  };

  StreamState start;
  meet(start, false);
  start.turn_first_close = true;
  meet(start, false);
  for (unsigned k = 0; k < to_walk_count; ++k) {
    const auto [from, after_end] = to_walk[k];
    for (unsigned input = 0; input < kInputCount; ++input) {
      const bool takes_after_end =
          input == kEndParenthesis || input == kTrailingOperand;
      if (takes_after_end != after_end) continue;
      if (input == kFrontParenthesis && !states[from].at_start) continue;
      StreamState s = states[from];
      Output out;
      Feed(s, out, input);
      // Nothing follows the trailing operand; its step stays where it is.
      const unsigned to = input == kTrailingOperand
                              ? from
                              : meet(s, after_end || input == kEndOfLine);
      visit(from, input, out, to);
    }
  }
  return count;
}

constexpr unsigned kStateCount = WalkStates([](auto...) {});

// The steps of state k are steps[k * kInputCount + input].
struct StreamTable {
  std::array<Step, kStateCount * kInputCount> steps{};
  unsigned longest_step = 0;  // the most bytes one step writes
};

constexpr StreamTable kStream = [] {
  StreamTable table;
  for (Step& step : table.steps) step.length = kNoStep;
  WalkStates(
      [&](unsigned from, unsigned input, const Output& out, unsigned to) {
        Step& step = table.steps[from * kInputCount + input];
        for (unsigned k = 0; k < out.length && k < sizeof step.bytes; ++k) {
          step.bytes[k] = out.bytes[k];
        }
        step.length = static_cast<std::uint8_t>(out.length);
        step.next = static_cast<std::uint16_t>(to * kInputCount);
        table.longest_step = std::max(table.longest_step, out.length);
      });
  return table;
}();

static_assert(kStateCount * kInputCount <= 0xFFFF,
              "a state's first step must fit Step::next");
static_assert(kStream.longest_step <= sizeof Step{}.bytes,
              "a step's bytes must fit Step::bytes");

// Where the steps of the states the stream starts in begin (WalkStates
// numbers these two first).
constexpr unsigned kStart = 0;
constexpr unsigned kStartTurningFirstClose = kInputCount;

// The writer copies whole steps, so the buffer it writes into needs this
// much room beyond the expression.
constexpr std::size_t kStepSlack = sizeof(Step);

// ---------------------------------------------------------------------------
// Planning and writing.
// ---------------------------------------------------------------------------

// What the parentheses repair does to a line, decided from a first reading of
// its allowed bytes (the repairs before it neither add nor remove nor reorder
// parentheses).
struct ParenthesisPlan {
  bool turn_first_close = false;  // the first ")" becomes "("
  std::size_t open_in_front = 0;  // "(" put in front of the expression
  std::size_t close_at_end = 0;   // ")" appended
  std::size_t reserve = 0;        // an upper bound of the expression's length
};

// What the plan looks for in a byte of the line.
enum PlanByte : std::uint8_t {
  kOtherByte,
  kPointByte,
  kOpenByte,
  kCloseByte,
  kLeadByte,  // the first of a double-byte character
};

constexpr auto kPlanByte = [] {
  std::array<std::uint8_t, 256> kind{};
  for (unsigned b = 0x80; b < 256; ++b) kind[b] = kLeadByte;
  kind['.'] = kPointByte;
  kind['('] = kOpenByte;
  kind[')'] = kCloseByte;
  return kind;
}();

// Reads only the parentheses and points of the line. Every "(", ")" and "."
// byte of the line stays in the expression (such a byte is never a lead byte
// and never the second byte of a character with a one-byte form), and the
// full-width forms （ ） ． join them; so a scan by characters that maps
// double-byte characters as the filter does finds them all.
ParenthesisPlan PlanFor(std::string_view line) {
  std::size_t points = 0, open = 0, close = 0;
  std::size_t close_before_open = 0;  // ")" seen when the first "(" came
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned kind = kPlanByte[static_cast<unsigned char>(line[i])];
    if (kind == kOtherByte) continue;
    if (kind == kLeadByte) {
      if (i + 1 == n) break;  // lone final byte
      const auto first = static_cast<unsigned char>(line[i]);
      const auto second = static_cast<unsigned char>(line[++i]);
      kind = kPlanByte[SingleByteOf(first, second)];
    }
    switch (kind) {
      case kPointByte:
        ++points;
        break;
      case kOpenByte:
        if (open++ == 0) close_before_open = close;
        break;
      case kCloseByte:
        ++close;
        break;
      default:  // a second byte that is none of them
        break;
    }
  }
  ParenthesisPlan plan;
  if (close_before_open > 0) {
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
// plan.reserve + kStepSlack bytes, and returns its length.
std::size_t WriteExpression(std::string_view line, const ParenthesisPlan& plan,
                            char* const out) {
  std::size_t written = 0;
  // The state, as where its steps begin.
  std::size_t state = plan.turn_first_close ? kStartTurningFirstClose : kStart;
  const auto feed = [&](std::size_t input) SUMORA_INLINE {
    const Step& step = kStream.steps[state + input];
    assert(step.length != kNoStep);
    std::memcpy(out + written, &step, sizeof step);
    written += step.length;
    state = step.next;
  };

  for (std::size_t k = plan.open_in_front; k > 0; --k) {
    feed(kFrontParenthesis);
  }

  // The filter: the full-width mapping of ToHalfWidth followed by
  // RemoveAllSpaces and a byte-wise filter, done without building either
  // text. The line is scanned by characters; a lone final byte goes (both
  // text operations drop it); a double-byte character that has a one-byte
  // form becomes that byte; any other double-byte character is tested byte by
  // byte, and as its first byte is never allowed, only its second byte can
  // stay. Spaces are not allowed bytes, so the filter removes them with
  // everything else.
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t input = kByteInput[static_cast<unsigned char>(line[i])];
    if (input >= kAllowedCount) {
      if (input == kDropped) continue;
      if (i + 1 == n) break;  // lone final byte
      const auto first = static_cast<unsigned char>(line[i]);
      const auto second = static_cast<unsigned char>(line[++i]);
      input = kByteInput[SingleByteOf(first, second)];
      if (input >= kAllowedCount) continue;
    }
    feed(input);
  }

  feed(kEndOfLine);
  for (std::size_t k = plan.close_at_end; k > 0; --k) feed(kEndParenthesis);
  feed(kTrailingOperand);

  assert(written <= plan.reserve);
  return written;
}

}  // namespace

void StandardSanitizer(std::string_view line, Text& expression) {
  const ParenthesisPlan plan = PlanFor(line);
  expression.resize(plan.reserve + kStepSlack);
  expression.resize(WriteExpression(line, plan, expression.data()));
}

Text StandardSanitizer(std::string_view line) {
  const ParenthesisPlan plan = PlanFor(line);
  // A typical line is written on the stack, so that an expression short
  // enough for the string's own small buffer needs no allocation at all.
  constexpr std::size_t kStackBuffer = 256;
  if (plan.reserve + kStepSlack <= kStackBuffer) {
    char buffer[kStackBuffer];
    return Text(buffer, WriteExpression(line, plan, buffer));
  }
  // A longer one is written into room that is neither cleared first (only
  // the pages the expression reaches are touched) nor handed back: the
  // expression is copied out at its own length.
  const std::unique_ptr<char[]> buffer(new char[plan.reserve + kStepSlack]);
  return Text(buffer.get(), WriteExpression(line, plan, buffer.get()));
}

}  // namespace sumora

#undef SUMORA_INLINE
