#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every source of
# ours (not Qt's generated files) and fails on any finding. Installs
# clang-tidy when missing. Takes a few minutes on two cores.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTREL_BUILD_DIR:-$root/build}"
VANTREL_EXTRA_PACKAGES="clang-tidy" "$root/scripts/setup.sh"

# Each of our .cpp files, as a pattern anchored at the top folder; the
# headers they include are checked through .clang-tidy's header filter.
mapfile -t patterns < <("$root/scripts/sources.sh" | grep '\.cpp$' |
  sed "s|^|$root/|" | sed 's/[^[:alnum:]/_]/\\&/g; s/^/^/; s/$/$/')
log="$build/clang-tidy.log"
run-clang-tidy -p "$build" -j "$(nproc)" -quiet "${patterns[@]}" >"$log" 2>&1 || true
if grep -q "warning:\|error:" "$log"; then
  grep -A3 "warning:\|error:" "$log" >&2
  exit 1
fi
echo "clang-tidy: no findings"
