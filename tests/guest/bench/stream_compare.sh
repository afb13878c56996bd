#!/usr/bin/env bash
# Runs the stream output workload against libtorvelios and against the
# toolchain's libstdc++ (old string ABI), both under qemu-i386 with standard
# output going to a file, and prints each phase's time and the ratio. Each
# build runs three times; the best time of each phase counts. The two output
# files must be identical.
# Usage: stream_compare.sh EMULATOR TORVELIOS_PROGRAM LIBSTDCXX_PROGRAM
set -euo pipefail
emulator=$1 ours=$2 theirs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best() {
  local program=$1 name=$2
  for run in 1 2 3; do
    "$emulator" "$program" >"$work/$name.out" 2>"$work/$name.$run"
  done
  cat "$work/$name".[123] | awk '{ if (!($1 in b) || $2 < b[$1]) b[$1] = $2; if (!($1 in o)) o[$1] = n++ }
    END { for (p in b) print o[p], p, b[p] }' | sort -n | cut -d' ' -f2-
}

best "$ours" ours >"$work/ours.best"
best "$theirs" theirs >"$work/theirs.best"
if ! cmp -s "$work/ours.out" "$work/theirs.out"; then
  echo "the two builds wrote different output" >&2
  exit 1
fi
echo "phase            libtorvelios  libstdc++  ratio"
join "$work/ours.best" "$work/theirs.best" | awk '
  { printf "%-16s %10.3f s %9.3f s  %5.2f\n", $1, $2, $3, $2 / $3; a += $2; b += $3 }
  END { printf "%-16s %10.3f s %9.3f s  %5.2f\n", "total", a, b, a / b }'
