#!/usr/bin/env bash
# Checks that a dylib's own calls to its weak members go through their
# names: each listed caller must reach each listed callee through a symbol
# stub (bound by name), not through a direct call or an inlined copy.
# Usage: check_calls_by_name.sh DYLIB EDGE_LIST
# EDGE_LIST: "caller callee" per line, names as in the ELF export lists
# (without the Mach-O leading underscore; {z} is size_t's letter, m on
# Darwin), '#' comments.
set -euo pipefail
dylib=$1 edges=$2
objdump=${LLVM_OBJDUMP:-llvm-objdump}

listing=$(mktemp)
trap 'rm -f "$listing"' EXIT
"$objdump" --macho -d --no-show-raw-insn "$dylib" >"$listing"

failures=0 checked=0
while read -r caller callee; do
  checked=$((checked + 1))
  if ! awk -v fn="_$caller:" -v stub="symbol stub for: _$callee" '
      $0 == fn { inside = 1; next }
      inside && /^[^ \t].*:$/ { exit }
      inside && index($0, stub) { found = 1; exit }
      END { exit found ? 0 : 1 }' "$listing"; then
    echo "FAIL: $(echo "$caller" | c++filt) does not call $(echo "$callee" | c++filt) by name"
    failures=$((failures + 1))
  fi
done < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' -e 's/{z}/m/g' "$edges")

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "$dylib: $checked calls go through their names"
