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
mkdir -p "$seeds"/{controls_csv,dxf_polyline,dxf_reader,lws_motion,motion_reader,path_csv,preferences,project_reader}

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

# Paths to follow. The path reader's target takes its first byte as the
# working unit ('2': metres, '4': feet), the rest as the file.
printf '2north,east,up,speed\n0,0,0,36\n100,-50,20,\n250,10,5,72\n' >"$seeds/path_csv/speeds.csv"
printf '4North,East,Time\r\n0,0,0\r\n\r\n300,0,\r\n450,120,10.5\r\n' >"$seeds/path_csv/times.csv"
printf '2north,east\n0,0\n1e3,-2.5e2\n+40,7\n' >"$seeds/path_csv/route.csv"

# Polylines: an LWPOLYLINE (closed, with an elevation) after a face, and a
# 3-D POLYLINE of VERTEX entities with CRLF line ends.
{
  printf '  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nGround\n'
  printf ' 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n0\n 31\n0\n 12\n1\n 22\n1\n 32\n0\n'
  printf '  0\nLWPOLYLINE\n  8\nroad\n 90\n3\n 70\n1\n 38\n-2.5\n'
  printf ' 10\n0.0\n 20\n0.0\n 10\n100.0\n 20\n0.0\n 10\n100.0\n 20\n50.0\n'
  printf '  0\nENDSEC\n  0\nEOF\n'
} >"$seeds/dxf_polyline/lwpolyline.dxf"
printf '0\r\nPOLYLINE\r\n66\r\n1\r\n70\r\n8\r\n0\r\nVERTEX\r\n10\r\n1\r\n20\r\n2\r\n30\r\n3\r\n0\r\nVERTEX\r\n10\r\n4\r\n20\r\n5\r\n30\r\n6\r\n0\r\nSEQEND\r\n0\r\nEOF\r\n' \
  >"$seeds/dxf_polyline/polyline.dxf"

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
