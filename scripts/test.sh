#!/usr/bin/env bash
# Builds every tree and runs every test. Exits non-zero when any build or test fails.
# Usage: scripts/test.sh [preset ...]   (default: all presets)
# Order matters: guest-macho links with the native tree's torvel-ld, and
# guest-elf runs its tests against guest-macho's dylibs as well.
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
if [ ${#presets[@]} -eq 0 ]; then presets=(native guest-macho guest-elf); fi

jobs=$(nproc 2>/dev/null || echo 2)
for p in "${presets[@]}"; do
  echo "=== ${p}: configure"
  cmake --preset "$p" >/dev/null
  echo "=== ${p}: build"
  cmake --build --preset "$p" -j "$jobs"
  echo "=== ${p}: test"
  ctest --preset "$p" -j "$jobs"
done
