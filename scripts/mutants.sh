#!/usr/bin/env bash
# Checks that the test suite notices small faults: each line of a mutant
# list names a file, a text that occurs in it exactly once and what to put
# in its place. Every mutant is applied on its own to a scratch copy of
# the tree, which is built and tested (the soak and the slow packaging
# checks left out); a mutant the suite passes "survives" and is reported.
# The tree itself is not touched.
#
#   scripts/mutants.sh LIST [SCRATCH]
#
# LIST lines: path|old text|new text   (# starts a comment; the texts are
# literal, and | may not occur in them). SCRATCH defaults to
# /tmp/vantrel-mutants; its build directory is kept between runs, so only
# what a mutant touches is rebuilt.
# Exit status: 0 when every mutant is killed, 1 when one survives, 2 on a
# malformed line (reported, then skipped) or a failing build of the
# unchanged tree.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
list="${1:?usage: scripts/mutants.sh LIST [SCRATCH]}"
scratch="${2:-/tmp/vantrel-mutants}"
tree="$scratch/tree"
build="$scratch/build"

mkdir -p "$tree"
# Without -t, files that differ from the scratch copy are written anew
# and so stamped now, and the others keep their stamps: the build never
# keeps an object made from a mutant of an earlier, interrupted run.
rsync -rlp --checksum --delete --exclude '/build*' --exclude '/.git' "$root/" "$tree/"
# Every mutant relinks each test program; lld, where installed, links
# them several times faster than the default linker.
linker=()
if command -v ld.lld >/dev/null; then linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld); fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_BENCH=OFF "${linker[@]}" \
    >/dev/null || exit 2
fi

run_suite() {
  cmake --build "$build" --parallel "$(nproc)" >"$scratch/build.log" 2>&1 || return 3
  # One failing test kills a mutant, so the rest of the suite need not run.
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --parallel "$(nproc)" --stop-on-failure \
     -LE soak -E "debian_package|install_layout" \
     --timeout 120 >"$scratch/test.log" 2>&1)
}

if ! run_suite; then
  echo "the unchanged tree does not build or pass; see $scratch/build.log and test.log" >&2
  exit 2
fi

survivors=0
malformed=0
total=0
line_number=0
while IFS= read -r line || [ -n "$line" ]; do
  line_number=$((line_number + 1))
  case "$line" in ''|'#'*) continue ;; esac
  IFS='|' read -r path old new <<<"$line"
  file="$tree/$path"
  if [ ! -f "$file" ] || [ "$(grep -cF -- "$old" "$file")" != 1 ]; then
    echo "$list:$line_number: '$old' does not occur exactly once in $path" >&2
    malformed=$((malformed + 1))
    continue
  fi
  total=$((total + 1))
  cp "$file" "$scratch/original"
  OLD="$old" NEW="$new" perl -0pi -e 's/\Q$ENV{OLD}\E/$ENV{NEW}/' "$file"
  run_suite </dev/null
  status=$?
  cp "$scratch/original" "$file"
  touch "$file"
  case $status in
    0) survivors=$((survivors + 1)); echo "SURVIVED $path: $old -> $new" ;;
    3) echo "no build  $path: $old -> $new" ;;
    *) echo "killed    $path: $old -> $new ($(grep -c 'Failed\|Exception\|Timeout' "$scratch/test.log") failing)" ;;
  esac
done <"$list"
cmake --build "$build" --parallel "$(nproc)" >/dev/null 2>&1
echo "$((total - survivors)) of $total mutants killed"
[ "$malformed" -eq 0 ] || exit 2
[ "$survivors" -eq 0 ]
