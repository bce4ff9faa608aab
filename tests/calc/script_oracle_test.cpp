// Differential test: thousands of generated expressions against the answers
// of an independent ECMAScript engine (scripts/script-oracle.mjs wrote the
// table; nothing here needs that engine).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/script/evaluate.h"
#include "calc/script/interpreter.h"

namespace sumora {
namespace {

struct OracleRow {
  std::string expression;
  std::string answer;
  std::string kind;  // number, text, undefined or fail
};

std::vector<OracleRow> ReadOracle() {
  std::ifstream in(SUMORA_TEST_DATA_DIR "/script_oracle.tsv", std::ios::binary);
  std::vector<OracleRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos) continue;
    rows.push_back(
        {line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return rows;
}

// libm and the reference engine may differ in the last bit of the
// transcendental functions; every other operation must agree exactly.
bool UsesTranscendental(std::string_view expression) {
  for (const std::string_view name :
       {"Math.pow", "Math.log", "Math.exp", "Math.sin", "Math.cos", "Math.tan",
        "Math.asin", "Math.acos", "Math.atan"}) {
    if (expression.find(name) != std::string_view::npos) return true;
  }
  return false;
}

bool CloseNumbers(const std::string& a, const std::string& b) {
  const double x = std::strtod(a.c_str(), nullptr);
  const double y = std::strtod(b.c_str(), nullptr);
  if (std::isnan(x) || std::isnan(y)) return a == b;
  if (std::isinf(x) || std::isinf(y)) return x == y;
  return std::fabs(x - y) <= 1e-12 * std::fmax(std::fabs(x), std::fabs(y));
}

TEST(EvaluateOracleTest, AgreesWithAnIndependentEngine) {
  const std::vector<OracleRow> rows = ReadOracle();
  ASSERT_GE(rows.size(), 1000u) << "tests/data/script_oracle.tsv missing?";
  int mismatches = 0;
  for (const OracleRow& row : rows) {
    const script::Evaluation e = script::Evaluate(row.expression);
    const std::string answer = EvaluateExpression(row.expression);
    bool agrees;
    if (row.kind == "fail") {
      agrees = e.failure != script::Failure::kNone;
    } else if (row.kind == "undefined") {
      agrees = e.failure == script::Failure::kNone &&
               e.kind == script::ValueKind::kUndefined;
    } else {
      agrees = e.failure == script::Failure::kNone &&
               (answer == row.answer ||
                (row.kind == "number" && UsesTranscendental(row.expression) &&
                 e.kind == script::ValueKind::kNumber &&
                 CloseNumbers(answer, row.answer)));
    }
    if (!agrees && ++mismatches <= 20) {
      ADD_FAILURE() << "expression: " << row.expression << "\nexpected ("
                    << row.kind << "): " << row.answer << "\nactual: " << answer
                    << " (failure " << static_cast<int>(e.failure) << ")";
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << rows.size() << " expressions";
}

}  // namespace
}  // namespace sumora
