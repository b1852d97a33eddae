#!/usr/bin/env bash
# The desktop entry and the software-centre description as the build
# installs them pass their validators, name each other, and the
# description's newest release is the newest entry of debian/changelog.
#
#   tests/desktop_files_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
for tool in desktop-file-validate appstreamcli appstream-util; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install_packages.sh installs it)" >&2; exit 1; }
done
scratch=$(mktemp -d /tmp/bluejay_desktop_files_XXXXXX)
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch" cmake --install "$build" --prefix /usr >"$scratch/install.log"

id=org.bluejaygame.bluejay
entry="$scratch/usr/share/applications/$id.desktop"
metainfo="$scratch/usr/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$entry"
appstreamcli validate --strict --no-net "$metainfo"
appstream-util validate-relax --nonet "$metainfo"

grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  { echo "FAIL: the description does not launch $id.desktop" >&2; exit 1; }
newest=$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' "$source/debian/changelog")
newest=${newest#*:}
newest=${newest%-*}
grep -q "<release version=\"$newest\"" "$metainfo" ||
  { echo "FAIL: the description's releases lack $newest, the newest in debian/changelog" >&2; exit 1; }
echo "passed"
