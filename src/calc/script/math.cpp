#include "calc/script/math.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>

#include "calc/script/name_index.h"

namespace sumora::script {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A member of Math: a constant or one of the functions.
struct Member {
  bool is_function = false;
  MathFunction function = MathFunction::kAbs;  // is_function
  double value = 0;                            // a constant
};
constexpr Member Constant(double value) {
  return {false, MathFunction::kAbs, value};
}
constexpr Member Function(MathFunction f) { return {true, f, 0}; }

// The constants, then the functions in the order of MathFunction, each
// function under its MathFunctionName().
using Members = NameIndex<Member, 26>;
constexpr std::array<Members::Entry, 26> kMemberList = {{
    {"E", Constant(std::numbers::e)},
    {"LN10", Constant(std::numbers::ln10)},
    {"LN2", Constant(std::numbers::ln2)},
    {"LOG2E", Constant(std::numbers::log2e)},
    {"LOG10E", Constant(std::numbers::log10e)},
    {"PI", Constant(std::numbers::pi)},
    {"SQRT1_2", Constant(0.70710678118654752440)},
    {"SQRT2", Constant(std::numbers::sqrt2)},
    {"abs", Function(MathFunction::kAbs)},
    {"acos", Function(MathFunction::kAcos)},
    {"asin", Function(MathFunction::kAsin)},
    {"atan", Function(MathFunction::kAtan)},
    {"atan2", Function(MathFunction::kAtan2)},
    {"ceil", Function(MathFunction::kCeil)},
    {"cos", Function(MathFunction::kCos)},
    {"exp", Function(MathFunction::kExp)},
    {"floor", Function(MathFunction::kFloor)},
    {"log", Function(MathFunction::kLog)},
    {"max", Function(MathFunction::kMax)},
    {"min", Function(MathFunction::kMin)},
    {"pow", Function(MathFunction::kPow)},
    {"random", Function(MathFunction::kRandom)},
    {"round", Function(MathFunction::kRound)},
    {"sin", Function(MathFunction::kSin)},
    {"sqrt", Function(MathFunction::kSqrt)},
    {"tan", Function(MathFunction::kTan)},
}};
constexpr bool FunctionsInOrder() {
  for (int f = 0; f <= static_cast<int>(MathFunction::kTan); ++f) {
    const Member& m = kMemberList[static_cast<std::size_t>(8 + f)].value;
    if (!m.is_function || static_cast<int>(m.function) != f) return false;
  }
  return true;
}
static_assert(FunctionsInOrder());
constexpr Members kMembers(kMemberList);

// Math.round: the integer nearest to x, a tie going up; -0 stays -0 and
// values in [-0.5, 0) give -0. Not floor(x + 0.5), which is wrong for
// 0.49999999999999994 and for large odd values.
double Round(double x) {
  if (!std::isfinite(x) || x == 0) return x;
  if (x < 0 && x >= -0.5) return -0.0;
  if (x > 0 && x < 0.5) return 0.0;
  const double floor = std::floor(x);
  return x - floor >= 0.5 ? floor + 1 : floor;
}

// Math.pow: C's pow except that a NaN exponent always gives NaN and a base
// of magnitude 1 with an infinite exponent gives NaN.
double Pow(double x, double y) {
  if (std::isnan(y)) return kNaN;
  if (std::isinf(y) && std::fabs(x) == 1) return kNaN;
  return std::pow(x, y);
}

// Math.random: uniform in [0, 1), from the system's entropy source so that
// nothing is kept between evaluations.
double Random() {
  try {
    std::random_device device;
    const std::uint64_t bits =
        (static_cast<std::uint64_t>(device()) << 21) ^ device();
    return static_cast<double>(bits & ((std::uint64_t{1} << 53) - 1)) * 0x1p-53;
  } catch (...) {
    return 0;
  }
}

}  // namespace

bool LookupMathMember(std::string_view name, Value& out, bool& dont_delete) {
  const Member* member = kMembers.Find(name);
  if (member == nullptr) return false;
  if (member->is_function) {
    out = Value::Function(member->function);
    dont_delete = false;
  } else {
    out = Value::Number(member->value);
    dont_delete = true;
  }
  return true;
}

int MathFunctionLength(MathFunction f) {
  switch (f) {
    case MathFunction::kAtan2:
    case MathFunction::kMax:
    case MathFunction::kMin:
    case MathFunction::kPow:
      return 2;
    case MathFunction::kRandom:
      return 0;
    default:
      return 1;
  }
}

void MathArguments::Add(double x) {
  if (count_ == 0) {
    first_ = x;
    max_ = x;
    min_ = x;
  } else {
    if (count_ == 1) second_ = x;
    // NaN wins; otherwise +0 counts as larger than -0.
    if (std::isnan(x) || std::isnan(max_)) {
      max_ = kNaN;
      min_ = kNaN;
    } else {
      if (x > max_ || (x == 0 && max_ == 0 && !std::signbit(x))) max_ = x;
      if (x < min_ || (x == 0 && min_ == 0 && std::signbit(x))) min_ = x;
    }
  }
  if (count_ < 2)
    ++count_;
  else
    count_ = 2;
}

double CallMath(MathFunction f, const MathArguments& args) {
  const double x = args.count_ >= 1 ? args.first_ : kNaN;
  const double y = args.count_ >= 2 ? args.second_ : kNaN;
  switch (f) {
    case MathFunction::kAbs:
      return std::fabs(x);
    case MathFunction::kAcos:
      return std::acos(x);
    case MathFunction::kAsin:
      return std::asin(x);
    case MathFunction::kAtan:
      return std::atan(x);
    case MathFunction::kAtan2:
      return std::atan2(x, y);
    case MathFunction::kCeil:
      return std::ceil(x);
    case MathFunction::kCos:
      return std::cos(x);
    case MathFunction::kExp:
      return std::exp(x);
    case MathFunction::kFloor:
      return std::floor(x);
    case MathFunction::kLog:
      return std::log(x);
    case MathFunction::kMax:
      return args.count_ == 0 ? -kInfinity : args.max_;
    case MathFunction::kMin:
      return args.count_ == 0 ? kInfinity : args.min_;
    case MathFunction::kPow:
      return Pow(x, y);
    case MathFunction::kRandom:
      return Random();
    case MathFunction::kRound:
      return Round(x);
    case MathFunction::kSin:
      return std::sin(x);
    case MathFunction::kSqrt:
      return std::sqrt(x);
    case MathFunction::kTan:
      return std::tan(x);
  }
  return kNaN;
}

}  // namespace sumora::script
