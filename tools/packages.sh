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

# Prints what runs a command as root here: nothing for root, sudo for a user
# who has it; answers 1 for a user who has neither, who can only ask root.
root_prefix() {
  [ "$(id -u)" -eq 0 ] && return 0
  command -v sudo > /dev/null && echo sudo
}
# Why this user cannot install packages (where root_prefix answers 1).
rootless="this user is not root and has no sudo"

# root_command PACKAGES...: the command that installs them, for root to run.
root_command() {
  case " $* " in
    *':i386 '*)
      dpkg --print-foreign-architectures | grep -qx i386 ||
        printf 'dpkg --add-architecture i386 && ' ;;
  esac
  echo "apt-get update && apt-get install -y --no-install-recommends $*"
}
