#!/usr/bin/env bash
# Cross-builds kestrovane-cli.exe for 64-bit Windows with Debian's mingw-w64
# (the core and the command-line tool only: no Qt, SDL or OpenGL), checks that
# it needs nothing but Windows' own DLLs, and with --wine runs the tool's
# cases against it under Wine, comparing its motion files with the Linux
# tool's byte for byte (tests/windows/wine_cli_cases.sh).
#
#   scripts/build-windows-cli.sh [--install] [--wine]
#
#   --install  apt-get what is missing: the cross compiler, tinygltf's and its
#              JSON library's headers, and Wine with --wine
#   --wine     also run the cases under Wine (needs the Linux kestrovane-cli,
#              built into $KV_LINUX_BUILD_DIR, default build/)
#
# Build folder: $KV_WINDOWS_CLI_BUILD_DIR, default build-windows-cli/.
# The program ends up in <build folder>/src/cli/kestrovane-cli.exe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_WINDOWS_CLI_BUILD_DIR:-$here/build-windows-cli}"
triple=x86_64-w64-mingw32
objdump="$triple-objdump"

run_wine=0
install=0
for arg in "$@"; do
  case "$arg" in
    --wine) run_wine=1 ;;
    --install) install=1 ;;
    *) echo "usage: $0 [--install] [--wine]" >&2; exit 2 ;;
  esac
done

need=()
command -v "$triple-g++-posix" >/dev/null 2>&1 || need+=(mingw-w64)
[ -f /usr/include/tiny_gltf.h ] || need+=(libtinygltf-dev)
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
if [ "$run_wine" = 1 ]; then
  [ -e /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null 2>&1 || need+=(wine wine64)
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

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# -O2 as the Linux build (RelWithDebInfo) has it, without the debug
# information a user's download need not carry.
cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DKV_BUILD_GUI=OFF -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF -DKV_BUILD_PLUGINS=OFF >/dev/null
targets=(kestrovane-cli)
[ "$run_wine" = 1 ] && targets+=(kv_windows_atomic_faults)
cmake --build "$build" -j2 --target "${targets[@]}"
exe="$build/src/cli/kestrovane-cli.exe"

# The program must start on a plain Windows: no DLL of the compiler's
# runtime (libstdc++, libgcc, winpthread), only the system's own.
system_dll='^(kernel32|user32|advapi32|shell32|ole32|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
dump="$("$objdump" -p "$exe")"
imports="$(awk '/DLL Name:/ {print $3}' <<<"$dump")"
status=0
while read -r dll; do
  [ -z "$dll" ] && continue
  if ! grep -qiE "$system_dll" <<<"$dll"; then
    echo "kestrovane-cli.exe imports $dll, which is not part of Windows" >&2
    status=1
  fi
done <<<"$imports"
echo "kestrovane-cli.exe: imports $(tr '\n' ' ' <<<"$imports")"
[ "$status" = 0 ] || exit "$status"

if [ "$run_wine" = 1 ]; then
  export WINEDEBUG=-all
  export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
  # Only the console is needed: no Mono or Gecko prompts, no desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  linux_cli="${KV_LINUX_BUILD_DIR:-${KV_BUILD_DIR:-$here/build}}/src/cli/kestrovane-cli"
  echo "== every-byte fault injection of a save, Windows implementation"
  "$(command -v wine64 || command -v wine)" "$build/tests/windows/kv_windows_atomic_faults.exe" | tr -d '\r'
  echo "== the command-line tool's cases, Windows program against the Linux one"
  bash "$here/tests/windows/wine_cli_cases.sh" "$exe" "$linux_cli"
fi
