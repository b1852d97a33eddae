#!/usr/bin/env bash
# Builds the Debian package of the game from this tree:
#
#   tools/make_deb.sh [OUT_DIR]
#
# The tree's files (those git tracks or would track, without the build
# trees) are copied into a scratch folder, the package is built there with
# the distribution's flags and its .deb is copied into OUT_DIR (default: the
# current folder). BLUEJAY_DEB_WORK names the scratch folder instead (it is
# then kept); the build's log is in it. BLUEJAY_DEB_SOURCE_OUT names a folder
# for the source package (.dsc and .tar.xz) too.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-.}" && cd "${1:-.}" && pwd)
if [ -n "${BLUEJAY_DEB_WORK:-}" ]; then
  mkdir -p "$BLUEJAY_DEB_WORK"
  work=$(cd "$BLUEJAY_DEB_WORK" && pwd)
else
  work=$(mktemp -d /tmp/bluejay_deb_XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
source="$work/bluejay-$version"
rm -rf "$source"
mkdir -p "$source"

# The tree's own files: from git when it is a checkout, else everything but
# the build trees and earlier packages.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
     while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done |
     tar --null -T - -cf -) | tar -xf - -C "$source"
else
  tar -C "$root" --exclude=./.git --exclude='./build' --exclude='./build-*' --exclude='./*.deb' --exclude='./bluejay_*' -cf - . |
    tar -xf - -C "$source"
fi

echo "Building bluejay_${version}_${arch}.deb in $work (log: $work/build.log)"
if ! (cd "$source" && dpkg-buildpackage --build=source,binary --no-sign) >"$work/build.log" 2>&1; then
  tail -40 "$work/build.log" >&2
  echo "make_deb.sh: the package build failed; its log is $work/build.log" >&2
  [ -n "${BLUEJAY_DEB_WORK:-}" ] || trap - EXIT
  exit 1
fi
cp "$work/bluejay_${version}_${arch}.deb" "$out/"
if [ -n "${BLUEJAY_DEB_SOURCE_OUT:-}" ]; then
  mkdir -p "$BLUEJAY_DEB_SOURCE_OUT"
  cp "$work/bluejay_${version}.dsc" "$work/bluejay_${version}.tar.xz" "$BLUEJAY_DEB_SOURCE_OUT/"
fi
echo "$out/bluejay_${version}_${arch}.deb"
