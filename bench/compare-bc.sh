#!/usr/bin/env bash
# Times sumora-calc against `bc -l` over the same file of plain arithmetic
# that both accept, start-up and I/O included, and prints the ratio.
#   bench/compare-bc.sh [build-dir] [lines]
set -euo pipefail
build_dir=${1:-build/default}
lines=${2:-100000}
calc="$build_dir/sumora-calc"
[[ -x "$calc" ]] || { echo "no $calc: build first (make build)" >&2; exit 1; }
command -v bc >/dev/null || { echo "bc is missing (scripts/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Lines like 12.5*(3+4)/2-7, with numbers that vary from line to line.
awk -v n="$lines" 'BEGIN {
  srand(42);
  for (i = 0; i < n; i++) {
    a = int(rand() * 1000) / 10; b = int(rand() * 9) + 1; c = int(rand() * 9) + 1;
    d = int(rand() * 9) + 1; e = int(rand() * 100);
    printf "%s*(%d+%d)/%d-%d\n", a, b, c, d, e;
  }
}' > "$work/input.txt"

best() {  # best of three wall-clock times in milliseconds
  local best_ms=""
  for _ in 1 2 3; do
    local start end ms
    start=$(date +%s%N)
    "$@" < "$work/input.txt" > "$work/out.txt"
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [[ -z "$best_ms" || $ms -lt $best_ms ]]; then best_ms=$ms; fi
  done
  echo "$best_ms"
}

calc_ms=$(best "$calc")
bc_ms=$(best bc -l)
awk -v n="$lines" -v c="$calc_ms" -v b="$bc_ms" 'BEGIN {
  printf "lines:        %d\n", n;
  printf "sumora-calc:  %d ms (%.2f us a line)\n", c, c * 1000 / n;
  printf "bc -l:        %d ms (%.2f us a line)\n", b, b * 1000 / n;
  printf "ratio:        sumora-calc is %.1f times faster\n", (c > 0 ? b / c : 0);
}'
