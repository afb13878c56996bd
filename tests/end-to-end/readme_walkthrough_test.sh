#!/usr/bin/env bash
# A newcomer's first steps, taken from README.md as written: the main command
# (its run.sh part: the packages are CI's business) on a machine without a
# display, then the lines that make the stand-in game, play it with the
# command-line front end and print the log the front end names. All of it
# runs from the source folder with a throw-away home folder and a bare
# environment. When a README command changes, this test runs the new one.
# Checks: the main command succeeds and prints no line a user would take for
# a fault; the walk-through's status lines; the log that `logs` names is the
# new log in the home folder, holds the stand-in's report and the demo
# guest's output (play_demo.expected), and is what the walk-through printed.
# Usage: readme_walkthrough_test.sh SOURCE_DIR EXPECTED
set -euo pipefail
source_dir=$(cd "$1" && pwd) expected=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/session_log_text.sh"
readme="$source_dir/README.md"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
root=$(cd "$root" && pwd -P)
home="$root/home"
mkdir -p "$home"

# The indented code blocks of the markdown text on standard input, one per
# record, separated by NUL bytes.
code_blocks() {
  awk '
    /^```/ { fenced = !fenced }
    !fenced && /^    / { block = block substr($0, 5) "\n"; next }
    { if (block != "") printf "%s%c", block, 0; block = "" }
    END { if (block != "") printf "%s%c", block, 0 }
  '
}
# The README's first block holding the pattern, after the heading when one is given.
first_block_with() {
  local chosen=""
  while IFS= read -r -d '' block; do
    if [ -z "$chosen" ] && printf '%s' "$block" | grep -q -- "$1"; then chosen=$block; fi
  done < <(awk -v h="${2:-}" 'h == "" || $0 == h { found = 1 } found' "$readme" | code_blocks)
  printf '%s' "$chosen"
}

# What a newcomer's shell has: no display, no desktop session, nothing of ours.
in_home() {
  (cd "$source_dir" && env -i PATH="$PATH" HOME="$home" LANG=C.UTF-8 "$@")
}

main_command=$(first_block_with 'scripts/run.sh' '## On a fresh machine')
walkthrough=$(first_block_with 'vornik-launcher-cli play')
[ -n "$main_command" ] || { echo "README.md: no main command with scripts/run.sh under '## On a fresh machine'"; exit 1; }
[ -n "$walkthrough" ] || { echo "README.md: no code block with 'vornik-launcher-cli play'"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The main command: each step joined by && in turn; setup.sh installs
# packages, which this test leaves to the machine's set-up.
echo "main command: $main_command"
ran_run=no
while IFS= read -r step; do
  step=$(printf '%s' "$step" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
  case "$step" in
    "bash scripts/setup.sh"*) continue ;;
    *scripts/run.sh*) ;;
    *) echo "README.md: the main command has a step this test does not know: $step"; exit 1 ;;
  esac
  ran_run=yes
  set +e
  output=$(in_home bash -c "$step" 2>&1 </dev/null)
  code=$?
  set -e
  printf '%s\n' "$output"
  [ $code -eq 0 ] || { echo "FAIL: '$step' exited with $code:"; printf '%s\n' "$output"; exit 1; }
  # Build progress is the build's; every other line is the script's or the
  # launcher's own, and none of them may read like a fault.
  odd=$(printf '%s\n' "$output" | grep -Ev '^(\[[0-9]+/[0-9]+\] |ninja: no work to do\.$|run: |VornikLauncher: wrote )' || true)
  [ -z "$odd" ] || fail "'$step' printed lines a user would take for faults:"$'\n'"$odd"
  ! grep -q 'was not built' <<<"$output" || fail "'$step': the demo guest program was not built"
  picture=$(printf '%s\n' "$output" | sed -n 's/^VornikLauncher: wrote //p')
  if [ -z "$picture" ]; then
    fail "'$step' wrote no picture of the window:"$'\n'"$output"
  elif [ "$(head -c 4 "$source_dir/$picture" 2>/dev/null | od -An -tx1 | tr -d ' ')" != 89504e47 ]; then
    fail "'$step' names $picture, which is no PNG picture"
  fi
done < <(printf '%s\n' "$main_command" | sed 's/&&/\n/g')
[ $ran_run = yes ] || { echo "README.md: the main command does not run scripts/run.sh"; exit 1; }

# The walk-through, line by line as a reader pastes it.
echo "walk-through:"; printf '%s\n' "$walkthrough"
set +e
output=$(in_home bash -c "$walkthrough" 2>&1 </dev/null)
set -e
game=$(printf '%s\n' "$output" | sed -n 's/^game: *//p' | head -n 1)
case "$game" in
  "$home"/*) [ -d "$game" ] || fail "the game $game is no folder" ;;
  *) fail "the walk-through's game [$game] is not in the home folder:"$'\n'"$output" ;;
esac
statuses=$(printf '%s\n' "$output" | sed -n 's/^status: //p')
[ "$statuses" = "$(printf 'Vornik is running.\nReady to play')" ] || fail "status lines:"$'\n'"$output"

# The log that `logs` names: the one play created, in the home folder.
cli=$(printf '%s\n' "$walkthrough" | grep -o '[^ "($]*vornik-launcher-cli' | head -n 1)
named=$(in_home "$cli" logs) || fail "'$cli logs' failed"
played=$(printf '%s\n' "$output" | sed -n 's/^log: *//p')
[ "$named" = "$played" ] || fail "logs names [$named], play wrote [$played]"
case "$named" in
  "$home/Library/Logs/Vornik Launcher/"*.log) ;;
  *) fail "the log [$named] is not in the home folder's log folder" ;;
esac
if [ -f "$named" ]; then
  demo="$source_dir/$(dirname "$cli")/../Helpers/Torvel.app/Contents/Resources/demo/demo-guest"
  want=$(session_log_text "$expected" "$game" "$demo" "ended with status 0" "ending with status 0" \
           "$(demo_route "$demo" auto)")
  [ "$(cat "$named")" = "$want" ] ||
    fail "the log differs from the stand-in's report and the demo's output:"$'\n'"$(diff <(printf '%s\n' "$want") "$named" || true)"
  case "$output" in
    *"$(cat "$named")") ;;
    *) fail "the walk-through did not end by printing the log:"$'\n'"$output" ;;
  esac
else
  fail "no log at [$named]"
fi

[ $failures -eq 0 ] && echo "the README's main command and walk-through work as written"
exit $(( failures > 0 ))
