// The expression evaluator: answers, the language's corners, failure kinds.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "calc/script/evaluate.h"
#include "calc/script/interpreter.h"
#include "calc/script/value.h"

namespace sumora {
namespace {

using script::Evaluate;
using script::Failure;

struct Case {
  std::string_view expression;
  std::string_view answer;
};

void ExpectAnswers(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluateExpression(c.expression), c.answer)
        << "expression: " << c.expression;
  }
}

struct FailureCase {
  std::string_view expression;
  Failure failure;
};

void ExpectFailures(std::initializer_list<FailureCase> cases) {
  for (const FailureCase& c : cases) {
    const script::Evaluation e = Evaluate(c.expression);
    EXPECT_EQ(e.failure, c.failure) << "expression: " << c.expression;
    EXPECT_EQ(EvaluateExpression(c.expression), "")
        << "expression: " << c.expression;
  }
}

// The expressions the two calculation modes deliver, with their meaning.
TEST(EvaluateExpressionTest, ExpressionsOfTheCalculator) {
  ExpectAnswers({
      {"1+2*3", "7"},
      {"7/2", "3.5"},
      {"2^3", "1"},
      {"1+2^3", "0"},
      {"010+1", "9"},
      {"Math.sqrt(16)", "4"},
      {"Math.pow(2,10)", "1024"},
      {"Math.pow(2,(3))", "8"},
      {"Math.pow(210)", "NaN"},
      {"5.5%2", "1.5"},
      {"6//2", "6"},
      {"5--3", ""},
      {"(1+2", ""},
      {"2(3)", ""},
      {"Math.sqrt9", ""},
      {"", ""},
      {"5.", "5"},
      {".5", "0.5"},
      {"12.5*(3+4)/2-7", "36.75"},
      {"-(-3)", "3"},
      {"+-+2", "-2"},
      {"1/0", "1e999"},
      {"-1/0", "-1e999"},
      {"0/0", "NaN"},
      {"Math.sqrt(-1)", "NaN"},
      {"Math.log(0)", "-1e999"},
      {"Math.abs(-2.5)", "2.5"},
      {"Math.exp(0)", "1"},
      {"Math.sin(0)+Math.cos(0)+Math.tan(0)", "1"},
      {"Math.asin(1)*2", "3.141592653589793"},
      {"Math.acos(1)", "0"},
      {"Math.atan(1)*4", "3.141592653589793"},
      {"Math.pow(2,3)^2", "10"},
      {"Math.sqrt()", "NaN"},
      {"Math.sqrt(4,9,16)", "2"},
      {"(0.5)*2", "1"},
      {"200*0.15", "30"},
      {"0.1+0.2", "0.30000000000000004"},
  });
}

// The answer is text that reads back as the very value.
TEST(EvaluateExpressionTest, AnswerTextOfEveryKindOfValue) {
  ExpectAnswers({
      {"'abc'", "abc"},
      {"'a\\0b'", "a"},  // a text holds no zero byte
      {"1e21", "1e+21"},
      {"1e20", "100000000000000000000"},
      {"1e-7", "1e-7"},
      {"1.5e-7", "1.5e-7"},
      {"0.000001", "0.000001"},
      {"123e-20", "1.23e-18"},
      {"-0", "0"},
      {"5e-324", "5e-324"},
      {"1.7976931348623157e308", "1.7976931348623157e+308"},
      {"2e308", "1e999"},
      {"123456789012345678901234567890", "1.2345678901234568e+29"},
      {"true", "true"},
      {"false", "false"},
      {"null",
       ""
       "null"},
      {"undefined", ""},
      {"void 0", ""},
      {"Math", "[object Math]"},
      {"this", "[object Object]"},
      {"Math.sqrt", "function sqrt() { [native code] }"},
      {"1+Math.sqrt", "1function sqrt() { [native code] }"},
      {"Math.abs+1", "function abs() { [native code] }1"},
      {"Math+1", "[object Math]1"},
      {"Math.sqrt*2", "NaN"},
      {"/a/gi", "/a/gi"},
      {"'x'+1/0", "xInfinity"},
      {"'x'+-0", "x0"},
      {"''+0/0", "NaN"},
  });
}

