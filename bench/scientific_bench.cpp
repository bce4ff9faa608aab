// The scientific rewriter runs for every line on every keystroke in
// scientific mode: typical lines, the whole line through the pass, and lines
// of a megabyte whose every replacement meets the next.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "calc/pass.h"
#include "calc/scientific.h"

namespace {

const std::string_view kTypicalLines[] = {
    "sqrt(16)+2^3",
    // 午餐 35.5 + 饮料 12
    "\xCE\xE7\xB2\xCD 35.5 + \xD2\xFB\xC1\xCF 12", "50%+20%", "sin(0)+cos(0)",
    "3,000 + 1",
    "\xA3\xA8"
    "1+2^3\xA3\xA9*200*15%",  // （1+2^3）*200*15%
};

void TypicalLine(benchmark::State& state) {
  const std::string_view line = kTypicalLines[state.range(0)];
  state.SetLabel(std::string(line));
  for (auto _ : state) {
    sumora::ScientificRewrite rewrite = sumora::ScientificRewriter(line);
    benchmark::DoNotOptimize(rewrite);
  }
}
BENCHMARK(TypicalLine)->DenseRange(0, std::size(kTypicalLines) - 1);

// The whole line as the result box shows it: rewriter, display form,
// evaluation and formatting.
void TypicalLineThroughThePass(benchmark::State& state) {
  const std::string_view line = kTypicalLines[state.range(0)];
  state.SetLabel(std::string(line));
  for (auto _ : state) {
    sumora::Text shown = sumora::CalculateLine(line, true, "");
    benchmark::DoNotOptimize(shown);
  }
}
BENCHMARK(TypicalLineThroughThePass)
    ->DenseRange(0, std::size(kTypicalLines) - 1);

constexpr std::size_t kMegabyte = 1 << 20;

std::string Repeat(std::string_view piece) {
  std::string text;
  while (text.size() < kMegabyte) text.append(piece);
  return text;
}

void MegabyteLine(benchmark::State& state) {
  static const std::string_view kPieces[] = {"1%", "2^2", "2^(2)", "7+"};
  const std::string line = Repeat(kPieces[state.range(0)]);
  state.SetLabel(std::string(kPieces[state.range(0)]) + " repeated");
  for (auto _ : state) {
    sumora::ScientificRewrite rewrite = sumora::ScientificRewriter(line);
    benchmark::DoNotOptimize(rewrite);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(line.size()));
}
BENCHMARK(MegabyteLine)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
