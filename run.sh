#!/usr/bin/env bash
# Installs what is missing, builds the program and its libraries and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
exec ./build/bin/Kelvara "$@"