// Number::toString gives the shortest digits that read back exactly.
TEST(EvaluateExpressionTest, NumberTextRoundTrips) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    double d = std::bit_cast<double>(random());
    if (!std::isfinite(d)) continue;
    if (i % 2 == 0) d = std::ldexp(static_cast<double>(random() >> 11), -40);
    const std::string text = script::NumberToString(d);
    double back = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(back),
              std::bit_cast<std::uint64_t>(d == 0 ? 0.0 : d))
        << text;
    // Its own literal evaluates to the same text.
    if (i % 50 == 0) {
      EXPECT_EQ(EvaluateExpression(text), text);
    }
  }
}

TEST(EvaluateExpressionTest, CommentsAndBlanks) {
  ExpectAnswers({
      {"6//2", "6"},
      {"6/**/2", ""},  // two numbers in a row
      {"6/**//2", "3"},
      {"/* a */ 1 /* b */ + /* c */ 2", "3"},
      {"1 /* unclosed", ""},
      {"/*", ""},
      {"// only a comment", ""},
      {"1 // x\n+2", "3"},
      {" \t1\v+\f2\r\n", "3"},
      {"\xA1\xA1"
       "1\xA1\xA1+\xA1\xA1"
       "2",
       "3"},                     // ideographic space
      {"1/*\xB0\xA1*/+2", "3"},  // double-byte characters inside a comment
      {"'\xD6\xD0\xCE\xC4'", "\xD6\xD0\xCE\xC4"},
      {"'\x95\\'", "\x95\\"},  // a trail byte "\" is no escape
  });
}

TEST(EvaluateExpressionTest, NumericLiterals) {
  ExpectAnswers({
      {"010", "8"},
      {"007", "7"},
      {"00", "0"},
      {"0777", "511"},
      {"08", "8"},
      {"019", "19"},
      {"08.5", "8.5"},
      {"019.5", "19.5"},
      {"08e1", "80"},
      {"010.5", ""},  // 010 followed by .5
      {"00.5", ""},
      {"010e1", ""},
      {"0.5", "0.5"},
      {"0e5", "0"},
      {"0x1F", "31"},
      {"0XfF", "255"},
      {"0x", ""},
      {"0xG", ""},
      {"0x20000000000001", "9007199254740992"},  // ties to even
      {"0x20000000000003", "9007199254740996"},
      {"1e", ""},
      {"1e+", ""},
      {"1e+2", "100"},
      {"1E-2", "0.01"},
      {"2Math.sqrt(4)", ""},
      {"3in Math", ""},
      {"12a", ""},
      {"1$", ""},
      {"1\xB0\xA1", ""},
      {"1..5", ""},
      {"1.2.3", ""},
      {"1e400", "1e999"},
      {"1e-400", "0"},
      {"0."
       "0000000000000000000000000000000000000000000001e50",
       "10000"},
  });
}

TEST(EvaluateExpressionTest, StringLiterals) {
  ExpectAnswers({
      {"\"a\"+'b'", "ab"},
      {"'\\x41\\u0042\\101\\7'",
       "AB"
       "A\x07"},
      {"'\\b\\t\\n\\v\\f\\r'", "\b\t\n\v\f\r"},
      {"'\\q\\'\\\"'", "q'\""},
      {"'\\u4E2D'", "?"},
      {"'\\x4'", ""},
      {"'\\u123'", ""},
      {"'abc", ""},
      {"'a\nb'", ""},
      {"'12'*'3'", "36"},
      {"' 0x10 '-0", "16"},
      {"'-Infinity'*1", "-1e999"},
      {"'1e3'-0", "1000"},
      {"''-0", "0"},
      {"'.'-0", "NaN"},
      {"'-0x10'-0", "NaN"},
      {"'12px'-0", "NaN"},
      {"'\xD6\xD0'.length", "1"},
      {"'abc'.length", "3"},
  });
}

