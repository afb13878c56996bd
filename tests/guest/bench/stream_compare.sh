#!/usr/bin/env bash
# Runs a stream workload against libtorvelios and against the
# toolchain's libstdc++ (old string ABI) with standard output going to a
# file, under the emulator and, where the kernel runs 32-bit programs
# itself, natively, and prints each phase's time and the ratio. The builds
# run in turns, RUNS times each (default 5), so that a busy moment of the
# machine hits all of them. Two ratios per phase: of the best times, and
# the median of the ratios turn by turn. The output files must be
# identical.
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

# Per phase, and for the sum of the phases, the median over the turns of
# one build's time divided by the toolchain library's time in the same turn.
# The two run back to back, so a busy moment of the machine mostly hits
# both; on a shared machine this is steadier than a ratio of best times.
paired_median() {
  awk -v runs="$runs" -v mine="$work/$1" -v other="$work/theirs" '
    function load(file, run, into,    line, field) {
      while ((getline line < file) > 0) {
        split(line, field, " ")
        into[field[1], run] = field[2]
        if (!(field[1] in seen)) { seen[field[1]] = 1; order[count++] = field[1] }
      }
      close(file)
    }
    function median(values, n,    i, j, t) {
      for (i = 2; i <= n; ++i)
        for (j = i; j > 1 && values[j - 1] > values[j]; --j) { t = values[j]; values[j] = values[j - 1]; values[j - 1] = t }
      return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    BEGIN {
      for (r = 1; r <= runs; ++r) { load(mine ".t" r, r, a); load(other ".t" r, r, b) }
      for (i = 0; i < count; ++i) {
        for (r = 1; r <= runs; ++r) ratio[r] = a[order[i], r] / b[order[i], r]
        print order[i], median(ratio, runs)
      }
      for (r = 1; r <= runs; ++r) {
        sa = sb = 0
        for (i = 0; i < count; ++i) { sa += a[order[i], r]; sb += b[order[i], r] }
        ratio[r] = sa / sb
      }
      print "total", median(ratio, runs)
    }'
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
  paired_median ours >"$work/ours.median"
  echo "== $label, best of $runs; \"median\" is the median of the ratios turn by turn"
  if [ -n "$baseline" ]; then
    best baseline >"$work/baseline.best"
    paired_median baseline >"$work/baseline.median"
    echo "phase             baseline  ratio median   libtorvelios  ratio median    libstdc++"
    join "$work/baseline.best" "$work/ours.best" | join - "$work/theirs.best" | awk '
      { print; a += $2; b += $3; c += $4 }
      END { print "total", a, b, c }' | join - "$work/baseline.median" | join - "$work/ours.median" | awk '
      { printf "%-16s %8.4f s %5.2f  %5.2f   %9.4f s %5.2f  %5.2f   %8.4f s\n", $1, $2, $2 / $4, $5, $3, $3 / $4, $6, $4 }'
  else
    echo "phase            libtorvelios  libstdc++  ratio  median"
    join "$work/ours.best" "$work/theirs.best" | awk '
      { print; a += $2; b += $3 }
      END { print "total", a, b }' | join - "$work/ours.median" | awk '
      { printf "%-16s %10.4f s %9.4f s  %5.2f   %5.2f\n", $1, $2, $3, $2 / $3, $4 }'
  fi
}

compare "under $(basename "$emulator")" "$emulator"
if "$theirs" >/dev/null 2>&1; then
  compare native
else
  echo "== native: this kernel does not run 32-bit programs"
fi
