#!/usr/bin/env bash
# The road of one event on this machine: vornik-launcher-cli from the built
# VornikLauncher.app plays a stand-in game bundle; the development stand-in
# reports what it received and runs the demo guest program (our guest
# libraries) into the session log; the launcher reports the end.
# Each case checks the status lines, that exactly one new session log exists
# with mode 600, and the log's whole text against play_demo.expected.
# Usage: play_demo_test.sh LAUNCHER_BUNDLE SOURCE_DIR EXPECTED
set -euo pipefail
bundle=$(realpath "$1") source=$2 expected=$3
. "$(dirname "$0")/session_log_text.sh"
cli="$bundle/Contents/MacOS/vornik-launcher-cli"
demo="$bundle/Contents/Helpers/Torvel.app/Contents/Resources/demo/demo-guest"
for file in "$cli" "$demo"; do
  [ -x "$file" ] || { echo "missing $file (build the native tree, then this one)"; exit 1; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
root=$(cd "$root" && pwd -P)
home="$root/home" folder="$root/Applications"
logs="$home/Library/Logs/Vornik Launcher"
mkdir -p "$home"

# A game bundle that verifies, the one the README has the reader make.
game=$(bash "$source/scripts/stand-in-game.sh" "$folder")

failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# name | extra environment | end status text | the demo's end | the stand-in's end | emulator road
cases=(
  "plain|-|Ready to play|ended with status 0|ending with status 0|auto"
  "under qemu-i386|TORVEL_STAND_IN_QEMU=1|Ready to play|ended with status 0|ending with status 0|qemu"
  "no profile matched|TORVEL_STAND_IN_EXIT_STATUS=78|No compatibility profile matched this Vornik build. See the session log.|ended with status 0|ending with status 78|auto"
  "the guest fails|VORNIK_DEMO_EXIT_STATUS=3|Vornik exited with status 3. See the session log.|ended with status 3|ending with status 3|auto"
  "the guest is killed|VORNIK_DEMO_SIGNAL=15|Vornik stopped on signal 15. See the session log.|stopped on signal 15|ending on signal 15|auto"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r case_name extra end_text demo_end end road <<<"$entry"
  before=$(ls -A "$logs" 2>/dev/null | sort || true)
  variables=(HOME="$home")
  [ "$extra" = "-" ] || variables+=("$extra")
  set +e
  output=$(env -u TORVEL_STAND_IN_EXIT_STATUS -u TORVEL_STAND_IN_SIGNAL -u TORVEL_STAND_IN_HOLD_FILE \
             -u TORVEL_STAND_IN_REPORT -u TORVEL_STAND_IN_QEMU -u VORNIK_DEMO_EXIT_STATUS -u VORNIK_DEMO_SIGNAL \
             "${variables[@]}" timeout 20 "$cli" play "$game" 2>&1)
  code=$?
  set -e

  # The status lines: running first, then the end.
  statuses=$(printf '%s\n' "$output" | sed -n 's/^status: //p')
  if [ "$statuses" != "$(printf 'Vornik is running.\n%s' "$end_text")" ]; then
    fail "status lines:"$'\n'"$output"
    continue
  fi
  want_code=1; [ "$end_text" = "Ready to play" ] && want_code=0
  [ $code -eq $want_code ] || fail "vornik-launcher-cli exited with $code, not $want_code"

  # Exactly one new session log, the one the CLI names, readable by its owner only.
  new=$(comm -13 <(printf '%s\n' "$before") <(ls -A "$logs" | sort) | sed '/^$/d')
  if [ "$(printf '%s\n' "$new" | grep -c .)" -ne 1 ]; then fail "new logs: [$new]"; continue; fi
  log="$logs/$new"
  [ "$(printf '%s\n' "$output" | sed -n 's/^log: *//p')" = "$log" ] || fail "the CLI names another log:"$'\n'"$output"
  [[ $new =~ ^[0-9A-Fa-f]{8}-([0-9A-Fa-f]{4}-){3}[0-9A-Fa-f]{12}\.log$ ]] || fail "log name $new"
  [ "$(stat -c %a "$log")" = 600 ] || fail "log mode $(stat -c %a "$log")"

  # The log's whole text, in the order written.
  route=$(demo_route "$demo" "$([ "$road" = qemu ] && echo yes || echo auto)")
  want=$(session_log_text "$expected" "$game" "$demo" "$demo_end" "$end" "$route")
  if [ "$(cat "$log")" != "$want" ]; then
    fail "session log differs from the expected text:"$'\n'"$(diff <(printf '%s\n' "$want") "$log" || true)"
  fi
done

[ $failures -eq 0 ] && echo "${#cases[@]} launches: status lines, one new log of mode 600, report and guest output in order"
exit $(( failures > 0 ))
