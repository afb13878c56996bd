#!/usr/bin/env bash
# Finds the exports whose calls Linux and Darwin lay out differently and
# compares them with the adapter list of the shim:
#  - a structure returned in registers on Darwin but through a hidden
#    pointer on Linux: a function returning through a hidden pointer pops it
#    on return ("ret $4") on both systems, so a Linux function that pops it
#    whose Darwin twin does not returns its structure in registers there;
#  - a long double parameter passed by value (seen in the demangled name).
# Usage: check_adapters.sh ELF_LIBRARY DYLIB EXPORT_LIST ADAPTER_LIST
# (LLVM_OBJDUMP names llvm-objdump.)
set -euo pipefail
elf=$1 dylib=$2 exports=$3 listed=$4
objdump_macho=${LLVM_OBJDUMP:-llvm-objdump}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Addresses of functions containing a "ret $4", per library.
objdump -d --no-show-raw-insn "$elf" | awk '
  /^[0-9a-f]+ <.*>:$/ { current = $1; next }
  /\tret +\$0x4$/     { print current }' | sed 's/^0*//' | sort -u >"$work/elf_pops"
"$objdump_macho" -d --macho --no-show-raw-insn "$dylib" | awk '
  /^[^ \t].*:$/                 { label = 1; next }
  label && /^ *[0-9a-f]+:/      { current = $1; sub(":", "", current); label = 0 }
  /\tretl\t\$4$/                { print current }' | sed 's/^0*//' | sort -u >"$work/macho_pops"

# Every exported function: Darwin name, Darwin address, ELF name, ELF address.
nm -D --defined-only "$elf" | awk '$2 ~ /^[TtWw]$/ { a = $1; sub(/^0+/, "", a); print $3, a }' | sort >"$work/elf_addresses"
sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$exports" | awk '{ d = $2; e = $2; gsub(/\{z\}/, "m", d); gsub(/\{z\}/, "j", e); print "_" d, e }' \
  | sort >"$work/spellings"
"$objdump_macho" --macho --exports-trie "$dylib" | awk '$1 ~ /^0x/ { a = tolower(substr($1, 3)); sub(/^0+/, "", a); print $2, a }' \
  | sort >"$work/macho_addresses"
join "$work/macho_addresses" "$work/spellings" | awk '{ print $3, $1, $2 }' | sort \
  | join - "$work/elf_addresses" >"$work/functions"   # elf-name darwin-name darwin-address elf-address

# Exports that need an adapter: name, whether a structure comes back in
# registers on Darwin only, whether a long double is passed.
while read -r elf_name darwin_name darwin_address elf_address; do
  registers=-
  if grep -qx "$elf_address" "$work/elf_pops" && ! grep -qx "$darwin_address" "$work/macho_pops"; then
    registers=struct
  fi
  long_double=no
  # A long double passed by value: a whole parameter, not a reference or a
  # pointer to one (those are one word on both systems).
  if echo "$elf_name" | c++filt | grep -Eq '\(([^()]*, )?long double[,)]'; then long_double=yes; fi
  if [ $registers != - ] || [ $long_double = yes ]; then echo "$elf_name $registers $long_double"; fi
done <"$work/functions" | sort -u >"$work/needed"

sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$listed" | sed 's/{z}/j/g' | awk '{
  print $1, ($3 == "-" ? "-" : "struct"), (index($2, "e") ? "yes" : "no") }' | sort -u >"$work/listed"

if ! diff_out=$(diff "$work/listed" "$work/needed"); then
  echo "$listed differs from the exports that need an adapter (name, structure return, long double argument;"
  echo "'<' as listed, '>' as the libraries need):"
  echo "$diff_out" | grep '^[<>]'
  exit 1
fi
echo "$(wc -l <"$work/needed") exports need an adapter, all listed as they need"
