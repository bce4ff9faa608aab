// The scientific rewriter read line by line: every search from the start of
// the line, every replacement a fresh text. Quadratic in the number of
// replacements, and the plainest statement of what the rewriter must give;
// the tests and the fuzz target hold the rewriter to it.
#ifndef SUMORA_TESTS_CALC_SCIENTIFIC_STEP_BY_STEP_H_
#define SUMORA_TESTS_CALC_SCIENTIFIC_STEP_BY_STEP_H_

#include <string_view>

#include "calc/scientific.h"
#include "text/number.h"
#include "text/pattern.h"
#include "text/text.h"

namespace sumora::test_support {

// [^0-9（√☆║㏒⊿∟∠╠╣%╬㏑）()\+\-\*/\^\.] in code page 936 bytes.
inline constexpr char kScientificFilter[] =
    "[^0-9\xA3\xA8\xA1\xCC\xA1\xEE\xA8\x55\xA9\x53\xA8\x53\xA8\x4E\xA1\xCF"
    "\xA8\x64\xA8\x67%\xA8\x70\xA9\x52\xA3\xA9()\\+\\-\\*/\\^\\.]";

struct ScientificName {
  const char* name;
  const char* placeholder;
  const char* call;
};

inline constexpr ScientificName kScientificNames[] = {
    {"pow", "\xA1\xEE", "Math.pow"},   {"sqrt", "\xA1\xCC", "Math.sqrt"},
    {"abs", "\xA8\x55", "Math.abs"},   {"log", "\xA9\x53", "Math.log"},
    {"exp", "\xA9\x52", "Math.exp"},   {"asin", "\xA8\x64", "Math.asin"},
    {"atan", "\xA8\x70", "Math.atan"}, {"acos", "\xA8\x67", "Math.acos"},
    {"tan", "\xA8\x53", "Math.tan"},   {"sin", "\xA8\x4E", "Math.sin"},
    {"cos", "\xA1\xCF", "Math.cos"},
};

inline ScientificRewrite ScientificStepByStep(std::string_view line) {
  Text text = ToLowerCase(line);
  for (const ScientificName& n : kScientificNames) {
    text = ReplaceAll(text, n.name, n.placeholder);
  }
  text = PatternReplace(Pattern(kScientificFilter), text, "");
  for (const ScientificName& n : kScientificNames) {
    text = ReplaceAll(text, n.placeholder, n.call);
  }
  const Pattern percentage("[0-9\\.]+\\%");
  for (MatchResult m = PatternSearch(percentage, text); m.is_matched;
       m = PatternSearch(percentage, text)) {
    const Text value =
        NumberToText(static_cast<double>(TextToFloat(m.match_text)) / 100);
    text =
        ReplaceAt(text, m.match_start + 1, m.match_end - m.match_start, value);
  }
  const Text snapshot = text;
  for (const char* power :
       {"[0-9\\.]+\\^[0-9\\.]+", "[0-9\\.]+\\^\\([0-9\\.]+\\)"}) {
    const Pattern pattern(power);
    for (MatchResult m = PatternSearch(pattern, text); m.is_matched;
         m = PatternSearch(pattern, text)) {
      const Text call =
          ConcatText({"Math.pow(", ReplaceAll(m.match_text, "^", ","), ")"});
      text =
          ReplaceAt(text, m.match_start + 1, m.match_end - m.match_start, call);
    }
  }
  text = ReplaceAll(text, "\xA3\xA9", ")");  // ）
  text = ReplaceAll(text, "\xA3\xA8", "(");  // （
  return {text, snapshot};
}

}  // namespace sumora::test_support

#endif  // SUMORA_TESTS_CALC_SCIENTIFIC_STEP_BY_STEP_H_
