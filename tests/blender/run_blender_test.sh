#!/usr/bin/env bash
# Runs one Blender test script headless with a private user folder, so nothing
# the test installs or saves reaches the user's own Blender settings.
# Usage: run_blender_test.sh SCRIPT.py -- ARGS...   Exit 77 (skipped) without Blender.
set -euo pipefail
script="$1"; shift
blender="${KV_BLENDER:-$(command -v blender || true)}"
if [ -z "$blender" ]; then
  echo "blender is not installed: skipped"
  exit 77
fi
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export BLENDER_USER_CONFIG="$home/config" BLENDER_USER_SCRIPTS="$home/scripts"
export BLENDER_USER_DATAFILES="$home/datafiles" PYTHONDONTWRITEBYTECODE=1
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export PYTHONPATH="$here${PYTHONPATH:+:$PYTHONPATH}"
exec "$blender" -b --factory-startup --python-exit-code 1 --python "$script" "$@"
