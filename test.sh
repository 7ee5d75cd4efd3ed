#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
jobs=$(nproc)
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVARA_WERROR=$werror
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# ctest gives every test a process of its own. Each test program once more as
# one process, its tests shuffled and run twice: no test may depend on what an
# earlier test of the same program left behind. A failing program's log names
# the seed of its order (--gtest_random_seed repeats it).
whole_logs=build/tests/whole-runs
rm -rf "$whole_logs" && mkdir -p "$whole_logs"
whole_failed=$(find build/tests -maxdepth 1 -type f -executable -name '*_test' -print0 | sort -z |
  xargs -0 -P "$jobs" -I{} sh -c 'log="$1/$(basename "$2").log"
    env -u KELVARA_SCREENSHOT -u KELVARA_SHOTS QT_QPA_PLATFORM=offscreen \
      timeout 900 "$2" --gtest_shuffle --gtest_repeat=2 >"$log" 2>&1 ||
      { echo "exit status $?" >>"$log"; basename "$2"; }' _ "$whole_logs" {})
if [ -n "$whole_failed" ]; then
  for name in $whole_failed; do
    echo "---- $name, run whole and shuffled ($whole_logs/$name.log):"
    grep -a -E "Randomizing|Failure|FAILED|Segmentation|Aborted" "$whole_logs/$name.log" | head -40 || true
    tail -n 1 "$whole_logs/$name.log" # its exit status
  done
  echo "Test programs that fail when run whole and shuffled:" $whole_failed
  exit 1
fi

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer: the
# libraries with hostile arguments among their tests, and the program's own
# tests with real widgets on the offscreen platform. Leaks inside the system's
# desktop-bus and font libraries are not the program's (tools/lsan.supp).
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELVARA_SANITIZE=ON -DKELVARA_BUILD_BENCH=OFF -DKELVARA_WERROR=$werror
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp":print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
tools/fuzz.sh # the readers of outside text under libFuzzer, 30 s each
