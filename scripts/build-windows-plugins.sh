#!/usr/bin/env bash
# Cross-builds the LightWave plug-ins as Windows modules (KestrovaneLoad.p,
# KestrovaneSave.p) with Debian's mingw-w64, checks what each module exports
# and imports, and with --wine runs the plug-in tests under Wine.
#
#   scripts/build-windows-plugins.sh [--wine] [--install]
#
#   --install  apt-get the cross compiler (and Wine with --wine) when missing
#   --wine     also build the test host and its tests for Windows and run them
#
# Build folder: $KV_WINDOWS_BUILD_DIR, default build-windows/ in the checkout.
# The modules end up in <build folder>/KestrovaneLoad.p and KestrovaneSave.p.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_WINDOWS_BUILD_DIR:-$here/build-windows}"
triple=x86_64-w64-mingw32
objdump="$triple-objdump"

run_wine=0
install=0
for arg in "$@"; do
  case "$arg" in
    --wine) run_wine=1 ;;
    --install) install=1 ;;
    *) echo "usage: $0 [--wine] [--install]" >&2; exit 2 ;;
  esac
done

need=()
command -v "$triple-g++-posix" >/dev/null 2>&1 || need+=(mingw-w64)
if [ "$run_wine" = 1 ]; then
  [ -e /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null 2>&1 || need+=(wine wine64)
  [ -d /usr/src/googletest ] || need+=(googletest)
fi
if [ "${#need[@]}" -gt 0 ]; then
  if [ "$install" = 1 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  else
    echo "missing packages: ${need[*]} (install them, or run with --install)" >&2
    exit 1
  fi
fi

tests=OFF
[ "$run_wine" = 1 ] && tests=ON
cmake -S "$here/plugins" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS="$tests" >/dev/null
targets=(KestrovaneLoad KestrovaneSave kv-lwtesthost)
[ "$run_wine" = 1 ] && targets+=(kv_plugins_tests)
cmake --build "$build" --target "${targets[@]}"

# A LightWave module exports its descriptor and nothing else, and needs no DLL
# that a plain Windows lacks: only the C runtime and system libraries.
system_dll='^(kernel32|user32|advapi32|shell32|ole32|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for module in "$build/KestrovaneLoad.p" "$build/KestrovaneSave.p"; do
  name="$(basename "$module")"
  dump="$("$objdump" -p "$module")"
  if ! grep -qP '^\tDLL$' <<<"$dump"; then
    echo "$name: not a DLL" >&2
    status=1
  fi
  # The export name table lists "[ordinal] name" lines after its heading.
  exports="$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^\t\[/ {print $NF; next} on {on=0}' <<<"$dump")"
  if [ "$exports" != "_mod_descrip" ]; then
    echo "$name exports: ${exports:-nothing} (expected only _mod_descrip)" >&2
    status=1
  fi
  imports="$(awk '/DLL Name:/ {print $3}' <<<"$dump")"
  while read -r dll; do
    [ -z "$dll" ] && continue
    if ! grep -qiE "$system_dll" <<<"$dll"; then
      echo "$name imports $dll, which is not part of Windows" >&2
      status=1
    fi
  done <<<"$imports"
  echo "$name: exports $exports; imports $(tr '\n' ' ' <<<"$imports")"
done
[ "$status" = 0 ] || exit "$status"

if [ "$run_wine" = 1 ]; then
  export WINEDEBUG=-all
  export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
  # Only the console is needed: no Mono or Gecko prompts, no desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  ctest --test-dir "$build" --output-on-failure --timeout 600
fi
