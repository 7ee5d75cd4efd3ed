#!/usr/bin/env bash
# Shows the program on a virtual 1280x1024 X screen with a curve plotted in
# the main window (through the View menu's intermediate-spectra panel and its
# "Plot the combined spectrum" button) and the pointer over the plot, then
# saves a picture of the whole screen.
#   tools/plot_screenshot.sh [output.png] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-plot_shot.png}
build=${2:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target main_plot_wiring_test -j 4
out_abs=$(realpath -m "$out")
KELVARA_SCREENSHOT="$out_abs" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/main_plot_wiring_test" --gtest_filter=PlotScreenshot.CurveInTheRunningProgram
echo "saved $out_abs"
