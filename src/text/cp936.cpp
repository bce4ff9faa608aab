#include "text/cp936.h"

#include <array>
#include <cstdint>
#include <memory>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace sumora {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr char kUnmappable = '?';

// The code page's character table, read once from the platform's own
// converter (glibc iconv, or the Win32 conversion) and then only looked up.
// Decoding goes through `decode`; encoding through `encode`, indexed by the
// UTF-16 code unit, holding the one or two bytes of the character (0: none).
struct Cp936Table {
  // decode[0x00..0xFF]: single bytes (0 where the byte starts a pair or is
  // invalid); decode[lead << 8 | trail]: pairs; 0 where not a character.
  std::array<char16_t, 0x10000> decode{};
  std::array<std::uint16_t, 0x10000> encode{};
};

// One character of the code page decoded by the platform: the UTF-16 code
// unit, or 0 when the bytes are not one character of the code page.
#ifdef _WIN32
// Windows' own code page 936: 0x80 alone is the euro sign, and the
// user-defined double-byte areas decode to private-use characters.
// MB_ERR_INVALID_CHARS makes a sequence that is not a character fail instead
// of decoding to the code page's default character.
class PlatformDecoder {
 public:
  char16_t Decode(const char* bytes, int size) const {
    wchar_t out[2];
    const int n =
        MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, size, out, 2);
    return n == 1 ? static_cast<char16_t>(out[0]) : 0;
  }
};
#else
class PlatformDecoder {
 public:
  PlatformDecoder() : cd_(iconv_open("UTF-16LE", "CP936")) {}
  ~PlatformDecoder() {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  PlatformDecoder(const PlatformDecoder&) = delete;
  PlatformDecoder& operator=(const PlatformDecoder&) = delete;

  char16_t Decode(const char* bytes, int size) const {
    if (cd_ == kNoConverter) return 0;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    std::size_t in_left = static_cast<std::size_t>(size);
    unsigned char out[8];
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t out_left = sizeof out;
    if (iconv(cd_, &in, &in_left, &out_ptr, &out_left) ==
            static_cast<std::size_t>(-1) ||
        in_left != 0 || sizeof out - out_left != 2) {
      return 0;
    }
    return static_cast<char16_t>(out[0] | (out[1] << 8));
  }

 private:
  inline static const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
  iconv_t cd_;
};
#endif

std::unique_ptr<Cp936Table> BuildTable() {
  const PlatformDecoder platform;
  auto table = std::make_unique<Cp936Table>();
  for (int b = 0; b < 0x80; ++b) {
    table->decode[b] = static_cast<char16_t>(b);
    table->encode[b] = static_cast<std::uint16_t>(b);
  }
  {
    const char euro = static_cast<char>(0x80);
    const char16_t c = platform.Decode(&euro, 1);
    if (c != 0) {
      table->decode[0x80] = c;
      table->encode[c] = 0x80;
    }
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const char16_t c = platform.Decode(pair, 2);
      if (c == 0 || c == kReplacement) continue;
      const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      table->decode[code] = c;
      // The first pair found for a character wins, so that a character the
      // code page holds twice always encodes the same way.
      if (table->encode[c] == 0) table->encode[c] = code;
    }
  }
  return table;
}

const Cp936Table& Table() {
  static const std::unique_ptr<Cp936Table> table = BuildTable();
  return *table;
}

// Appends the code page bytes of one Unicode code point.
void AppendEncoded(const Cp936Table& table, char32_t c, Text& out) {
  if (c == 0 || c > 0xFFFF || table.encode[c] == 0) {
    out.push_back(kUnmappable);
    return;
  }
  const std::uint16_t code = table.encode[c];
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// Calls emit(code unit) for every character of the text, U+FFFD for a byte
// sequence that is not a character of the code page. A lead byte whose pair is
// not a character is replaced alone, so the byte after it is read anew.
template <typename Emit>
void DecodeCp936(std::string_view text, Emit emit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      emit(static_cast<char32_t>(b));
      continue;
    }
    const Cp936Table& table = Table();
    if (table.decode[b] != 0) {
      emit(static_cast<char32_t>(table.decode[b]));
    } else if (i + 1 < text.size() &&
               table.decode[b << 8 | static_cast<unsigned char>(text[i + 1])] !=
                   0) {
      emit(static_cast<char32_t>(
          table.decode[b << 8 | static_cast<unsigned char>(text[i + 1])]));
      ++i;
    } else {
      emit(static_cast<char32_t>(kReplacement));
    }
  }
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Reads one UTF-8 sequence at i and advances i past it. An invalid sequence
// (bad lead byte, missing continuation, overlong form, surrogate, beyond
// U+10FFFF) yields U+FFFD and advances by one byte.
char32_t ReadUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int length = 0;
  char32_t c = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (s.size() - i < static_cast<std::size_t>(length)) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += static_cast<std::size_t>(length);
  return c;
}

// Length of the leading run of bytes 0x01 to 0x7F, which read the same in
// every encoding here and need no conversion.
std::size_t AsciiPrefix(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i] - 1) < 0x7F) ++i;
  return i;
}

}  // namespace

bool IsPlainAscii(std::string_view text) {
  return AsciiPrefix(text) == text.size();
}

Text Utf8ToCp936(std::string_view utf8) {
  const std::size_t ascii = AsciiPrefix(utf8);
  Text out(utf8.substr(0, ascii));
  if (ascii == utf8.size()) return out;
  out.reserve(utf8.size());
  for (std::size_t i = ascii; i < utf8.size();) {
    // ASCII is the same in both, and needs no table.
    if (!IsLeadByte(utf8[i]) && utf8[i] != '\0') {
      out.push_back(utf8[i++]);
      continue;
    }
    const char32_t c = ReadUtf8(utf8, i);
    AppendEncoded(Table(), c == kReplacement ? 0 : c, out);
  }
  return out;
}

std::string Cp936ToUtf8(std::string_view text) {
  const std::size_t ascii = AsciiPrefix(text);
  std::string out(text.substr(0, ascii));
  if (ascii == text.size()) return out;
  out.reserve(text.size() + text.size() / 2);
  DecodeCp936(text.substr(ascii), [&](char32_t c) { AppendUtf8(c, out); });
  return out;
}

Text Utf16ToCp936(std::u16string_view utf16) {
  Text out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t c = utf16[i];
    if (c < 0x80 && c != 0) {
      out.push_back(static_cast<char>(c));
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() &&
               utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      ++i;  // a pair: a character beyond the code page
      out.push_back(kUnmappable);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out.push_back(kUnmappable);  // a lone surrogate
    } else {
      AppendEncoded(Table(), c, out);
    }
  }
  return out;
}

std::u16string Cp936ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  DecodeCp936(text,
              [&](char32_t c) { out.push_back(static_cast<char16_t>(c)); });
  return out;
}

}  // namespace sumora
