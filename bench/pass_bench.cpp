// The calculation pass over a mixed corpus of realistic lines: everyday sums
// written with words, full-width forms, broken input, in both modes.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "calc/pass.h"
#include "text/cp936.h"

namespace {

// UTF-8 here; the pass sees code page 936 bytes.
const char* const kLines[] = {
    "午餐 35.5 + 饮料 12",
    "房租 2,000 + 水电 150.5",
    "12.5*(3+4)/2-7",
    "１２＋３４．５",
    "3x+（2",
    ".5++2)(",
    "(1+2)*3-4/5",
    "打车 23 + 地铁 4 + 公交 2",
    "1/3",
    "2*(3+4",
    "总计：128.8 × 3",
    "100-25.5-13.25",
    "50%+20%",
    "sqrt(16)+2^3",
    "sin(0)+cos(0)",
    "200*15%",
    "",
    "abc",
    "8/(2(1+1))",
    "1e5",
};

std::string Corpus(int copies) {
  std::string text;
  for (int i = 0; i < copies; ++i) {
    for (const char* line : kLines) {
      text += sumora::Utf8ToCp936(line);
      text += "\r\n";
    }
  }
  return text;
}

constexpr int kCopies = 500;
constexpr int kLinesPerPass = kCopies * static_cast<int>(std::size(kLines));

void RunPass(benchmark::State& state, bool scientific, const char* decimals) {
  const std::string input = Corpus(kCopies);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        sumora::CalculationPass(input, scientific, decimals));
  }
  state.SetItemsProcessed(state.iterations() * kLinesPerPass);
  // Seconds per line, printed with an SI prefix ("350n" is 350 ns a line).
  state.counters["per_line"] = benchmark::Counter(
      kLinesPerPass, benchmark::Counter::kIsIterationInvariantRate |
                         benchmark::Counter::kInvert);
}

void BM_PassStandard(benchmark::State& state) { RunPass(state, false, ""); }
void BM_PassStandardDecimals(benchmark::State& state) {
  RunPass(state, false, "2");
}
void BM_PassScientific(benchmark::State& state) { RunPass(state, true, ""); }

BENCHMARK(BM_PassStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassStandardDecimals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassScientific)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
