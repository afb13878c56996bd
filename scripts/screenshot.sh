#!/usr/bin/env bash
# Writes two PNG pictures of the launcher window without needing a display:
# the first start (no game anywhere, no logs) and the start with a game found
# (the stand-in game bundle of scripts/stand-in-game.sh). Each runs with a
# throw-away home folder, so the user's own preferences and logs stay untouched.
# Usage: scripts/screenshot.sh [output folder]   (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
cmake --preset native >/dev/null
cmake --build --preset native --target launcher_bundle -j 2 >/dev/null
launcher="$PWD/build/native/VornikLauncher.app/Contents/MacOS/VornikLauncher"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

shoot() {  # home picture
  env HOME="$1" QT_QPA_PLATFORM=offscreen \
    "$launcher" --screenshot "$2"
}

mkdir -p "$work/first-start"
shoot "$work/first-start" "$out/first-start.png"

bash scripts/stand-in-game.sh "$work/with-game/Applications" >/dev/null
shoot "$work/with-game" "$out/with-game.png"
