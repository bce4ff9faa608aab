#include "ui/line_results.h"

#include <algorithm>

#include "calc/pass.h"
#include "text/cp936.h"

namespace sumora {
namespace {

// Stored results beyond this many per current line (plus a fixed allowance)
// are dropped at the end of a pass, so that editing a long text for hours
// does not keep every line it ever held.
constexpr std::size_t kKeptPerLine = 2;
constexpr std::size_t kKeptAllowance = 4096;

}  // namespace

std::vector<ResultLine> LineResultCache::Calculate(
    std::string_view input, bool scientific, std::string_view decimals_text) {
  if (scientific != scientific_ || decimals_text != decimals_text_) {
    results_.clear();
    last_lines_.clear();
    last_results_.clear();
    scientific_ = scientific;
    decimals_text_ = Text(decimals_text);
  }
  TextArray lines = SplitText(input, "\r\n");
  const std::size_t count = lines.size();
  const std::size_t last_count = last_lines_.size();
  const std::size_t shorter = std::min(count, last_count);
  std::vector<ResultLine> shown(count);

  // The unchanged start and end of the text, as in the last pass.
  std::size_t prefix = 0;
  while (prefix < shorter && lines[prefix] == last_lines_[prefix]) {
    shown[prefix] = last_results_[prefix];
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         lines[count - 1 - suffix] == last_lines_[last_count - 1 - suffix]) {
    shown[count - 1 - suffix] = last_results_[last_count - 1 - suffix];
    ++suffix;
  }

  // The lines in between: known ones from the store, new ones computed.
  for (std::size_t i = prefix; i < count - suffix; ++i) {
    auto found = results_.find(std::string_view(lines[i]));
    if (found == results_.end()) {
      const Text result = CalculateLine(lines[i], scientific, decimals_text);
      found = results_
                  .emplace(lines[i], std::make_shared<const std::u16string>(
                                         Cp936ToUtf16(result)))
                  .first;
    }
    shown[i] = found->second;
  }

  if (results_.size() > kKeptPerLine * count + kKeptAllowance) {
    // Keep what the current text uses, forget the rest.
    results_.clear();
    for (std::size_t i = 0; i < count; ++i) {
      results_.emplace(lines[i], shown[i]);
    }
  }
  last_lines_ = std::move(lines);
  last_results_ = shown;
  return shown;
}

bool SameResult(const ResultLine& a, const ResultLine& b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return *a == *b;
}

LineChange DiffResults(const std::vector<ResultLine>& before,
                       const std::vector<ResultLine>& after) {
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t prefix = 0;
  while (prefix < shorter && SameResult(before[prefix], after[prefix])) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         SameResult(before[before.size() - 1 - suffix],
                    after[after.size() - 1 - suffix])) {
    ++suffix;
  }
  return LineChange{prefix, before.size() - prefix - suffix,
                    after.size() - prefix - suffix};
}

std::size_t ParagraphBreaks(std::u16string_view line) {
  // The line's own breaks, then the CR LF that ends it. A CR at the end of
  // the line is followed by that CR and stays a break of its own.
  std::size_t breaks = 1;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'\r') {
      if (i + 1 < line.size() && line[i + 1] == u'\n') ++i;
      ++breaks;
    } else if (line[i] == u'\n' || line[i] == u'\u2029') {
      ++breaks;
    }
  }
  return breaks;
}

}  // namespace sumora
