#include "text/text.h"

#include <algorithm>

namespace sumora {
namespace {

// Width of the character that starts at byte i (0-based) of a scan by
// characters: 2 for a lead byte, 1 otherwise. The caller handles a lead byte
// that is the last byte.
inline std::size_t CharWidth(std::string_view text, std::size_t i) {
  return IsLeadByte(text[i]) ? 2 : 1;
}

// True when the m = sought.size() bytes at offset i equal the sought text (the
// caller guarantees they exist). The first byte decides most comparisons.
inline bool MatchesAt(std::string_view text, std::size_t i,
                      std::string_view sought) {
  return text[i] == sought[0] &&
         text.substr(i + 1, sought.size() - 1) == sought.substr(1);
}

// Shared scan of FindText and FindTextReverse: calls visit(offset) for every
// candidate offset (0-based) whose bytes equal the sought text, in order, until
// visit returns false.
template <typename Visit>
void ScanMatches(std::string_view text, std::string_view sought, Visit visit) {
  const std::size_t m = sought.size();
  std::size_t i = 0;
  while (m <= text.size() && i <= text.size() - m) {
    if (MatchesAt(text, i, sought) && !visit(i)) return;
    if (IsLeadByte(text[i]) && i + 1 == text.size()) return;  // lone final byte
    i += CharWidth(text, i);
  }
}

}  // namespace

TextPos TextLength(std::string_view text) {
  return static_cast<TextPos>(text.size());
}

Text TextLeft(std::string_view text, TextPos n) {
  if (n <= 0) return {};
  return Text(text.substr(
      0, static_cast<std::size_t>(std::min<TextPos>(n, TextLength(text)))));
}

Text TextRight(std::string_view text, TextPos n) {
  if (n <= 0) return {};
  const TextPos count = std::min<TextPos>(n, TextLength(text));
  return Text(text.substr(text.size() - static_cast<std::size_t>(count)));
}

Text TextMid(std::string_view text, TextPos p, TextPos n) {
  const TextPos length = TextLength(text);
  if (p < 1 || p > length || n <= 0) return {};
  const TextPos count = std::min<TextPos>(n, length - p + 1);
  return Text(text.substr(static_cast<std::size_t>(p - 1),
                          static_cast<std::size_t>(count)));
}

TextPos FindText(std::string_view text, std::string_view sought) {
  if (sought.empty()) return text.empty() ? -1 : 1;
  TextPos found = -1;
  ScanMatches(text, sought, [&](std::size_t i) {
    found = static_cast<TextPos>(i) + 1;
    return false;
  });
  return found;
}

TextPos FindTextReverse(std::string_view text, std::string_view sought) {
  if (sought.empty()) return text.empty() ? -1 : 1;
  TextPos found = -1;
  ScanMatches(text, sought, [&](std::size_t i) {
    found = static_cast<TextPos>(i) + 1;
    return true;
  });
  return found;
}

Text ReplaceAt(std::string_view text, TextPos p, TextPos k,
               std::optional<std::string_view> replacement) {
  const TextPos length = TextLength(text);
  const TextPos s = std::clamp<TextPos>(p - 1, 0, length);
  const TextPos r = k <= 0 ? 0 : std::min<TextPos>(k, length - s);
  Text result;
  result.reserve(text.size() + (replacement ? replacement->size() : 0));
  result.append(text.substr(0, static_cast<std::size_t>(s)));
  if (replacement) result.append(*replacement);
  result.append(text.substr(static_cast<std::size_t>(s + r)));
  return result;
}

Text ReplaceAll(std::string_view text, std::string_view sought,
                std::string_view replacement) {
  if (text.empty() || sought.empty()) return Text(text);
  const std::size_t m = sought.size();
  Text result;
  result.reserve(text.size());
  std::size_t copied = 0;  // text[0, copied) is in the result already
  std::size_t i = 0;
  while (text.size() - i >= m) {
    if (MatchesAt(text, i, sought)) {
      result.append(text.substr(copied, i - copied));
      result.append(replacement);
      i += m;
      copied = i;
    } else if (IsLeadByte(text[i])) {
      if (i + 1 == text.size()) {  // lone final byte: dropped
        result.append(text.substr(copied, i - copied));
        return result;
      }
      i += 2;
    } else {
      i += 1;
    }
  }
  result.append(text.substr(copied));
  return result;
}

TextArray SplitText(std::string_view text, std::string_view separator) {
  TextArray members;
  if (text.empty()) return members;
  if (separator.empty()) {
    members.emplace_back(text);
    return members;
  }
  const std::size_t m = separator.size();
  std::size_t start = 0;
  std::size_t i = 0;
  while (text.size() - i >= m) {
    if (MatchesAt(text, i, separator)) {
      members.emplace_back(text.substr(start, i - start));
      i += m;
      start = i;
    } else {
      if (IsLeadByte(text[i]) && i + 1 == text.size()) break;
      i += CharWidth(text, i);
    }
  }
  if (start < text.size()) members.emplace_back(text.substr(start));
  return members;
}

Text ConcatText(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  Text result;
  result.reserve(size);
  for (std::string_view part : parts) result.append(part);
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  // std::string_view compares through char_traits<char>, which compares as
  // unsigned char.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

Text ToLowerCase(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (IsLeadByte(result[i])) {
      ++i;  // the second byte is part of the character; past the end is fine
    } else if (result[i] >= 'A' && result[i] <= 'Z') {
      result[i] = static_cast<char>(result[i] + 0x20);
    }
  }
  return result;
}

Text ToHalfWidth(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLeadByte(text[i])) {
      result.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) break;  // lone final byte: dropped
    const auto first = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      result.push_back(static_cast<char>(second - 0x80));
    } else if (first == 0xA1 && second == 0xA1) {
      result.push_back(' ');
    } else if (first == 0xA1 && second == 0xAB) {
      result.push_back('~');
    } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
      result.push_back('*');
    } else {
      result.append(text.substr(i, 2));
    }
    ++i;
  }
  return result;
}

Text RemoveAllSpaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLeadByte(text[i])) {
      if (text[i] != ' ') result.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) break;  // lone final byte: dropped
    if (static_cast<unsigned char>(text[i]) != 0xA1 ||
        static_cast<unsigned char>(text[i + 1]) != 0xA1) {
      result.append(text.substr(i, 2));
    }
    ++i;
  }
  return result;
}

}  // namespace sumora
