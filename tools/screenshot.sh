#!/usr/bin/env bash
# Builds the program if needed, runs it on a virtual 1280x1024 screen and
# saves a picture of the whole screen.
#   tools/screenshot.sh [output.png] [build-dir] [seconds-to-wait]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-shot.png}
build=${2:-build}
wait_s=${3:-4}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target Kelvara -j 4
out_abs=$(realpath -m "$out")
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  '$build/bin/Kelvara' & pid=\$!
  sleep $wait_s
  import -window root '$out_abs'
  kill \$pid 2>/dev/null || true
  wait \$pid 2>/dev/null || true
"
echo "saved $out_abs"
