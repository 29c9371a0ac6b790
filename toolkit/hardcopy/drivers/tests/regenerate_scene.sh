#!/usr/bin/env bash
# Writes the stored scene files anew from the native tree's drivers, for
# the formats no reader here draws. Run it after a deliberate change of
# such a format's output, and look at the difference before committing.
# usage: regenerate_scene.sh [BUILD_DIR]  (default build/native)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
build=${1:-$root/build/native}
cmake --build "$build" --target hardcopy_drivers_test
KORV_SCENE_REGENERATE="$here/scene" "$(find "$build" -name hardcopy_drivers_test -type f | head -n 1)" \
  --gtest_filter='FileDrivers/Scene.*'
git -C "$root" status --short "$here/scene"
