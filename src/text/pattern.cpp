#include "text/pattern.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sumora {
namespace {

// The code of one character: the byte itself below 0x80, lead * 256 + second
// byte for a double-byte character (so 0x8000 and up), and a value above
// every double-byte code for a lone final byte, which no range reaches.
constexpr std::uint32_t kLoneByteBase = 0x10000;

struct Character {
  std::uint32_t code;
  std::size_t length;
};

Character ReadCharacter(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  if (pos + 1 < text.size()) {
    return {
        (std::uint32_t{lead} << 8) | static_cast<unsigned char>(text[pos + 1]),
        2};
  }
  return {kLoneByteBase | lead, 1};
}

constexpr bool IsAsciiPunctuation(std::uint32_t code) {
  return (code >= 0x21 && code <= 0x2F) || (code >= 0x3A && code <= 0x40) ||
         (code >= 0x5B && code <= 0x60) || (code >= 0x7B && code <= 0x7E);
}

// Characters that other dialects read as operators; bare, they make the
// pattern invalid ("+" is handled on its own, "[" opens a set).
constexpr std::string_view kReservedOutsideSet = ".*?()|{}^$]";

}  // namespace

bool Pattern::Element::MatchesWide(std::uint32_t code) const {
  for (std::size_t i = 0; i < wide_first.size(); ++i) {
    if (code < wide_first[i]) break;  // ranges are sorted
    if (code <= wide_last[i]) return true;
  }
  return false;
}

Pattern::Pattern(std::string_view pattern_text) {
  // Reads one character of the pattern text, or fails on a lone final byte.
  std::size_t i = 0;
  const std::size_t n = pattern_text.size();
  auto read = [&](std::uint32_t& code) {
    if (i >= n) return false;
    const Character c = ReadCharacter(pattern_text, i);
    if (c.code >= kLoneByteBase) return false;
    code = c.code;
    i += c.length;
    return true;
  };
  // Reads a plain or escaped character; `escaped` tells which.
  auto read_member = [&](std::uint32_t& code, bool& escaped) {
    if (!read(code)) return false;
    escaped = code == '\\';
    if (escaped) return read(code) && IsAsciiPunctuation(code);
    return true;
  };
  // Ranges of one element before sorting: (first, last) pairs.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  auto finish_element = [&](Element& element) {
    std::sort(ranges.begin(), ranges.end());
    for (auto [first, last] : ranges) {
      for (std::uint32_t c = first; c <= std::min<std::uint32_t>(last, 0x7F);
           ++c) {
        element.ascii[c >> 6] |= std::uint64_t{1} << (c & 63);
      }
      if (last < 0x80) continue;
      first = std::max<std::uint32_t>(first, 0x80);
      if (!element.wide_last.empty() && first <= element.wide_last.back() + 1) {
        element.wide_last.back() = std::max(element.wide_last.back(), last);
      } else {
        element.wide_first.push_back(first);
        element.wide_last.push_back(last);
      }
    }
    ranges.clear();
    elements_.push_back(std::move(element));
  };

  while (i < n) {
    std::uint32_t code = 0;
    bool escaped = false;
    if (pattern_text[i] == '+') {
      if (elements_.empty() || elements_.back().repeated) return;
      elements_.back().repeated = true;
      ++i;
      continue;
    }
    if (elements_.size() == kMaxElements) return;
    Element element;
    if (pattern_text[i] == '[') {
      ++i;
      if (i < n && pattern_text[i] == '^') {
        element.negated = true;
        ++i;
      }
      if (i < n && pattern_text[i] == ']') return;  // an empty set
      while (true) {
        if (i >= n) return;  // no closing "]"
        if (pattern_text[i] == ']') {
          ++i;
          break;
        }
        std::uint32_t first = 0;
        if (!read_member(first, escaped)) return;
        std::uint32_t last = first;
        // "x-y" is a range unless the "-" is the last member.
        if (i + 1 < n && pattern_text[i] == '-' && pattern_text[i + 1] != ']') {
          ++i;
          if (!read_member(last, escaped) || last < first) return;
        }
        ranges.emplace_back(first, last);
      }
    } else {
      if (!read_member(code, escaped)) return;
      if (!escaped && code < 0x80 &&
          kReservedOutsideSet.find(static_cast<char>(code)) !=
              std::string_view::npos) {
        return;
      }
      ranges.emplace_back(code, code);
    }
    finish_element(element);
  }
  valid_ = !elements_.empty();
}

