// The expression evaluator runs for every line on every keystroke.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "calc/script/evaluate.h"
#include "calc/script/interpreter.h"

namespace {

void BM_EvaluateTypical(benchmark::State& state) {
  const std::string_view expression = "12.5*(3+4)/2-7";
  for (auto _ : state) {
    benchmark::DoNotOptimize(sumora::EvaluateExpression(expression));
  }
}
BENCHMARK(BM_EvaluateTypical);

// The calculation pass calls the interpreter itself and takes the number:
// a line of standard mode and one of scientific mode as the pass writes it.
void BM_ScriptEvaluate(benchmark::State& state, std::string_view expression) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(sumora::script::Evaluate(expression));
  }
}
BENCHMARK_CAPTURE(BM_ScriptEvaluate, standard,
                  std::string_view("3.3*(3+7)/4-20"));
BENCHMARK_CAPTURE(BM_ScriptEvaluate, scientific,
                  std::string_view("Math.sqrt(16)+Math.pow(2,3)"));

// Lines of both modes, including ones that fail.
void BM_EvaluateMixed(benchmark::State& state) {
  const std::vector<std::string_view> lines = {
      "12.5*(3+4)/2-7",
      "1+2*3",
      "200*0.15",
      "Math.sqrt(16)+Math.pow(2,3)",
      "Math.sin(0.5)*Math.cos(0.25)",
      "0.1+0.2",
      "(1+2)^3",
      "5--3",
      "Math.sqrt9",
      "1/3",
      "3000+1",
      "",
  };
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sumora::EvaluateExpression(lines[i]));
    if (++i == lines.size()) i = 0;
  }
}
BENCHMARK(BM_EvaluateMixed);

// Linear time in the length of the line.
void BM_EvaluateLongSum(benchmark::State& state) {
  std::string sum = "1";
  for (int i = 0; i < state.range(0); ++i) sum += "+1.5";
  for (auto _ : state) {
    benchmark::DoNotOptimize(sumora::EvaluateExpression(sum));
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(sum.size()));
}
BENCHMARK(BM_EvaluateLongSum)->Range(8, 1 << 16);

void BM_EvaluateDeepNesting(benchmark::State& state) {
  const std::string deep(100000, '(');
  for (auto _ : state) {
    benchmark::DoNotOptimize(sumora::EvaluateExpression(deep));
  }
}
BENCHMARK(BM_EvaluateDeepNesting);

}  // namespace

BENCHMARK_MAIN();