TEST(EvaluateExpressionTest, RegularExpressionLiterals) {
  ExpectAnswers({
      {"/a/", "/a/"},
      {"/a/mgi", "/a/gim"},  // the flags in their canonical order
      {"/[/]/", "/[/]/"},
      {"/a\\/b/", "/a\\/b/"},
      {"/]{}/", "/]{}/"},
      {"/a{1/", "/a{1/"},
      {"/a*?b+?c??d{2,3}?/", "/a*?b+?c??d{2,3}?/"},
      {"/(?:a)(?=b)(?!c)*/", "/(?:a)(?=b)(?!c)*/"},
      {"/\\1(a)\\8/", "/\\1(a)\\8/"},
      {"/[\\d-a]/", "/[\\d-a]/"},
      {"/[^]/", "/[^]/"},
      {"/\\c/", "/\\c/"},
      {"/\xB0\xA1+/", "/\xB0\xA1+/"},
      {"/a/g.source", "a"},
      {"/a/g.global", "true"},
      {"/a/g.ignoreCase", "false"},
      {"/a/+1", "/a/1"},
      {"/a/*1", "NaN"},
      {"1+/a/", "1/a/"},
      {"(/a/)", "/a/"},
      {"4/2/1", "2"},  // after an operand "/" divides
      // Invalid patterns and flags are syntax errors.
      {"/+/", ""},
      {"/a**/", ""},
      {"/{1}/", ""},
      {"/a{2,1}/", ""},
      {"/(/", ""},
      {"/)/", ""},
      {"/(?<a)/", ""},
      {"/[z-a]/", ""},
      {"/^*/", ""},
      {"/\\b+/", ""},
      {"/a/gg", ""},
      {"/a/x", ""},
      {"/[/", ""},
      {"/a", ""},
      {"/a\n/", ""},
  });
}

// "^" is the loosest of the operators the calculator uses, and all of them
// group from the left.
TEST(EvaluateExpressionTest, PrecedenceAndAssociativity) {
  ExpectAnswers({
      {"1+2^3", "0"},
      {"2*3^1", "7"},
      {"2^3*1", "1"},
      {"1^2^3", "0"},
      {"8-4-2", "2"},
      {"8/4/2", "1"},
      {"8%5%2", "1"},
      {"2*3%4", "2"},
      {"-2*-3", "6"},
      {"-2+3", "1"},
      {"2-(3-4)", "3"},
      {"1+2,3*4", "12"},
      {"1|6^3&5", "7"},
      {"1<<2+1", "8"},
      {"1<2==2>1", "true"},
      {"1||0&&0", "1"},
      {"0?1:0?2:3", "3"},
      {"'1'+2+3", "123"},
      {"1+2+'3'", "33"},
      {"-'2'+3", "1"},
      {"!0+1", "2"},
      {"~5", "-6"},
      {"typeof 1+2", "number2"},
      {"Math.pow(2,3)*Math.sqrt(4)", "16"},
  });
}

// ^ & | and the shifts work on 32-bit integers: the fraction is dropped and
// the value taken modulo 2^32; NaN and the infinities are 0.
TEST(EvaluateExpressionTest, BitwiseOperatorsOnFractionsAndLargeValues) {
  ExpectAnswers({
      {"2.9^0", "2"},
      {"-2.9^0", "-2"},
      {"0.5^0.5", "0"},
      {"5.7^3.2", "6"},
      {"2147483647^0", "2147483647"},
      {"2147483648^0", "-2147483648"},
      {"4294967295^0", "-1"},
      {"4294967296^0", "0"},
      {"4294967297.5^0", "1"},
      {"-4294967297^0", "-1"},
      {"1e20^0", "1661992960"},
      {"1e400^1", "1"},
      {"(0/0)^7", "7"},
      {"-1>>>0", "4294967295"},
      {"-8>>1", "-4"},
      {"1<<31", "-2147483648"},
      {"1<<32", "1"},
      {"'3'^1", "2"},
      {"Math.sqrt^5", "5"},
  });
}

// % keeps the sign of the dividend, also for fractions.
TEST(EvaluateExpressionTest, Remainder) {
  ExpectAnswers({
      {"7%3", "1"},
      {"-7%3", "-1"},
      {"7%-3", "1"},
      {"-7%-3", "-1"},
      {"5.5%2", "1.5"},
      {"-5.5%2", "-1.5"},
      {"5%2.5", "0"},
      {"0.3%0.1", "0.09999999999999998"},
      {"5%0", "NaN"},
      {"5%(1/0)", "5"},
      {"(1/0)%5", "NaN"},
      {"-0%5", "0"},
      {"1/(-0%5)", "-1e999"},
  });
}

