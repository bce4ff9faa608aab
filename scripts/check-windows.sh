#!/usr/bin/env bash
# Cross-builds the plain C++ parts of Sumora for 64-bit Windows (the core,
# the settings file and sumora-calc) with MinGW-w64, and fails on any error
# or warning. When Wine is installed it also runs sumora-calc.exe on a small
# input and puts the settings file's Windows code through its paces.
#
#   scripts/check-windows.sh [--tests]
#
#   --tests   also build GoogleTest (from /usr/src/googletest) and the core's
#             tests for Windows, and run them under Wine
#
# Needs: cmake, ninja, g++-mingw-w64-x86-64-posix; optional: wine64.
# Environment: SUMORA_WINDOWS_BUILD (build directory, default build/windows),
# JOBS (parallel jobs, default 2).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${SUMORA_WINDOWS_BUILD:-$source_dir/build/windows}"
jobs="${JOBS:-2}"
toolchain="$source_dir/cmake/mingw-w64.cmake"
run_tests=false

for arg in "$@"; do
  case "$arg" in
    --tests) run_tests=true ;;
    -h | --help)
      sed -n '2,15p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
      exit 0
      ;;
    *)
      echo "check-windows: unknown argument: $arg" >&2
      exit 2
      ;;
  esac
done

fail() {
  echo "check-windows: FAILED: $*" >&2
  exit 1
}

# Runs a command with its output in a log; fails on a non-zero exit status
# or on any line that reports a warning.
run_logged() {
  local log="$1"
  shift
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    fail "$* (log: $log)"
  fi
  if grep -qi 'warning' "$log"; then
    grep -i -A3 'warning' "$log" >&2
    fail "warnings from $* (log: $log)"
  fi
}

command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
  fail "x86_64-w64-mingw32-g++-posix not found" \
    "(apt-get install g++-mingw-w64-x86-64-posix)"

# 1. Configure and build the three targets, warnings as errors.
mkdir -p "$build_dir"
run_logged "$build_dir/check-configure.log" \
  cmake -S "$source_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS=-Werror \
  -DSUMORA_BUILD_UI=OFF -DSUMORA_BUILD_TESTS=OFF -DSUMORA_BUILD_BENCH=OFF
run_logged "$build_dir/check-build.log" \
  cmake --build "$build_dir" -j "$jobs" \
  --target sumora_core sumora_settings sumora-calc
calc="$build_dir/sumora-calc.exe"
[[ -f "$calc" ]] || fail "$calc was not built"
summary="sumora_core, sumora_settings and sumora-calc.exe build for Windows"

# 2. Run what was built under Wine, when there is one.
wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null; then
    wine="$(command -v "$candidate")"
    break
  fi
done
if [[ -z "$wine" ]]; then
  echo "check-windows: OK: $summary (Wine not found: nothing run)"
  exit 0
fi
export WINEPREFIX="$build_dir/wine-prefix" WINEDEBUG=-all
run_wine() { timeout 600 "$wine" "$@"; }
# A new Wine prefix reports its own making; that is not the programs' output.
[[ -d "$WINEPREFIX" ]] || run_wine wineboot --init >/dev/null 2>&1 || true

smoke="$build_dir/smoke"
rm -rf "$smoke"
mkdir -p "$smoke"

# 2a. sumora-calc: input from a file and from standard input, UTF-8 text
# around the arithmetic, CR LF input. Standard output is binary: without
# --crlf no CR is added, and with it each line ends in exactly one CR LF.
printf '1+2\r\n\xe4\xbb\xb7\xe6\xa0\xbc 12*3 \xe5\x85\x83\n(2+3)*4.5\n1/3\n' \
  >"$smoke/input.txt"
printf '1+2=3\n12*3=36\n(2+3)*4.5=22.5\n1/3=0.3333333333333\n' \
  >"$smoke/expected-lf.txt"
printf '1+2=3.00\r\n12*3=36.00\r\n(2+3)*4.5=22.50\r\n1/3=0.33\r\n' \
  >"$smoke/expected-crlf.txt"
run_wine "$calc" "$smoke/input.txt" >"$smoke/out-file.txt" ||
  fail "sumora-calc.exe FILE exited with $?"
run_wine "$calc" <"$smoke/input.txt" >"$smoke/out-stdin.txt" ||
  fail "sumora-calc.exe < FILE exited with $?"
run_wine "$calc" --crlf --decimals 2 <"$smoke/input.txt" \
  >"$smoke/out-crlf.txt" || fail "sumora-calc.exe --crlf exited with $?"
cmp -s "$smoke/out-file.txt" "$smoke/expected-lf.txt" ||
  fail "sumora-calc.exe FILE: see $smoke/out-file.txt"
cmp -s "$smoke/out-stdin.txt" "$smoke/expected-lf.txt" ||
  fail "sumora-calc.exe < FILE: see $smoke/out-stdin.txt"
cmp -s "$smoke/out-crlf.txt" "$smoke/expected-crlf.txt" ||
  fail "sumora-calc.exe --crlf: see $smoke/out-crlf.txt"

# 2b. The settings file on Windows: reading, the atomic replacement, the
# read-only attribute, things in the file's place, wide path names.
cat >"$smoke/settings_check.cpp" <<'EOF'
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/settings_file.h"

namespace fs = std::filesystem;
using namespace sumora;

static int failures = 0;

static void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "settings check failed: %s\n", what);
    ++failures;
  }
}

static std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

static void Put(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

static std::vector<fs::path> Entries(const fs::path& directory) {
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename());
  }
  return names;
}

