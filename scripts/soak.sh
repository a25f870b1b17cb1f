#!/usr/bin/env bash
# Soak: N random scripted runs of each vehicle type through kestrovane-cli.
# Each run gets a random terrain made here, a random control script (stick,
# buttons, letter and function keys), random steady wind, turbulence on or
# off and a gravity within the Gravity dialog's range (-2..4 g). A run that
# dies (signal, sanitizer, an exit status other than 0 or 3 = "unstable"),
# writes a frame holding NaN or infinity, outlives its time limit, becomes
# unstable on its first frame, or throws a car or motorcycle more than 100 ft
# above the highest terrain point under a gravity of 0.5 g or more fails the
# soak. Every unstable end is listed with its vehicle, gravity, wind, accuracy
# and terrain relief. The last line reads:
#   soak: runs R, crashes C, NaN frames F, hangs H, first-frame instabilities I,
#   thrown ground vehicles T, worst wall time per simulated second W s
# Usage: scripts/soak.sh [N] [SEED]   (KV_CLI overrides the program)
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
n="${1:-10}"
seed="${2:-$$}"
cli="${KV_CLI:-${KV_BUILD_DIR:-$here/build}/src/cli/kestrovane-cli}"
limit="${KV_SOAK_TIMEOUT:-120}"
if [ ! -x "$cli" ]; then
  echo "soak: $cli not found (build kestrovane-cli first)" >&2
  exit 2