TEST(EvaluateExpressionTest, MemberAccessAndCalls) {
  ExpectAnswers({
      {"(2).x", ""},
      {"(2).x+1", "NaN"},
      {"Math.sqrt9", ""},
      {"Math.log10", ""},
      {"Math.log2", ""},
      {"Math.cbrt", ""},
      {"Math.PI", "3.141592653589793"},
      {"Math.E", "2.718281828459045"},
      {"Math.LN10", "2.302585092994046"},
      {"Math.LN2", "0.6931471805599453"},
      {"Math.LOG2E", "1.4426950408889634"},
      {"Math.LOG10E", "0.4342944819032518"},
      {"Math.SQRT1_2", "0.7071067811865476"},
      {"Math.SQRT2", "1.4142135623730951"},
      {"Math['sqrt'](9)", "3"},
      {"Math['s'+'qrt'](9)", "3"},
      {"Math[1]", ""},
      {"Math.pow.length", "2"},
      {"this.Math.abs(-1)", "1"},
      {"Math . sqrt ( 4 )", "2"},
      {"(Math.sqrt)(4)", "2"},
      {"Math.null", ""},
      {"'PI' in Math", "true"},
      {"'log10' in Math", "false"},
      {"typeof Math.sqrt", "function"},
      {"typeof Math", "object"},
      {"typeof x", "undefined"},
      {"typeof /a/", "object"},
  });
  ExpectFailures({
      {"2(3)", Failure::kTypeError},
      {"(1)(2)", Failure::kTypeError},
      {"Math(1)", Failure::kTypeError},
      {"Math.sqrt9(1)", Failure::kTypeError},
      {"Math.PI()", Failure::kTypeError},
      {"'x'()", Failure::kTypeError},
      {"undefined.x", Failure::kTypeError},
      {"null.x", Failure::kTypeError},
      {"Math.x.y", Failure::kTypeError},
      {"typeof undefined.x", Failure::kTypeError},
      {"new Math.abs(1)", Failure::kTypeError},
      {"1 in 2", Failure::kTypeError},
      {"x", Failure::kReferenceError},
      {"x+1", Failure::kReferenceError},
      {"sqrt(4)", Failure::kReferenceError},
      {"\xB0\xA1", Failure::kReferenceError},  // a double-byte name
      {"Math.sqrt(x)", Failure::kReferenceError},
      {"Math.", Failure::kSyntaxError},
      {"Math.5", Failure::kSyntaxError},
      {"Math.sqrt(4", Failure::kSyntaxError},
      {"Math.sqrt(4,)", Failure::kSyntaxError},
      {"Math[1", Failure::kSyntaxError},
      {"function(){}", Failure::kSyntaxError},
      {"[1]", Failure::kSyntaxError},
      {"{}", Failure::kSyntaxError},
      {"1;2", Failure::kSyntaxError},
      {"1 2", Failure::kSyntaxError},
      {"()", Failure::kSyntaxError},
      {"1+", Failure::kSyntaxError},
      {"*1", Failure::kSyntaxError},
      {"@", Failure::kSyntaxError},
      {std::string_view("1\0", 2), Failure::kSyntaxError},
  });
}

// Names may be written with \u escapes; reserved words may not.
TEST(EvaluateExpressionTest, NamesAndKeywords) {
  ExpectAnswers({
      {"Math.\\u0073qrt(4)", "2"},
      {"\\u004Dath.PI", "3.141592653589793"},
      {"true+1", "2"},
      {"null+1", "1"},
      {"typeof null", "object"},
      {"typeof this", "object"},
      {"this.x", ""},
      {"Math.if", ""},  // any name may follow the point
      {"0&&new new Math.abs()()", "0"},
      {"Math.abs\n(2)", "2"},
  });
  ExpectFailures({
      {"\\u0074rue", Failure::kSyntaxError},
      {"Math.\\u0020", Failure::kSyntaxError},
      {"x\\u0031", Failure::kReferenceError},
      {"function", Failure::kSyntaxError},
      {"var", Failure::kSyntaxError},
      {"Math.PI\n++", Failure::kSyntaxError},  // no line break before ++
      {"new Math.abs", Failure::kTypeError},
      {"void x", Failure::kReferenceError},
  });
}

