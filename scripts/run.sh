#!/usr/bin/env bash
# Builds the native tree and opens the launcher window.
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) it says how to see
# the window on a virtual display and writes a picture of it instead.
# Usage: scripts/run.sh [--screenshot file.png]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target vornik_launcher torvel_stand_in -j 2
launcher="$PWD/build/native/VornikLauncher.app/Contents/MacOS/VornikLauncher"

if [ "${1:-}" = "--screenshot" ]; then
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" exec "$launcher" --screenshot "${2:?usage: run.sh --screenshot file.png}"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$(uname)" != "Darwin" ]; then
  picture="build/screenshots/launcher.png"
  mkdir -p "$(dirname "$picture")"
  echo "run: no display here (\$DISPLAY and \$WAYLAND_DISPLAY are unset)."
  echo "run: to see and use the window on a virtual X display:  xvfb-run -a bash scripts/run.sh"
  echo "run: pictures of the window (first start, game found):  bash scripts/screenshot.sh"
  QT_QPA_PLATFORM=offscreen "$launcher" --screenshot "$picture"
  exit 0
fi

exec "$launcher"
