// Conversion between code page 936 (the calculator's own text) and Unicode, at
// the boundary to the window and the command-line filter only.
//
// Towards code page 936 a character it cannot hold, and U+0000 (a Text never
// holds a zero byte), becomes "?". Towards Unicode every byte sequence that is
// not valid code page 936 becomes U+FFFD. Invalid UTF-8 or UTF-16 input counts
// as characters code page 936 cannot hold.
#ifndef SUMORA_TEXT_CP936_H_
#define SUMORA_TEXT_CP936_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace sumora {

// True when every byte is 0x01 to 0x7F: such a text reads the same in code
// page 936 and UTF-8, and needs no conversion.
bool IsPlainAscii(std::string_view text);

Text Utf8ToCp936(std::string_view utf8);
std::string Cp936ToUtf8(std::string_view text);

Text Utf16ToCp936(std::u16string_view utf16);
std::u16string Cp936ToUtf16(std::string_view text);

}  // namespace sumora

#endif  // SUMORA_TEXT_CP936_H_