// ++ and -- need a reference; on one they give the language's value but
// store nothing.
TEST(EvaluateExpressionTest, IncrementAndDecrement) {
  ExpectAnswers({
      {"Math.pow++", "NaN"},
      {"Math.pow++^5", "5"},
      {"++Math.PI", "4.141592653589793"},
      {"Math.PI--", "3.141592653589793"},
      {"++(Math.E)", "3.718281828459045"},
      {"--NaN", "NaN"},
      {"++Infinity", "1e999"},
      {"--undefined", "NaN"},
      {"Math.PI=3", "3"},
      {"Math.PI+=1", "4.141592653589793"},
      {"delete Math.PI", "false"},
      {"delete Math.abs", "true"},
      {"delete x", "true"},
      {"delete 1", "true"},
  });
  ExpectFailures({
      {"5++", Failure::kSyntaxError},
      {"--5", Failure::kSyntaxError},
      {"5--3", Failure::kSyntaxError},
      {"2--3", Failure::kSyntaxError},
      {"(1,Math.PI)++", Failure::kSyntaxError},
      {"Math.sqrt(4)++", Failure::kSyntaxError},
      {"0&&5++", Failure::kSyntaxError},
      {"5=3", Failure::kSyntaxError},
      {"1+Math.PI=3", Failure::kSyntaxError},
      {"++x", Failure::kReferenceError},
      {"x+=1", Failure::kReferenceError},
  });
}

// Every evaluation starts afresh: what one did cannot change another.
TEST(EvaluateExpressionTest, NothingSurvivesAnEvaluation) {
  for (const std::string_view writer :
       {"Math.pow++", "Math.pow=0", "Math.PI=3", "delete Math.sqrt", "x=1",
        "Math.sqrt=Math.abs"}) {
    EvaluateExpression(writer);
    EXPECT_EQ(EvaluateExpression("Math.pow(2,10)"), "1024") << writer;
    EXPECT_EQ(EvaluateExpression("Math.PI"), "3.141592653589793") << writer;
    EXPECT_EQ(EvaluateExpression("Math.sqrt(-4)"), "NaN") << writer;
    EXPECT_EQ(EvaluateExpression("x"), "") << writer;
  }
}

// Operands that && || ?: skip are read, not evaluated.
TEST(EvaluateExpressionTest, SkippedOperandsAreNotEvaluated) {
  ExpectAnswers({
      {"0&&undefined.x", "0"},
      {"1||x", "1"},
      {"1?2:y()", "2"},
      {"0?2(3):4", "4"},
      {"0&&new Math.abs", "0"},
      {"1&&x", ""},
      {"0||2", "2"},
      {"''||'a'", "a"},
  });
  ExpectFailures({
      {"0&&(1+", Failure::kSyntaxError},
      {"1?2", Failure::kSyntaxError},
      {"0?2(3):y", Failure::kReferenceError},
  });
}

TEST(EvaluateExpressionTest, EqualityAndComparison) {
  ExpectAnswers({
      {"1==1", "true"},
      {"'10'==10", "true"},
      {"'10'===10", "false"},
      {"NaN==NaN", "false"},
      {"null==undefined", "true"},
      {"null===undefined", "false"},
      {"null==0", "false"},
      {"true==1", "true"},
      {"Math==Math", "true"},
      {"Math.sqrt==Math.sqrt", "true"},
      {"Math.sqrt==Math.abs", "false"},
      {"/a/==/a/", "false"},
      {"Math=='[object Math]'", "true"},
      {"'b'>'a'", "true"},
      {"'10'<'9'", "true"},
      {"'10'<9", "false"},
      {"1<NaN", "false"},
      {"1>=NaN", "false"},
      {"-0===0", "true"},
      {"1!=2", "true"},
      {"1!==1", "false"},
  });
}

// ECMAScript's rules for Math.pow where C's pow differs, and the rest.
TEST(EvaluateExpressionTest, PowSpecialValues) {
  ExpectAnswers({
      {"Math.pow(1,NaN)", "NaN"},
      {"Math.pow(1,1/0)", "NaN"},
      {"Math.pow(1,-1/0)", "NaN"},
      {"Math.pow(-1,1/0)", "NaN"},
      {"Math.pow(-1,-1/0)", "NaN"},
      {"Math.pow(NaN,0)", "1"},
      {"Math.pow(NaN,-0)", "1"},
      {"Math.pow(NaN,1)", "NaN"},
      {"Math.pow(2,1/0)", "1e999"},
      {"Math.pow(2,-1/0)", "0"},
      {"Math.pow(0.5,1/0)", "0"},
      {"Math.pow(0.5,-1/0)", "1e999"},
      {"Math.pow(1/0,2)", "1e999"},
      {"Math.pow(1/0,-2)", "0"},
      {"Math.pow(-1/0,3)", "-1e999"},
      {"Math.pow(-1/0,2)", "1e999"},
      {"1/Math.pow(-1/0,-3)", "-1e999"},
      {"1/Math.pow(-1/0,-2)", "1e999"},
      {"1/Math.pow(0,3)", "1e999"},
      {"Math.pow(0,-3)", "1e999"},
      {"1/Math.pow(-0,3)", "-1e999"},
      {"1/Math.pow(-0,2)", "1e999"},
      {"Math.pow(-0,-3)", "-1e999"},
      {"Math.pow(-0,-2)", "1e999"},
      {"Math.pow(-8,1/3)", "NaN"},
      {"Math.pow(-2,3)", "-8"},
      {"Math.pow(2,-1)", "0.5"},
      {"Math.pow(2,0.5)", "1.4142135623730951"},
      {"Math.pow()", "NaN"},
  });
}

