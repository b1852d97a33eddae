#!/usr/bin/env bash
# Builds the package once more, in another folder, later, under another time
# zone, locale and umask, and checks that the .deb is byte for byte the one
# given:
#
#   tools/check_deb_reproducible.sh bluejay_VERSION_ARCH.deb
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
first=$(realpath "${1:?usage: $0 PACKAGE.deb}")
base=$(mktemp -d /tmp/bluejay_reproducible_XXXXXX)
trap 'rm -rf "$base"' EXIT
scratch="$base/another/folder"
mkdir -p "$scratch"
(umask 0027 && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 BLUEJAY_DEB_WORK="$scratch/work" \
   "$here/make_deb.sh" "$scratch/out") >/dev/null
second="$scratch/out/$(basename "$first")"
sha256sum "$first" "$second"
if ! cmp -s "$first" "$second"; then
  echo "the two builds differ" >&2
  command -v diffoscope >/dev/null && diffoscope "$first" "$second" | head -60 >&2
  exit 1
fi
echo "the two builds are identical"
