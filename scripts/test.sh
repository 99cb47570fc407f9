#!/bin/sh
# Sets up, builds and runs the whole test suite through ctest, headless.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# Qt WebEngine refuses to start its sandbox as root.
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
cd "$ROOT/build"
ctest --output-on-failure --timeout 600 -j "$(nproc 2>/dev/null || echo 2)"
