# Sourced by the demo scripts: where the demo's words are spoken.
# shellcheck shell=sh

# demo_sound RAW [COMMAND...]: on the sound device ($AUDIODEV, or ALSA's
# default) where it opens, and then demo_raw is empty; else through ALSA's
# file plugin into the file RAW (AUDIODEV is set so, and demo_raw names it).
# Where neither opens, says so in one line and fails: the words could be
# spoken nowhere. Each check runs as COMMAND demo_opens DEVICE, where
# COMMAND is given: a device may block, and the caller's waits keep their
# time limit.
#
# ALSA splits the device's arguments at ',' and '=' and the file plugin
# expands '%' in the file's name, so RAW is a plain name relative to the
# working directory of the program that speaks, never a path of the checkout.
demo_sound() {
  demo_raw=''
  demo_file=$1
  shift
  "$@" demo_opens "${AUDIODEV:-default}" && return 0
  if ! "$@" demo_opens 'file:FILE=/dev/null,FORMAT=raw'; then
    echo "No sound here: neither a sound device nor ALSA's file plugin opens, so the demo cannot speak its words." >&2
    return 1
  fi
  demo_raw=$demo_file
  export AUDIODEV="file:FILE=$demo_raw,FORMAT=raw"
}

# demo_opens DEVICE: whether ALSA's device DEVICE takes sound; aplay's
# complaint where it does not stays unshown.
demo_opens() {
  aplay -q -D "$1" -t raw -f cd /dev/null 2>/dev/null
}
