#!/usr/bin/env bash
# `cmake --install` of the native tree lays out an application bundle that
# runs on its own: installed into a throw-away prefix and then moved to
# another folder (so nothing may lean on the build folder or the prefix),
# its programs load, the window draws itself, and vornik-launcher-cli plays
# a stand-in game with the bundle's own runtime host, whose report lands in
# the session log in a throw-away home.
# Usage: installed_bundle_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) source_dir=$(cd "$2" && pwd)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
root=$(cd "$root" && pwd -P)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$root/prefix" >"$root/install.log" ||
  { cat "$root/install.log"; echo "FAIL: cmake --install"; exit 1; }
[ -d "$root/prefix/VornikLauncher.app" ] ||
  { cat "$root/install.log"; echo "FAIL: cmake --install laid out no VornikLauncher.app"; exit 1; }
mkdir -p "$root/elsewhere/Some Folder"
mv "$root/prefix/VornikLauncher.app" "$root/elsewhere/Some Folder/"
rm -rf "$root/prefix"
app="$root/elsewhere/Some Folder/VornikLauncher.app"

# The layout the launcher relies on.
for program in Contents/MacOS/VornikLauncher Contents/MacOS/vornik-launcher-cli \
               Contents/Helpers/Torvel.app/Contents/MacOS/torvel; do
  [ -x "$app/$program" ] || fail "no program $program"
done
for file in Contents/Info.plist Contents/Helpers/Torvel.app/Contents/Info.plist; do
  [ -f "$app/$file" ] || fail "no $file"
done
built_demo="$build/VornikLauncher.app/Contents/Helpers/Torvel.app/Contents/Resources/demo/demo-guest"
demo="$app/Contents/Helpers/Torvel.app/Contents/Resources/demo/demo-guest"
if [ -x "$built_demo" ] && [ ! -x "$demo" ]; then fail "the demo guest program was built but not installed"; fi

# Every library each program loads is found, and none comes from the build folder.
for program in "$app/Contents/MacOS/VornikLauncher" "$app/Contents/MacOS/vornik-launcher-cli" \
               "$app/Contents/Helpers/Torvel.app/Contents/MacOS/torvel"; do
  libraries=$(ldd "$program" 2>&1) || fail "ldd $program: $libraries"
  ! grep -q "not found" <<<"$libraries" || fail "$(basename "$program") misses libraries:"$'\n'"$libraries"
  ! grep -qF "$build" <<<"$libraries" || fail "$(basename "$program") loads from the build folder:"$'\n'"$libraries"
  ! grep -qF "$build/VornikLauncher.app" <<<"$(strings "$program")" || fail "$(basename "$program") names the built bundle"
done

# The window draws itself without a display, in a throw-away home.
home="$root/home"
mkdir -p "$home"
shell=(env -i PATH="$PATH" HOME="$home" LANG=C.UTF-8)
picture=$("${shell[@]}" QT_QPA_PLATFORM=offscreen "$app/Contents/MacOS/VornikLauncher" \
            --screenshot "$root/window.png" 2>&1) || fail "the installed window: $picture"
[ "$(head -c 4 "$root/window.png" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 89504e47 ] ||
  fail "the installed window wrote no picture: $picture"

# The command line plays with the bundle's own runtime host.
game=$(bash "$source_dir/scripts/stand-in-game.sh" "$root/Games")
output=$("${shell[@]}" "$app/Contents/MacOS/vornik-launcher-cli" play "$game" 2>&1) ||
  fail "play: $output"
statuses=$(sed -n 's/^status: //p' <<<"$output")
[ "$statuses" = "$(printf 'Vornik is running.\nReady to play')" ] || fail "status lines:"$'\n'"$output"
log=$(sed -n 's/^log: *//p' <<<"$output")
case "$log" in
  "$home/Library/Logs/Vornik Launcher/"*.log) ;;
  *) fail "the log [$log] is not in the home folder's log folder" ;;
esac
if [ -f "$log" ]; then
  text=$(cat "$log")
  grep -qx "argument 2: $game" <<<"$text" || fail "the stand-in's report lacks the game:"$'\n'"$text"
  # The stand-in names the demo's place in its own bundle: the installed one.
  grep -qF "demo guest program" <<<"$text" && grep -qF "$demo" <<<"$text" ||
    fail "the runtime host that ran is not the installed bundle's:"$'\n'"$text"
  if [ -x "$demo" ]; then
    grep -qx "Vornik demo guest: lap 3 of 5" <<<"$text" || fail "no demo output in the log:"$'\n'"$text"
  fi
fi

[ $failures -eq 0 ] && echo "the installed bundle runs from wherever it lies"
exit $(( failures > 0 ))
