#!/usr/bin/env bash
# Checks a package `make deb` built:
#
#   tools/check_deb.sh bluejay_VERSION_ARCH.deb [TESTS_PROGRAM [SOURCE.dsc]]
#
# lintian finds no error and no warning in the package, nor in the source
# package when it is given (its pedantic notes are shown);
# hardening-check finds every protection the distribution gives; the
# package, unpacked into a scratch folder (dpkg -x), holds the games layout
# and valid desktop files, and runs the package's own tests from there:
# the game on a virtual display showing its title, and the headless tests
# (TESTS_PROGRAM, already built from this source, or built by the test) on
# the installed data.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "${1:?usage: $0 PACKAGE.deb [TESTS_PROGRAM]}")
tests_program=${2:+$(realpath "$2")}
dsc=${3:+$(realpath "$3")}
scratch=$(mktemp -d /tmp/bluejay_check_deb_XXXXXX)
trap 'rm -rf "$scratch"' EXIT

echo "== lintian"
lintian --pedantic --info --fail-on error,warning "$deb" ${dsc:+"$dsc"}

echo "== hardening-check"
root="$scratch/root"
dpkg -x "$deb" "$root"
# No binary of this release can carry branch protection: the C library's
# start files lack its marks.
hardening-check --nocfprotection "$root/usr/games/bluejay"

echo "== the games layout"
for file in usr/games/bluejay usr/share/games/bluejay/data/levels/level_0.map usr/share/games/bluejay/patches.dat \
            usr/share/applications/org.bluejaygame.bluejay.desktop \
            usr/share/metainfo/org.bluejaygame.bluejay.metainfo.xml usr/share/icons/hicolor/48x48/apps/bluejay.png \
            usr/share/man/man6/bluejay.6.gz usr/share/doc/bluejay/copyright; do
  [ -e "$root/$file" ] || { echo "the package lacks /$file" >&2; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/org.bluejaygame.bluejay.desktop"
appstreamcli validate --strict --no-net "$root/usr/share/metainfo/org.bluejaygame.bluejay.metainfo.xml"
appstream-util validate-relax --nonet "$root/usr/share/metainfo/org.bluejaygame.bluejay.metainfo.xml"
echo "ok"

echo "== the package's tests, on the unpacked package"
cd "$here"
BLUEJAY_ROOT="$root" sh debian/tests/title
BLUEJAY_ROOT="$root" BLUEJAY_TESTS_PROGRAM="$tests_program" AUTOPKGTEST_TMP="$scratch/headless" \
  sh debian/tests/headless
echo "== $deb: passed"
