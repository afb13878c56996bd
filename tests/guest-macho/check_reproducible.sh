#!/usr/bin/env bash
# Links a dylib's objects again and compares the result with the built dylib
# byte for byte. Usage: check_reproducible.sh TORVEL_LD DYLIB INSTALL_NAME MIN_VERSION IMPORTS OBJECT...
set -euo pipefail
ld=$1 dylib=$2 install_name=$3 min_version=$4 imports=$5
shift 5
again=$(mktemp)
trap 'rm -f "$again"' EXIT
"$ld" -o "$again" --install-name "$install_name" --macosx-version-min "$min_version" --imports "$imports" "$@"
cmp "$again" "$dylib"
echo "$dylib: relinking gives identical bytes"
