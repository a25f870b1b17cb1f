#!/usr/bin/env bash
# Writes the Blender add-on as an installable zip: build/kestrovane-blender.zip
# (or the path given), one folder "kestrovane" holding the add-on's Python files
# and its blender_manifest.toml. Install it with Blender's Preferences > Add-ons >
# Install (Blender 3.4 and later) or as an extension from disk (4.2 and later).
# Entries are sorted and dated 1980-01-01, so the same sources give the same zip.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_BUILD_DIR:-$here/build}"
out="${1:-$build/kestrovane-blender.zip}"
mkdir -p "$(dirname "$out")"
python3 - "$here/blender/kestrovane" "$out" <<'PY'
import os, sys, zipfile
src, out = sys.argv[1], sys.argv[2]
names = sorted(n for n in os.listdir(src)
               if n.endswith((".py", ".toml")) and os.path.isfile(os.path.join(src, n)))
tmp = out + ".part"
with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
    for n in names:
        info = zipfile.ZipInfo("kestrovane/" + n, date_time=(1980, 1, 1, 0, 0, 0))
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(src, n), "rb") as f:
            z.writestr(info, f.read())
os.replace(tmp, out)
PY
echo "$out"
