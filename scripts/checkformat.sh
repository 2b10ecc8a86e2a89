#!/usr/bin/env bash
# Fails, naming the files, when a C++ source differs from what
# clang-format makes of it. Fix with: scripts/checkformat.sh --fix
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
mapfile -t sources < <("$root/scripts/sources.sh")

if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${sources[@]}" 2>/dev/null; then
  echo "error: these files are not formatted (run scripts/checkformat.sh --fix):" >&2
  for source in "${sources[@]}"; do
    clang-format "$source" | cmp -s - "$source" || echo "  $source" >&2
  done
  exit 1
fi
