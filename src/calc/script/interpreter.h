// The interpreter of the expression language: a result or a failure kind.
//
// The language is the expression part of ECMAScript 3:
// numeric, string, boolean, null and regular-expression literals; the names
// Math, NaN, Infinity, undefined and `this`; member access with "." and [];
// calls; `new` (which always fails: nothing here is a constructor); the
// prefix operators + - ~ ! ++ -- typeof void delete, postfix ++ --; the
// binary operators * / % + - << >> >>> < > <= >= instanceof in == != === !==
// & ^ | && ||; the conditional operator; assignments; the comma. Function
// expressions, array and object literals and statements are not part of it
// and fail as syntax errors. The only properties are those of Math, a
// function's `length`, a string's `length` and a regular expression's
// source, global, ignoreCase, multiline and lastIndex; every other property
// reads as undefined (so (2).x is undefined and (2).toString is too).
//
// No state survives an evaluation: assignments and ++/-- give the value
// the language gives them but store nothing, so Math.pow++ is NaN and every
// later evaluation still sees Math.pow.
#ifndef SUMORA_CALC_SCRIPT_INTERPRETER_H_
#define SUMORA_CALC_SCRIPT_INTERPRETER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/script/value.h"

namespace sumora::script {

// How deep the parser may recurse. Each parenthesis, each prefix operator and
// each operand of an assignment, conditional or argument list takes a level
// (a parenthesis takes two), so this allows some 500 nested parentheses,
// far beyond any line a person writes, while the stack it needs stays well
// under a megabyte even in sanitizer builds. A line of 100,000 "(" fails
// with kTooDeep instead of exhausting the stack.
inline constexpr int kMaxNestingDepth = 1000;

// Why an evaluation failed. The calculator treats them all alike.
enum class Failure : std::uint8_t {
  kNone,            // the evaluation succeeded
  kSyntaxError,     // the text is not an expression: "(1+2", "2Math", "5--3"
  kReferenceError,  // an unknown name was read: "x+1"
  kTypeError,       // a call of a non-function, a property of undefined or
                    // null, `new`, a wrong operand of `in` or `instanceof`
  kTooDeep,         // nesting beyond kMaxNestingDepth
};

// The outcome of an evaluation.
struct Evaluation {
  Failure failure = Failure::kNone;
  ValueKind kind = ValueKind::kUndefined;  // of the value; undefined on failure
  double number = 0;                       // kNumber: the value
  std::string text;  // any other kind but undefined: its string form
};

// Evaluates an expression (code page 936 bytes, any content). The empty
// expression, or one of only blanks and comments, is undefined. Time and
// memory are linear in the length of the expression (nesting aside, which
// kMaxNestingDepth bounds).
// "1+2^3" -> 0; "Math.sqrt(16)" -> 4; "2(3)" -> kTypeError.
Evaluation Evaluate(std::string_view expression);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_INTERPRETER_H_
