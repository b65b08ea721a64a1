# Sourced by the scripts that run a deliverable under Wine on a desktop
# whose message boxes are answered (run-launcher-wine, run-vocalis-wine),
# with "here" set to this folder. Their first argument is the Windows build
# (default build-win32 beside this folder); the Wine prefix is run-wine's
# (WINEPREFIX, default BUILD/wineprefix).
# shellcheck shell=sh disable=SC2034,SC2154
name=$(basename "$0")
source_dir=$(dirname "$here")
build=$(cd -P -- "${1:-$source_dir/build-win32}" > /dev/null && pwd -P)
: "${WINEPREFIX:=$build/wineprefix}"
export WINEPREFIX
run_wine="$here/run-wine"

# require FILE...: ends the script with status 2 when one is missing.
require() {
  for file in "$@"; do
    if [ ! -f "$file" ]; then
      echo "$name: $file is missing" >&2
      exit 2
    fi
  done
}

# The Windows form of a path under / (Wine's drive Z:).
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

failed=0
fail() {
  printf 'FAIL: %s\n' "$1"
  failed=1
}
# compare WHAT EXPECTED-FILE ACTUAL-FILE
compare() {
  if ! cmp -s "$2" "$3"; then
    fail "$1 differs (- expected, + actual):"
    diff -u "$2" "$3" | tail -n +3
  fi
}

# make_work PREFIX: a temporary folder, work, that goes at the end with
# whatever answer_boxes left running.
make_work() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  watchdog=
  closer=
  trap cleanup EXIT
  trap 'exit 130' INT TERM
}
cleanup() {
  [ -z "$watchdog" ] || kill "$watchdog" 2> /dev/null || true
  [ -z "$closer" ] || stop_answering
  rm -rf "$work"
}

# answer_boxes SECONDS: from now on for at most SECONDS, closeboxes.exe
# answers the message boxes and prints them into work/boxes.txt. Each
# 32-bit program may take a minute to start where Wine runs under an
# emulator; past SECONDS, whatever still runs in the prefix is ended.
answer_boxes() {
  (
    trap 'kill "$sleeper" 2> /dev/null; exit 0' TERM
    sleep "$1" &
    sleeper=$!
    wait "$sleeper"
    echo "$name: timed out" >&2
    /usr/lib/wine/wineserver64 -k
  ) &
  watchdog=$!
  "$run_wine" "$build/closeboxes.exe" "$1" "$(winpath "$work")\\stop" \
    > "$work/boxes.txt" 2> "$work/boxes.err" &
  closer=$!
}
stop_answering() {
  touch "$work/stop"
  wait "$closer" || true
  closer=
}

# compare_boxes EXPECTED-FILE: the boxes answered, once answering stopped.
compare_boxes() {
  tr -d '\r' < "$work/boxes.txt" > "$work/boxes-lines.txt"
  compare "the message boxes" "$1" "$work/boxes-lines.txt"
}
