#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and fuzzing need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev libdxflib-dev libfcl-dev
  clang libclang-rt-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libglu1-mesa-dev libsdl2-dev
  blender python3-numpy
  xvfb xauth libgl1-mesa-dri locales-all imagemagick
  librsvg2-bin desktop-file-utils libxml2-utils dpkg-dev file libtinygltf-dev
  python3 python3-ezdxf
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Node.js may come from elsewhere than Debian's nodejs package (whose npm then
# conflicts); only ask apt for it when the commands are missing.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The BVH and glTF cross-checks read our files with independent readers under
# Node.js: three.js's loaders and the Khronos glTF validator.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -f "$here/tests/node/package.json" ] && command -v npm >/dev/null 2>&1; then
  if [ ! -d "$here/tests/node/node_modules/three" ] ||
     [ ! -d "$here/tests/node/node_modules/gltf-validator" ]; then
    (cd "$here/tests/node" && npm install --no-audit --no-fund --silent) ||
      echo "setup: npm install failed; the BVH and glTF cross-checks will be skipped"
  fi
fi
