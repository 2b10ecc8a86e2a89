#!/usr/bin/env bash
# Prints the project's C++ sources, one a line, relative to the top folder:
# every .cpp and .h that git tracks or would add, so a new folder needs no
# list to join the formatting and tidy checks. Build folders are ignored;
# outside a git checkout, every .cpp and .h but theirs is taken.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
    while IFS= read -r source; do
      # A tracked file deleted in the work tree is no source any more.
      if [ -f "$source" ]; then echo "$source"; fi
    done | sort -u
else
  find . -path './build*' -prune -o -path './.git' -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%P\n' | sort
fi
