#!/usr/bin/env bash
# Makes a stand-in game bundle that the launcher verifies as the game: an
# Info.plist with the game's bundle identifier and an executable that is
# nothing but a 32-bit Intel Mach-O header. There is no game in it; the
# development stand-in of the runtime host never runs it. Prints the
# bundle's path.
# Usage: scripts/stand-in-game.sh FOLDER   (makes FOLDER/Vornik Complete Edition.app)
set -euo pipefail
folder="${1:?usage: stand-in-game.sh FOLDER}"
core="$(cd "$(dirname "$0")/.." && pwd)/launcher/core"

# The identifier and the file name the launcher looks for, from its own source.
identifier=$(sed -n 's/.*gameIdentifier = "\(.*\)";.*/\1/p' "$core/bundle_identifiers.h")
name=$(sed -n 's/.*gameFileName = "\(.*\)";.*/\1/p' "$core/fixed_locations.h")
if [ -z "$identifier" ] || [ -z "$name" ]; then
  echo "stand-in-game: no gameIdentifier in $core/bundle_identifiers.h or gameFileName in $core/fixed_locations.h" >&2
  exit 1
fi

mkdir -p "$folder"
game="$(cd "$folder" && pwd)/$name"
mkdir -p "$game/Contents/MacOS"
cat > "$game/Contents/Info.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>$identifier</string>
<key>CFBundleExecutable</key><string>Vornik</string>
<key>CFBundlePackageType</key><string>APPL</string>
</dict></plist>
PLIST
# mach_header: magic, cputype 7 (i386), subtype 3, filetype 2 (executable),
# no load commands.
printf '\xce\xfa\xed\xfe\x07\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00' > "$game/Contents/MacOS/Vornik"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >> "$game/Contents/MacOS/Vornik"
chmod +x "$game/Contents/MacOS/Vornik"
echo "$game"
