# Sourced by the end-to-end tests: the text a session log of one launch of
# the stand-in game holds, from play_demo.expected.

# Prints the emulator line the stand-in writes before the demo's output when
# it runs the demo under qemu-i386, or nothing when the kernel runs it.
# Usage: demo_route DEMO yes|auto   (yes: the stand-in was told to use qemu-i386)
demo_route() {
  local demo=$1 forced=$2 qemu status
  qemu=$(command -v qemu-i386 || true)
  if [ "$forced" != yes ]; then
    set +e
    env -u VORNIK_DEMO_EXIT_STATUS -u VORNIK_DEMO_SIGNAL "$demo" >/dev/null 2>&1
    status=$?
    set -e
    [ $status -eq 126 ] || return 0  # 126: the shell could not execute it, the kernel refused it
  fi
  echo "torvel stand-in: under $qemu"
}

# Usage: session_log_text EXPECTED GAME DEMO DEMO_END END ROUTE
session_log_text() {
  local expected=$1 game=$2 demo=$3 demo_end=$4 end=$5 route=$6
  sed -e "s|@GAME@|$game|" -e "s|@FOLDER@|$(dirname "$game")|" -e "s|@DEMO@|$(realpath "$demo")|" \
      -e "s|@DEMO_END@|$demo_end|" -e "s|@END@|$end|" "$expected" |
    if [ -n "$route" ]; then sed "s|^@ROUTE@$|$route|"; else sed '/^@ROUTE@$/d'; fi
}
