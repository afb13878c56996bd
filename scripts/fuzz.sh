#!/usr/bin/env bash
# Builds the libFuzzer target of the executable header reader with clang and
# runs it for a bounded time (default 60 s).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DVORNIK_TREE=native -DVORNIK_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target fuzz_macho_architectures -j 2
mkdir -p "$build/corpus"
"$build/launcher/platform/fuzz_macho_architectures" -max_total_time="$seconds" -max_len=4096 "$build/corpus"
