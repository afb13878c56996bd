#!/usr/bin/env bash
# Runs a stream workload against libtorvelios and against the
# toolchain's libstdc++ (old string ABI) with standard output going to a
# file, under the emulator and, where the kernel runs 32-bit programs
# itself, natively, and prints each phase's time and the ratio. The builds
# run in turns, RUNS times each (default 5), so that a busy moment of the
# machine hits all of them; the best time of each phase counts. The output
# files must be identical.
# With TORVEL_BENCH_BASELINE naming a folder that holds an earlier
# libtorvelios.so and libtorvelrt.so, the same program also runs on those,
# in the same turns, as a column of its own (an earlier state of the
# libraries against today's, from the same run).
# Usage: stream_compare.sh EMULATOR TORVELIOS_PROGRAM LIBSTDCXX_PROGRAM [RUNS]
set -euo pipefail
emulator=$1 ours=$2 theirs=$3 runs=${4:-5}
baseline=${TORVEL_BENCH_BASELINE:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The best time of each phase over all runs of one build, in phase order.
best() {
  cat "$work/$1".t* | awk '{ if (!($1 in b) || $2 < b[$1]) b[$1] = $2; if (!($1 in o)) o[$1] = n++ }
    END { for (p in b) print o[p], p, b[p] }' | sort -n | cut -d' ' -f2-
}

# compare LABEL [RUNNER...]: every run of the builds through RUNNER, then the table.
compare() {
  local label=$1
  shift
  rm -f "$work"/*.t*
  for run in $(seq "$runs"); do
    "$@" "$ours" >"$work/ours.out" 2>"$work/ours.t$run"
    "$@" "$theirs" >"$work/theirs.out" 2>"$work/theirs.t$run"
    if [ -n "$baseline" ]; then
      LD_LIBRARY_PATH=$baseline "$@" "$ours" >"$work/baseline.out" 2>"$work/baseline.t$run"
    fi
  done
  for build in ours baseline; do
    if [ -f "$work/$build.out" ] && ! cmp -s "$work/$build.out" "$work/theirs.out"; then
      echo "$build and libstdc++ wrote different output" >&2
      exit 1
    fi
  done
  best ours >"$work/ours.best"
  best theirs >"$work/theirs.best"
  echo "== $label, best of $runs"
  if [ -n "$baseline" ]; then
    best baseline >"$work/baseline.best"
    echo "phase             baseline  ratio   libtorvelios  ratio    libstdc++"
    join "$work/baseline.best" "$work/ours.best" | join - "$work/theirs.best" | awk '
      { printf "%-16s %8.4f s %5.2f   %9.4f s %5.2f   %8.4f s\n", $1, $2, $2 / $4, $3, $3 / $4, $4
        a += $2; b += $3; c += $4 }
      END { printf "%-16s %8.4f s %5.2f   %9.4f s %5.2f   %8.4f s\n", "total", a, a / c, b, b / c, c }'
  else
    echo "phase            libtorvelios  libstdc++  ratio"
    join "$work/ours.best" "$work/theirs.best" | awk '
      { printf "%-16s %10.4f s %9.4f s  %5.2f\n", $1, $2, $3, $2 / $3; a += $2; b += $3 }
      END { printf "%-16s %10.4f s %9.4f s  %5.2f\n", "total", a, b, a / b }'
  fi
}

compare "under $(basename "$emulator")" "$emulator"
if "$theirs" >/dev/null 2>&1; then
  compare native
else
  echo "== native: this kernel does not run 32-bit programs"
fi