// A simulation of the pattern's automaton over all start positions at once.
// State k means "the first k elements are behind us and element k is next".
// Threads are kept in priority order: an earlier start before a later one,
// and for the same start the greedy choice (one more repetition) before the
// choice to move on. A state is kept only in its first, highest-priority
// thread: whatever a lower one could still match, the higher one matches
// with the same remaining text and wins. When a thread completes the
// pattern, every thread after it is dropped and no new start is tried; the
// threads before it (longer candidates of the same or an earlier start) run
// on and replace the match if they complete. This gives exactly the match a
// backtracking search would, in one pass over the text.
bool Pattern::Find(std::string_view text, std::size_t start,
                   Span& match) const {
  if (!valid_ || start >= text.size()) return false;
  struct Thread {
    std::size_t state;
    std::size_t start;
  };
  static_assert(kMaxElements <= 64, "one bit of a mask per state");
  const std::size_t element_count = elements_.size();
  std::array<Thread, kMaxElements> list_a;
  std::array<Thread, kMaxElements> list_b;
  Thread* now = list_a.data();
  Thread* next = list_b.data();
  std::size_t now_count = 0;
  std::uint64_t now_states = 0;  // bit k: the list holds state k
  bool matched = false;
  std::size_t pos = start;
  const std::size_t n = text.size();
  while (true) {
    Character c{};
    if (!matched) {
      if (now_count == 0) {
        // Nothing is under way: go straight to the next character that can
        // begin a match.
        const Element& first = elements_[0];
        while (pos < n) {
          c = ReadCharacter(text, pos);
          if (first.Matches(c.code)) break;
          pos += c.length;
        }
      }
      if ((now_states & 1) == 0) {
        now[now_count++] = {0, pos};
        now_states |= 1;
      }
    }
    if (now_count == 0 || pos >= n) break;
    c = ReadCharacter(text, pos);
    std::size_t next_count = 0;
    std::uint64_t next_states = 0;
    auto add = [&](std::size_t state, std::size_t thread_start) {
      const std::uint64_t bit = std::uint64_t{1} << state;
      if ((next_states & bit) != 0) return;
      next_states |= bit;
      next[next_count++] = {state, thread_start};
    };
    for (std::size_t t = 0; t < now_count; ++t) {
      const Thread thread = now[t];
      const Element& element = elements_[thread.state];
      if (!element.Matches(c.code)) continue;
      if (element.repeated) add(thread.state, thread.start);
      if (thread.state + 1 == element_count) {
        matched = true;
        match = {thread.start, pos + c.length};
        break;
      }
      add(thread.state + 1, thread.start);
    }
    std::swap(now, next);
    now_count = next_count;
    now_states = next_states;
    pos += c.length;
  }
  return matched;
}

MatchResult PatternSearch(const Pattern& pattern, std::string_view text) {
  return PatternSearch(pattern, text, 0);
}

MatchResult PatternSearch(const Pattern& pattern, std::string_view text,
                          std::size_t start) {
  MatchResult result;
  Pattern::Span span{};
  if (!pattern.Find(text, start, span) || span.end > kMaxMatchOffset) {
    return result;
  }
  result.is_matched = true;
  result.match_start = static_cast<std::int32_t>(span.start);
  result.match_end = static_cast<std::int32_t>(span.end);
  result.match_text.assign(text.substr(span.start, span.end - span.start));
  return result;
}

Text PatternReplace(const Pattern& pattern, std::string_view text,
                    std::string_view replacement) {
  Text result;
  result.reserve(text.size());
  std::size_t copied = 0;
  Pattern::Span span{};
  while (pattern.Find(text, copied, span)) {
    result.append(text.substr(copied, span.start - copied));
    result.append(replacement);
    copied = span.end;  // every match takes at least one character
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace sumora
