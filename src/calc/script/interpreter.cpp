#include "calc/script/interpreter.h"

#include <cmath>
#include <cstdint>
#include <forward_list>
#include <limits>
#include <string>
#include <utility>

#include "calc/script/lexer.h"
#include "calc/script/math.h"

namespace sumora::script {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What an operand is besides its value: a reference to a named global or to
// a property, which ++, --, delete, typeof and assignment need. Properties
// are read when the reference is made (reading has no side effects), so a
// reference carries its value along.
enum class Ref : std::uint8_t { kNone, kIdentifier, kProperty };

struct Operand {
  Value value;
  Ref ref = Ref::kNone;
  bool unresolvable = false;  // kIdentifier: no global of that name
  bool dont_delete = false;   // the property is permanent
};

// Binding powers of the binary operators; 0 for any other token.
int BinaryPrecedence(TokenKind kind) {
  switch (kind) {
    case TokenKind::kOrOr:
      return 1;
    case TokenKind::kAndAnd:
      return 2;
    case TokenKind::kPipe:
      return 3;
    case TokenKind::kCaret:
      return 4;
    case TokenKind::kAmp:
      return 5;
    case TokenKind::kEqual:
    case TokenKind::kNotEqual:
    case TokenKind::kStrictEqual:
    case TokenKind::kStrictNotEqual:
      return 6;
    case TokenKind::kLess:
    case TokenKind::kGreater:
    case TokenKind::kLessEqual:
    case TokenKind::kGreaterEqual:
    case TokenKind::kInstanceof:
    case TokenKind::kIn:
      return 7;
    case TokenKind::kShiftLeft:
    case TokenKind::kShiftRight:
    case TokenKind::kShiftRightUnsigned:
      return 8;
    case TokenKind::kPlus:
    case TokenKind::kMinus:
      return 9;
    case TokenKind::kStar:
    case TokenKind::kSlash:
    case TokenKind::kPercent:
      return 10;
    default:
      return 0;
  }
}

// The binary operator of a compound assignment ("+=" -> "+"), or kEnd for
// a plain "=" and for tokens that are no assignment.
constexpr TokenKind CompoundOperator(TokenKind kind) {
  switch (kind) {
    case TokenKind::kPlusAssign:
      return TokenKind::kPlus;
    case TokenKind::kMinusAssign:
      return TokenKind::kMinus;
    case TokenKind::kStarAssign:
      return TokenKind::kStar;
    case TokenKind::kSlashAssign:
      return TokenKind::kSlash;
    case TokenKind::kPercentAssign:
      return TokenKind::kPercent;
    case TokenKind::kShiftLeftAssign:
      return TokenKind::kShiftLeft;
    case TokenKind::kShiftRightAssign:
      return TokenKind::kShiftRight;
    case TokenKind::kShiftRightUnsignedAssign:
      return TokenKind::kShiftRightUnsigned;
    case TokenKind::kAmpAssign:
      return TokenKind::kAmp;
    case TokenKind::kPipeAssign:
      return TokenKind::kPipe;
    case TokenKind::kCaretAssign:
      return TokenKind::kCaret;
    default:
      return TokenKind::kEnd;
  }
}

// "=" and the compound assignments, which follow it in TokenKind.
constexpr bool IsAssignment(TokenKind kind) {
  return kind >= TokenKind::kAssign && kind <= TokenKind::kCaretAssign;
}
constexpr bool CompoundAssignmentsFollowAssign() {
  for (int k = 0; k <= static_cast<int>(TokenKind::kOther); ++k) {
    const auto kind = static_cast<TokenKind>(k);
    const bool compound = CompoundOperator(kind) != TokenKind::kEnd;
    if (IsAssignment(kind) != (compound || kind == TokenKind::kAssign)) {
      return false;
    }
  }
  return true;
}
static_assert(CompoundAssignmentsFollowAssign());

// A global name: Math, NaN, Infinity, undefined. False for any other name.
bool LookupGlobal(std::string_view name, Value& out, bool& dont_delete) {
  if (name == "Math") {
    out = Value::Tagged(ValueKind::kMath);
    dont_delete = false;
    return true;
  }
  dont_delete = true;
  if (name == "NaN") {
    out = Value::Number(kNaN);
    return true;
  }
  if (name == "Infinity") {
    out = Value::Number(std::numeric_limits<double>::infinity());
    return true;
  }
  if (name == "undefined") {
    out = Value::Undefined();
    return true;
  }
  return false;
}

// The number of characters of a code page 936 string (a double-byte
// character counts once, as it does in UTF-16).
double CharacterCount(std::string_view s) {
  double count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    i += static_cast<unsigned char>(s[i]) >= 0x80 && i + 1 < s.size() ? 2 : 1;
  }
  return count;
}