TEST(EvaluateExpressionTest, OtherMathFunctions) {
  ExpectAnswers({
      {"Math.round(2.5)", "3"},
      {"Math.round(-2.5)", "-2"},
      {"Math.round(0.49999999999999994)", "0"},
      {"1/Math.round(-0.5)", "-1e999"},
      {"1/Math.round(-0.2)", "-1e999"},
      {"Math.round(4503599627370497)", "4503599627370497"},
      {"Math.round(-1/0)", "-1e999"},
      {"Math.floor(-1.5)", "-2"},
      {"Math.ceil(-1.5)", "-1"},
      {"1/Math.ceil(-0.5)", "-1e999"},
      {"Math.max()", "-1e999"},
      {"Math.min()", "1e999"},
      {"Math.max(1,3,2)", "3"},
      {"Math.min(4,1,3,2)", "1"},
      {"Math.max(1,NaN,3)", "NaN"},
      {"Math.max(NaN,1)", "NaN"},
      {"1/Math.min(0,-0)", "-1e999"},
      {"1/Math.max(-0,0)", "1e999"},
      {"Math.max('3',2)", "3"},
      {"Math.atan2(1,1)*4", "3.141592653589793"},
      {"Math.atan2(0,-0)", "3.141592653589793"},
      {"Math.abs(-1/0)", "1e999"},
      {"Math.sqrt(-0)", "0"},
      {"1/Math.sqrt(-0)", "-1e999"},
      {"Math.log(-1)", "NaN"},
      {"Math.exp(1/0)", "1e999"},
      {"Math.exp(-1/0)", "0"},
  });
  const double r =
      std::strtod(EvaluateExpression("Math.random()").c_str(), nullptr);
  EXPECT_GE(r, 0);
  EXPECT_LT(r, 1);
}

// A named depth limit instead of a stack overflow.
TEST(EvaluateExpressionTest, NestingLimit) {
  const std::string parens(100000, '(');
  EXPECT_EQ(Evaluate(parens).failure, Failure::kTooDeep);
  EXPECT_EQ(Evaluate(std::string(100000, '-') + "1").failure,
            Failure::kTooDeep);
  std::string minus_spaced;
  for (int i = 0; i < 100000; ++i) minus_spaced += "- ";
  EXPECT_EQ(Evaluate(minus_spaced + "1").failure, Failure::kTooDeep);
  for (const std::string_view unit : {"!", "~", "typeof ", "new ", "Math.abs(",
                                      "1?", "Math.PI=", "[", "void "}) {
    std::string deep;
    for (int i = 0; i < 50000; ++i) deep += unit;
    deep += "1";
    EXPECT_NE(Evaluate(deep).failure, Failure::kNone) << unit;
    EXPECT_EQ(EvaluateExpression(deep), "") << unit;
  }
  // Nesting a person writes is far inside the limit.
  const std::string nested =
      std::string(200, '(') + "1" + std::string(200, ')');
  EXPECT_EQ(EvaluateExpression(nested), "1");
  std::string minus_200;
  for (int i = 0; i < 200; ++i) minus_200 += "- ";
  EXPECT_EQ(EvaluateExpression(minus_200 + "1"), "1");
}

// Long flat input takes no recursion at all.
TEST(EvaluateExpressionTest, LongFlatExpressions) {
  std::string sum = "0";
  for (int i = 0; i < 100000; ++i) sum += "+1";
  EXPECT_EQ(EvaluateExpression(sum), "100000");
  std::string text = "''";
  for (int i = 0; i < 10000; ++i) text += "+Math.abs";
  EXPECT_EQ(
      EvaluateExpression(text).size(),
      10000 * std::string_view("function abs() { [native code] }").size());
}

}  // namespace
}  // namespace sumora
