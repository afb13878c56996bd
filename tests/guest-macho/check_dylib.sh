#!/usr/bin/env bash
# Checks one Mach-O deliverable by reading it with llvm-objdump and llvm-nm:
# install name, libSystem as the only dependency, version minimum, number of
# module initialisers, every undefined name bound against libSystem and on the
# permitted import lists, and the exported names and kinds against the list
# the ELF build is checked against (turned into Darwin names).
# Usage: check_dylib.sh DYLIB INSTALL_NAME MIN_VERSION INITIALISERS EXPORT_LIST IMPORT_LIST...
set -euo pipefail
dylib=$1 install_name=$2 min_version=$3 initialisers=$4 export_list=$5
shift 5
objdump=${LLVM_OBJDUMP:-llvm-objdump} nm=${LLVM_NM:-llvm-nm}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

id=$("$objdump" --macho --dylib-id "$dylib" | sed -n 2p)
[ "$id" = "$install_name" ] || fail "install name is '$id', not '$install_name'"

used=$("$objdump" --macho --dylibs-used "$dylib" | tail -n +2 | grep -v "^[[:space:]]*$install_name " | awk '{print $1}')
[ "$used" = "/usr/lib/libSystem.B.dylib" ] || fail "dependencies are '$used', not only /usr/lib/libSystem.B.dylib"

headers=$("$objdump" --macho --private-headers "$dylib")
echo "$headers" | grep -A3 "cmd LC_VERSION_MIN_MACOSX" | grep -q "version $min_version\$" \
  || fail "LC_VERSION_MIN_MACOSX is not $min_version"

init_size=$(echo "$headers" | awk '/sectname __mod_init_func/ { getline; getline; getline; print $2 }')
count=$(( ${init_size:-0} / 4 ))
[ "$count" -eq "$initialisers" ] || fail "$count module initialisers, expected $initialisers"

undefined=$("$nm" -m "$dylib" | grep "(undefined" || true)
not_libsystem=$(echo "$undefined" | grep -v "(from libSystem)" | grep . || true)
[ -z "$not_libsystem" ] || fail "imports not bound against libSystem: $not_libsystem"
allowed=$(cat "$@" | sed -e 's/#.*//' -e '/^[[:space:]]*$/d' | awk '{print $1}'; echo dyld_stub_binder)
imported=$(echo "$undefined" | awk '{print $NF == "libSystem)" ? $(NF-2) : $NF}' | sort -u)
unexpected=$(comm -23 <(echo "$imported" | sort -u) <(echo "$allowed" | sort -u) | grep . || true)
[ -z "$unexpected" ] || fail "imports the host does not supply: $unexpected"

want=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' -e 's/{z}/m/g' "$export_list" | awk '{print "_" $2, $1}' | sort -u)
got=$("$objdump" --macho --exports-trie "$dylib" | awk '/^0x/ { print $2, ($3 == "[weak_def]" ? "weak" : "regular") }' | sort -u)
if [ "$want" != "$got" ]; then
  fail "exports differ from $export_list ('<' only in the list, '>' only in the dylib):"
  diff <(echo "$want") <(echo "$got") | grep '^[<>]' || true
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "$dylib: $(echo "$got" | wc -l) exports, $(echo "$imported" | grep -c .) imports, $count initialisers: as expected"
