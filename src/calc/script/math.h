// The Math object: its members and its functions.
#ifndef SUMORA_CALC_SCRIPT_MATH_H_
#define SUMORA_CALC_SCRIPT_MATH_H_

#include <string_view>

#include "calc/script/value.h"

namespace sumora::script {

// Looks up a member of Math: the functions abs acos asin atan atan2 ceil cos
// exp floor log max min pow random round sin sqrt tan and the constants E
// LN10 LN2 LOG2E LOG10E PI SQRT1_2 SQRT2, and nothing else (there is no
// Math.log10). False when there is no such member. `dont_delete` tells
// whether `delete` must answer false (the constants are permanent).
bool LookupMathMember(std::string_view name, Value& out, bool& dont_delete);

// The number of arguments a Math function declares (its `length`).
int MathFunctionLength(MathFunction f);

// The arguments of a call, gathered one at a time as numbers, so that a call
// with any number of arguments needs no storage: the first two are kept,
// and the running maximum and minimum for Math.max and Math.min.
class MathArguments {
 public:
  void Add(double x);
  int count() const { return count_; }

 private:
  friend double CallMath(MathFunction f, const MathArguments& args);
  int count_ = 0;
  double first_ = 0;
  double second_ = 0;
  double max_ = 0;
  double min_ = 0;
};

// Calls a Math function with its arguments, each already passed through
// ToNumber; a missing argument is undefined, whose number is NaN. Follows
// the special values of the language, not C's where they differ:
// pow(1, NaN) and pow(-1, Infinity) are NaN, round(-0.5) is -0.
double CallMath(MathFunction f, const MathArguments& args);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_MATH_H_