// Reads a property of a value that is neither undefined nor null.
bool GetProperty(const Value& base, std::string_view name, Value& out,
                 bool& dont_delete) {
  dont_delete = true;
  switch (base.kind) {
    case ValueKind::kMath:
      return LookupMathMember(name, out, dont_delete);
    case ValueKind::kGlobal:
      return LookupGlobal(name, out, dont_delete);
    case ValueKind::kFunction:
      if (name != "length") return false;
      out = Value::Number(MathFunctionLength(base.function_id));
      return true;
    case ValueKind::kString:
      if (name != "length") return false;
      out = Value::Number(CharacterCount(base.text));
      return true;
    case ValueKind::kRegExp:
      if (name == "source") {
        out = Value::String(base.text);
      } else if (name == "global") {
        out = Value::Boolean(base.regexp_flags & kRegExpGlobal);
      } else if (name == "ignoreCase") {
        out = Value::Boolean(base.regexp_flags & kRegExpIgnoreCase);
      } else if (name == "multiline") {
        out = Value::Boolean(base.regexp_flags & kRegExpMultiline);
      } else if (name == "lastIndex") {
        out = Value::Number(0);
      } else {
        return false;
      }
      return true;
    default:
      return false;
  }
}

// Whether two objects are the same object. A regular-expression literal makes
// its object when it is evaluated, once per evaluation, so its place in the
// source names it.
bool SameObject(const Value& x, const Value& y) {
  if (x.kind != y.kind) return false;
  if (x.kind == ValueKind::kFunction) return x.function_id == y.function_id;
  if (x.kind == ValueKind::kRegExp) return x.text.data() == y.text.data();
  return true;
}

bool StrictEquals(const Value& x, const Value& y) {
  if (x.kind != y.kind) return false;
  switch (x.kind) {
    case ValueKind::kUndefined:
    case ValueKind::kNull:
      return true;
    case ValueKind::kBoolean:
      return x.boolean == y.boolean;
    case ValueKind::kNumber:
      return x.number == y.number;
    case ValueKind::kString:
      return x.text == y.text;
    default:
      return SameObject(x, y);
  }
}

// The == operator (ECMAScript 3, 11.9.3). Every step moves towards two
// primitives of one type, so the recursion is at most three deep.
bool LooseEquals(const Value& x, const Value& y) {
  if (x.kind == y.kind) return StrictEquals(x, y);
  const auto nullish = [](const Value& v) {
    return v.kind == ValueKind::kUndefined || v.kind == ValueKind::kNull;
  };
  if (nullish(x) || nullish(y)) return nullish(x) && nullish(y);
  if (x.kind == ValueKind::kBoolean) {
    return LooseEquals(Value::Number(ToNumber(x)), y);
  }
  if (y.kind == ValueKind::kBoolean) {
    return LooseEquals(x, Value::Number(ToNumber(y)));
  }
  if (x.IsObject() && y.IsObject()) return false;  // different kinds
  // An object against a primitive: the object's primitive is its text.
  if (x.IsObject()) return LooseEquals(Value::String(ToString(x)), y);
  if (y.IsObject()) return LooseEquals(x, Value::String(ToString(y)));
  // A number and a string.
  return ToNumber(x) == ToNumber(y);
}

