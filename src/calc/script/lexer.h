// The lexer of the expression language (ECMAScript 3, chapter 7) over code
// page 936 bytes.
//
// Tokens view the source; nothing is allocated except the decoded name of an
// identifier written with \u escapes. The parser asks for one token at a time
// and says whether an operand is expected there, since that alone decides
// whether "/" begins a regular-expression literal or is a division.
#ifndef SUMORA_CALC_SCRIPT_LEXER_H_
#define SUMORA_CALC_SCRIPT_LEXER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sumora::script {

enum class TokenKind : std::uint8_t {
  kEnd,         // the end of the source
  kError,       // not a token: a malformed literal, an unclosed comment, a
                // byte no token may hold
  kNumber,      // a numeric literal, its value in Token::number
  kString,      // a string literal, the text between the quotes in `text`
  kRegExp,      // a regular-expression literal, checked; source in `text`
  kIdentifier,  // an identifier that is no reserved word; name in `text`
  kReserved,    // a reserved word the evaluator does not know ("function")
  // Keywords the evaluator knows.
  kTrue,
  kFalse,
  kNull,
  kThis,
  kTypeof,
  kVoid,
  kDelete,
  kNew,
  kIn,
  kInstanceof,
  // Punctuators.
  kLeftParen,
  kRightParen,
  kLeftBracket,
  kRightBracket,
  kDot,
  kComma,
  kQuestion,
  kColon,
  kTilde,
  kBang,
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kPercent,
  kCaret,
  kAmp,
  kPipe,
  kPlusPlus,
  kMinusMinus,
  kShiftLeft,
  kShiftRight,
  kShiftRightUnsigned,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kEqual,
  kNotEqual,
  kStrictEqual,
  kStrictNotEqual,
  kAndAnd,
  kOrOr,
  kAssign,
  // Compound assignments, in the order of their binary operators.
  kPlusAssign,
  kMinusAssign,
  kStarAssign,
  kSlashAssign,
  kPercentAssign,
  kShiftLeftAssign,
  kShiftRightAssign,
  kShiftRightUnsignedAssign,
  kAmpAssign,
  kPipeAssign,
  kCaretAssign,
  kOther,  // a punctuator of statements ("{", "}", ";")
};

// A token. `kind`, `newline_before` and `text` always describe it; the other
// fields hold meaning only for the kinds named beside them, and are left as
// they were by tokens of other kinds.
struct Token {
  TokenKind kind = TokenKind::kEnd;
  bool newline_before = false;  // a line terminator precedes the token
  bool has_escapes = false;     // kString: the text holds backslash escapes
  std::uint8_t regexp_flags = 0;
  std::string_view text;  // see TokenKind
  double number = 0;      // kNumber
};

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  // Reads the next token into `out`. With `operand_expected`, "/" begins a
  // regular-expression literal; otherwise it is the division operator.
  void Next(bool operand_expected, Token& out);

 private:
  // The tokens Next does not read itself: those after a comment or a line
  // terminator, and every kind but a plain decimal number, a one-byte
  // operator of arithmetic, "." and a name that begins with an ASCII
  // character.
  void NextSlow(bool operand_expected, Token& out);
  bool SkipSpaceAndComments(bool& newline);
  Token Scan(bool operand_expected);
  Token Number(std::size_t start);
  Token StringLiteral(std::size_t start);
  Token RegExpLiteral(std::size_t start);
  void IdentifierOrKeyword(std::size_t start, Token& out);
  // A name with a \u escape in it, decoded into decoded_name_.
  Token EscapedIdentifier(std::size_t start);
  Token Punctuator(std::size_t start);

  std::string_view source_;
  std::size_t pos_ = 0;
  std::string decoded_name_;  // an identifier written with \u escapes
};

// Decodes the text of a string literal (between its quotes) into `out`:
// the escapes of ECMAScript 3 plus the legacy octal escapes. A \x or \u
// escape beyond ASCII has no single code page 936 byte and becomes "?".
void DecodeStringLiteral(std::string_view text, std::string& out);

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_LEXER_H_
