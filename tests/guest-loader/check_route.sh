#!/usr/bin/env bash
# Shows that the loader route really runs the dylibs: every libtorvel*.so a
# relinked guest program loads must be a shim from SHIM_DIR (were it the ELF
# build, the program would test that a second time and pass for the wrong
# reason).
# Usage: check_route.sh EMULATOR SHIM_DIR PROGRAM...
set -euo pipefail
emulator=$1 shim_dir=$2
shift 2
status=0
for program in "$@"; do
  libraries=$("$emulator" -E LD_TRACE_LOADED_OBJECTS=1 "$program" | grep 'libtorvel[a-z]*\.so ' || true)
  if [ -z "$libraries" ]; then
    echo "$program: needs no libtorvel library"
    status=1
  fi
  while read -r name arrow path rest; do
    case $name in libtorvel_test_host.so) continue ;; esac
    if [ "$(dirname "$path")" != "$shim_dir" ]; then
      echo "$program: $name resolves to $path, not to the shim in $shim_dir"
      status=1
    fi
  done <<<"$libraries"
done
[ $status -eq 0 ] && echo "$# programs resolve their guest libraries to the shims"
exit $status
