#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds and runs the
# whole test suite twice: the Release build in build/, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/.
#   ./test.sh          everything, as CI runs it
#   ./test.sh --quick  formatting and the Release build only
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

quick=false
for arg in "$@"; do
  case "$arg" in
    --quick) quick=true ;;
    *) echo "usage: ./test.sh [--quick]" >&2; exit 2 ;;
  esac
done

run_suite() {
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")
}

VANTREL_EXTRA_PACKAGES="clang-format desktop-file-utils appstream" "$root/scripts/setup.sh"
"$root/scripts/checkformat.sh"
run_suite "${VANTREL_BUILD_DIR:-$root/build}"

if ! $quick; then
  sanitize_build="${VANTREL_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
  VANTREL_BUILD_DIR="$sanitize_build" \
  VANTREL_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF" \
    "$root/scripts/setup.sh"
  echo "Running the test suite with AddressSanitizer and UndefinedBehaviorSanitizer"
  run_suite "$sanitize_build"
fi
