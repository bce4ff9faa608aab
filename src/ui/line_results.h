// Results of the calculation for the window, one line at a time.
//
// A line's result depends only on its own text, the mode and the decimals
// text, so the window keeps the results of the lines it has shown and
// computes only the lines that are new since the last pass. Plain C++: the
// window turns the lines into paragraphs of its result box.
#ifndef SUMORA_UI_LINE_RESULTS_H_
#define SUMORA_UI_LINE_RESULTS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/text.h"

namespace sumora {

// One result line in UTF-16, without its line break: "1+1=2". Shared, so that
// a pass hands out the same object for an unchanged line and comparing two
// passes is mostly comparing pointers.
using ResultLine = std::shared_ptr<const std::u16string>;

class LineResultCache {
 public:
  // The result lines for the input (code page 936), split into lines exactly
  // as the calculation pass splits it: concatenating every member followed by
  // "\r\n" and converting to code page 936 gives CalculationPass(input, ...).
  // A change of the mode or of the decimals text forgets every stored result.
  std::vector<ResultLine> Calculate(std::string_view input, bool scientific,
                                    std::string_view decimals_text);

  // Number of stored results; at most about twice the number of lines of the
  // largest recent input, so that memory follows what is on the screen.
  std::size_t size() const { return results_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  struct Equal {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
      return a == b;
    }
  };

  bool scientific_ = false;
  Text decimals_text_;
  std::unordered_map<Text, ResultLine, Hash, Equal> results_;
  // The lines of the last pass and their results: an edit changes a run of
  // lines in between an unchanged start and end, which are taken from here
  // without a look-up.
  TextArray last_lines_;
  std::vector<ResultLine> last_results_;
};

// Two results are the same when they are one object or equal texts.
bool SameResult(const ResultLine& a, const ResultLine& b);

// The smallest run of lines that turns `before` into `after`: the lines
// [first, first + removed) of `before` are replaced by the lines
// [first, first + inserted) of `after`; everything around them is common.
struct LineChange {
  std::size_t first = 0;
  std::size_t removed = 0;
  std::size_t inserted = 0;
};
LineChange DiffResults(const std::vector<ResultLine>& before,
                       const std::vector<ResultLine>& after);

// How many paragraphs the line, followed by its "\r\n", makes in a plain text
// box that starts a paragraph at CR LF, at a lone CR and at a lone LF.
// ParagraphBreaks(u"1+1=2") -> 1, ParagraphBreaks(u"a\rb") -> 2.
std::size_t ParagraphBreaks(std::u16string_view line);

}  // namespace sumora

#endif  // SUMORA_UI_LINE_RESULTS_H_
