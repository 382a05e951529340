#!/bin/sh
# Runs the paging benchmark on a small report and on the large one, so the
# peak memory of the two can be compared (it must not grow with the report).
#   bench/viewer/run_paging_bench.sh BUILD_DIR [WORK_DIR]
set -eu
build=${1:?build directory (configured with -DVESTRA_BENCH=ON)}
work=${2:-/tmp/repscope-bench}
bench=$build/bench/viewer/viewer_paging_bench
rm -rf "$work"; mkdir -p "$work"
echo "== 2 MB, 200 pages"
"$bench" 2 200 "$work/small" 2>/dev/null
echo "== 200 MB, 20000 pages"
"$bench" 200 20000 "$work/large" 2>/dev/null
rm -rf "$work"
