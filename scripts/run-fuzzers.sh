#!/usr/bin/env bash
# Runs every libFuzzer target of a sanitizer build for a bounded time each,
# starting from its seed corpus in fuzz/corpus/<name>. Fails on the first
# crash, hang, leak or sanitizer report.
set -euo pipefail
build_dir=${1:-build/asan}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
ran=0
for target in "$build_dir"/*_fuzz; do
  name=$(basename "$target")
  seeds="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [[ -d "$seeds" ]] && cp -r "$seeds"/. "$work"/
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 "$work" 2>"$work.log" || {
      tail -n 60 "$work.log"; echo "fuzz: $name FAILED"; exit 1; }
  grep -E '^stat::number_of_executed_units' "$work.log" || true
  rm -rf "$work" "$work.log"
  ran=$((ran + 1))
done
echo "fuzz: $ran targets ran clean"
