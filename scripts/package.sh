#!/usr/bin/env bash
# Builds the Debian package (build/kestrovane_<version>_<arch>.deb) from a
# release build of everything that is installed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_BUILD_DIR:-$here/build}"
bash "$here/scripts/build.sh"
cd "$build"
rm -f kestrovane_*.deb
cpack -G DEB
ls kestrovane_*.deb
