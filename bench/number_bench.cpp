// The number forms on the calculator's hot path: every line of every
// keystroke reads the evaluator's answer (TextToNumber) and writes it
// (FormatNumber). Target: under 150 ns a call; the whole line has 0.4 us.
#include <benchmark/benchmark.h>

#include <optional>
#include <string_view>

#include "text/number.h"

namespace {

void BM_TextToNumber(benchmark::State& state, std::string_view text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(sumora::TextToNumber(text));
  }
}
BENCHMARK_CAPTURE(BM_TextToNumber, short, std::string_view("12.5"));
BENCHMARK_CAPTURE(BM_TextToNumber, third,
                  std::string_view("0.3333333333333333"));
BENCHMARK_CAPTURE(BM_TextToNumber, money, std::string_view("1234567.89"));
BENCHMARK_CAPTURE(BM_TextToNumber, exponent, std::string_view("1e+21"));
BENCHMARK_CAPTURE(BM_TextToNumber, digits17,
                  std::string_view("0.30000000000000004"));
BENCHMARK_CAPTURE(BM_TextToNumber, digits24_slow_path,
                  std::string_view("1.23456789012345678901234e-300"));
BENCHMARK_CAPTURE(BM_TextToNumber, infinity, std::string_view("Infinity"));
BENCHMARK_CAPTURE(BM_TextToNumber, full_width,
                  std::string_view("\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5"));

void BM_FormatNumber(benchmark::State& state, double value,
                     std::optional<std::int32_t> decimals) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(sumora::FormatNumber(value, decimals));
  }
}
BENCHMARK_CAPTURE(BM_FormatNumber, short_general, 12.5, std::nullopt);
BENCHMARK_CAPTURE(BM_FormatNumber, third_general, 1.0 / 3, std::nullopt);
BENCHMARK_CAPTURE(BM_FormatNumber, money_general, 1234567.89, std::nullopt);
BENCHMARK_CAPTURE(BM_FormatNumber, short_2, 12.5, 2);
BENCHMARK_CAPTURE(BM_FormatNumber, third_2, 1.0 / 3, 2);
BENCHMARK_CAPTURE(BM_FormatNumber, money_2, 1234567.89, 2);
BENCHMARK_CAPTURE(BM_FormatNumber, tiny_general_slow_path, 1.5e-300,
                  std::nullopt);
BENCHMARK_CAPTURE(BM_FormatNumber, huge_general_slow_path, 1e21, std::nullopt);
BENCHMARK_CAPTURE(BM_FormatNumber, third_184, 1.0 / 3, 184);

// The pair one line costs: the answer read, then written.
void BM_ReadThenFormat(benchmark::State& state) {
  const std::string_view answer = "0.3333333333333333";
  for (auto _ : state) {
    benchmark::DoNotOptimize(answer);
    benchmark::DoNotOptimize(
        sumora::FormatNumber(sumora::TextToNumber(answer), std::nullopt));
  }
}
BENCHMARK(BM_ReadThenFormat);

}  // namespace

BENCHMARK_MAIN();
