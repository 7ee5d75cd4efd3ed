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
