#!/usr/bin/env bash
# Runs the file copy benchmark under the emulator and, where the kernel runs
# 32-bit programs itself, natively too.
# Usage: file_bench.sh EMULATOR PROGRAM [megabytes] [runs]
set -euo pipefail
emulator=$1 program=$2 megabytes=${3:-64} runs=${4:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== under $(basename "$emulator")"
"$emulator" "$program" "$work" "$megabytes" "$runs"
if "$program" "$work" 1 1 >/dev/null 2>&1; then
  echo "== native"
  "$program" "$work" "$megabytes" "$runs"
else
  echo "== native: this kernel does not run 32-bit programs"
fi
