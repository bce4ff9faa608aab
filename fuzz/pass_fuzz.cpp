// The whole pass in both modes over any bytes and any decimals text: every
// input line gives exactly one output line, and every output line ends in
// CR LF.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/pass.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  // First byte: mode and the length of the decimals text; then the decimals
  // text; the rest is the input.
  const bool scientific = (data[0] & 0x80) != 0;
  const std::size_t decimals_size =
      std::min<std::size_t>(data[0] & 0x0F, size - 1);
  const std::string_view decimals(reinterpret_cast<const char*>(data + 1),
                                  decimals_size);
  const std::string_view input(
      reinterpret_cast<const char*>(data + 1 + decimals_size),
      size - 1 - decimals_size);

  const sumora::Text output =
      sumora::CalculationPass(input, scientific, decimals);
  const sumora::TextArray lines = sumora::SplitText(input, "\r\n");

  // Count the output's line breaks; each result line holds no CR LF of its
  // own, so the count must equal the number of input lines.
  std::size_t breaks = 0;
  for (std::size_t at = output.find("\r\n"); at != std::string_view::npos;
       at = output.find("\r\n", at + 2)) {
    ++breaks;
  }
  if (breaks != lines.size()) std::abort();
  if (!output.empty() && !output.ends_with("\r\n")) std::abort();
  if (lines.empty() != output.empty()) std::abort();
  return 0;
}
