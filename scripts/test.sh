#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine: the 64-bit tree's first, then
# the 32-bit tree's, so that the output ends with the summary of the larger run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
(cd "$build/x64" && ctest --output-on-failure)
cd "$build"
ctest --output-on-failure
