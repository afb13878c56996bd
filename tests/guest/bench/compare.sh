#!/usr/bin/env bash
# Runs the string workload against libtorvelrt and against the toolchain's
# libstdc++ (old string ABI), both under qemu-i386, and prints the times and
# their ratio. Each build runs three times; the best time counts.
# Usage: compare.sh EMULATOR TORVELRT_PROGRAM LIBSTDCXX_PROGRAM
set -euo pipefail
emulator=$1 ours=$2 theirs=$3

best() {
  local program=$1 best_time="" checksum=""
  for _ in 1 2 3; do
    read -r t sum < <("$emulator" "$program")
    checksum=$sum
    if [ -z "$best_time" ] || awk -v a="$t" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then best_time=$t; fi
  done
  echo "$best_time $checksum"
}

read -r ours_time ours_sum < <(best "$ours")
read -r theirs_time theirs_sum < <(best "$theirs")
if [ "$ours_sum" != "$theirs_sum" ]; then
  echo "checksums differ: libtorvelrt $ours_sum, libstdc++ $theirs_sum" >&2
  exit 1
fi
echo "libtorvelrt: ${ours_time} s"
echo "libstdc++:   ${theirs_time} s"
awk -v a="$ours_time" -v b="$theirs_time" 'BEGIN { printf "ratio libtorvelrt / libstdc++: %.2f\n", a / b }'
