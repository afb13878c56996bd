#!/usr/bin/env bash
# Runs the string workload against libtorvelrt and against the toolchain's
# libstdc++ (old string ABI), under the emulator and, where the kernel runs
# 32-bit programs itself, natively, and prints the times and their ratio.
# The builds run in turns, RUNS times each (default 5); the best time
# counts. All must print the same checksum.
# With TORVEL_BENCH_BASELINE naming a folder that holds an earlier
# libtorvelrt.so (and libtorvelios.so), the same program also runs on those
# in the same turns (an earlier state of the library against today's).
# Usage: compare.sh EMULATOR TORVELRT_PROGRAM LIBSTDCXX_PROGRAM [RUNS]
set -euo pipefail
emulator=$1 ours=$2 theirs=$3 runs=${4:-5}
baseline=${TORVEL_BENCH_BASELINE:-}

# keep_best NAME TIME: NAME's best time so far.
declare -A best_time
keep_best() {
  if [ -z "${best_time[$1]:-}" ] || awk -v a="$2" -v b="${best_time[$1]}" 'BEGIN { exit !(a < b) }'; then
    best_time[$1]=$2
  fi
}

# compare LABEL [RUNNER...]
compare() {
  local label=$1
  shift
  local t ours_sum theirs_sum baseline_sum
  best_time=()
  for _ in $(seq "$runs"); do
    read -r t ours_sum < <("$@" "$ours")
    keep_best ours "$t"
    read -r t theirs_sum < <("$@" "$theirs")
    keep_best theirs "$t"
    if [ -n "$baseline" ]; then
      read -r t baseline_sum < <(LD_LIBRARY_PATH=$baseline "$@" "$ours")
      keep_best baseline "$t"
      if [ "$baseline_sum" != "$theirs_sum" ]; then
        echo "checksums differ: baseline $baseline_sum, libstdc++ $theirs_sum" >&2
        exit 1
      fi
    fi
  done
  if [ "$ours_sum" != "$theirs_sum" ]; then
    echo "checksums differ: libtorvelrt $ours_sum, libstdc++ $theirs_sum" >&2
    exit 1
  fi
  echo "== $label, best of $runs"
  if [ -n "$baseline" ]; then
    echo "baseline:    ${best_time[baseline]} s"
  fi
  echo "libtorvelrt: ${best_time[ours]} s"
  echo "libstdc++:   ${best_time[theirs]} s"
  if [ -n "$baseline" ]; then
    awk -v a="${best_time[baseline]}" -v b="${best_time[theirs]}" \
      'BEGIN { printf "ratio baseline / libstdc++: %.2f\n", a / b }'
  fi
  awk -v a="${best_time[ours]}" -v b="${best_time[theirs]}" \
    'BEGIN { printf "ratio libtorvelrt / libstdc++: %.2f\n", a / b }'
}

compare "under $(basename "$emulator")" "$emulator"
if "$theirs" >/dev/null 2>&1; then
  compare native
else
  echo "== native: this kernel does not run 32-bit programs"
fi
