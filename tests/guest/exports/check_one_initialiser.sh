#!/usr/bin/env bash
# Checks that a guest library has exactly one module initialiser (one entry
# in its initialiser array, no legacy init function) and no finaliser: its
# start-up and exit work is registered by that one function.
# Usage: check_one_initialiser.sh LIBRARY
set -euo pipefail
library=$1
dynamic=$(readelf -d "$library")
entries=$(echo "$dynamic" | awk '/\(INIT_ARRAYSZ\)/ { print $3 / 4 }')
if [ "${entries:-0}" != 1 ] || echo "$dynamic" | grep -qE '\((INIT|FINI|FINI_ARRAY)\)'; then
  echo "$library: expected exactly one initialiser and no finaliser:"
  echo "$dynamic" | grep -E 'INIT|FINI' || true
  exit 1
fi
echo "$library: one module initialiser"
