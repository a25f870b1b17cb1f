#!/usr/bin/env bash
# Set up, build and run the program on its built-in default project.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${KV_BUILD_DIR:-$here/build}"
if [ -x "$build/src/gui/kestrovane" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$build/src/gui/kestrovane" "$@"
fi
exec "$build/src/cli/kestrovane-cli" demo "$@"
