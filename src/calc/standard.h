// The standard-mode sanitizer: one line of free text in, an arithmetic
// expression over the digits, + - * / ^ ( ) and "." out.
#ifndef SUMORA_CALC_STANDARD_H_
#define SUMORA_CALC_STANDARD_H_

#include <string_view>

#include "text/text.h"

namespace sumora {

// StandardSanitizer("3x+（2") -> "3+(2)", StandardSanitizer("abc") -> "".
Text StandardSanitizer(std::string_view line);

}  // namespace sumora

#endif  // SUMORA_CALC_STANDARD_H_
