#!/usr/bin/env bash
# Builds the core, the command-line tool and their tests with AddressSanitizer
# and UndefinedBehaviorSanitizer (no desktop program, no OpenGL) and runs them.
# Any sanitizer report fails a test and so the script.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_SANITIZE_BUILD_DIR:-$here/build-asan}"
start=$(date +%s)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/build.ninja" ]; then
  # -O1 with line tables: quick to build, and reports still name file and line.
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DKV_SANITIZE=ON -DKV_BUILD_GUI=OFF -DKV_BUILD_BENCH=OFF -DKV_BUILD_PLUGINS=OFF
fi
targets=$(ninja -C "$build" -t targets all | sed -n 's/^\(kv_[a-z]*_tests\|kestrovane-cli\): .*/\1/p' | sort -u)
cmake --build "$build" -j "$(nproc)" --target $targets
built=$(date +%s)
echo "sanitized build: $((built - start)) s"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Only the executables built here; the packaging checks need the installed layout.
labels=$(echo "$targets" | sed -n 's/^kv_\([a-z]*\)_tests$/\1/p' | paste -sd'|')
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600 -L "^($labels)\$" | tee "$build/ctest.log"
echo "sanitized tests: $(($(date +%s) - built)) s"