// The relational comparison x < y (11.8.5): false when either side is NaN.
// Strings compare by their bytes, which orders ASCII as the language does.
bool LessThan(const Value& x, const Value& y, bool or_equal) {
  // The primitive of an object is its text.
  const auto is_text = [](const Value& v) {
    return v.kind == ValueKind::kString || v.IsObject();
  };
  if (is_text(x) && is_text(y)) {
    const int c = ToString(x).compare(ToString(y));
    return or_equal ? c <= 0 : c < 0;
  }
  const double a = ToNumber(x);
  const double b = ToNumber(y);
  return or_equal ? a <= b : a < b;
}

class Parser {
 public:
  explicit Parser(std::string_view source) : lexer_(source) {}

  Evaluation Run() {
    Evaluation result;
    Advance(true);
    Operand out;
    if (tok_.kind != TokenKind::kEnd) {
      if (ParseExpression(out) && GetValue(out) &&
          tok_.kind != TokenKind::kEnd) {
        Fail(Failure::kSyntaxError);
      }
    }
    result.failure = failure_;
    if (failure_ != Failure::kNone) return result;
    result.kind = out.value.kind;
    if (out.value.kind == ValueKind::kNumber) {
      result.number = out.value.number;
    } else if (out.value.kind != ValueKind::kUndefined) {
      AppendToString(out.value, result.text);
    }
    return result;
  }

 private:
  // Keeps count of the recursion; the parse fails past the limit.
  class DepthGuard {
   public:
    explicit DepthGuard(Parser& p) : p_(p) { ++p_.depth_; }
    ~DepthGuard() { --p_.depth_; }
    bool TooDeep() const { return p_.depth_ > kMaxNestingDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Parser& p_;
  };

  void Advance(bool operand_expected) { lexer_.Next(operand_expected, tok_); }

  bool Fail(Failure f) {
    if (failure_ == Failure::kNone) failure_ = f;
    return false;
  }

  // A failure while computing: inside an operand that && || or ?: skip it
  // is no failure (the operand is read but not evaluated).
  bool RuntimeError(Failure f) { return skip_ > 0 ? true : Fail(f); }

  bool Expect(TokenKind kind, bool operand_expected) {
    if (tok_.kind != kind) return Fail(Failure::kSyntaxError);
    Advance(operand_expected);
    return true;
  }

  // Turns a reference into its value: an unknown name fails here.
  bool GetValue(Operand& o) {
    if (o.ref == Ref::kIdentifier && o.unresolvable) {
      o.unresolvable = false;
      if (!RuntimeError(Failure::kReferenceError)) return false;
    }
    return true;
  }

  // Expression : AssignmentExpression ("," AssignmentExpression)*
  bool ParseExpression(Operand& out) {
    if (!ParseAssignment(out)) return false;
    while (tok_.kind == TokenKind::kComma) {
      if (!GetValue(out)) return false;
      Advance(true);
      Operand next;
      if (!ParseAssignment(next) || !GetValue(next)) return false;
      out.value = next.value;
      out.ref = Ref::kNone;
    }
    return true;
  }

  // AssignmentExpression: a conditional, or a reference, an assignment
  // operator and an AssignmentExpression (right-associative).
  bool ParseAssignment(Operand& out) {
    DepthGuard guard(*this);
    if (guard.TooDeep()) return Fail(Failure::kTooDeep);
    if (!ParseBinary(1, out)) return false;
    if (tok_.kind == TokenKind::kQuestion) return ParseConditionalRest(out);
    if (!IsAssignment(tok_.kind)) return true;
    // Only a reference can be assigned to; that is known from the text alone,
    // so it is an error even where the assignment would not be evaluated.
    if (out.ref == Ref::kNone) return Fail(Failure::kSyntaxError);
    const TokenKind op = CompoundOperator(tok_.kind);
    Advance(true);
    if (op != TokenKind::kEnd && !GetValue(out)) return false;
    Operand right;
    if (!ParseAssignment(right) || !GetValue(right)) return false;
    if (op == TokenKind::kEnd) {
      out.value = right.value;
    } else if (!ApplyBinary(op, out.value, right.value)) {
      return false;
    }
    // The value is the assigned value; nothing is stored.
    out.ref = Ref::kNone;
    return true;
  }

