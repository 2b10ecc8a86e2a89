#!/usr/bin/env bash
# Builds the Debian package in the build tree (cpack) and checks it with
# lintian, Debian's own package checker. Fails on any error or warning;
# informational and pedantic notes are printed but pass (the README lists
# the ones we keep). Installs lintian when missing. Takes a few seconds
# after the build.
#   scripts/lintian.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTREL_BUILD_DIR:-$root/build}"

VANTREL_EXTRA_PACKAGES="lintian" "$root/scripts/setup.sh"
(cd "$build" && cpack -G DEB)
mapfile -t packages < <(find "$build" -maxdepth 1 -name 'vantrel_*.deb' -newer "$build/CPackConfig.cmake")
if [ "${#packages[@]}" -ne 1 ]; then
  echo "error: expected one package in $build, found: ${packages[*]:-none}" >&2
  exit 1
fi
echo "lintian ${packages[0]}"
lintian --info --display-info --pedantic --fail-on error,warning "${packages[0]}"
