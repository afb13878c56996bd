#!/usr/bin/env bash
# Writes two PNG pictures of the launcher window without needing a display:
# the first start (no game anywhere, no logs) and the start with a game found
# (a stand-in game bundle: the game's identifier and a 32-bit Intel Mach-O
# header, nothing more). Each runs with a throw-away home folder, so the
# user's own preferences and logs stay untouched.
# Usage: scripts/screenshot.sh [output folder]   (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
cmake --preset native >/dev/null
cmake --build --preset native --target vornik_launcher torvel_stand_in -j 2 >/dev/null
launcher="$PWD/build/native/VornikLauncher.app/Contents/MacOS/VornikLauncher"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

shoot() {  # home picture
  env HOME="$1" XDG_CONFIG_HOME="$1/.config" QT_QPA_PLATFORM=offscreen \
    "$launcher" --screenshot "$2"
}

mkdir -p "$work/first-start"
shoot "$work/first-start" "$out/first-start.png"

game="$work/with-game/Applications/Vornik Complete Edition.app"
mkdir -p "$game/Contents/MacOS"
cat > "$game/Contents/Info.plist" <<'PLIST'
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>com.vornik.completeedition</string>
<key>CFBundleExecutable</key><string>Vornik</string>
</dict></plist>
PLIST
# mach_header: magic, cputype 7 (i386), subtype 3, filetype 2, no load commands
printf '\xce\xfa\xed\xfe\x07\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00' > "$game/Contents/MacOS/Vornik"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >> "$game/Contents/MacOS/Vornik"
shoot "$work/with-game" "$out/with-game.png"