  // The rest of `condition ? a : b`; the branch not taken is read, not
  // evaluated.
  bool ParseConditionalRest(Operand& out) {
    if (!GetValue(out)) return false;
    const bool condition = ToBoolean(out.value);
    Advance(true);
    Operand a;
    Operand b;
    if (!condition) ++skip_;
    const bool a_ok = ParseAssignment(a) && GetValue(a);
    if (!condition) --skip_;
    if (!a_ok || !Expect(TokenKind::kColon, true)) return false;
    if (condition) ++skip_;
    const bool b_ok = ParseAssignment(b) && GetValue(b);
    if (condition) --skip_;
    if (!b_ok) return false;
    out.value = condition ? a.value : b.value;
    out.ref = Ref::kNone;
    return true;
  }

  // Binary operators by precedence climbing, all left-associative.
  bool ParseBinary(int min_precedence, Operand& out) {
    return ParseUnary(out) && ParseBinaryRest(min_precedence, out);
  }

  // The right operand of a binary operator of `precedence`: a unary
  // expression and the operators after it that bind more tightly. Most right
  // operands are a lone number, which takes no further call.
  bool ParseRightOperand(int precedence, Operand& out) {
    if (!ParseUnary(out)) return false;
    return BinaryPrecedence(tok_.kind) <= precedence ||
           ParseBinaryRest(precedence + 1, out);
  }

  // The binary operators after the operand `out` that bind at least as
  // tightly as `min_precedence` (at least 1). The recursion for a right
  // operand always raises the precedence, so its depth is bounded by the
  // number of levels.
  bool ParseBinaryRest(int min_precedence, Operand& out) {
    for (;;) {
      const TokenKind op = tok_.kind;
      const int precedence = BinaryPrecedence(op);
      if (precedence < min_precedence) return true;
      if (!GetValue(out)) return false;
      Advance(true);
      Operand right;
      if (op == TokenKind::kAndAnd || op == TokenKind::kOrOr) {
        // The right operand counts only when the left does not decide.
        const bool left = ToBoolean(out.value);
        const bool skip_right = op == TokenKind::kAndAnd ? !left : left;
        if (skip_right) ++skip_;
        const bool ok = ParseRightOperand(precedence, right) && GetValue(right);
        if (skip_right) --skip_;
        if (!ok) return false;
        if (!skip_right) out.value = right.value;
      } else {
        if (!ParseRightOperand(precedence, right) || !GetValue(right)) {
          return false;
        }
        Value& left = out.value;
        if (left.kind == ValueKind::kNumber &&
            right.value.kind == ValueKind::kNumber && op >= TokenKind::kPlus &&
            op <= TokenKind::kSlash) {
          // Arithmetic of two numbers, the common case, without a call.
          const double b = right.value.number;
          left.number = op == TokenKind::kPlus    ? left.number + b
                        : op == TokenKind::kMinus ? left.number - b
                        : op == TokenKind::kStar  ? left.number * b
                                                  : left.number / b;
        } else if (!ApplyBinary(op, left, right.value)) {
          return false;
        }
      }
      out.ref = Ref::kNone;
    }
  }

