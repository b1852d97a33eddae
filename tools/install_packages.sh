#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, if any is
# missing. Runs apt-get as root, or through sudo.
set -euo pipefail

# clang and its runtime libraries build the fuzz harnesses (libFuzzer).
packages=(g++ make cmake pkg-config liballegro4-dev libpng-dev libgtest-dev googletest python3 clang-14 libclang-rt-14-dev)
# The translations' catalogues are gathered and built with xgettext, msgmerge
# and msgfmt.
packages+=(gettext)
# The free patch set the music's patch set is made from; a virtual X display,
# key presses, screenshots and sound measuring for the tests that play the
# game as a player does.
packages+=(freepats xvfb xauth xdotool x11-utils imagemagick sox)
if [ "${1:-}" = "--display" ]; then
  # For looking at the game without a monitor (screenshots under a virtual X
  # display).
  packages+=(xvfb xauth imagemagick)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "These packages are missing and there is no sudo: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