fi
work=$(mktemp -d -p "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
keep="${KV_SOAK_KEEP:-$here/build/soak-failures}"
RANDOM=$seed
echo "soak: $n runs per vehicle, seed $seed, time limit ${limit}s a run"

# A uniform number in [lo, hi] with three decimals, from $RANDOM.
rnd() { awk -v r1=$RANDOM -v r2=$RANDOM -v lo="$1" -v hi="$2" \
  'BEGIN { printf "%.3f", lo + (hi - lo) * ((r1 * 32768 + r2) / 1073741823) }'; }

# A square grid of 3DFACEs around the start with random heights (file units,
# read as metres; z is down). Sets `relief` and `top`, the height (m, up) of
# the highest terrain point.
relief=0
top=0
make_terrain() {
  local file=$1 cells=$((2 + RANDOM % 6)) size
  size=$(rnd 50 400)
  relief=$(rnd 0 60)
  top=$(awk -v seed=$RANDOM -v n=$cells -v size="$size" -v relief="$relief" -v out="$file" 'BEGIN {
    srand(seed)
    up = -1e9
    for (i = 0; i <= n; i++) for (j = 0; j <= n; j++) {
      h[i, j] = relief * (rand() - 0.5)
      if (-h[i, j] > up) up = -h[i, j]
    }
    for (i = 0; i < n; i++) for (j = 0; j < n; j++) {
      x0 = (i - n / 2) * size; x1 = x0 + size; y0 = (j - n / 2) * size; y1 = y0 + size
      printf "  0\n3DFACE\n  8\nGround\n" > out
      printf " 10\n%g\n 20\n%g\n 30\n%g\n", x0, y0, h[i, j] > out
      printf " 11\n%g\n 21\n%g\n 31\n%g\n", x1, y0, h[i + 1, j] > out
      printf " 12\n%g\n 22\n%g\n 32\n%g\n", x1, y1, h[i + 1, j + 1] > out
      printf " 13\n%g\n 23\n%g\n 33\n%g\n", x0, y1, h[i, j + 1] > out
    }
    printf "  0\nEOF\n" > out
    printf "%.3f", up
  }')
}

keys=(Q C D X S B W G F L K R P F1 F2 F3 F4 F5 F6 ALT+F2 ALT+F3 ALT+F4 ALT+F5 ALT+F6 F11 F12)
make_controls() {
  local file=$1 duration=$2 t=0 key
  echo "time,x,y,a,b,key" >"$file"
  while awk -v t="$t" -v d="$duration" 'BEGIN { exit !(t < d) }'; do
    key=""
    if [ $((RANDOM % 4)) -eq 0 ]; then key=${keys[$((RANDOM % ${#keys[@]}))]}; fi
    echo "$t,$(rnd -1 1),$(rnd -1 1),$((RANDOM % 2)),$((RANDOM % 2)),$key" >>"$file"
    t=$(awk -v t="$t" -v s="$(rnd 0.1 3)" 'BEGIN { printf "%.3f", t + s }')
  done
}

# Frames of a motion file that hold NaN or infinity: the frames start after
# the version word, the record, the triangle count and 36 bytes a triangle.
nan_frames() {
  local file=$1 tris
  tris=$(od -An -t d4 -j 11944 -N 4 "$file" | tr -d ' ')
  od -An -v -t f4 -w264 -j $((11948 + 36 * tris)) "$file" | grep -ciE 'nan|inf' || true
}

# "FRAMES HIGHEST": the frame count of a motion file and the greatest height
# (m, up) its centre of gravity reached (down is the frame's ninth float).
frames_and_highest() {
  local file=$1 tris
  tris=$(od -An -t d4 -j 11944 -N 4 "$file" | tr -d ' ')
  od -An -v -t f4 -w264 -j $((11948 + 36 * tris)) "$file" |
    awk 'NF >= 9 { n++; if (n == 1 || -$9 > up) up = -$9 } END { printf "%d %.3f", n, (n ? up : 0) }'
}

runs=0 crashes=0 nans=0 hangs=0 worst=0 unstable=0 first=0 thrown=0
table=""
for ((i = 1; i <= n; i++)); do
  for vehicle in car motorcycle aircraft helicopter; do
    runs=$((runs + 1))
    duration=$(rnd 2 30)
    make_terrain "$work/terrain.dxf"
    make_controls "$work/controls.csv" "$duration"
    wind="$(rnd 0 44),$(rnd 0 359)"
    gravity=$(rnd -2 4)
    accuracy=$(echo 60 120 240 | cut -d' ' -f$((1 + RANDOM % 3)))
    args=(simulate --vehicle "$vehicle" --terrain "$work/terrain.dxf" --controls "$work/controls.csv"
      --duration "$duration" --wind "$wind" --gravity "$gravity" --accuracy "$accuracy"
      -o "$work/out.kvm")
    [ $((RANDOM % 2)) -eq 0 ] && args+=(--turbulence)
    [ $((RANDOM % 4)) -eq 0 ] && args+=(--trim)
    rm -f "$work/out.kvm"
    start=$(date +%s%N)
    timeout -s KILL "$limit" "$cli" "${args[@]}" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    wall=$(( $(date +%s%N) - start ))
    failed=""
    if [ $status -eq 137 ]; then
      hangs=$((hangs + 1)); failed="hang"
    elif [ $status -ne 0 ] && [ $status -ne 3 ]; then
      crashes=$((crashes + 1)); failed="exit $status"
    else
      frames=0 highest=0
      if [ -f "$work/out.kvm" ]; then
        bad=$(nan_frames "$work/out.kvm")
        if [ "$bad" -gt 0 ]; then nans=$((nans + bad)); failed="$bad NaN frames"; fi
        read -r frames highest < <(frames_and_highest "$work/out.kvm")
      fi
      if [ $status -eq 3 ]; then
        unstable=$((unstable + 1))
        table+=$(printf '%-5s %-10s %6s %12s %4s %6s %6s\n' "$runs" "$vehicle" "$gravity" \
          "$wind" "$accuracy" "$relief" "$frames")$'\n'
        if [ "$frames" -le 1 ]; then first=$((first + 1)); failed="unstable on its first frame"; fi
      fi
      case $vehicle in car | motorcycle)
        if awk -v g="$gravity" -v h="$highest" -v t="$top" 'BEGIN { exit !(g >= 0.5 && h > t + 100 * 0.3048037) }'; then
          thrown=$((thrown + 1)); failed="thrown to $highest m, terrain top $top m"
        fi ;;
      esac
      simulated=$(sed -n 's/^seconds: //p' "$work/out.txt")
      if [ -n "$simulated" ]; then
        worst=$(awk -v w="$worst" -v ns="$wall" -v s="$simulated" \
          'BEGIN { r = s > 0 ? ns / 1e9 / s : 0; printf "%.4f", (r > w ? r : w) }')
      fi
    fi
    if [ -n "$failed" ]; then
      mkdir -p "$keep/$runs"
      cp "$work/terrain.dxf" "$work/controls.csv" "$work/out.txt" "$work/err.txt" "$keep/$runs/"
      printf '%q ' "$cli" "${args[@]}" >"$keep/$runs/command"
      echo "soak: run $runs ($vehicle) failed: $failed; inputs kept in $keep/$runs"
    fi
  done
  if [ $((i % 50)) -eq 0 ]; then
    echo "soak: so far runs $runs, crashes $crashes, NaN frames $nans, hangs $hangs," \
      "first-frame instabilities $first, thrown $thrown, worst $worst s"
  fi
done
echo "soak: $unstable runs ended unstable (exit status 3)"
if [ -n "$table" ]; then
  printf '%-5s %-10s %6s %12s %4s %6s %6s\n' run vehicle g wind Hz relief frames
  printf '%s' "$table"
fi
echo "soak: runs $runs, crashes $crashes, NaN frames $nans, hangs $hangs," \
  "first-frame instabilities $first, thrown ground vehicles $thrown," \
  "worst wall time per simulated second $worst s"
[ $crashes -eq 0 ] && [ $nans -eq 0 ] && [ $hangs -eq 0 ] && [ $first -eq 0 ] && [ $thrown -eq 0 ]