  // left = left op right, for every binary operator but && and ||.
  bool ApplyBinary(TokenKind op, Value& left, const Value& right) {
    // The common case first: two numbers and an arithmetic operator.
    if (left.kind == ValueKind::kNumber && right.kind == ValueKind::kNumber) {
      const double a = left.number;
      const double b = right.number;
      switch (op) {
        case TokenKind::kPlus:
          left.number = a + b;
          return true;
        case TokenKind::kMinus:
          left.number = a - b;
          return true;
        case TokenKind::kStar:
          left.number = a * b;
          return true;
        case TokenKind::kSlash:
          left.number = a / b;
          return true;
        case TokenKind::kPercent:
          left.number = std::fmod(a, b);
          return true;
        default:
          break;
      }
    }
    switch (op) {
      case TokenKind::kPlus:
        // Concatenation when either side is a string after ToPrimitive,
        // which every object is.
        if (left.kind == ValueKind::kString || left.IsObject() ||
            right.kind == ValueKind::kString || right.IsObject()) {
          left = Concatenate(left, right);
        } else {
          left = Value::Number(ToNumber(left) + ToNumber(right));
        }
        return true;
      case TokenKind::kMinus:
        left = Value::Number(ToNumber(left) - ToNumber(right));
        return true;
      case TokenKind::kStar:
        left = Value::Number(ToNumber(left) * ToNumber(right));
        return true;
      case TokenKind::kSlash:
        left = Value::Number(ToNumber(left) / ToNumber(right));
        return true;
      case TokenKind::kPercent:
        // The remainder keeps the dividend's sign, as fmod does.
        left = Value::Number(std::fmod(ToNumber(left), ToNumber(right)));
        return true;
      case TokenKind::kShiftLeft:
        left = Value::Number(static_cast<std::int32_t>(
            ToUint32(ToNumber(left)) << (ToUint32(ToNumber(right)) & 31)));
        return true;
      case TokenKind::kShiftRight:
        left = Value::Number(ToInt32(ToNumber(left)) >>
                             (ToUint32(ToNumber(right)) & 31));
        return true;
      case TokenKind::kShiftRightUnsigned:
        left = Value::Number(ToUint32(ToNumber(left)) >>
                             (ToUint32(ToNumber(right)) & 31));
        return true;
      case TokenKind::kAmp:
        left =
            Value::Number(ToInt32(ToNumber(left)) & ToInt32(ToNumber(right)));
        return true;
      case TokenKind::kCaret:
        left =
            Value::Number(ToInt32(ToNumber(left)) ^ ToInt32(ToNumber(right)));
        return true;
      case TokenKind::kPipe:
        left =
            Value::Number(ToInt32(ToNumber(left)) | ToInt32(ToNumber(right)));
        return true;
      case TokenKind::kLess:
        left = Value::Boolean(LessThan(left, right, false));
        return true;
      case TokenKind::kGreater:
        left = Value::Boolean(LessThan(right, left, false));
        return true;
      case TokenKind::kLessEqual:
        left = Value::Boolean(LessThan(left, right, true));
        return true;
      case TokenKind::kGreaterEqual:
        left = Value::Boolean(LessThan(right, left, true));
        return true;
      case TokenKind::kEqual:
        left = Value::Boolean(LooseEquals(left, right));
        return true;
      case TokenKind::kNotEqual:
        left = Value::Boolean(!LooseEquals(left, right));
        return true;
      case TokenKind::kStrictEqual:
        left = Value::Boolean(StrictEquals(left, right));
        return true;
      case TokenKind::kStrictNotEqual:
        left = Value::Boolean(!StrictEquals(left, right));
        return true;
      case TokenKind::kIn: {
        // The right side must be an object; the left names a property.
        if (!right.IsObject()) {
          if (!RuntimeError(Failure::kTypeError)) return false;
          left = Value::Undefined();
          return true;
        }
        Value ignored;
        bool dont_delete;
        left = Value::Boolean(
            GetProperty(right, ToString(left), ignored, dont_delete));
        return true;
      }
      case TokenKind::kInstanceof:
        // The right side must be a function with a prototype, and none of
        // ours has one; a primitive on the left is never an instance.
        if (right.kind != ValueKind::kFunction || left.IsObject()) {
          if (!RuntimeError(Failure::kTypeError)) return false;
        }
        left = Value::Boolean(false);
        return true;
      default:
        return Fail(Failure::kSyntaxError);
    }
  }

