// The standard sanitizer runs for every line on every keystroke: typical
// lines, each as a fresh expression and into a reused buffer, and lines of a
// megabyte of mixed and of adversarial content.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

#include "calc/standard.h"

namespace {

const std::string_view kTypicalLines[] = {
    // 午餐 35.5 + 饮料 12
    "\xCE\xE7\xB2\xCD 35.5 + \xD2\xFB\xC1\xCF 12",
    "12.5*(3+4)/2-7",
    "3x+\xA3\xA8"
    "2",  // 3x+（2
    ".5++2)(",
};

void TypicalLine(benchmark::State& state) {
  const std::string_view line = kTypicalLines[state.range(0)];
  for (auto _ : state) {
    sumora::Text expression = sumora::StandardSanitizer(line);
    benchmark::DoNotOptimize(expression);
  }
}
BENCHMARK(TypicalLine)->DenseRange(0, 3);

void TypicalLineReusedBuffer(benchmark::State& state) {
  const std::string_view line = kTypicalLines[state.range(0)];
  sumora::Text expression;
  for (auto _ : state) {
    sumora::StandardSanitizer(line, expression);
    benchmark::DoNotOptimize(expression);
  }
}
BENCHMARK(TypicalLineReusedBuffer)->DenseRange(0, 3);

constexpr std::size_t kMegabyte = 1 << 20;

std::string Repeat(std::string_view piece) {
  std::string text;
  while (text.size() < kMegabyte) text.append(piece);
  return text;
}

// Everyday pieces, full-width forms and broken input in random order.
std::string MixedMegabyte() {
  static const std::string_view kPieces[] = {
      "12.5",     "*",        "(",        ")",        "+",        "-",
      "/",        "^",        ".",        " ",        "3",        "x",
      "\xA3\xA8", "\xA3\xAE", "\xA3\xB0", "\xA1\xA1", "\xA1\xC1", "\x81\x5E",
      "#",        "..",       "\xCE\xE7", "7",        "(-",       ")(",
  };
  std::mt19937 random(1);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string text;
  while (text.size() < kMegabyte) text.append(kPieces[pick(random)]);
  return text;
}

void MegabyteLine(benchmark::State& state, const std::string& line) {
  for (auto _ : state) {
    sumora::Text expression = sumora::StandardSanitizer(line);
    benchmark::DoNotOptimize(expression);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(line.size()));
}
BENCHMARK_CAPTURE(MegabyteLine, mixed, MixedMegabyte())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MegabyteLine, close_open, Repeat(")("))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MegabyteLine, operator_runs, Repeat("1+-*/^"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MegabyteLine, open_parentheses, Repeat("("))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MegabyteLine, points, Repeat("1..2.+."))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
