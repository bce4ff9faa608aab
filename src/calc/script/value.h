// Values of the expression language and the conversions between them.
//
// The evaluator knows a closed set of values: the primitives (undefined,
// null, booleans, numbers, strings) and a handful of built-in objects (the
// global object, Math, the functions of Math, regular-expression objects).
// Nothing is ever stored into an object, so an object value is only a tag:
// which object it is, and for a regular expression its literal text.
#ifndef SUMORA_CALC_SCRIPT_VALUE_H_
#define SUMORA_CALC_SCRIPT_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace sumora::script {

enum class ValueKind : std::uint8_t {
  kUndefined,
  kNull,
  kBoolean,
  kNumber,
  kString,
  kGlobal,    // the global object (what `this` is)
  kMath,      // the Math object
  kFunction,  // one of the functions of Math, `function_id` says which
  kRegExp,    // a regular-expression object: `regexp` and `regexp_flags`
};

// One of the functions of Math, in the order of MathFunctionName().
enum class MathFunction : std::uint8_t {
  kAbs,
  kAcos,
  kAsin,
  kAtan,
  kAtan2,
  kCeil,
  kCos,
  kExp,
  kFloor,
  kLog,
  kMax,
  kMin,
  kPow,
  kRandom,
  kRound,
  kSin,
  kSqrt,
  kTan,
};

// The flags of a regular expression.
inline constexpr std::uint8_t kRegExpGlobal = 1;      // g
inline constexpr std::uint8_t kRegExpIgnoreCase = 2;  // i
inline constexpr std::uint8_t kRegExpMultiline = 4;   // m

// A small variant, trivially copyable, that never owns memory. A string
// views its bytes (code page 936 text): inside the expression (a literal
// without escapes), in static storage, or in strings the evaluation keeps
// alive until it ends; a regular expression views its source inside the
// expression. So a Value must not outlive its evaluation.
struct Value {
  ValueKind kind = ValueKind::kUndefined;
  bool boolean = false;                           // kBoolean
  MathFunction function_id = MathFunction::kAbs;  // kFunction
  std::uint8_t regexp_flags = 0;  // kRegExp: kRegExpGlobal | ...
  double number = 0;              // kNumber
  std::string_view text;          // kString: the bytes; kRegExp: the source

  static Value Undefined() { return {}; }
  static Value Null() { return Tagged(ValueKind::kNull); }
  static Value Boolean(bool b) {
    Value v = Tagged(ValueKind::kBoolean);
    v.boolean = b;
    return v;
  }
  static Value Number(double d) {
    Value v = Tagged(ValueKind::kNumber);
    v.number = d;
    return v;
  }
  static Value String(std::string_view s) {
    Value v = Tagged(ValueKind::kString);
    v.text = s;
    return v;
  }
  static Value Function(MathFunction f) {
    Value v = Tagged(ValueKind::kFunction);
    v.function_id = f;
    return v;
  }
  static Value RegExp(std::string_view source, std::uint8_t flags) {
    Value v = Tagged(ValueKind::kRegExp);
    v.text = source;
    v.regexp_flags = flags;
    return v;
  }
  static Value Tagged(ValueKind kind) {
    Value v;
    v.kind = kind;
    return v;
  }

  bool IsObject() const { return kind >= ValueKind::kGlobal; }
  bool IsPrimitive() const { return !IsObject(); }
};

// The name of a Math function as it appears after "Math.": "sqrt".
std::string_view MathFunctionName(MathFunction f);

// ECMAScript's Number::toString for base 10: the shortest digits that read
// back as the same double, in fixed notation for exponents from -7 to 20 and
// in e-notation outside. 0.1 -> "0.1", 1e21 -> "1e+21", 1e-7 -> "1e-7",
// -0 -> "0", NaN -> "NaN", -Infinity -> "-Infinity".
std::string NumberToString(double d);

// Appends NumberToString(d) to `out` (no allocation for short texts).
void AppendNumber(double d, std::string& out);

// ToString, after ToPrimitive for objects: the text of any value. ToPrimitive
// of every object here is its default text (its valueOf gives the object
// itself): "[object Math]", "function sqrt() { [native code] }", "/a/g".
void AppendToString(const Value& v, std::string& out);
std::string ToString(const Value& v);

// ToNumber: strings are read as a StringNumericLiteral (blank -> 0, hex,
// "Infinity", anything else NaN); objects through their text, which is never
// numeric, so they are NaN.
double ToNumber(const Value& v);

// ToBoolean.
bool ToBoolean(const Value& v);

// ToInt32 and ToUint32: the number with its fraction dropped, taken modulo
// 2^32; NaN and infinities give 0. 4294967297.5 -> 1, -1 -> -1 / 4294967295.
std::int32_t ToInt32(double d);
std::uint32_t ToUint32(double d);

// The text of the typeof operator: "number", "object", "function", ...
std::string_view TypeOf(const Value& v);

// Reads a string the way ToNumber does (StringNumericLiteral).
double StringToNumber(std::string_view s);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_VALUE_H_
