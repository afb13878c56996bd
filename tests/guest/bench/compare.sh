#!/usr/bin/env bash
# Runs the string workload against libtorvelrt and against the toolchain's
# libstdc++ (old string ABI), under the emulator and, where the kernel runs
# 32-bit programs itself, natively, and prints the times and their ratio.
# The two builds run in turns, RUNS times each (default 5); the best time
# counts. Both must print the same checksum.
# Usage: compare.sh EMULATOR TORVELRT_PROGRAM LIBSTDCXX_PROGRAM [RUNS]
set -euo pipefail
emulator=$1 ours=$2 theirs=$3 runs=${4:-5}

# compare LABEL [RUNNER...]
compare() {
  local label=$1
  shift
  local ours_best="" theirs_best="" ours_sum="" theirs_sum="" t
  for _ in $(seq "$runs"); do
    read -r t ours_sum < <("$@" "$ours")
    if [ -z "$ours_best" ] || awk -v a="$t" -v b="$ours_best" 'BEGIN { exit !(a < b) }'; then ours_best=$t; fi
    read -r t theirs_sum < <("$@" "$theirs")
    if [ -z "$theirs_best" ] || awk -v a="$t" -v b="$theirs_best" 'BEGIN { exit !(a < b) }'; then theirs_best=$t; fi
  done
  if [ "$ours_sum" != "$theirs_sum" ]; then
    echo "checksums differ: libtorvelrt $ours_sum, libstdc++ $theirs_sum" >&2
    exit 1
  fi
  echo "== $label, best of $runs"
  echo "libtorvelrt: ${ours_best} s"
  echo "libstdc++:   ${theirs_best} s"
  awk -v a="$ours_best" -v b="$theirs_best" 'BEGIN { printf "ratio libtorvelrt / libstdc++: %.2f\n", a / b }'
}

compare "under $(basename "$emulator")" "$emulator"
if "$theirs" >/dev/null 2>&1; then
  compare native
else
  echo "== native: this kernel does not run 32-bit programs"
fi
