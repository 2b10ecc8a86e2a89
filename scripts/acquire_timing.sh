#!/bin/bash
# vantrel-report --acquire against the simulated oscilloscope (WORD codes)
# timed as a whole process: the medians of three runs' wall time and
# largest resident size, beside those of vantrel-report --version run in
# between as the baseline (process start and libraries).
#   scripts/acquire_timing.sh [BUILD_DIR [POINTS [FRAMES]]]
#   scripts/acquire_timing.sh build 10000 100
#   scripts/acquire_timing.sh build 1000000 1
set -euo pipefail
build=${1:-build}
points=${2:-10000}
frames=${3:-100}
runs=3
report=$build/report/vantrel-report
work=$(mktemp -d)
scope=
cleanup() {
  [ -z "$scope" ] || kill "$scope" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/tools/vantrel_fakescope" --port 0 --points "$points" --format word >"$work/scope" &
scope=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$work/scope" && break
  sleep 0.1
done
address=scpi://$(sed -n 's/^listening on //p' "$work/scope")
if [ "$address" = scpi:// ]; then
  echo "acquire_timing.sh: the simulated oscilloscope did not start" >&2
  exit 1
fi

# One run of the command given: wall seconds and largest resident kB.
measure() {
  if ! /usr/bin/time -v -o "$work/time" "$@" >/dev/null 2>"$work/err"; then
    cat "$work/err" "$work/time" >&2
    return 1
  fi
  awk '/Elapsed \(wall clock\)/ {
         n = split($NF, part, ":"); wall = 0
         for (i = 1; i <= n; ++i) wall = wall * 60 + part[i]
       }
       /Maximum resident set size/ { rss = $NF }
       END { print wall, rss }' "$work/time"
}

for _ in $(seq $runs); do
  measure "$report" --version >>"$work/base"
  measure "$report" --acquire "$address" --frames "$frames" >>"$work/acquire"
done

# The middle run by each figure on its own.
median() { sort -g | sed -n "$(((runs + 1) / 2))p"; }
base_wall=$(cut -d' ' -f1 "$work/base" | median)
base_rss=$(cut -d' ' -f2 "$work/base" | median)
wall=$(cut -d' ' -f1 "$work/acquire" | median)
rss=$(cut -d' ' -f2 "$work/acquire" | median)

awk -v points="$points" -v frames="$frames" -v runs="$runs" -v bw="$base_wall" -v br="$base_rss" \
  -v w="$wall" -v r="$rss" 'BEGIN {
  payload = 2 * points * 2 / 1e6       # MB on the wire: two channels of 16-bit codes
  printf "--acquire --frames %d, %d points a channel, median of %d runs\n", frames, points, runs
  printf "%-22s %8s %12s\n", "", "wall s", "max RSS MB"
  printf "%-22s %8.2f %12.1f\n", "--version (baseline)", bw, br * 1024 / 1e6
  printf "%-22s %8.2f %12.1f\n", "--acquire", w, r * 1024 / 1e6
  printf "wall above the baseline: %.2f s, %.1f ms a frame (%.1f frames/s); %.0f x the baseline\n", \
    w - bw, 1000 * (w - bw) / frames, (w > bw ? frames / (w - bw) : 0), (bw > 0 ? w / bw : 0)
  printf "RSS above the baseline: %.1f MB = %.2f x the payload of %g MB (as doubles %g MB)\n", \
    (r - br) * 1024 / 1e6, (r - br) * 1024 / 1e6 / payload, payload, 2 * points * 8 / 1e6
}'
