#!/usr/bin/env bash
# Start-up cost of Qiv: process start until the start-up window has been
# painted once (QIV_EXIT_AFTER_SHOW=1 ends the program there), and the peak
# resident memory, measured with GNU time on the offscreen platform.
#   bench/startup.sh [BUILD_DIR] [RUNS]     (a Release build is what counts)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
RUNS=${2:-10}
QIV="$BUILD_DIR/app/qiv"
[ -x "$QIV" ] || { echo "no $QIV: build the qiv target first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing: install the package 'time'" >&2; exit 1; }

report=$(mktemp)
trap 'rm -f "$report"' EXIT
# One warm-up run so that every measured run finds the libraries in the page cache.
QIV_EXIT_AFTER_SHOW=1 QT_QPA_PLATFORM=offscreen "$QIV" >/dev/null 2>&1
walls=()
peaks=()
for run in $(seq "$RUNS"); do
    # GNU time's own clock counts in hundredths; the wall time is taken here in ns.
    start=$(date +%s%N)
    QIV_EXIT_AFTER_SHOW=1 QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$report" "$QIV" >/dev/null 2>&1
    end=$(date +%s%N)
    wall=$(( (end - start) / 1000000 ))
    peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$report")
    echo "run $run: $wall ms, $peak MB peak"
    walls+=("$wall")
    peaks+=("$peak")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
minimum() { printf '%s\n' "$@" | sort -n | head -1; }
maximum() { printf '%s\n' "$@" | sort -n | tail -1; }
echo "start-up over $RUNS runs: min $(minimum "${walls[@]}") ms, median $(median "${walls[@]}") ms, max $(maximum "${walls[@]}") ms;" \
     "peak memory median $(median "${peaks[@]}") MB, max $(maximum "${peaks[@]}") MB"
