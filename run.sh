#!/usr/bin/env bash
# Installs what is missing, builds the program and its libraries and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
# The program with its libraries and coefficient files only: the tests and
# benchmarks are built by ./test.sh.
cmake --build build -j "$(nproc)" --target Kelvara
exec ./build/bin/Kelvara "$@"
