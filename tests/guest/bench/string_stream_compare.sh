#!/usr/bin/env bash
# Runs the string-stream workload on libtorvelios and on the toolchain's
# libstdc++ (old string ABI): under qemu-i386, and directly as well when
# this kernel runs 32-bit programs. Each build runs three times per way of
# running; the best time of each phase counts. Both builds must print the
# same checksums. Prints each phase's times and the ratio.
# Usage: string_stream_compare.sh EMULATOR TORVELIOS_PROGRAM LIBSTDCXX_PROGRAM
set -euo pipefail
emulator=$1 ours=$2 theirs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# best NAME COMMAND...: the best time of each phase over three runs, in
# first-seen phase order; the checksums land in $work/NAME.out.
best() {
  local name=$1
  shift
  for run in 1 2 3; do
    "$@" >"$work/$name.out" 2>"$work/$name.times.$run"
  done
  cat "$work/$name".times.[123] | awk '
    { if (!($1 in b) || $2 < b[$1]) b[$1] = $2; if (!($1 in o)) o[$1] = n++ }
    END { for (p in b) print o[p], p, b[p] }' | sort -n | cut -d' ' -f2-
}

compare() {
  local title=$1 runner=$2
  best ours $runner "$ours" >"$work/ours.best"
  best theirs $runner "$theirs" >"$work/theirs.best"
  if ! cmp -s "$work/ours.out" "$work/theirs.out"; then
    echo "the two builds printed different checksums:" >&2
    diff "$work/ours.out" "$work/theirs.out" >&2 || true
    exit 1
  fi
  echo "$title"
  echo "phase       libtorvelios   libstdc++  ratio"
  join "$work/ours.best" "$work/theirs.best" | awk '
    { printf "%-10s %10.3f s %9.3f s  %5.2f\n", $1, $2, $3, $2 / $3; a += $2; b += $3 }
    END { printf "%-10s %10.3f s %9.3f s  %5.2f\n", "total", a, b, a / b }'
}

compare "under $emulator:" "$emulator"
if "$ours" >/dev/null 2>&1 && "$theirs" >/dev/null 2>&1; then
  echo
  compare "natively:" env
else
  echo
  echo "natively: this kernel does not run 32-bit programs"
fi
