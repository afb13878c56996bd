#!/usr/bin/env bash
# Fails when any of the given programs records the toolchain's C++ library
# as a dependency: it exports the same names as the guest libraries.
set -euo pipefail
status=0
for program in "$@"; do
  if readelf -d "$program" | grep -q 'NEEDED.*libstdc++'; then
    echo "$program depends on libstdc++"
    status=1
  fi
done
[ $status -eq 0 ] && echo "$# programs, none depends on libstdc++"
exit $status
