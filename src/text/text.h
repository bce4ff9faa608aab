// The text model and the text operations every stage of the calculator uses.
//
// A Text is a byte string in code page 936 (GBK): a byte of 0x80 or more starts
// a double-byte character together with the byte after it, whatever that byte
// is. Positions are 1-based byte positions, lengths are byte counts. An absent
// text and the empty text are the same value. Every operation is a pure
// function that returns a fresh value.
//
// Operations that "scan by characters" step over double-byte characters whole,
// so a second byte is never looked at on its own; the others cut raw bytes and
// may return half of a double-byte character. A "lone final byte" is a byte of
// 0x80 or more at the very end of a text, left by such a cut.
#ifndef SUMORA_TEXT_TEXT_H_
#define SUMORA_TEXT_TEXT_H_

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sumora {

using Text = std::string;
using TextArray = std::vector<Text>;

// Byte positions and counts. 64-bit so that no length can wrap; for every
// text shorter than 2 GiB the results equal those of 32-bit arithmetic.
using TextPos = std::int64_t;

// True for a byte that starts a double-byte character.
constexpr bool IsLeadByte(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// Number of bytes; a double-byte character counts 2.
TextPos TextLength(std::string_view text);

// The first min(n, length) bytes; empty for n <= 0.
Text TextLeft(std::string_view text, TextPos n);

// The last min(n, length) bytes; empty for n <= 0.
Text TextRight(std::string_view text, TextPos n);

// Bytes p .. min(p + n - 1, length); empty for p < 1, p > length or n <= 0.
// TextMid("ab", 0, 1) -> "", TextMid("ab", 2, 1) -> "b".
Text TextMid(std::string_view text, TextPos p, TextPos n);

// Position of the first occurrence that starts at a character boundary, or -1.
// An empty sought text gives 1 in a non-empty text and -1 in the empty text.
// FindText("()+*-/^", "") -> 1.
TextPos FindText(std::string_view text, std::string_view sought);

// Position of the last occurrence at a character boundary (occurrences may
// overlap: "aaa", "aa" -> 2), or -1; the empty sought text as in FindText.
TextPos FindTextReverse(std::string_view text, std::string_view sought);

// Removes k bytes at p (p clamped to 1 .. length + 1; nothing for k <= 0) and
// inserts the replacement there, if one is given. Byte-wise.
// ReplaceAt("abc", 9, 1, "d") -> "abcd", ReplaceAt("abc", 0, 1) -> "bc".
Text ReplaceAt(std::string_view text, TextPos p, TextPos k,
               std::optional<std::string_view> replacement = std::nullopt);

// Every non-overlapping occurrence at a character boundary, left to right,
// replaced; the inserted text is never searched again. A lone final byte that
// the scan reaches (only possible with a one-byte sought text) is dropped.
Text ReplaceAll(std::string_view text, std::string_view sought,
                std::string_view replacement);

// Splits at every occurrence of the (non-empty) separator at a character
// boundary. The empty text gives no member; a final separator adds no empty
// member. SplitText("a\r\n\r\nb", "\r\n") -> {"a", "", "b"}.
TextArray SplitText(std::string_view text, std::string_view separator);

// The bytes of all arguments, in order.
Text ConcatText(std::initializer_list<std::string_view> parts);

// -1, 0 or +1 by unsigned byte comparison; a proper prefix is smaller.
int CompareText(std::string_view a, std::string_view b);

// A-Z to a-z for single-byte characters; double-byte characters unchanged,
// a lone final byte kept.
Text ToLowerCase(std::string_view text);

// The full-width block A3A1..A3FE to ASCII 0x21..0x7E, the ideographic space
// to a space, ～ to "~", ☆ and ★ to "*"; other characters unchanged; a lone
// final byte dropped.
Text ToHalfWidth(std::string_view text);

// Removes spaces and ideographic spaces (A1 A1); a lone final byte dropped.
Text RemoveAllSpaces(std::string_view text);

}  // namespace sumora

#endif  // SUMORA_TEXT_TEXT_H_
