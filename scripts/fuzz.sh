#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (default 20 s).
# Any crash, leak or sanitizer report fails the script.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
build="${KV_FUZZ_BUILD_DIR:-$here/build-fuzz}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DKV_FUZZ=ON -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF -DKV_BUILD_GUI=OFF -DKV_BUILD_PLUGINS=ON
fi
# Fuzz targets of the core (fuzz/) and of the plug-ins (plugins/fuzz/).
targets=$(cd "$here" && ls fuzz/fuzz_*.cpp plugins/fuzz/fuzz_*.cpp 2>/dev/null | xargs -n1 basename | sed 's/\.cpp$//')
if [ -z "$targets" ]; then
  echo "fuzz: no targets"
  exit 0
fi
cmake --build "$build" -j "$(nproc)" --target $targets
for t in $targets; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  seeds="$here/fuzz/seeds/${t#fuzz_}"
  dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "fuzz: $t for ${seconds}s"
  exe=$(find "$build" -type f -name "$t" -perm -u+x | head -n 1)
  "$exe" -max_total_time="$seconds" -print_final_stats=0 "${dirs[@]}" 2>"$build/$t.log" || {
    tail -n 60 "$build/$t.log"
    echo "fuzz: $t failed"
    exit 1
  }
done
echo "fuzz: all targets ran clean"
