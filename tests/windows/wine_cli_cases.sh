#!/usr/bin/env bash
# The command-line tool's main cases run twice, once by the Windows program
# under Wine and once by the Linux program, in twin folders with the same
# inputs: exit statuses and standard output must agree, and the motion files
# of a scripted car, a trimmed helicopter and a followed path must be the
# same byte for byte. File names outside the ANSI code page ("Straße.kvm", a
# CJK name) must be written and read back by the Windows program.
#
#   tests/windows/wine_cli_cases.sh WINDOWS_EXE LINUX_CLI
#
# Prints one line per case and "N passed, N failed" at the end; exits 1 when
# any case failed.
set -uo pipefail
exe="$(realpath "$1")"
linux="$(realpath "$2")"
wine_bin="$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)"
[ -x "$linux" ] || { echo "no Linux program at $linux (build it first)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win="$work/windows"
lin="$work/linux"
mkdir -p "$win" "$lin"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok   $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1"; }

# The inputs, the same in both folders.
for dir in "$win" "$lin"; do
  printf 'time,x,y,a,b,key\n0,0,-0.6,0,0,\n0.5,0.3,-0.6,0,0,F4\n1.0,-0.2,-0.4,1,0,B\n1.5,0,0.5,0,1,ALT+F5\n2.0,0.1,0,0,0,\n' >"$dir/drive.csv"
  printf 'north,east\n0,0\n200,0\n200,200\n0,200\n0,0\n' >"$dir/square.csv"
  printf 'not,a,script\n' >"$dir/bad.csv"
  # Two faces of a terrain, ft.
  printf '0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n-500\n20\n-500\n30\n0\n11\n500\n21\n-500\n31\n0\n12\n500\n22\n500\n32\n10\n13\n-500\n23\n500\n33\n10\n0\nENDSEC\n0\nEOF\n' >"$dir/ground.dxf"
done

# run NAME ARGS...: the same command by both programs; records exit status,
# stdout (line ends as LF) and stderr of each in <dir>/NAME.{status,out,err}.
run() {
  local name="$1"
  shift
  (cd "$win" && "$wine_bin" "$exe" "$@" >"$name.out" 2>"$name.err"; echo $? >"$name.status")
  (cd "$lin" && "$linux" "$@" >"$name.out" 2>"$name.err"; echo $? >"$name.status")
  sed -i 's/\r$//' "$win/$name.out" "$win/$name.err"
}

# same NAME [FILE...]: exit status and stdout agree, and each FILE is the same.
# In `tolerant` mode (the simulation runs and what is computed from them) the
# files and stdout may differ in the last bits of results of sin, cos, atan2
# and the like, where mingw-w64's C runtime and glibc round differently: the
# difference is reported, and fails only past a bound (1 cm, 0.1 deg) that a
# real fault would cross.
mode=exact
same() {
  local name="$1"
  shift
  local why="" detail=""
  [ "$(cat "$win/$name.status")" = "$(cat "$lin/$name.status")" ] ||
    why="exit $(cat "$win/$name.status") on Windows, $(cat "$lin/$name.status") on Linux"
  if [ "$mode" = exact ]; then
    cmp -s "$win/$name.out" "$lin/$name.out" || why="${why:+$why; }stdout differs"
  fi
  # Bad input: the same message, word for word.
  if [[ "$name" == bad-* || "$name" == missing-* ]]; then
    cmp -s "$win/$name.err" "$lin/$name.err" || why="${why:+$why; }stderr differs"
  fi
  for file in "$@"; do
    if [ ! -f "$win/$file" ]; then
      why="${why:+$why; }$file not written on Windows"
    elif ! cmp -s "$win/$file" "$lin/$file"; then
      local where
      where="$(cmp "$win/$file" "$lin/$file" | sed 's/.*differ: //')"
      if [ "$mode" = exact ]; then
        why="${why:+$why; }$file differs: $where"
      else
        detail+="  $file differs from $where"$'\n'
        if [[ "$file" == *.kvm ]]; then
          local report
          report="$(motion_detail "$file")"
          detail+="$report"$'\n'
          grep -q "beyond the bound" <<<"$report" && why="${why:+$why; }$file differs beyond the bound"
        fi
      fi
    fi
  done
  if [ -z "$why" ]; then
    pass "$name (exit $(cat "$lin/$name.status"))"
    [ -n "$detail" ] && printf '%s' "$detail"
  else
    fail "$name: $why"
    [ -n "$detail" ] && printf '%s' "$detail"
    sed 's/^/    windows stderr: /' "$win/$name.err" | head -5
    sed 's/^/    linux stderr:   /' "$lin/$name.err" | head -5
  fi
}

# What differs between the two programs' motion files FILE, frame by frame.
motion_detail() {
  local frames
  frames="$(cd "$lin" && "$linux" info "$1" | grep -o '"frames": [0-9]*' | grep -o '[0-9]*$')"
  python3 "$(dirname "${BASH_SOURCE[0]}")/motion_difference.py" "$win/$1" "$lin/$1" "$frames"
}

expect_status() {
  local name="$1" want="$2"
  local got
  got="$(cat "$win/$name.status")"
  if [ "$got" = "$want" ]; then pass "$name exits $want"; else fail "$name exits $got, not $want"; fi
}

# --- runs whose motion files are compared
mode=tolerant
run car simulate --initial 0,0,-2.5,0,0,0,0,0,0,0,0,0 --controls drive.csv --duration 2.5 --fps 30 \
  -o car.kvm --camera-out car-camera.kvm
same car car.kvm car-camera.kvm
run helicopter simulate --vehicle helicopter --initial 0,0,-200,0,0,0,0,0,0,0,0,0 --trim \
  --duration 5 -o helicopter.kvm
same helicopter helicopter.kvm
run follow simulate --vehicle car --follow square.csv --speed 30 --units ft -o follow.kvm
same follow follow.kvm
run terrain-run simulate --terrain ground.dxf --initial 0,0,-5,0,0,0,0,0,0,0,0,0 --duration 2 \
  -o terrain-run.kvm
same terrain-run terrain-run.kvm
run replay simulate --replay car.kvm -o replay.kvm
same replay replay.kvm

mode=exact
# --- the other commands, on the same input files in both folders (the Linux
# program's), so that each converter is compared on its own
cp "$lin/car.kvm" "$lin/take.kvm"
cp "$lin/car.kvm" "$win/take.kvm"
run info-motion info take.kvm
same info-motion
mode=tolerant
run template template helicopter -o heli.kvo
same template heli.kvo
mode=exact
cp "$lin/heli.kvo" "$win/heli.kvo"
run info-object info heli.kvo
same info-object
run convert-lws convert lws take.kvm -o car.lws
same convert-lws
run convert-bvh convert bvh take.kvm -o car.bvh
same convert-bvh car.bvh
run convert-asf convert asf take.kvm -o car-skeleton
same convert-asf car-skeleton.asf car-skeleton.amc
# glTF keys are quaternions, made with sin and cos.
mode=tolerant
run convert-glb convert gltf take.kvm -o car.glb
same convert-glb car.glb
run convert-gltf convert gltf take.kvm -o car-text.gltf
same convert-gltf car-text.bin
mode=exact
run convert-dxf convert dxf heli.kvo -o heli.dxf
same convert-dxf
# DXF and LightWave scenes: the same text, with CR LF line ends on Windows.
for file in heli.dxf car.lws; do
  if [ -f "$win/$file" ] && [ "$(grep -c $'\r$' "$win/$file")" = "$(wc -l <"$win/$file")" ] &&
    cmp -s <(sed 's/\r$//' "$win/$file") "$lin/$file"; then
    pass "$file: the Linux text with CR LF line ends"
  else
    fail "$file: not the Linux text with CR LF line ends"
  fi
done
run terrain terrain ground.dxf --at 10,20 --at -300,250
same terrain

# --- bad input: the same exit statuses as on Linux
run bad-command frobnicate
same bad-command
run bad-option simulate --no-such-option -o x.kvm
same bad-option
run missing-file info no-such-file.kvm
same missing-file
run bad-script simulate --controls bad.csv -o bad.kvm
same bad-script
run bad-vehicle simulate --vehicle submarine -o bad.kvm
same bad-vehicle
run bad-grid terrain ground.dxf --grid 3
same bad-grid
run info-dxf info heli.dxf
same info-dxf

# --- names outside the ANSI code page
mode=tolerant
for name in "Straße" "東京の車"; do
  run "name-$name" simulate --initial 0,0,-2.5,0,0,0,0,0,0,0,0,0 --controls drive.csv \
    --duration 1 -o "$name.kvm"
  same "name-$name" "$name.kvm"
  cp "$lin/$name.kvm" "$win/$name.kvm"
  mode=exact
  run "name-$name-info" info "$name.kvm"
  same "name-$name-info"
  run "name-$name-bvh" convert bvh "$name.kvm"
  same "name-$name-bvh" "$name.bvh"
  run "name-$name-lws" convert lws "$name.kvm"
  same "name-$name-lws"
  [ -f "$win/$name.lws" ] && pass "name-$name-lws wrote $name.lws" || fail "no $name.lws on Windows"
  mode=tolerant
done

# --- working folders: each run removes its own; a killed run's is swept by
# the next one once its process is gone (OpenProcess finds no such id).
prefix="${WINEPREFIX:-$HOME/.wine}"
temp="$(ls -d "$prefix"/drive_c/users/*/Temp "$prefix"/drive_c/users/*/AppData/Local/Temp 2>/dev/null | head -1)"
if [ -n "$temp" ]; then
  if ls -d "$temp"/kestrovane-* >/dev/null 2>&1; then
    fail "working folders left in $temp: $(ls -d "$temp"/kestrovane-* | tr '\n' ' ')"
  else
    pass "no working folder left behind"
  fi
  mkdir -p "$temp/kestrovane-999999-abc123"
  printf 'x' >"$temp/kestrovane-999999-abc123/terrainTemp"
  run sweep info take.kvm
  if [ -d "$temp/kestrovane-999999-abc123" ]; then
    fail "a dead run's working folder is not swept"
  elif grep -q "kestrovane-cli:" "$win/sweep.err"; then
    pass "a dead run's working folder is swept: $(head -1 "$win/sweep.err")"
  else
    fail "the sweep is not reported"
  fi
else
  fail "no temporary folder in the Wine prefix"
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