  // UnaryExpression: prefix operators, then a postfix expression. A number,
  // the everyday operand, is read here; it counts a level of nesting like
  // any unary expression, the level held only while a postfix part is read.
  bool ParseUnary(Operand& out) {
    if (tok_.kind != TokenKind::kNumber) return ParseUnaryOperator(out);
    // The everyday operand: a number followed by an operator.
    if (depth_ >= kMaxNestingDepth) return Fail(Failure::kTooDeep);
    out = Operand();
    out.value = Value::Number(tok_.number);
    Advance(false);
    if (!IsPostfixStart(tok_.kind)) return true;
    DepthGuard guard(*this);
    return ParsePostfixRest(out);
  }

  // A unary expression that does not begin with a number.
  bool ParseUnaryOperator(Operand& out) {
    DepthGuard guard(*this);
    if (guard.TooDeep()) return Fail(Failure::kTooDeep);
    const TokenKind op = tok_.kind;
    switch (op) {
      case TokenKind::kPlus:
      case TokenKind::kMinus:
      case TokenKind::kTilde:
      case TokenKind::kBang:
      case TokenKind::kVoid:
        Advance(true);
        if (!ParseUnary(out) || !GetValue(out)) return false;
        if (op == TokenKind::kPlus) {
          out.value = Value::Number(ToNumber(out.value));
        } else if (op == TokenKind::kMinus) {
          out.value = Value::Number(-ToNumber(out.value));
        } else if (op == TokenKind::kTilde) {
          out.value = Value::Number(~ToInt32(ToNumber(out.value)));
        } else if (op == TokenKind::kBang) {
          out.value = Value::Boolean(!ToBoolean(out.value));
        } else {
          out.value = Value::Undefined();
        }
        out.ref = Ref::kNone;
        return true;
      case TokenKind::kTypeof:
        Advance(true);
        if (!ParseUnary(out)) return false;
        // An unknown name is "undefined" here, not an error.
        if (out.ref == Ref::kIdentifier && out.unresolvable) {
          out.value = Value::Undefined();
        }
        out.value = Value::String(TypeOf(out.value));
        out.ref = Ref::kNone;
        return true;
      case TokenKind::kDelete: {
        Advance(true);
        if (!ParseUnary(out)) return false;
        // Deleting is allowed for anything but a permanent property, and
        // nothing is removed.
        const bool deleted =
            out.ref == Ref::kNone || out.unresolvable || !out.dont_delete;
        out.value = Value::Boolean(deleted);
        out.ref = Ref::kNone;
        return true;
      }
      case TokenKind::kPlusPlus:
      case TokenKind::kMinusMinus:
        Advance(true);
        if (!ParseUnary(out)) return false;
        return IncrementOrDecrement(out, op == TokenKind::kPlusPlus, true);
      default:
        return ParsePostfix(out);
    }
  }

  // ++ and -- need a reference (known from the text, so always checked);
  // the prefix form gives the new number, the postfix form the old one,
  // and neither stores anything.
  bool IncrementOrDecrement(Operand& out, bool increment, bool prefix) {
    if (out.ref == Ref::kNone) return Fail(Failure::kSyntaxError);
    if (!GetValue(out)) return false;
    const double old_value = ToNumber(out.value);
    const double new_value = increment ? old_value + 1 : old_value - 1;
    out.value = Value::Number(prefix ? new_value : old_value);
    out.ref = Ref::kNone;
    return true;
  }

  // PostfixExpression: a left-hand side, then ++ or -- on the same line.
  bool ParsePostfix(Operand& out) {
    if (tok_.kind == TokenKind::kNew) {
      if (!ParseNew(out)) return false;
    } else if (!ParsePrimary(out)) {
      return false;
    }
    return ParsePostfixRest(out);
  }