static std::string Read(const fs::path& file) {
  return ReadProfileString(file, kWindowSection, kHeightKey, kDefaultSize);
}

static bool Write(const fs::path& file, const std::string& value) {
  return WriteProfileString(file, kWindowSection, kHeightKey, value);
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // A directory name outside every ANSI code page: paths must go through
  // the wide functions.
  const fs::path directory = fs::path(argv[1]) / L"\u8bbe\u7f6e-\u03a9";
  fs::remove_all(directory);
  fs::create_directories(directory);
  const fs::path file = directory / std::string(kSettingsFileName);

  Check(Read(file) == "400", "a missing file reads as the default");
  Check(!fs::exists(file), "reading creates nothing");

  Check(Write(file, "600"), "a new file is written");
  Check(Slurp(file) == "[window]\r\nhieght=600\r\n", "the new file's bytes");
  Check(Read(file) == "600", "the value reads back");
  Check(Entries(directory) == std::vector<fs::path>{file.filename()},
        "no temporary file is left behind");

  Put(file, "; kept\n[window]\nHieght = 1 \nwidth=2\n[other]\nx=y");
  Check(Write(file, "700"), "an existing file is replaced");
  Check(Slurp(file) == "; kept\n[window]\nHieght = 700 \nwidth=2\n[other]\nx=y",
        "the other lines stay byte for byte");

  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  Check(Write(file, "800"), "a hidden file is replaced");
  Check((GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0,
        "the replacement stays hidden");
  Check(Read(file) == "800", "the hidden file reads");

  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string before = Slurp(file);
  Check(!Write(file, "900"), "a read-only file is not written");
  Check(Slurp(file) == before, "the read-only file is unchanged");
  Check(Read(file) == "800", "a read-only file reads");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  Put(file, std::string(kMaxSettingsFileBytes + 1, ';'));
  Check(Read(file) == "400", "a file over the limit reads as the default");
  Check(!Write(file, "500"), "a file over the limit is not replaced");
  Put(file, std::string("[window]\r\nhieght=5\r\n\0", 21));
  Check(Read(file) == "400", "a file with a zero byte reads as the default");
  fs::remove(file);

  fs::create_directory(file);
  Check(Read(file) == "400", "a directory in the file's place reads as none");
  Check(!Write(file, "500"), "a directory in the file's place stays");
  fs::remove(file);

  const fs::path nowhere = directory / "missing" / file.filename();
  Check(Read(nowhere) == "400", "a file in a missing directory reads");
  Check(!Write(nowhere, "500"), "a file in a missing directory is not made");
  Check(Read(L"NUL") == "400", "a device reads as no settings file");

  fs::remove_all(directory);
  if (failures == 0) std::puts("settings file: all checks passed");
  return failures == 0 ? 0 : 1;
}
EOF
run_logged "$smoke/settings-build.log" \
  x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wpedantic \
  -Werror -static -I"$source_dir/src" "$smoke/settings_check.cpp" \
  "$build_dir/libsumora_settings.a" -o "$smoke/settings_check.exe"
run_wine "$smoke/settings_check.exe" "$smoke" >"$smoke/settings.log" 2>&1 || {
  cat "$smoke/settings.log" >&2
  fail "the settings file checks under Wine"
}
summary="$summary; sumora-calc.exe and the settings file work under Wine"

# 3. The core's tests, on request. The POSIX-only ones (the settings file's,
# which use POSIX permissions and pipes, and the command line's, which start
# processes) are not built.
if $run_tests; then
  gtest_build="$build_dir-gtest"
  tests_build="$build_dir-tests"
  [[ -d /usr/src/googletest ]] ||
    fail "/usr/src/googletest not found (apt-get install googletest)"
  if [[ ! -f "$gtest_build/install/lib/cmake/GTest/GTestConfig.cmake" ]]; then
    run_logged "$build_dir/check-gtest.log" bash -c "
      cmake -S /usr/src/googletest -B '$gtest_build' -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE='$toolchain' -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX='$gtest_build/install' &&
      cmake --build '$gtest_build' -j '$jobs' &&
      cmake --install '$gtest_build'"
  fi
  tests=(text number cp936 pattern script standard scientific pass)
  targets=()
  for t in "${tests[@]}"; do targets+=("${t}_test"); done
  # Not run through run_logged: the tests' own warnings are not what this
  # script checks.
  { cmake -S "$source_dir" -B "$tests_build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DGTest_DIR="$gtest_build/install/lib/cmake/GTest" \
    -DSUMORA_BUILD_UI=OFF -DSUMORA_BUILD_TESTS=ON -DSUMORA_BUILD_BENCH=OFF &&
    cmake --build "$tests_build" -j "$jobs" --target "${targets[@]}"; } \
    >"$build_dir/check-tests-build.log" 2>&1 || {
    tail -40 "$build_dir/check-tests-build.log" >&2
    fail "building the tests (log: $build_dir/check-tests-build.log)"
  }
  failed=()
  for t in "${tests[@]}"; do
    if ! run_wine "$tests_build/${t}_test.exe" \
      >"$tests_build/${t}_test.log" 2>&1; then
      failed+=("$t")
      grep -E '^\[  FAILED  \] [^ ]+$' "$tests_build/${t}_test.log" |
        sort -u >&2 || true
    fi
  done
  ((${#failed[@]} == 0)) ||
    fail "tests under Wine: ${failed[*]} (logs: $tests_build/*_test.log)"
  summary="$summary; the core's tests pass under Wine"
fi

echo "check-windows: OK: $summary"
