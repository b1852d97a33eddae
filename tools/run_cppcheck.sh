#!/usr/bin/env bash
# The static analysis of the game's code and its tools: cppcheck's warning,
# performance and portability checks on src/ and tools/, failing on any
# finding. A finding that is wrong is suppressed where it is, with a
# "cppcheck-suppress" comment giving the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v cppcheck >/dev/null || { echo "cppcheck is missing (tools/install_packages.sh --deb installs it)" >&2; exit 1; }
cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --std=c++17 \
  --inline-suppr --library=tools/cppcheck/game_library.cfg -j 2 \
  -I src -I tools/common src tools
echo "cppcheck: no finding in src/ and tools/"
