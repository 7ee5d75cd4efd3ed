#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, ASan, UBSan) in
# build-fuzz and runs each, first over its seeds in fuzz/corpus/<target>, then
# on new inputs for a bounded time.
#   tools/fuzz.sh [-t seconds] [-r runs] [target...]
#   -t  time per target (default 30 s)   -r  executions per target instead
# New inputs go to build-fuzz/corpus/<target>; a failing input is written to
# build-fuzz/artifacts/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=30
runs=""
while getopts "t:r:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) echo "usage: $0 [-t seconds] [-r runs] [target...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(numbers textfile savgol model spectrum); fi

CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "${FUZZ_BUILD_JOBS:-4}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen
limit=(-max_total_time="$seconds")
if [ -n "$runs" ]; then limit=(-runs="$runs"); fi
mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== fuzz_$t"
  log=build-fuzz/fuzz_$t.log
  if ! build-fuzz/bin/"fuzz_$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
      "build-fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$t failed; the input is in build-fuzz/artifacts/" >&2
    exit 1
  fi
  grep -E "^Done|stat::number_of_executed_units" "$log"
done
