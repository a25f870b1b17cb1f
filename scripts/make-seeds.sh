#!/usr/bin/env bash
# Regenerates the committed fuzz seed corpora (fuzz/seeds/<target>/) from real
# files made by kestrovane-cli: each template's object, short recorded motions
# of each vehicle, their geometry and a small terrain as DXF, control scripts.
# Usage: scripts/make-seeds.sh [path/to/kestrovane-cli]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="${1:-$here/build/src/cli/kestrovane-cli}"
seeds="$here/fuzz/seeds"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$seeds"/{controls_csv,dxf_reader,lws_motion,motion_reader,preferences,project_reader}

# Control scripts: one per kind of row the reader meets.
cat >"$seeds/controls_csv/turns.csv" <<'CSV'
time,x,y,a,b,key
0,0,-1,0,0,
0.5,-0.75,-0.25,0,0,G
1.5,1,0.5,1,1,F11
2.25,0,0,0,0,P
2.5,0,0,0,0,P
3,0.125,-0.875,0,0,ALT+F6
4,0,0,0,0,ESC
CSV
printf 'time,x,y,a,b,key\r\n0,0,0.3,0,0,\r\n1.5,-0.2,0,0,1,F1\r\n2,0,0,0,0,ESC\r\n' \
  >"$seeds/controls_csv/crlf.csv"

# A small terrain: a tilted square of two faces and a ramp beside it.
terrain="$seeds/dxf_reader/terrain.dxf"
{
  face() { printf '  0\n3DFACE\n  8\nGround\n'; local i=0 c; for c in "$@"; do
      printf ' %d\n%s\n' $(( (i % 3 + 1) * 10 + i / 3 )) "$c"; i=$((i + 1)); done; }
  face -200 -200 0  200 -200 4  200 200 8  -200 200 4
  face 200 -200 4  400 -200 40  400 200 44  200 200 8
  printf '  0\nEOF\n'
} >"$terrain"

for v in car motorcycle aircraft helicopter; do
  "$cli" template "$v" -o "$work/$v.kvo" >/dev/null
  cp "$work/$v.kvo" "$seeds/motion_reader/$v.kvo"
  "$cli" convert dxf "$work/$v.kvo" -o "$seeds/dxf_reader/$v.dxf" >/dev/null
  # Two seconds of driving at 6 frames a second keeps each motion small.
  "$cli" simulate --vehicle "$v" --controls "$seeds/controls_csv/turns.csv" --duration 2 \
    --fps 6 --terrain "$terrain" -o "$work/$v.kvm" >/dev/null 2>&1 || true
  if [ -f "$work/$v.kvm" ]; then
    cp "$work/$v.kvm" "$seeds/motion_reader/$v.kvm"
    cp "$work/$v.kvm" "$seeds/lws_motion/$v.kvm"
  fi
done
du -sh "$seeds"
