# Sourced by tools/install-deps and windows/wine-status, so that the one
# that installs Wine and the one that tells whether it can run agree.
# shellcheck shell=sh disable=SC2034

# Wine as the Windows leg runs it: the 64-bit Wine makes the prefix, the
# 32-bit one runs our programs.
wine_packages="wine wine32:i386 wine64"
# Where install-deps remembers, for the day, why Wine could not be installed
# (relative to the checkout).
wine_memo=build-win32/wine-unavailable

# missing PACKAGES...: prints " NAME" for each one that is not installed.
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      printf ' %s' "$p"
  done
}

# Whether this machine runs 32-bit x86 programs, by itself or through
# qemu-i386.
runs_i386() { /lib/ld-linux.so.2 --version > /dev/null 2>&1; }
