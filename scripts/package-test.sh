#!/usr/bin/env bash
# Builds the Debian package, lists it, installs it, runs the installed programs
# and removes the package again. As root (or with sudo) the package goes
# through apt, which also pulls in its dependencies; otherwise it is unpacked
# into a scratch folder and run from there.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_BUILD_DIR:-$here/build}"
bash "$here/scripts/package.sh" >/dev/null
deb="$(ls "$build"/kestrovane_*.deb)"
echo "package: $(basename "$deb")"
dpkg-deb --info "$deb" | sed -n 's/^ *\(Depends\|Version\|Architecture\):/  \1:/p'
contents="$(dpkg-deb --contents "$deb" | awk '{print $6}')"
echo "$contents" | sed 's/^/  /'

expect=(./usr/bin/kestrovane ./usr/bin/kestrovane-cli
  ./usr/lib/kestrovane/KestrovaneLoad.so ./usr/lib/kestrovane/KestrovaneSave.so
  ./usr/share/applications/kestrovane.desktop ./usr/share/mime/packages/kestrovane.xml
  ./usr/share/man/man1/kestrovane.1 ./usr/share/man/man1/kestrovane-cli.1
  ./usr/share/bash-completion/completions/kestrovane-cli
  ./usr/share/kestrovane/kestrovane-blender.zip
  ./usr/share/icons/hicolor/scalable/apps/kestrovane.svg
  ./usr/share/icons/hicolor/48x48/apps/kestrovane.png
  ./usr/share/icons/hicolor/scalable/mimetypes/application-x-kestrovane-motion.svg)
for f in "${expect[@]}"; do
  echo "$contents" | grep -qx "$f" || { echo "package-test: $f is missing from the package"; exit 1; }
done

SUDO=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then SUDO="sudo"; fi
if [ "$(id -u)" -eq 0 ] || [ -n "$SUDO" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get install -y -qq "$deb" >/dev/null
  trap '$SUDO apt-get remove -y -qq kestrovane >/dev/null' EXIT
  root=""
else
  root="$(mktemp -d)"
  trap 'rm -rf "$root"' EXIT
  dpkg-deb -x "$deb" "$root"
fi

"$root/usr/bin/kestrovane-cli" --version
"$root/usr/bin/kestrovane" --version
"$root/usr/bin/kestrovane-cli" demo --seconds 2 | tail -n 3
if [ -z "$root" ]; then
  $SUDO apt-get remove -y -qq kestrovane >/dev/null
  trap - EXIT
  if [ -e /usr/bin/kestrovane-cli ]; then
    echo "package-test: /usr/bin/kestrovane-cli is still there after removal"
    exit 1
  fi
fi
echo "package-test: installed, ran and removed $(basename "$deb")"
