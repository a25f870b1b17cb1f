#!/usr/bin/env bash
# Set up, build and run every test. Exit status is non-zero on any failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${KV_BUILD_DIR:-$here/build}"
cd "$build"
if command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$(nproc)" --timeout 300
else
  ctest --output-on-failure -j "$(nproc)" --timeout 300
fi