  static bool IsPostfixStart(TokenKind kind) {
    return kind == TokenKind::kDot || kind == TokenKind::kLeftBracket ||
           kind == TokenKind::kLeftParen || kind == TokenKind::kPlusPlus ||
           kind == TokenKind::kMinusMinus;
  }

  // After a primary expression or `new`: any chain of ".name", "[key]" and
  // argument lists, then ++ or -- on the same line.
  bool ParsePostfixRest(Operand& out) {
    for (;;) {
      if (tok_.kind == TokenKind::kDot ||
          tok_.kind == TokenKind::kLeftBracket) {
        if (!ParseMemberAccess(out)) return false;
      } else if (tok_.kind == TokenKind::kLeftParen) {
        if (!ParseCall(out)) return false;
      } else {
        break;
      }
    }
    if ((tok_.kind == TokenKind::kPlusPlus ||
         tok_.kind == TokenKind::kMinusMinus) &&
        !tok_.newline_before) {
      const bool increment = tok_.kind == TokenKind::kPlusPlus;
      if (!IncrementOrDecrement(out, increment, false)) return false;
      Advance(false);
    }
    return true;
  }

  // `new` MemberExpression Arguments?; it always fails when evaluated, since
  // no value here is a constructor.
  bool ParseNew(Operand& out) {
    DepthGuard guard(*this);
    if (guard.TooDeep()) return Fail(Failure::kTooDeep);
    Advance(true);
    if (tok_.kind == TokenKind::kNew) {
      if (!ParseNew(out)) return false;
    } else if (!ParsePrimary(out)) {
      return false;
    }
    while (tok_.kind == TokenKind::kDot ||
           tok_.kind == TokenKind::kLeftBracket) {
      if (!ParseMemberAccess(out)) return false;
    }
    if (!GetValue(out)) return false;
    if (tok_.kind == TokenKind::kLeftParen) {
      MathArguments ignored;
      if (!ParseArguments(ignored)) return false;
    }
    if (!RuntimeError(Failure::kTypeError)) return false;
    out = Operand();
    return true;
  }

  // ".name" or "[key]" after `out`; the property is read right away.
  bool ParseMemberAccess(Operand& out) {
    if (!GetValue(out)) return false;
    std::string key;
    std::string_view name;
    if (tok_.kind == TokenKind::kDot) {
      Advance(false);
      // Any identifier name, reserved words included, may follow the point.
      if (tok_.kind == TokenKind::kIdentifier ||
          tok_.kind == TokenKind::kReserved ||
          (tok_.kind >= TokenKind::kTrue &&
           tok_.kind <= TokenKind::kInstanceof)) {
        name = tok_.text;
      } else {
        return Fail(Failure::kSyntaxError);
      }
    } else {
      Advance(true);
      Operand index;
      if (!ParseExpression(index) || !GetValue(index)) return false;
      if (tok_.kind != TokenKind::kRightBracket) {
        return Fail(Failure::kSyntaxError);
      }
      key = ToString(index.value);
      name = key;
    }
    // The name may view the lexer's buffer: use it before advancing.
    Operand result;
    result.ref = Ref::kProperty;
    if (skip_ == 0) {
      if (out.value.kind == ValueKind::kUndefined ||
          out.value.kind == ValueKind::kNull) {
        return Fail(Failure::kTypeError);
      }
      if (!GetProperty(out.value, name, result.value, result.dont_delete)) {
        result.value = Value::Undefined();
        result.dont_delete = false;
      }
    }
    out = std::move(result);
    Advance(false);
    return true;
  }

  // "(" arguments ")", each argument taken as a number.
  bool ParseArguments(MathArguments& args) {
    Advance(true);
    if (tok_.kind != TokenKind::kRightParen) {
      for (;;) {
        Operand arg;
        if (!ParseAssignment(arg) || !GetValue(arg)) return false;
        args.Add(ToNumber(arg.value));
        if (tok_.kind != TokenKind::kComma) break;
        Advance(true);
      }
    }
    return Expect(TokenKind::kRightParen, false);
  }

