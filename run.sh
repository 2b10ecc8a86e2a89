#!/usr/bin/env bash
# Installs what is missing, builds and starts Vantrel.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
build="${VANTREL_BUILD_DIR:-$root/build}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Vantrel needs a display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty); to run it headless, install xvfb and use: xvfb-run -a ./run.sh" >&2
  exit 1
fi
exec "$build/vantrel/vantrel" "$@"
