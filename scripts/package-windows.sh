#!/usr/bin/env bash
# Writes build/kestrovane-<version>-windows-x64.zip: kestrovane-cli.exe, the two
# LightWave plug-in modules, the Blender add-on zip and a README for Windows
# users, all in one folder kestrovane-<version>-windows-x64/. Cross-builds what
# it needs with scripts/build-windows-cli.sh and build-windows-plugins.sh.
#
#   scripts/package-windows.sh [--install] [--wine]
#
#   --install  apt-get the cross compiler and the headers when missing
#   --wine     then unpack the zip and run its README's commands under Wine
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out_dir="${KV_BUILD_DIR:-$here/build}"
check=0
pass_on=()
for arg in "$@"; do
  case "$arg" in
    --install) pass_on+=(--install) ;;
    --wine) check=1 ;;
    *) echo "usage: $0 [--install] [--wine]" >&2; exit 2 ;;
  esac
done

version="$(sed -n 's/^project(Kestrovane VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
name="kestrovane-$version-windows-x64"
cli_build="${KV_WINDOWS_CLI_BUILD_DIR:-$here/build-windows-cli}"
plugin_build="${KV_WINDOWS_BUILD_DIR:-$here/build-windows}"

bash "$here/scripts/build-windows-cli.sh" "${pass_on[@]}"
bash "$here/scripts/build-windows-plugins.sh" "${pass_on[@]}"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$cli_build/src/cli/kestrovane-cli.exe" "$stage/$name/"
cp "$plugin_build/KestrovaneLoad.p" "$plugin_build/KestrovaneSave.p" "$stage/$name/"
bash "$here/scripts/package-blender-addon.sh" "$stage/$name/kestrovane-blender.zip"
# Notepad and every Windows reader take CR LF.
sed 's/$/\r/' "$here/packaging/windows/README.txt" >"$stage/$name/README.txt"

mkdir -p "$out_dir"
zip_file="$out_dir/$name.zip"
rm -f "$zip_file"
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | zip -q -X -@ "$zip_file")
echo "$zip_file"
unzip -l "$zip_file" | sed -n '4,$p' | head -n -2

if [ "$check" = 1 ]; then
  # The README's commands, as written, in the unpacked folder under Wine.
  export WINEDEBUG=-all
  export WINEPREFIX="${WINEPREFIX:-$cli_build/wineprefix}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wine_bin="$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)"
  try="$(mktemp -d)"
  trap 'rm -rf "$stage" "$try"' EXIT
  (cd "$try" && unzip -q "$zip_file")
  for f in kestrovane-cli.exe KestrovaneLoad.p KestrovaneSave.p README.txt kestrovane-blender.zip; do
    [ -f "$try/$name/$f" ] || { echo "the zip lacks $name/$f" >&2; exit 1; }
  done
  status=0
  while IFS= read -r line; do
    read -r -a words <<<"$line"
    if (cd "$try/$name" && "$wine_bin" "${words[@]}" >/dev/null 2>"$try/err"); then
      echo "ok   $line"
    else
      echo "FAIL $line: $(tr -d '\r' <"$try/err" | head -3)"
      status=1
    fi
  done < <(tr -d '\r' <"$try/$name/README.txt" | sed -n 's/^    \(kestrovane-cli\.exe .*\)$/\1/p')
  exit "$status"
fi
