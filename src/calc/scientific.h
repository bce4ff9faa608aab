// The scientific-mode rewriter: function names, percentages and powers.
#ifndef SUMORA_CALC_SCIENTIFIC_H_
#define SUMORA_CALC_SCIENTIFIC_H_

#include <string_view>

#include "text/text.h"

namespace sumora {

struct ScientificRewrite {
  Text expression;  // what the evaluator computes
  Text snapshot;    // the line after its percentages, before its powers
};

// ScientificRewriter("sqrt(16)+2^3") ->
//   {"Math.sqrt(16)+Math.pow(2,3)", "Math.sqrt(16)+2^3"}.
ScientificRewrite ScientificRewriter(std::string_view line);

}  // namespace sumora

#endif  // SUMORA_CALC_SCIENTIFIC_H_
