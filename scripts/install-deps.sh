#!/usr/bin/env bash
# Installs the Debian packages that building, testing and looking at Sumora
# need, and only those that are missing: quick when everything is there.
set -euo pipefail

packages=(
  # build
  g++ clang cmake ninja-build make qt6-base-dev
  # tests, sanitizers, fuzzers, benchmarks
  libgtest-dev libbenchmark-dev libclang-rt-14-dev bc
  # the window: a CJK face, and a display with a window manager for screenshots
  fonts-wqy-microhei xvfb xauth openbox imagemagick
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
