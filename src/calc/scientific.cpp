#include "calc/scientific.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/number.h"
#include "text/pattern.h"

namespace sumora {
namespace {

struct FunctionName {
  std::string_view name;
  std::string_view placeholder;  // one double-byte character
  std::string_view call;
};

// Applied in this order both ways: asin, atan and acos go before tan, sin and
// cos, which would otherwise break them up.
constexpr std::array<FunctionName, 11> kFunctionNames = {{
    {"pow", "\xA1\xEE", "Math.pow"},    // ☆
    {"sqrt", "\xA1\xCC", "Math.sqrt"},  // √
    {"abs", "\xA8\x55", "Math.abs"},    // ║
    {"log", "\xA9\x53", "Math.log"},    // ㏒
    {"exp", "\xA9\x52", "Math.exp"},    // ㏑
    {"asin", "\xA8\x64", "Math.asin"},  // ╠
    {"atan", "\xA8\x70", "Math.atan"},  // ╬
    {"acos", "\xA8\x67", "Math.acos"},  // ╣
    {"tan", "\xA8\x53", "Math.tan"},    // ⊿
    {"sin", "\xA8\x4E", "Math.sin"},    // ∟
    {"cos", "\xA1\xCF", "Math.cos"},    // ∠
}};

constexpr std::string_view kFullWidthOpen = "\xA3\xA8";   // （
constexpr std::string_view kFullWidthClose = "\xA3\xA9";  // ）

// The four patterns never change, so they are built once; a Pattern keeps
// nothing between searches, so sharing them is invisible to every caller.
const Pattern& FilterPattern() {
  // [^0-9（√☆║㏒⊿∟∠╠╣%╬㏑）()\+\-\*/\^\.]
  static const Pattern pattern(
      "[^0-9"
      "\xA3\xA8"
      "\xA1\xCC"
      "\xA1\xEE"
      "\xA8\x55"
      "\xA9\x53"
      "\xA8\x53"
      "\xA8\x4E"
      "\xA1\xCF"
      "\xA8\x64"
      "\xA8\x67"
      "%"
      "\xA8\x70"
      "\xA9\x52"
      "\xA3\xA9"
      "()\\+\\-\\*/\\^\\.]");
  return pattern;
}

const Pattern& PercentagePattern() {
  static const Pattern pattern("[0-9\\.]+\\%");
  return pattern;
}

const Pattern& PlainPowerPattern() {
  static const Pattern pattern("[0-9\\.]+\\^[0-9\\.]+");
  return pattern;
}

const Pattern& ParenthesisedPowerPattern() {
  static const Pattern pattern("[0-9\\.]+\\^\\([0-9\\.]+\\)");
  return pattern;
}

bool HasDoubleByte(std::string_view text) {
  for (const char c : text) {
    if (IsLeadByte(c)) return true;
  }
  return false;
}

// One bit for each of the letters a to z among the bytes of the text.
constexpr std::uint32_t LetterMask(std::string_view text) {
  std::uint32_t mask = 0;
  for (const char c : text) {
    if (c >= 'a' && c <= 'z') mask |= std::uint32_t{1} << (c - 'a');
  }
  return mask;
}

constexpr std::array<std::uint32_t, kFunctionNames.size()> kNameLetters = [] {
  std::array<std::uint32_t, kFunctionNames.size()> masks{};
  for (std::size_t i = 0; i < kFunctionNames.size(); ++i) {
    masks[i] = LetterMask(kFunctionNames[i].name);
  }
  return masks;
}();

// Copies the text with each double-byte character replaced by what `map`
// gives for it (lead byte, second byte), scanning by characters; runs of
// single-byte characters, and a lone final byte, are copied as they are.
template <typename Map>
Text MapDoubleByteCharacters(std::string_view text, Map map) {
  Text result;
  result.reserve(text.size() + 16);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t run_start = i;
    while (i < text.size() && !IsLeadByte(text[i])) ++i;
    result.append(text.substr(run_start, i - run_start));
    if (i + 1 >= text.size()) break;
    result.append(map(text.substr(i, 2)));
    i += 2;
  }
  result.append(text.substr(i));  // a lone final byte, if any
  return result;
}

// Every placeholder to its call, in one scan. This is what replacing the
// placeholders one after the other gives: each call is ASCII and takes the
// place of one whole character, so no replacement can make or break a
// placeholder for a later one.
Text PlaceholdersToCalls(std::string_view text) {
  return MapDoubleByteCharacters(text, [](std::string_view character) {
    for (const FunctionName& function : kFunctionNames) {
      if (function.placeholder[0] == character[0] &&
          function.placeholder[1] == character[1]) {
        return function.call;
      }
    }
    return character;
  });
}

// "）" to ")", then "（" to "(", in one scan, for the same reason.
Text FullWidthParenthesesToAscii(std::string_view text) {
  return MapDoubleByteCharacters(text, [](std::string_view character) {
    if (character == kFullWidthClose) return std::string_view(")");
    if (character == kFullWidthOpen) return std::string_view("(");
    return character;
  });
}

// Percentages, leftmost first, as often as one is found.
//
// After the leftmost match [s, e) is replaced, the next match starts at s or
// later. A match starting before s would either lie wholly before s, and so
// have been a match of the text before the replacement, starting before the
// leftmost one; or it would reach past s, and then the character just before
// s would be one of its digits or dots (only the final "%" ends a match).
// But a digit or dot there would have started a match one character before
// s. So everything before s is final, and the search resumes at s: the value
// written there can join digits and a "%" that follow it ("100%%" -> "1%" ->
// "0.01").
//
// The text is kept as `done` (final) followed by buffer[pos..]. The value is
// written in place just before e, over bytes already taken; when it does not
// fit, the rest moves once into a fresh buffer with as much room in front as
// it is long, so that moves cost linear time in all.
Text RewritePercentages(Text text) {
  // Far more than the longest general form of a number (20 bytes).
  constexpr std::size_t kMinRoom = 64;
  const Pattern& pattern = PercentagePattern();
  Text done;
  done.reserve(text.size());
  Text buffer = std::move(text);
  std::size_t pos = 0;
  while (true) {
    const std::string_view rest = std::string_view(buffer).substr(pos);
    const MatchResult match = PatternSearch(pattern, rest);
    if (!match.is_matched) break;
    const std::size_t start = pos + static_cast<std::size_t>(match.match_start);
    const std::size_t end = pos + static_cast<std::size_t>(match.match_end);
    // TextToFloat stops at the "%"; the quotient is taken in double.
    const Text value = NumberToText(
        static_cast<double>(TextToFloat(match.match_text)) / 100.0);
    done.append(buffer, pos, start - pos);
    if (end >= value.size()) {
      pos = end - value.size();
      std::copy(value.begin(), value.end(), buffer.begin() + pos);
    } else {
      const std::size_t room = std::max(kMinRoom, buffer.size() - end);
      Text moved(room, ' ');
      moved.append(value);
      moved.append(buffer, end);
      buffer = std::move(moved);
      pos = room;
    }
  }
  done.append(buffer, pos);
  return done;
}

// Powers, leftmost first, as often as one is found.
//
// No match can use a character of an inserted call "Math.pow(a,b)" or
// "Math.pow(a,(b))". A match needs a "^" and the call holds none, so such a
// match would run across one end of the call: across its first character,
// "M", which no element takes, or out past its last, ")", which only ever
// ends a match. Nor can a match lie wholly before the call: that text is
// unchanged and held no match starting before the one just replaced. So the
// next match lies in the text after the call, which is the text after the
// old match: the search simply goes on from there, and the text before is
// final.
Text RewritePowers(std::string_view text, const Pattern& pattern) {
  Text result;
  result.reserve(text.size() + 16);
  std::size_t copied = 0;
  while (true) {
    const MatchResult match = PatternSearch(pattern, text.substr(copied));
    if (!match.is_matched) break;
    result.append(text.substr(copied, match.match_start));
    // The match holds one "^", which becomes the argument separator.
    const std::size_t caret = match.match_text.find('^');
    result.append("Math.pow(");
    result.append(match.match_text, 0, caret);
    result.push_back(',');
    result.append(match.match_text, caret + 1);
    result.push_back(')');
    copied += static_cast<std::size_t>(match.match_end);
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace

ScientificRewrite ScientificRewriter(std::string_view line) {
  // 1. Lower case.
  Text text = ToLowerCase(line);

  // 2. Names to placeholders. A name can occur only if all its letters do,
  // and one that ReplaceAll would find is also found by a plain byte search;
  // both tests are cheaper than a replacement that changes nothing.
  const std::uint32_t letters = LetterMask(text);
  for (std::size_t i = 0; i < kFunctionNames.size(); ++i) {
    const FunctionName& function = kFunctionNames[i];
    if ((letters & kNameLetters[i]) == kNameLetters[i] &&
        text.find(function.name) != Text::npos) {
      text = ReplaceAll(text, function.name, function.placeholder);
    }
  }

  // 3. Only digits, operators, parentheses, "%" and placeholders stay.
  // Most lines have nothing to delete once their names are placeholders; a
  // search that finds nothing spares the copy.
  if (PatternSearch(FilterPattern(), text).is_matched) {
    text = PatternReplace(FilterPattern(), text, "");
  }

  // 4. Placeholders to the evaluator's functions. After the filter every
  // double-byte character is a placeholder or a full-width parenthesis.
  const bool has_double_byte = HasDoubleByte(text);
  if (has_double_byte) text = PlaceholdersToCalls(text);

  // 5. Percentages become numbers.
  if (text.find('%') != Text::npos) text = RewritePercentages(std::move(text));

  // 6. What the user sees: percentages done, powers still written with "^".
  ScientificRewrite rewrite;
  rewrite.snapshot = text;

  // 7. and 8. Powers become calls, plain ones first.
  if (text.find('^') != Text::npos) {
    text = RewritePowers(text, PlainPowerPattern());
    if (text.find("^(") != Text::npos) {
      text = RewritePowers(text, ParenthesisedPowerPattern());
    }
  }

  // 9. Full-width parentheses to ASCII, only now: a full-width parenthesis
  // after "^" keeps its power from being rewritten.
  if (has_double_byte && HasDoubleByte(text)) {
    text = FullWidthParenthesesToAscii(text);
  }

  // 10. The expression: the line as it now stands.
  rewrite.expression = std::move(text);
  return rewrite;
}

}  // namespace sumora
