#!/usr/bin/env bash
# Compares a guest library's exported symbols, with their kinds, against the
# list written from the guest ABI. Fails on any difference in either
# direction, or on a kind that is neither weak nor regular.
# Usage: check_exports.sh LIBRARY LIST elf
set -euo pipefail
library=$1 list=$2 target=$3

case $target in
  elf) size_letter=j ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac

want=$(mktemp) got=$(mktemp)
trap 'rm -f "$want" "$got"' EXIT

# The list, without comments, {z} replaced by the target's size_t letter.
sed -e 's/#.*//' -e '/^[[:space:]]*$/d' -e "s/{z}/$size_letter/g" "$list" \
  | awk '{print $2, $1}' | sort -u >"$want"

# nm's letters: W and V are weak definitions (code and data); T, D, B and R
# are ordinary global definitions; anything else (u for GNU unique, i for
# indirect functions) is a kind the guest ABI does not have.
nm -D --defined-only "$library" | awk '
  $2 ~ /^[WV]$/   { print $3, "weak"; next }
  $2 ~ /^[TDBR]$/ { print $3, "regular"; next }
                  { print $3, "unexpected-kind-" $2 }' | sort -u >"$got"

if ! diff_out=$(diff "$want" "$got"); then
  echo "exports of $library differ from $list ('<' only in the list, '>' only in the library):"
  echo "$diff_out" | grep '^[<>]' | while read -r side name kind; do
    printf '%s %-8s %s   %s\n' "$side" "$kind" "$name" "$(echo "$name" | c++filt)"
  done
  exit 1
fi
echo "$(wc -l <"$got") exports match $list"
