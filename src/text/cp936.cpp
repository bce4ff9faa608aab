#include "text/cp936.h"

// Placeholder until the converters land.
namespace sumora {
Text Utf8ToCp936(std::string_view utf8) { return Text(utf8); }
std::string Cp936ToUtf8(std::string_view text) { return std::string(text); }
Text Utf16ToCp936(std::u16string_view) { return {}; }
std::u16string Cp936ToUtf16(std::string_view) { return {}; }
}  // namespace sumora