  // A call of `out`: only the functions of Math can be called.
  bool ParseCall(Operand& out) {
    if (!GetValue(out)) return false;
    MathArguments args;
    if (!ParseArguments(args)) return false;
    if (skip_ > 0) {
      out = Operand();
      return true;
    }
    if (out.value.kind != ValueKind::kFunction) {
      return Fail(Failure::kTypeError);
    }
    const double result = CallMath(out.value.function_id, args);
    out = Operand();
    out.value = Value::Number(result);
    return true;
  }

  bool ParsePrimary(Operand& out) {
    out = Operand();
    switch (tok_.kind) {
      case TokenKind::kNumber:
        out.value = Value::Number(tok_.number);
        break;
      case TokenKind::kString:
        if (tok_.has_escapes) {
          std::string& text = NewString(tok_.text.size());
          DecodeStringLiteral(tok_.text, text);
          out.value = Value::String(text);
        } else {
          out.value = Value::String(tok_.text);
        }
        break;
      case TokenKind::kRegExp:
        out.value = Value::RegExp(tok_.text, tok_.regexp_flags);
        break;
      case TokenKind::kTrue:
      case TokenKind::kFalse:
        out.value = Value::Boolean(tok_.kind == TokenKind::kTrue);
        break;
      case TokenKind::kNull:
        out.value = Value::Null();
        break;
      case TokenKind::kThis:
        out.value = Value::Tagged(ValueKind::kGlobal);
        break;
      case TokenKind::kIdentifier:
        out.ref = Ref::kIdentifier;
        out.unresolvable = !LookupGlobal(tok_.text, out.value, out.dont_delete);
        break;
      case TokenKind::kLeftParen:
        // A parenthesised reference stays a reference: ++(Math.PI) is valid.
        Advance(true);
        if (!ParseExpression(out)) return false;
        if (tok_.kind != TokenKind::kRightParen) {
          return Fail(Failure::kSyntaxError);
        }
        break;
      default:
        return Fail(Failure::kSyntaxError);
    }
    Advance(false);
    return true;
  }

  // A string of the evaluation's own, alive until it ends.
  std::string& NewString(std::size_t capacity) {
    strings_.emplace_front();
    strings_.front().reserve(capacity);
    return strings_.front();
  }

  // a + b as text. A chain of concatenations ("a"+1+2+...) appends to the
  // newest string while its capacity lasts and otherwise copies into one of
  // twice the size, so a chain costs linear time; a string is never
  // reallocated, so every view of it stays valid.
  Value Concatenate(const Value& a, const Value& b) {
    if (!strings_.empty() && a.kind == ValueKind::kString) {
      std::string& newest = strings_.front();
      if (a.text.data() == newest.data() && a.text.size() == newest.size()) {
        const std::size_t before = newest.size();
        const std::size_t room = newest.capacity() - before;
        // Append only if it fits; the text of anything but a string or a
        // regular expression is at most 35 bytes.
        const bool fits =
            b.kind == ValueKind::kString || b.kind == ValueKind::kRegExp
                ? b.text.size() + 8 <= room
                : room >= 64;
        if (fits) {
          AppendToString(b, newest);
          return Value::String(newest);
        }
      }
    }
    const std::size_t guess =
        a.text.size() + b.text.size() + 40;  // objects and numbers are short
    std::string& text = NewString(2 * guess);
    AppendToString(a, text);
    AppendToString(b, text);
    return Value::String(text);
  }

  Lexer lexer_;
  Token tok_;
  std::forward_list<std::string> strings_;
  int depth_ = 0;
  int skip_ = 0;  // > 0 inside an operand that is read but not evaluated
  Failure failure_ = Failure::kNone;
};

}  // namespace

Evaluation Evaluate(std::string_view expression) {
  Parser parser(expression);
  return parser.Run();
}

}  // namespace sumora::script
