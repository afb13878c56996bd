#!/usr/bin/env bash
# Builds the native tree and opens the launcher window. It builds the whole
# application bundle (the window, the command-line front end
# vornik-launcher-cli and the development stand-in of the runtime host) and
# the linker of the guest-macho tree. The guest trees are built too, for the
# demo guest program that the development stand-in runs when Play is pressed
# (its output lands in the session log); should they fail to build, Play runs
# the stand-in without it.
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) it says how to see
# the window on a virtual display and writes a picture of it instead.
# Usage: scripts/run.sh [--screenshot file.png]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target launcher_bundle torvel-ld -j 2
if ! { cmake --preset guest-macho >/dev/null && cmake --build --preset guest-macho -j 2 &&
       cmake --preset guest-elf >/dev/null && cmake --build --preset guest-elf --target demo_guest_in_bundle -j 2; }; then
  echo "run: the demo guest program was not built; Play runs the stand-in without it"
fi
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
